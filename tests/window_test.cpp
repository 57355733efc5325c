// The main window as the user meets it, where the settings file is, and "Zeit setzen" and the tick against a pinned
// clock (a set succeeds only when the record is exact).
#include "tests/harness.h"

#include <filesystem>

using namespace ui;

// No resizing; the fields named for a screen reader by their labels, and limited in length; Tab goes
// round from "Zeit setzen", Enter and Esc press nothing; "Computerzeit" starts the system's rundll32.exe by its full
// path, never a copy beside the program; Beenden ends at once and, like all of these, saves nothing.
TEST(MainWindow, AsTheUserMeetsItByKeyboardScreenReaderAndMouse) {
    wchar_t system[MAX_PATH] = {};
    const std::wstring folder(system, ::GetSystemDirectoryW(system, MAX_PATH)), rundll32 = folder + L"\\rundll32.exe";
    PlaceTool(rundll32);  // in the tests' own Wine prefix, where it stays and is run instead of Wine's
    SetValue(HKEY_CURRENT_USER, "Software\\Wine\\DllOverrides", "rundll32.exe", "native" + std::string(1, '\0'));
    Sandbox sandbox;
    App app(sandbox);
    EXPECT_EQ(::GetWindowLongW(app.Main(), GWL_STYLE) & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
    const wchar_t* const fields[] = {L"Jahr", L"Monat", L"Tag", L"Stunde", L"Minute"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(AccessibleName(app.Item(ids::txtZeit + i)), fields[i]);
        app.SetText(ids::txtZeit + i, L"");
        for (wchar_t c : std::wstring(L"12345")) ::SendMessageW(app.Item(ids::txtZeit + i), WM_CHAR, c, 1);
        EXPECT_EQ(app.Text(ids::txtZeit + i), i ? L"12" : L"1234");
    }
    ASSERT_TRUE(WaitFor([&] { return app.Focus() == app.Item(ids::cmdZeitSetzen); }));
    for (int next : {ids::cmdZeitDialog, ids::txtZeit + 4, ids::txtZeit + 3, ids::txtZeit + 2, ids::txtZeit + 1,
                     ids::txtZeit + 0, ids::chkRegel, ids::cmdZeitSetzen}) {
        app.Key(VK_TAB);
        ASSERT_TRUE(WaitFor([&] { return app.Focus() == app.Item(next); })) << "to " << next;
    }
    app.Key(VK_RETURN);
    app.Key(VK_ESCAPE);
    ASSERT_TRUE(app.Idle());
    EXPECT_TRUE(app.Windows().empty() && app.Text(ids::lblGesetzteZeit).empty());
    app.Post(ids::cmdZeitDialog);
    app.Post(ids::cmdZeitDialog);
    ASSERT_TRUE(WaitFor([&] { return ToolRuns(rundll32).size() == 2; }));
    EXPECT_EQ(ToolRuns(rundll32)[1], folder + L">\"" + rundll32 + L"\" shell32.dll,Control_RunDLL timedate.cpl,,0");
    app.SetTicked(true);
    app.Menu(L'd', L'b');
    EXPECT_TRUE(app.WaitForExit(10000));
    EXPECT_FALSE(sandbox.ReadIni());
}

// Beside the executable whatever the working folder, also in a drive's root (X:) and in a folder the ANSI code page
// cannot spell. The fields show what reads, else the local time; the start writes nothing; a set stores the same
// bytes as in a plain folder, or says that it could not.
TEST(SettingsFile, IsTheOneBesideTheExecutableWhateverItHolds) {
    const PinnedClock clock;
    Sandbox sandbox, elsewhere;
    elsewhere.WriteIni("[Zeit]\r\nJahr=1999\r\n");
    const std::wstring unicode = sandbox.folder + L"\\Prüfung Łukasz 中";
    std::filesystem::create_directory(unicode);
    for (const std::wstring& folder : {std::wstring(L"X:"), unicode}) {
        std::filesystem::copy_file(sandbox.Exe(), folder + L"\\Horlomat.exe",
                                   std::filesystem::copy_options::overwrite_existing);
    }
    const std::string plain = "[Zeit]\r\nJahr=2030\r\nTag=\r\n";
    const struct {
        std::wstring folder;
        std::optional<std::string> bytes;  // none: a folder
        std::wstring fields;               // 14:30 UTC is 15:30 in Berlin
    } cases[] = {
        {sandbox.folder, plain, L"2030|12||15|30"},
        {unicode, plain, L"2030|12||15|30"},
        {L"X:", "[Zeit]\nMonat= 07 \nJahr=" + std::string(10000, '7'), std::wstring(254, L'7') + L"|07|5|15|30"},
        {sandbox.folder, {}, L"2026|12|5|15|30"},
    };
    std::vector<std::optional<std::string>> stored;
    for (const auto& c : cases) {
        const std::wstring ini = c.folder + L"\\Horlomat.ini";
        std::filesystem::remove_all(ini);
        c.bytes ? WriteFile(ini, *c.bytes) : void(std::filesystem::create_directory(ini));
        App app(sandbox, c.folder + L"\\Horlomat.exe", elsewhere.folder);
        EXPECT_EQ(app.FieldTexts(), c.fields);
        EXPECT_TRUE(ReadFile(ini) == c.bytes) << "written at the start";
        app.SetFields(kPinnedFields);
        app.Post(ids::cmdZeitSetzen);
        const std::vector<std::wstring> told = app.CloseBoxes();
        EXPECT_EQ(app.Text(ids::lblGesetzteZeit), kPinnedLabel);
        stored.push_back(ReadFile(ini));
        const std::vector<std::wstring> notStored = {L"Die Einstellungen konnten nicht gespeichert werden: " +
                                                     c.folder + L"\\Horlomat.ini"};
        EXPECT_EQ(told, stored.back() == c.bytes ? notStored : std::vector<std::wstring>{}) << Narrow(c.folder);
    }
    EXPECT_EQ(stored[1], stored[0]) << "the same bytes in any folder";
    EXPECT_EQ(elsewhere.ReadIni(), "[Zeit]\r\nJahr=1999\r\n");
    // Saved as UTF-8 with its mark, which Windows would not read, the file becomes UTF-16 with its mark, every
    // character kept, and is read. A file planted where a fixed name would have been written first is left alone.
    elsewhere.WriteIni("\xEF\xBB\xBF[Zeit]\r\nJahr=2030\r\n[Notiz]\r\nWer=\xC5\x81ukasz\r\n");
    WriteFile(elsewhere.Ini() + L".neu", "planted");
    const std::wstring utf16 = L"\xFEFF[Zeit]\r\nJahr=2030\r\n[Notiz]\r\nWer=\x0141ukasz\r\n";
    EXPECT_EQ(App(elsewhere).FieldTexts().substr(0, 5), L"2030|");
    EXPECT_EQ(elsewhere.ReadIni(), std::string(reinterpret_cast<const char*>(utf16.data()), utf16.size() * 2));
    EXPECT_EQ(ReadFile(elsewhere.Ini() + L".neu"), "planted");
}

// A tick sets nothing while the box is unticked. Ticking it with the mouse sets and stores nothing either; the next
// tick sets the clock from the fields, stores them key by key with the box, and leaves the focus where the user has it.
TEST(Apply, ByTickOnlyOnceTheBoxIsTickedStoresTheFieldsAndReportsABadFieldInOneBox) {
    PinnedClock clock(2026, 1, 5, 7, 5);
    Sandbox sandbox;
    App app(sandbox);
    app.SetFields({L"2026", L"01", L"5", L"7", L"5"});
    app.Tick();
    ::PostMessageW(app.Item(ids::chkRegel), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ::PostMessageW(app.Item(ids::chkRegel), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    ASSERT_TRUE(app.Idle());
    EXPECT_TRUE(app.Ticked() && app.Text(ids::lblGesetzteZeit).empty() && !sandbox.ReadIni());
    for (int i = 0; i < 3; ++i) app.Key(VK_TAB);  // from the box round to the minute
    ASSERT_TRUE(WaitFor([&] { return app.Focus() == app.Item(ids::txtZeit + 4); }));
    app.Tick();
    ASSERT_TRUE(app.Idle());
    EXPECT_EQ(app.Text(ids::lblGesetzteZeit), L"05.01.2026, 07:05:00");
    const std::string stored = "[Zeit]\r\nJahr=2026\r\nMonat=01\r\nTag=5\r\nStunde=7\r\nMinute=5\r\nZeitHalten=JA\r\n";
    EXPECT_EQ(sandbox.ReadIni(), stored);
    EXPECT_EQ(app.Focus(), app.Item(ids::txtZeit + 4));
    // A field without a number stops the apply with one box, from a press or a tick alike, and changes nothing;
    // while it is open, presses and ticks add no second box. A tick's box while the About dialog is open is the
    // dialog's: closing it leaves the main window disabled.
    app.SetText(ids::txtZeit + 3, L"32768");
    for (bool byTick : {true, false}) {
        const HWND about = byTick ? app.OpenAbout() : nullptr;
        byTick ? app.Tick() : app.Post(ids::cmdZeitSetzen);
        ASSERT_TRUE(app.Idle());
        app.Tick();
        app.Post(ids::cmdZeitSetzen);
        ASSERT_TRUE(app.Idle());
        EXPECT_EQ(app.Windows(L"Horlomat").size(), 1u) << "a second box";
        EXPECT_EQ(app.CloseBoxes(), std::vector<std::wstring>{L"Die Zeit wurde nicht gesetzt: Die Zahl im Feld "
                                                              L"„Stunde“ liegt nicht zwischen -32768 und 32767."});
        EXPECT_TRUE(!about || (!::IsWindowEnabled(app.Main()) && ::PostMessageW(about, WM_COMMAND, IDOK, 0)));
    }
    EXPECT_EQ(app.Text(ids::lblGesetzteZeit), L"05.01.2026, 07:05:00");
    EXPECT_EQ(sandbox.ReadIni(), stored);
}
