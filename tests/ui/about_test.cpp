// The About dialog, and "Systeminfo..." finding the system information tool through two registry values.
#include "about/about_ids.h"
#include "tests/ui/harness.h"

#include <gtest/gtest.h>

#include <functional>

namespace ui {
namespace {

namespace about_id = ::about::ids;

TEST(AboutDialog, OpensModalByKeyboardAsDesignedAndClosesWithEnterOrEsc) {
    Sandbox sandbox;
    App app(sandbox);
    for (UINT closeKey : {VK_RETURN, VK_ESCAPE}) {
        app.Menu(L'?', L'ü');
        HWND dialog = app.WaitForOtherWindow(kAboutTitle, 10000);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(::GetWindow(dialog, GW_OWNER), app.Main());
        EXPECT_FALSE(::IsWindowEnabled(app.Main())) << "modal";
        ASSERT_TRUE(WaitFor([&] { return app.Focus() == ::GetDlgItem(dialog, about_id::kOK); }, 5000));
        EXPECT_EQ(LOWORD(::SendMessageW(dialog, DM_GETDEFID, 0, 0)), about_id::kOK);
        for (const auto& [control, text] : {std::pair{about_id::kOK, L"OK"}, {about_id::kSysInfo, L"&Systeminfo..."},
                                            {about_id::kTitle, L"Horlomat"}, {about_id::kVersion, L"Version 1.0.0"}}) {
            EXPECT_EQ(WindowText(::GetDlgItem(dialog, control)), text);
        }
        EXPECT_NE(WindowText(::GetDlgItem(dialog, about_id::kDisclaimer)).find(L"Tesmar"), std::wstring::npos);
        EXPECT_NE(::SendMessageW(::GetDlgItem(dialog, about_id::kPicIcon), STM_GETIMAGE, IMAGE_BITMAP, 0), 0)
            << "the logo";

        ::PostMessageW(app.Focus(), WM_KEYDOWN, closeKey, 1);
        ::PostMessageW(app.Focus(), WM_KEYUP, closeKey, 0xC0000001);
        EXPECT_TRUE(WaitFor([&] { return !::IsWindow(dialog); }, 5000));
        EXPECT_TRUE(WaitFor([&] { return ::IsWindowEnabled(app.Main()) != FALSE; }, 5000));
    }
    EXPECT_FALSE(sandbox.ReadIni().has_value());
}

TEST(AboutDialog, TheLogoOpensTheMakersPageWithoutAWord) {
    Sandbox sandbox;
    const std::wstring browser = sandbox.Folder() + L"\\browser.exe";
    PlaceFakeTool(browser);
    RegistryValue handler(HKEY_LOCAL_MACHINE, "Software\\Classes\\https\\shell\\open\\command", "");
    handler.SetText("\"" + Narrow(browser) + "\" \"%1\"");
    App app(sandbox);
    HWND dialog = OpenAbout(app);
    ASSERT_NE(dialog, nullptr);
    HWND picture = ::GetDlgItem(dialog, about_id::kPicIcon);
    ::PostMessageW(picture, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 60));
    ::PostMessageW(picture, WM_LBUTTONUP, 0, MAKELPARAM(50, 60));
    ASSERT_TRUE(WaitFor([&] { return !ToolRuns(browser).empty(); }, 15000)) << "the web page was not opened";
    EXPECT_NE(ToolRuns(browser)[0].find(L"https://www.tesmar.de/"), std::wstring::npos);
    ::Sleep(1000);
    EXPECT_TRUE(::IsWindowVisible(dialog));
    EXPECT_TRUE(WindowsOf(app, L"Horlomat").empty()) << "nothing is reported";
}

TEST(SysInfo, StartsTheRegisteredToolSafelyOrSaysOnceThatItIsUnavailable) {
    Sandbox sandbox;
    const std::wstring root = sandbox.Folder();
    // Horlomat inherits it, for the values that name %HORLOMAT_TEST_TOOLS%.
    ::SetEnvironmentVariableW(L"HORLOMAT_TEST_TOOLS", root.c_str());
    const std::wstring inFolder = root + L"\\tools\\MSINFO32.EXE";
    const std::wstring tool = root + L"\\Program Files\\Common Files\\MSInfo\\msinfo32.exe";
    // Programs at the prefixes of an unquoted path with blanks must never run.
    const std::wstring planted[] = {root + L"\\Program.exe", root + L"\\Program Files\\Common.exe"};
    for (const std::wstring& path : {inFolder, tool, planted[0], planted[1]}) PlaceFakeTool(path);
    const RegistryValue path(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH");
    const RegistryValue folder(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO");
    App app(sandbox);
    HWND dialog = OpenAbout(app);
    ASSERT_NE(dialog, nullptr);

    const std::string tools = Narrow(root + L"\\tools");
    const struct {
        const char* name;
        std::function<void()> arrange;
        const std::wstring* started;  // nullptr: the box
        std::wstring commandLine;     // as the tool sees it
    } cases[] = {
        {"full path, first value wins", [&] { path.SetText(Narrow(tool)); folder.SetText(tools); }, &tool,
         L"\"" + tool + L"\""},
        {"folder of the second value", [&] { folder.SetText(tools); }, &inFolder, L"\"" + inFolder + L"\""},
        {"expandable folder", [&] { folder.Set(REG_EXPAND_SZ, std::string("%HORLOMAT_TEST_TOOLS%\\tools") + '\0'); },
         &inFolder, L"\"" + inFolder + L"\""},
        // A first value that is found ends the search, even when it is no use.
        {"first value of zero bytes", [&] { path.Set(REG_SZ, ""); folder.SetText(tools); }, nullptr, L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        path.Delete();
        folder.Delete();
        c.arrange();
        const size_t before = c.started ? ToolRuns(*c.started).size() : 0;
        ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(about_id::kSysInfo, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(dialog, about_id::kSysInfo)));
        if (c.started) {
            EXPECT_TRUE(WaitFor([&] { return ToolRuns(*c.started).size() > before; }, 15000));
            ::Sleep(500);
            const std::vector<std::wstring> runs = ToolRuns(*c.started);
            ASSERT_EQ(runs.size(), before + 1);
            EXPECT_EQ(runs.back(), c.commandLine);
            EXPECT_TRUE(WindowsOf(app, L"Horlomat").empty()) << "no message box";
            continue;
        }
        const HWND box = app.WaitForOtherWindow(L"Horlomat", 15000);
        ::Sleep(500);
        ASSERT_EQ(WindowsOf(app, L"Horlomat").size(), 1u);
        EXPECT_EQ(::GetWindow(box, GW_OWNER), dialog);
        EXPECT_EQ(BoxText(box), L"Systeminformationen sind momentan nicht verfügbar");
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(WaitFor([&] { return WindowsOf(app, L"Horlomat").empty(); }, 5000));
        ::Sleep(500);
        EXPECT_TRUE(WindowsOf(app, L"Horlomat").empty()) << "a second box";
    }
    EXPECT_TRUE(ToolRuns(planted[0]).empty());
    EXPECT_TRUE(ToolRuns(planted[1]).empty());
    EXPECT_TRUE(::IsWindowVisible(dialog)) << "the dialog stays open";
    ::SetEnvironmentVariableW(L"HORLOMAT_TEST_TOOLS", nullptr);
}

}  // namespace
}  // namespace ui
