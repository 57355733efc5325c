// The settings file: where it lives, and values that read back unchanged or are not written. The robustness suite
// checks the file through the window: the reader's rules at start, the six keys or none after an apply.
#include "settings/global.h"

#include "tests/common/test_files.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>

namespace {

TEST(IniPath, HasExactlyOneBackslashBeforeTheFileName) {
    EXPECT_EQ(global::IniPathIn(L"C:\\"), L"C:\\Horlomat.ini");
    EXPECT_EQ(global::IniPathIn(L"C:\\Tools"), L"C:\\Tools\\Horlomat.ini");
}

// A settings file of this process alone, missing at the start of each case.
class SettingsFile : public testing::Test {
protected:
    void SetUp() override {
        const auto name = "horlomat-unit-" + std::to_string(::GetCurrentProcessId()) + ".ini";
        global::IniFilePath = (std::filesystem::temp_directory_path() / name).wstring();
        std::filesystem::remove(global::IniFilePath);
    }
    void TearDown() override { std::filesystem::remove(global::IniFilePath); }
    void Write(const std::string& bytes) { testfiles::Write(global::IniFilePath, bytes); }
    std::string Read() { return testfiles::Read(global::IniFilePath).value_or("<no file>"); }
};

// The reader drops blanks and control characters at the ends and one pair of quotes, so such values are
// stored quoted. One it cannot give back (line break, not in the ANSI code page, too long) is not written.
TEST_F(SettingsFile, AValueReadsBackUnchangedOrIsNotWritten) {
    const std::string kept = "Stunde=9";
    const struct { std::wstring value; std::string line; } cases[] = {
        {L" 14\t", "Stunde=\" 14\t\""}, {L"\"14\"", "Stunde=\"\"14\"\""}, {L"'14\"", "Stunde='14\""},
        {L"14 \x20AC", "Stunde=14 \x80"},
        {std::wstring(251, L'0') + L" ", "Stunde=\"" + std::string(251, '0') + " \""},
        {L"1\r\n4", kept}, {L"14\x2003", kept}, {L"\xD83D\xDE00", kept}, {std::wstring(L"14\0", 3), kept},
        {std::wstring(255, L'0'), kept}, {std::wstring(252, L'0') + L" ", kept},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.value));
        Write("[Zeit]\r\n" + kept + "\r\n");
        const bool storable = c.line != kept;
        EXPECT_EQ(global::CanStore(c.value), storable);
        EXPECT_EQ(global::WriteIniString(L"Zeit", L"Stunde", c.value) != 0, storable);
        EXPECT_EQ(global::ReadIniString(L"Zeit", L"Stunde", L""), storable ? c.value : L"9");
        EXPECT_EQ(Read(), "[Zeit]\r\n" + c.line + "\r\n");
    }
}

}  // namespace
