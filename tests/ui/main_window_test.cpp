// The main window as the user meets it: controls, keyboard, screen reader, menus, "Computerzeit", and where the
// settings file is.
#include "tests/ui/harness.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace ui {
namespace {

TEST(MainWindow, ShowsEachControlWithItsTextLimitAndNameForAScreenReader) {
    Sandbox sandbox;
    App app(sandbox);
    EXPECT_EQ(::GetWindowLongW(app.Main(), GWL_STYLE) & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
    const struct { int id; const wchar_t *text, *name; int limit; } controls[] = {
        {ids::cmdZeitSetzen, L"Zeit setzen", L"Zeit setzen", 0},
        {ids::cmdZeitDialog, L"Computerzeit", L"Computerzeit", 0},
        {ids::Label1, L"gesetzte Zeit", L"gesetzte Zeit", 0},
        {ids::Frame1, L"Datum/Zeit (UTC)", L"Datum/Zeit (UTC)", 0},
        {ids::chkRegel, L"Zeit regelmäßig setzen (60 sec)", L"Zeit regelmäßig setzen (60 sec)", 0},
        {ids::txtZeit + 0, nullptr, L"Jahr", 4},
        {ids::txtZeit + 1, nullptr, L"Monat", 2},
        {ids::txtZeit + 2, nullptr, L"Tag", 2},
        {ids::txtZeit + 3, nullptr, L"Stunde", 2},
        {ids::txtZeit + 4, nullptr, L"Minute", 2},
    };
    for (const auto& c : controls) {
        SCOPED_TRACE(testing::Message() << "control " << c.id);
        if (c.text) {
            EXPECT_EQ(app.Text(c.id), c.text);
        }
        EXPECT_EQ(AccessibleName(app.Item(c.id)), c.name);
        if (!c.limit) continue;
        app.SetText(c.id, L"");  // typing stops at the limit
        for (wchar_t ch : std::wstring(L"123456")) ::SendMessageW(app.Item(c.id), WM_CHAR, ch, 1);
        EXPECT_EQ(app.Text(c.id), std::wstring(L"123456").substr(0, static_cast<size_t>(c.limit)));
    }
}

TEST(MainWindow, TabGoesRoundFromZeitSetzenAndEnterAndEscPressNothing) {
    Sandbox sandbox;
    App app(sandbox);
    ASSERT_TRUE(WaitFor([&] { return app.Focus() == app.Item(ids::cmdZeitSetzen); }, 5000));
    for (int next : {ids::cmdZeitDialog, ids::txtZeit + 4, ids::txtZeit + 3, ids::txtZeit + 2, ids::txtZeit + 1,
                     ids::txtZeit + 0, ids::chkRegel, ids::cmdZeitSetzen}) {
        app.Key(VK_TAB);
        EXPECT_TRUE(WaitFor([&] { return app.Focus() == app.Item(next); }, 3000)) << "to " << next;
    }
    for (UINT key : {VK_RETURN, VK_ESCAPE}) app.Key(key);
    ASSERT_TRUE(app.Idle());
    EXPECT_EQ(app.Text(ids::lblGesetzteZeit), L"");
    EXPECT_TRUE(app.Windows().empty()) << "a box";
    EXPECT_FALSE(sandbox.ReadIni().has_value());
}

TEST(MainWindow, BeendenAndTheCloseButtonEndAtOnceAndSaveNothing) {
    for (bool byMenu : {true, false}) {
        Sandbox sandbox;
        App app(sandbox);
        app.SetText(ids::txtZeit + 0, L"1999");
        app.SetTicked(true);
        if (byMenu) app.Menu(L'd', L'b');
        else ::PostMessageW(app.Main(), WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_TRUE(app.WaitForExit(10000)) << (byMenu ? "Beenden" : "close button");
        EXPECT_FALSE(sandbox.ReadIni().has_value());
    }
}

// The date and time panel through the system's rundll32.exe by its full path, never a copy beside the program.
TEST(Computerzeit, StartsTheSystemRundll32ForEachPressAndTouchesNothingElse) {
    wchar_t system[MAX_PATH] = {};
    ::GetSystemDirectoryW(system, MAX_PATH);
    const std::wstring rundll32 = std::wstring(system) + L"\\rundll32.exe";
    PlaceTool(rundll32);  // in the test run's own Wine prefix, where it stays, run instead of Wine's own
    SetValue(HKEY_CURRENT_USER, "Software\\Wine\\DllOverrides", "rundll32.exe", "native" + std::string(1, '\0'));
    Sandbox sandbox;
    sandbox.WriteIni("[Zeit]\r\nJahr=2030\r\n");
    PlaceTool(sandbox.Folder() + L"\\rundll32.exe");
    App app(sandbox);
    app.Click(ids::cmdZeitDialog);
    app.Click(ids::cmdZeitDialog);
    ASSERT_TRUE(WaitFor([&] { return ToolRuns(rundll32).size() == 2; }, 15000));
    EXPECT_EQ(ToolRuns(rundll32)[1], L"\"" + rundll32 + L"\" shell32.dll,Control_RunDLL timedate.cpl,,0");
    EXPECT_TRUE(ToolRuns(sandbox.Folder() + L"\\rundll32.exe").empty());
    EXPECT_EQ(app.Text(ids::lblGesetzteZeit), L"");
    EXPECT_EQ(sandbox.ReadIni(), "[Zeit]\r\nJahr=2030\r\n");
}

// Beside the executable, whatever the working folder, and in a drive's root with one backslash before the name.
TEST(SettingsFile, IsTheOneBesideTheExecutable) {
    PinnedClock clock;
    Sandbox sandbox, elsewhere;
    elsewhere.WriteIni("[Zeit]\r\nJahr=1999\r\n");
    sandbox.WriteIni("[Zeit]\r\nJahr=2030\r\n");
    {
        App app(sandbox, SW_SHOWDEFAULT, {}, elsewhere.Folder());
        EXPECT_EQ(app.Field(0), L"2030");
        app.SetFields(kPinnedFields);
        app.Click(ids::cmdZeitSetzen);
        EXPECT_EQ(app.Text(ids::lblGesetzteZeit), kPinnedLabel);
    }
    EXPECT_EQ(elsewhere.ReadIni(), "[Zeit]\r\nJahr=1999\r\n");
    EXPECT_NE(sandbox.ReadIni().value_or("").find("Jahr=2026"), std::string::npos);

    // X: is a folder of the test prefix (scripts/test.sh maps it).
    const std::filesystem::path exe = L"X:\\Horlomat.exe", ini = L"X:\\Horlomat.ini";
    std::filesystem::copy_file(sandbox.Exe(), exe, std::filesystem::copy_options::overwrite_existing);
    std::ofstream(ini, std::ios::binary | std::ios::trunc) << "[Zeit]\r\nJahr=2031\r\n";
    {
        App app(sandbox, SW_SHOWDEFAULT, exe.wstring(), elsewhere.Folder());
        EXPECT_EQ(app.Field(0), L"2031");
        app.SetFields(kPinnedFields);
        app.Click(ids::cmdZeitSetzen);
    }
    std::ostringstream written;
    written << std::ifstream(ini).rdbuf();
    EXPECT_NE(written.str().find("Jahr=2026"), std::string::npos);
    EXPECT_EQ(elsewhere.ReadIni(), "[Zeit]\r\nJahr=1999\r\n");
}

}  // namespace
}  // namespace ui
