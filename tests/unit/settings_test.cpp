// The settings file: where it lives, how values come back, the six stored after a set.
#include "app/apply.h"
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

TEST_F(SettingsFile, GivesTheDefaultOnlyForAMissingKeyAndAtMost254Characters) {
    EXPECT_EQ(global::ReadIniString(L"Zeit", L"Jahr", L"2026"), L"2026");  // no file yet
    const struct { std::string file; std::wstring expected; } cases[] = {
        {"[Andere]\r\nJahr=1999\r\n", L"2026"},
        {"[Zeit]\r\nMonat=07\r\n", L"2026"},
        {"[Zeit]\r\nJahr=\r\n", L""},
        {"[Zeit]\r\nJahr=" + std::string(300, 'b') + "\r\n", std::wstring(254, L'b')},
    };
    for (const auto& c : cases) {
        Write(c.file);
        EXPECT_EQ(global::ReadIniString(L"Zeit", L"Jahr", L"2026"), c.expected) << c.file.substr(0, 30);
    }
}

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

TEST_F(SettingsFile, StoreSettingsWritesTheSixKeysOrNone) {
    apply::StoreSettings({L"2026", L"12", L"5", L"14", L"30"}, true);
    EXPECT_EQ(Read(), "[Zeit]\r\nJahr=2026\r\nMonat=12\r\nTag=5\r\nStunde=14\r\nMinute=30\r\nZeitHalten=JA\r\n");
    // One text that cannot come back unchanged: the earlier file stays whole.
    const std::string earlier = "[Zeit]\r\nJahr=2025\r\nMonat=1\r\nTag=2\r\nStunde=3\r\nMinute=4\r\nZeitHalten=JA\r\n";
    const apply::FieldTexts refused[] = {{std::wstring(300, L'0') + L"2026", L"12", L"5", L"14", L"30"},
                                         {L"2026", L"12", L"5\x2003", L"14", L"30"},
                                         {L"2026", L"12", L"5", L"14", L"\n30"}};
    for (const apply::FieldTexts& fields : refused) {
        Write(earlier);
        apply::StoreSettings(fields, false);
        EXPECT_EQ(Read(), earlier);
    }
}

}  // namespace
