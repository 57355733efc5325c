// The main window as the user meets it: controls, keyboard, menus, "Computerzeit".
#include "tests/ui/harness.h"

#include <gtest/gtest.h>
#include <tlhelp32.h>

#include <set>

namespace ui {
namespace {

TEST(MainWindow, ShowsEveryControlWithItsTextAndLimit) {
    Sandbox sandbox;
    App app(sandbox);
    EXPECT_EQ(::GetWindowLongW(app.Main(), GWL_STYLE) & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
    const struct { int id; const wchar_t *className, *text; int limit; } controls[] = {
        {id::kZeitSetzen, L"Button", L"Zeit setzen", 0}, {id::kZeitDialog, L"Button", L"Computerzeit", 0},
        {id::kLabel1, L"Static", L"gesetzte Zeit", 0},    {id::kFrame1, L"Button", L"Datum/Zeit (UTC)", 0},
        {id::kRegel, L"Button", L"Zeit regelmäßig setzen (60 sec)", 0},
        {id::kLblZeit + 0, L"Static", L"Jahr", 0},   {id::kLblZeit + 4, L"Static", L"Minute", 0},
        {id::kTxtZeit + 0, L"Edit", nullptr, 4},     {id::kTxtZeit + 1, L"Edit", nullptr, 2},
        {id::kTxtZeit + 4, L"Edit", nullptr, 2},
    };
    for (const auto& c : controls) {
        SCOPED_TRACE(testing::Message() << "control " << c.id);
        EXPECT_EQ(ClassName(app.Item(c.id)), c.className);
        if (c.text) {
            EXPECT_EQ(WindowText(app.Item(c.id)), c.text);
        }
        if (!c.limit) continue;
        app.SetText(c.id, L"");  // typing stops at the limit
        for (wchar_t ch : std::wstring(L"123456")) ::SendMessageW(app.Item(c.id), WM_CHAR, ch, 1);
        EXPECT_EQ(app.Text(c.id), std::wstring(L"123456").substr(0, static_cast<size_t>(c.limit)));
    }
    EXPECT_EQ(::GetWindowLongW(app.Item(id::kRegel), GWL_STYLE) & BS_TYPEMASK, BS_AUTOCHECKBOX);
}

TEST(MainWindow, TabOrderStartsOnZeitSetzenAndEnterAndEscPressNothing) {
    Sandbox sandbox;
    App app(sandbox);
    ASSERT_TRUE(WaitFor([&] { return app.Focus() == app.Item(id::kZeitSetzen); }, 5000));
    for (int next : {id::kZeitDialog, id::kTxtZeit + 4, id::kTxtZeit + 3, id::kTxtZeit + 2, id::kTxtZeit + 1,
                     id::kTxtZeit + 0, id::kRegel, id::kZeitSetzen}) {
        ::PostMessageW(app.Focus(), WM_KEYDOWN, VK_TAB, 1);
        EXPECT_TRUE(WaitFor([&] { return app.Focus() == app.Item(next); }, 3000)) << "to " << next;
    }
    app.SetText(id::kGesetzteZeit, L"unberührt");
    for (UINT key : {VK_RETURN, VK_ESCAPE}) {
        ::PostMessageW(app.Focus(), WM_KEYDOWN, key, 1);
        ::PostMessageW(app.Focus(), WM_CHAR, key, 1);
    }
    ::Sleep(1000);
    EXPECT_TRUE(app.Running());
    EXPECT_EQ(app.Text(id::kGesetzteZeit), L"unberührt");
    EXPECT_FALSE(sandbox.ReadIni().has_value());
}

TEST(MainWindow, BeendenAndTheCloseButtonEndAtOnceAndSaveNothing) {
    for (bool byMenu : {true, false}) {
        Sandbox sandbox;
        App app(sandbox);
        app.SetText(id::kTxtZeit + 0, L"1999");
        app.SetHold(true);
        if (byMenu) app.Menu(L'd', L'b');
        else ::PostMessageW(app.Main(), WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_TRUE(app.WaitForExit(10000)) << (byMenu ? "Beenden" : "close button");
        EXPECT_FALSE(sandbox.ReadIni().has_value());
    }
}

// Each press starts the system's rundll32.exe, never a planted copy beside the program (here: Horlomat itself).
TEST(Computerzeit, StartsTheSystemRundll32AndLeavesEverythingElseAlone) {
    Sandbox sandbox;
    sandbox.WriteIni("[Zeit]\r\nJahr=2030\r\n");
    ASSERT_TRUE(::CopyFileW(sandbox.ExePath().c_str(), (sandbox.Folder() + L"\\rundll32.exe").c_str(), FALSE));
    App app(sandbox);
    app.Click(id::kZeitDialog);
    app.Click(id::kZeitDialog);
    std::set<DWORD> children;  // Wine's panel may end quickly: every child seen counts
    std::wstring image;
    WaitFor([&] {
        HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        PROCESSENTRY32W entry{};
        entry.dwSize = sizeof(entry);
        for (BOOL ok = ::Process32FirstW(snapshot, &entry); ok; ok = ::Process32NextW(snapshot, &entry)) {
            if (entry.th32ParentProcessID != app.ProcessId()) continue;
            children.insert(entry.th32ProcessID);
            image = entry.szExeFile;
        }
        ::CloseHandle(snapshot);
        return children.size() >= 2;
    }, 10000);
    EXPECT_EQ(children.size(), 2u);
    EXPECT_EQ(image, L"rundll32.exe");
    ::Sleep(1000);
    EXPECT_EQ(::FindWindowW(nullptr, kMainTitle), app.Main()) << "the planted copy ran";
    EXPECT_EQ(app.Text(id::kGesetzteZeit), L"");
    EXPECT_EQ(sandbox.ReadIni(), "[Zeit]\r\nJahr=2030\r\n");
}

}  // namespace
}  // namespace ui
