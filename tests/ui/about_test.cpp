// The About dialog with the keyboard and a screen reader, its logo link, and "Systeminfo..." finding the system
// information tool through two registry values.
#include "tests/ui/harness.h"

#include <gtest/gtest.h>

#include "version.h"

#include <functional>

namespace ui {
namespace {

TEST(AboutDialog, OpensModalByKeyboardGoesRoundWithTabAndClosesWithEnterOrEsc) {
    Sandbox sandbox;
    App app(sandbox);
    for (UINT closeKey : {VK_RETURN, VK_ESCAPE}) {
        app.Menu(L'?', L'ü');
        HWND dialog = app.WaitForWindow(L"Info zu Horlomat");
        ASSERT_NE(dialog, nullptr);
        const auto item = [&](int id) { return ::GetDlgItem(dialog, id); };
        EXPECT_EQ(::GetWindow(dialog, GW_OWNER), app.Main());
        EXPECT_FALSE(::IsWindowEnabled(app.Main())) << "modal";
        EXPECT_EQ(LOWORD(::SendMessageW(dialog, DM_GETDEFID, 0, 0)), about_ids::cmdOK);
        for (const auto& [id, text] : {std::pair{about_ids::cmdOK, L"OK"}, {about_ids::cmdSysInfo, L"&Systeminfo..."},
                                       {about_ids::lblTitle, L"Horlomat"}, {about_ids::lblVersion, L"Version " HORLOMAT_VERSION}}) {
            EXPECT_EQ(WindowText(item(id)), text);
        }
        EXPECT_NE(WindowText(item(about_ids::lblDisclaimer)).find(L"Tesmar"), std::wstring::npos);
        EXPECT_EQ(AccessibleName(item(about_ids::picIcon)), L"Tesmar im Internet");
        ASSERT_TRUE(WaitFor([&] { return app.Focus() == item(about_ids::cmdOK); }, 5000));
        for (int next : {about_ids::picIcon, about_ids::cmdSysInfo, about_ids::cmdOK}) {
            app.Key(VK_TAB);
            EXPECT_TRUE(WaitFor([&] { return app.Focus() == item(next); }, 3000)) << "to " << next;
        }
        app.Key(closeKey);
        EXPECT_TRUE(WaitFor([&] { return !::IsWindow(dialog); }, 5000));
        EXPECT_TRUE(WaitFor([&] { return ::IsWindowEnabled(app.Main()) != FALSE; }, 5000));
    }
    EXPECT_FALSE(sandbox.ReadIni().has_value());
}

// A click, Space or Enter on the logo opens the maker's page, without a word, and the dialog stays.
TEST(AboutDialog, TheLogoOpensTheMakersPageByMouseAndKeyboard) {
    Sandbox sandbox;
    const std::wstring browser = sandbox.Folder() + L"\\browser.exe";
    PlaceTool(browser);
    SetValue(HKEY_LOCAL_MACHINE, "Software\\Classes\\https\\shell\\open\\command", "",
             "\"" + Narrow(browser) + "\" \"%1\"" + '\0');
    App app(sandbox);
    HWND dialog = app.OpenAbout();
    ASSERT_NE(dialog, nullptr);
    HWND logo = ::GetDlgItem(dialog, about_ids::picIcon);
    ::PostMessageW(logo, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 60));
    ::PostMessageW(logo, WM_LBUTTONUP, 0, MAKELPARAM(50, 60));
    ASSERT_TRUE(WaitFor([&] { return ToolRuns(browser).size() == 1; }, 15000)) << "click";
    EXPECT_NE(ToolRuns(browser)[0].find(L"https://www.tesmar.de/"), std::wstring::npos);
    ::SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(logo), TRUE);
    app.Key(VK_SPACE);
    EXPECT_TRUE(WaitFor([&] { return ToolRuns(browser).size() == 2; }, 15000)) << "Space";
    app.Key(VK_RETURN);
    EXPECT_TRUE(WaitFor([&] { return ToolRuns(browser).size() == 3; }, 15000)) << "Enter";
    ASSERT_TRUE(app.Idle());
    EXPECT_TRUE(::IsWindowVisible(dialog));
    EXPECT_EQ(app.Windows().size(), 1u) << "nothing is reported";
}

TEST(SysInfo, StartsTheRegisteredToolSafelyOrSaysInOneBoxThatItIsUnavailable) {
    Sandbox sandbox;
    const std::wstring root = sandbox.Folder();
    // Horlomat inherits it, for the values that name %HORLOMAT_TEST_TOOLS%.
    ::SetEnvironmentVariableW(L"HORLOMAT_TEST_TOOLS", root.c_str());
    const std::wstring inFolder = root + L"\\tools\\MSINFO32.EXE";
    const std::wstring tool = root + L"\\Program Files\\Common Files\\MSInfo\\msinfo32.exe";
    // Programs at the prefixes of an unquoted path with blanks must never run, nor one in the drive's root.
    const std::wstring planted[] = {root + L"\\Program.exe", root + L"\\Program Files\\Common.exe",
                                    root.substr(0, 2) + L"\\MSINFO32.EXE"};
    for (const std::wstring& path : {inFolder, tool, planted[0], planted[1], planted[2]}) PlaceTool(path);
    App app(sandbox);
    HWND dialog = app.OpenAbout();
    ASSERT_NE(dialog, nullptr);

    const std::string tools = Narrow(root + L"\\tools") + '\0';
    const auto path = [](std::optional<std::string> bytes, DWORD type = REG_SZ) {
        SetValue(HKEY_LOCAL_MACHINE, kToolKey, "PATH", bytes, type);
    };
    const auto folder = [](std::optional<std::string> bytes, DWORD type = REG_SZ) {
        SetValue(HKEY_LOCAL_MACHINE, kFolderKey, "MSINFO", bytes, type);
    };
    const struct {
        const char* name;
        std::function<void()> arrange;
        const std::wstring* started;  // nullptr: the box
    } cases[] = {
        {"full path, first value wins", [&] { path(Narrow(tool) + '\0'); folder(tools); }, &tool},
        {"folder of the second value", [&] { path({}); folder(tools); }, &inFolder},
        {"expandable folder", [&] { folder("%HORLOMAT_TEST_TOOLS%\\tools" + std::string(1, '\0'), REG_EXPAND_SZ); },
         &inFolder},
        // A first value that is found ends the search, even when it is no use.
        {"first value empty", [&] { path(std::string(1, '\0')); folder(tools); }, nullptr},
        {"first value binary", [&] { path(Narrow(tool), REG_BINARY); folder(tools); }, nullptr},
        // An empty folder names none, not the root of the current drive.
        {"second value empty", [&] { path({}); folder(""); }, nullptr},
        {"second value binary", [&] { folder(tools, REG_BINARY); }, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.arrange();
        const size_t before = c.started ? ToolRuns(*c.started).size() : 0;
        ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(about_ids::cmdSysInfo, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(dialog, about_ids::cmdSysInfo)));
        if (c.started) {
            ASSERT_TRUE(WaitFor([&] { return ToolRuns(*c.started).size() > before; }, 15000));
            EXPECT_EQ(ToolRuns(*c.started).back(), L"\"" + *c.started + L"\"");
            ASSERT_TRUE(app.Idle());
            EXPECT_EQ(app.Windows().size(), 1u) << "a box";
            continue;
        }
        const HWND box = app.WaitForWindow(L"Horlomat");
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(::GetWindow(box, GW_OWNER), dialog);
        EXPECT_EQ(BoxText(box), kUnavailable);
        EXPECT_EQ(app.Windows().size(), 2u);
        ASSERT_TRUE(CloseBox(box));
        ASSERT_TRUE(app.Idle());
        EXPECT_EQ(app.Windows().size(), 1u) << "a second box";
    }
    for (const std::wstring& file : planted) EXPECT_TRUE(ToolRuns(file).empty()) << Narrow(file);
    ::DeleteFileW(planted[2].c_str());
    EXPECT_TRUE(::IsWindowVisible(dialog)) << "the dialog stays open";
    ::SetEnvironmentVariableW(L"HORLOMAT_TEST_TOOLS", nullptr);
}

}  // namespace
}  // namespace ui
