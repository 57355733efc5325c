// "Systeminfo..." finds the system information tool through two registry
// values, starts it, or says once that it is unavailable.
#include "about/about_ids.h"
#include "tests/ui/about_helpers.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

namespace ui {
namespace {

constexpr char kToolKey[] = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr char kFolderKey[] = "SOFTWARE\\Microsoft\\Shared Tools Location";
constexpr wchar_t kUnavailable[] = L"Systeminformationen sind momentan nicht verfügbar";
constexpr wchar_t kToolsVariable[] = L"HORLOMAT_TEST_TOOLS";

struct Child {
    HWND window;
    std::wstring className;
    std::wstring text;
    LONG style;
};

BOOL CALLBACK CollectChild(HWND window, LPARAM param) {
    if (::IsWindowVisible(window)) {
        reinterpret_cast<std::vector<Child>*>(param)->push_back(
            {window, ClassName(window), WindowText(window), ::GetWindowLongW(window, GWL_STYLE)});
    }
    return TRUE;
}

class SysInfo : public testing::Test {
protected:
    SysInfo()
        : path_(HKEY_LOCAL_MACHINE, kToolKey, "PATH"), folder_(HKEY_LOCAL_MACHINE, kFolderKey, "MSINFO") {
        // Horlomat inherits it, for the values that name %HORLOMAT_TEST_TOOLS%.
        ::SetEnvironmentVariableW(kToolsVariable, sandbox_.Folder().c_str());
        PlaceFakeTool(Tools() + L"\\MSINFO32.EXE");
        app_.emplace(sandbox_);
        dialog_ = OpenAbout(*app_);
    }
    ~SysInfo() override { ::SetEnvironmentVariableW(kToolsVariable, nullptr); }

    std::wstring Tools() const { return sandbox_.Folder() + L"\\tools"; }
    std::wstring ToolInFolder() const { return Tools() + L"\\MSINFO32.EXE"; }
    // Where the first value points, away from the second's folder.
    std::wstring FullPathTool() const { return sandbox_.Folder() + L"\\full\\msinfo32.exe"; }

    void Press() const {
        ::PostMessageW(dialog_, WM_COMMAND, MAKEWPARAM(about::ids::kSysInfo, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(dialog_, about::ids::kSysInfo)));
    }

    // The tool at `path` ran `times` times, and no more came after a while.
    void ExpectRuns(const std::wstring& path, size_t times) const {
        EXPECT_TRUE(WaitFor([&] { return ToolRuns(path).size() >= times; }, 15000)) << Narrow(path);
        ::Sleep(500);
        EXPECT_EQ(ToolRuns(path).size(), times) << Narrow(path);
        EXPECT_TRUE(WindowsOf(*app_, L"Horlomat").empty()) << "no message box";
    }

    // One message box, as designed, in front of the dialog; once it is
    // closed, no second one follows and the dialog is still open.
    void ExpectUnavailableOnce() const {
        std::vector<HWND> boxes;
        ASSERT_TRUE(WaitFor([&] { return !(boxes = WindowsOf(*app_, L"Horlomat")).empty(); }, 15000))
            << "no message box";
        ::Sleep(500);
        boxes = WindowsOf(*app_, L"Horlomat");
        ASSERT_EQ(boxes.size(), 1u);
        HWND box = boxes[0];
        EXPECT_EQ(::GetWindow(box, GW_OWNER), dialog_);

        std::vector<Child> children;
        ::EnumChildWindows(box, CollectChild, reinterpret_cast<LPARAM>(&children));
        int buttons = 0;
        bool textShown = false;
        for (const Child& c : children) {
            if (c.className == L"Button") {
                ++buttons;
                EXPECT_EQ(c.text, L"OK");
            }
            if (c.className == L"Static" && c.text == kUnavailable) textShown = true;
            if (c.className == L"Static" && (c.style & SS_TYPEMASK) == SS_ICON) {
                EXPECT_EQ(::SendMessageW(c.window, STM_GETICON, 0, 0), 0) << "no icon";
            }
        }
        EXPECT_EQ(buttons, 1);
        EXPECT_TRUE(textShown);

        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(WaitFor([&] { return !::IsWindow(box); }, 5000));
        ::Sleep(700);
        EXPECT_TRUE(WindowsOf(*app_, L"Horlomat").empty()) << "a second box";
        EXPECT_TRUE(::IsWindowVisible(dialog_)) << "the About dialog stays open";
        EXPECT_TRUE(::IsWindowEnabled(dialog_));
    }

    Sandbox sandbox_;
    RegistryValue path_;
    RegistryValue folder_;
    std::optional<App> app_;
    HWND dialog_ = nullptr;
};

TEST_F(SysInfo, AFullPathInTheFirstValueStartsThatToolOncePerPress) {
    ASSERT_NE(dialog_, nullptr);
    const std::wstring tool = FullPathTool();
    PlaceFakeTool(tool);
    path_.SetText(Narrow(tool));
    folder_.SetText(Narrow(Tools()));  // not needed: the first value wins

    Press();
    ExpectRuns(tool, 1);
    Press();
    ExpectRuns(tool, 2);
    EXPECT_TRUE(ToolRuns(ToolInFolder()).empty());
    EXPECT_TRUE(::IsWindowVisible(dialog_));
}

TEST_F(SysInfo, WithoutTheFirstValueTheFolderOfTheSecondIsUsed) {
    ASSERT_NE(dialog_, nullptr);
    folder_.SetText(Narrow(Tools()));

    Press();
    ExpectRuns(ToolInFolder(), 1);
    const std::vector<std::wstring> seen = ToolRuns(ToolInFolder());
    EXPECT_EQ(seen.empty() ? L"" : seen[0], L"\"" + ToolInFolder() + L"\"") << "started by its full path";
}

TEST_F(SysInfo, ReportsUnavailableOnceWhenNothingUsableIsRegistered) {
    ASSERT_NE(dialog_, nullptr);
    const std::wstring empty = sandbox_.Folder() + L"\\empty";
    const std::wstring hidden = sandbox_.Folder() + L"\\hidden";
    const std::wstring folderNamedLikeTheTool = sandbox_.Folder() + L"\\folder";
    ::CreateDirectoryW(empty.c_str(), nullptr);
    PlaceFakeTool(hidden + L"\\MSINFO32.EXE");
    ::SetFileAttributesW((hidden + L"\\MSINFO32.EXE").c_str(), FILE_ATTRIBUTE_HIDDEN);
    ::CreateDirectoryW(folderNamedLikeTheTool.c_str(), nullptr);
    ::CreateDirectoryW((folderNamedLikeTheTool + L"\\MSINFO32.EXE").c_str(), nullptr);

    const std::string tools = Narrow(Tools());
    const struct {
        const char* name;
        std::function<void()> arrange;
    } cases[] = {
        {"both values absent", [] {}},
        {"folder without the tool", [&] { folder_.SetText(Narrow(empty)); }},
        {"the tool hidden", [&] { folder_.SetText(Narrow(hidden)); }},
        {"a folder in the tool's place", [&] { folder_.SetText(Narrow(folderNamedLikeTheTool)); }},
        // A first value that is found ends the search, even when it is no use.
        {"first value empty", [&] { path_.SetText(""); folder_.SetText(tools); }},
        {"first value of zero bytes", [&] { path_.Set(REG_SZ, ""); folder_.SetText(tools); }},
        {"first value binary", [&] { path_.Set(REG_BINARY, "\x01\x02"); folder_.SetText(tools); }},
        {"first value names no program", [&] { path_.SetText(Narrow(empty + L"\\gone.exe")); folder_.SetText(tools); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        path_.Delete();
        folder_.Delete();
        c.arrange();
        Press();
        ExpectUnavailableOnce();
        EXPECT_TRUE(ToolRuns(ToolInFolder()).empty());
        EXPECT_TRUE(ToolRuns(hidden + L"\\MSINFO32.EXE").empty());
    }
}

TEST_F(SysInfo, AltSPressesTheButton) {
    ASSERT_NE(dialog_, nullptr);
    ::PostMessageW(app_->Focus(), WM_SYSKEYDOWN, 'S', 1u << 29);
    ::PostMessageW(app_->Focus(), WM_SYSCHAR, L's', 1u << 29);
    ::PostMessageW(app_->Focus(), WM_SYSKEYUP, 'S', 0xC0000001u | (1u << 29));
    ExpectUnavailableOnce();
}

// A path with blanks, unquoted, must not run a program at a shorter prefix.
TEST_F(SysInfo, AnUnquotedPathWithBlanksNeverRunsAPlantedProgram) {
    ASSERT_NE(dialog_, nullptr);
    const std::wstring planted = sandbox_.Folder() + L"\\Program.exe";
    const std::wstring plantedToo = sandbox_.Folder() + L"\\Program Files\\Common.exe";
    const std::wstring tool = sandbox_.Folder() + L"\\Program Files\\Common Files\\MSInfo\\msinfo32.exe";
    PlaceFakeTool(planted);
    PlaceFakeTool(plantedToo);
    PlaceFakeTool(tool);

    const struct {
        std::wstring value;
        std::wstring arguments;  // as the tool sees them after its own name
    } cases[] = {
        {tool, L""},
        {tool + L" /report out.txt", L" /report out.txt"},
        {L"\"" + tool + L"\" /categories +all", L" /categories +all"},
    };
    size_t runs = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.value));
        path_.SetText(Narrow(c.value));
        Press();
        ExpectRuns(tool, ++runs);
        const std::vector<std::wstring> seen = ToolRuns(tool);
        EXPECT_EQ(seen.empty() ? L"" : seen.back(), L"\"" + tool + L"\"" + c.arguments);
    }
    EXPECT_TRUE(ToolRuns(planted).empty());
    EXPECT_TRUE(ToolRuns(plantedToo).empty());
}

TEST_F(SysInfo, ExpandableValuesHaveTheirVariablesReplaced) {
    ASSERT_NE(dialog_, nullptr);
    const std::wstring tool = FullPathTool();
    PlaceFakeTool(tool);
    const std::string variable = "%" + Narrow(kToolsVariable) + "%";

    path_.Set(REG_EXPAND_SZ, variable + "\\full\\msinfo32.exe" + '\0');
    Press();
    ExpectRuns(tool, 1);

    path_.Delete();
    folder_.Set(REG_EXPAND_SZ, variable + "\\tools" + '\0');
    Press();
    ExpectRuns(ToolInFolder(), 1);
}

}  // namespace
}  // namespace ui
