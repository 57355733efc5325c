// How the text found in the registry becomes the program that is started.
#include "about/tool_command.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(ToolCommand, NeverSplitsAPathAtABlankBeforeItsProgramName) {
    const std::set<std::wstring> files = {L"C:\\Program Files\\Common Files\\MSInfo\\msinfo32.exe",
                                          L"C:\\Tools\\my tool"};
    auto isFile = [&](const std::wstring& path) { return files.count(path) > 0; };
    const struct {
        const wchar_t* text;
        const wchar_t* application;
        const wchar_t* commandLine;
    } cases[] = {
        // An existing file is started exactly, whatever it is called.
        {L"C:\\Program Files\\Common Files\\MSInfo\\msinfo32.exe",
         L"C:\\Program Files\\Common Files\\MSInfo\\msinfo32.exe",
         L"\"C:\\Program Files\\Common Files\\MSInfo\\msinfo32.exe\""},
        {L"C:\\Tools\\my tool", L"C:\\Tools\\my tool", L"\"C:\\Tools\\my tool\""},
        // A quoted program is a command line as it stands.
        {L"\"C:\\Program Files\\x.exe\" /a", L"", L"\"C:\\Program Files\\x.exe\" /a"},
        // Up to the first ".exe" that ends a word is the program.
        {L"C:\\Program Files\\x.exe /report a b.txt", L"", L"\"C:\\Program Files\\x.exe\" /report a b.txt"},
        {L"C:\\Program Files\\X.EXE", L"", L"\"C:\\Program Files\\X.EXE\""},
        {L"C:\\a.exed\\b c\\x.Exe\t-q", L"", L"\"C:\\a.exed\\b c\\x.Exe\"\t-q"},
        {L"msinfo32.exe", L"", L"\"msinfo32.exe\""},
        // Without one the whole text is the program.
        {L"C:\\Program Files\\MSInfo\\msinfo32 /x", L"", L"\"C:\\Program Files\\MSInfo\\msinfo32 /x\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.text)));
        const std::optional<about::ToolCommand> command = about::ToolCommandFor(c.text, isFile);
        ASSERT_TRUE(command.has_value());
        EXPECT_EQ(command->application, c.application);
        EXPECT_EQ(command->commandLine, c.commandLine);
    }
    EXPECT_FALSE(about::ToolCommandFor(L"", isFile).has_value());
}

}  // namespace
