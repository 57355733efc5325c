// The About dialog with the keyboard and a screen reader, its logo link, and "Systeminfo..." finding the system
// information tool through two registry values.
#include "tests/harness.h"

using namespace ui;

constexpr wchar_t kUnavailable[] = L"Systeminformationen sind momentan nicht verfügbar";

// Opened by keyboard and modal, it goes round with Tab and closes with Enter or Esc, and the main window's focus is
// back where it was. Space or Enter on the logo, and a click, open the maker's page without a word; the dialog stays.
TEST(AboutDialog, WorksByKeyboardAndTheLogoOpensTheMakersPage) {
    Sandbox sandbox;
    const std::wstring browser = sandbox.folder + L"\\browser.exe";
    PlaceTool(browser);
    SetValue(HKEY_LOCAL_MACHINE, "Software\\Classes\\https\\shell\\open\\command", "",
             "\"" + Narrow(browser) + "\" \"%1\"" + '\0');
    App app(sandbox);
    app.Key(VK_TAB);  // to "Computerzeit", where the focus returns after the dialog
    for (UINT closeKey : {VK_RETURN, VK_ESCAPE}) {
        app.Menu(L'?', L'ü');
        const HWND dialog = app.WaitForWindow(L"Info zu Horlomat");
        const auto item = [&](int id) { return ::GetDlgItem(dialog, id); };
        EXPECT_FALSE(::IsWindowEnabled(app.Main())) << "modal";
        EXPECT_EQ(AccessibleName(item(about_ids::picIcon)), L"Tesmar im Internet");
        ASSERT_TRUE(WaitFor([&] { return app.Focus() == item(about_ids::cmdOK); }));
        for (int next : {about_ids::picIcon, about_ids::cmdSysInfo, about_ids::cmdOK}) {
            app.Key(VK_TAB);
            ASSERT_TRUE(WaitFor([&] { return app.Focus() == item(next); })) << "to " << next;
            if (next == about_ids::picIcon) app.Key(closeKey == VK_RETURN ? VK_SPACE : VK_RETURN);
        }
        app.Key(closeKey);
        EXPECT_TRUE(WaitFor([&] { return !::IsWindow(dialog) && ::IsWindowEnabled(app.Main()); }));
        EXPECT_TRUE(WaitFor([&] { return app.Focus() == app.Item(ids::cmdZeitDialog); })) << "the focus is back";
    }
    const HWND logo = ::GetDlgItem(app.OpenAbout(), about_ids::picIcon);
    ::PostMessageW(logo, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 60));
    ::PostMessageW(logo, WM_LBUTTONUP, 0, MAKELPARAM(50, 60));
    ASSERT_TRUE(WaitFor([&] { return ToolRuns(browser).size() == 3; }));
    for (const std::wstring& run : ToolRuns(browser)) EXPECT_NE(run.find(L" \"https://www.tesmar.de/"), run.npos);
    EXPECT_TRUE(app.Idle() && ::IsWindowVisible(::GetParent(logo)) && app.Windows(L"Horlomat").empty());
}

TEST(SysInfo, StartsTheRegisteredToolSafelyOrSaysInOneBoxThatItIsUnavailable) {
    Sandbox sandbox;
    const std::wstring root = sandbox.folder, inFolder = root + L"\\tools\\MSINFO32.EXE";
    const std::wstring tool = root + L"\\Program Files\\Common Files\\MSInfo32.Exe";
    // Programs at the prefixes of a path with blanks must never run, nor one in the drive's root, nor a hidden one.
    const std::wstring planted[] = {root + L"\\Program.exe", root + L"\\Program Files\\Common.exe",
                                    root.substr(0, 2) + L"\\MSINFO32.EXE", root + L"\\hidden\\MSINFO32.EXE"};
    for (const std::wstring& file : {inFolder, tool, planted[0], planted[1], planted[2], planted[3]}) PlaceTool(file);
    ::SetFileAttributesW(planted[3].c_str(), FILE_ATTRIBUTE_HIDDEN);
    App app(sandbox);
    const HWND dialog = app.OpenAbout();
    using Value = std::pair<std::optional<std::string>, DWORD>;
    const std::string tools = Narrow(root + L"\\tools") + '\0';
    const struct {
        const char* name;
        Value path, folder;
        const std::wstring* started;
        const wchar_t* arguments = L"";
    } cases[] = {
        {"full path, first value wins", {Narrow(tool) + '\0', REG_SZ}, {tools, REG_SZ}, &tool},
        {"path and arguments", {Narrow(tool) + " /report a.exe b.txt", REG_SZ}, {}, &tool, L" /report a.exe b.txt"},
        {"quoted path", {"\"" + Narrow(tool) + "\"\t/a", REG_SZ}, {}, &tool, L"\t/a"},
        {"no .exe: one name", {Narrow(root + L"\\Program Files\\Common Files\\msinfo"), REG_SZ}, {}, nullptr},
        {"folder of the second value", {{}, REG_SZ}, {tools, REG_SZ}, &inFolder},
        {"hidden tool in that folder", {{}, REG_SZ}, {Narrow(root + L"\\hidden"), REG_SZ}, nullptr},
        // A first value that is found ends the search, even when it is no use.
        {"first value binary", {Narrow(tool), REG_BINARY}, {tools, REG_SZ}, nullptr},
        // An empty folder names none, not the root of the current drive.
        {"second value empty", {{}, REG_SZ}, {"", REG_SZ}, nullptr},
        {"no value", {{}, REG_SZ}, {{}, REG_SZ}, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SetValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", c.path.first, c.path.second);
        SetValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO", c.folder.first,
                 c.folder.second);
        const size_t before = c.started ? ToolRuns(*c.started).size() : 0;
        ::PostMessageW(dialog, WM_COMMAND, about_ids::cmdSysInfo, 0);
        EXPECT_TRUE(c.started || ::GetWindow(app.WaitForWindow(L"Horlomat"), GW_OWNER) == dialog) << "the box's owner";
        EXPECT_EQ(app.CloseBoxes(), c.started ? std::vector<std::wstring>{} : std::vector<std::wstring>{kUnavailable});
        if (c.started) {
            ASSERT_TRUE(WaitFor([&] { return ToolRuns(*c.started).size() > before; }));
            EXPECT_EQ(ToolRuns(*c.started).back(), root + L">\"" + *c.started + L"\"" + c.arguments);
        }
    }
    for (const std::wstring& file : planted) EXPECT_TRUE(ToolRuns(file).empty()) << Narrow(file);
    ::DeleteFileW(planted[2].c_str());
    EXPECT_TRUE(::IsWindowVisible(dialog)) << "the dialog stays open";
}
