// The settings file: where it lives and how values come back.
#include "settings/global.h"

#include "tests/common/test_files.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

namespace {

class SettingsFile : public testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        ::GetTempPathW(MAX_PATH, temp);
        folder_ = std::wstring(temp) + L"horlomat-unit-" + std::to_wstring(::GetCurrentProcessId());
        ::CreateDirectoryW(folder_.c_str(), nullptr);
        global::IniFilePath = global::IniPathIn(folder_);
        ::DeleteFileW(global::IniFilePath.c_str());
    }
    void TearDown() override {
        ::DeleteFileW(global::IniFilePath.c_str());
        ::RemoveDirectoryW(folder_.c_str());
    }
    void Write(const std::string& bytes) { testfiles::Write(global::IniFilePath, bytes); }
    std::string Read() { return testfiles::Read(global::IniFilePath).value_or("<no file>"); }

    std::wstring folder_;
};

TEST(IniPath, HasExactlyOneBackslashBeforeTheFileName) {
    EXPECT_EQ(global::IniPathIn(L"C:\\"), L"C:\\Horlomat.ini");
    EXPECT_EQ(global::IniPathIn(L"C:\\Tools"), L"C:\\Tools\\Horlomat.ini");
    EXPECT_EQ(global::IniPathIn(L"\\\\server\\share\\Horlomat"), L"\\\\server\\share\\Horlomat\\Horlomat.ini");
}

TEST_F(SettingsFile, MissingFileSectionOrKeyGivesTheDefault) {
    EXPECT_EQ(global::ReadIniString(L"Zeit", L"Jahr", L"2026"), L"2026");
    Write("[Andere]\r\nJahr=1999\r\n");
    EXPECT_EQ(global::ReadIniString(L"Zeit", L"Jahr", L"2026"), L"2026");
    Write("[Zeit]\r\nMonat=07\r\n");
    EXPECT_EQ(global::ReadIniString(L"Zeit", L"Jahr", L"2026"), L"2026");
    EXPECT_EQ(global::ReadIniString(L"Zeit", L"Monat", L"3"), L"07");
}

TEST_F(SettingsFile, AnEmptyValueIsNotTheDefault) {
    Write("[Zeit]\r\nTag=\r\n");
    EXPECT_EQ(global::ReadIniString(L"Zeit", L"Tag", L"5"), L"");
}

TEST_F(SettingsFile, LongValuesAreCutTo254Characters) {
    Write("[Zeit]\r\nJahr=" + std::string(254, 'a') + "\r\nMonat=" + std::string(300, 'b') + "\r\n");
    EXPECT_EQ(global::ReadIniString(L"Zeit", L"Jahr", L""), std::wstring(254, L'a'));
    EXPECT_EQ(global::ReadIniString(L"Zeit", L"Monat", L""), std::wstring(254, L'b'));
    EXPECT_EQ(global::ReadIniString(L"Zeit", L"Tag", std::wstring(300, L'c')), std::wstring(254, L'c'));
}

TEST_F(SettingsFile, WritesCreateTheFileAndKeepOtherSections) {
    EXPECT_NE(global::WriteIniString(L"Zeit", L"Jahr", L"2026"), 0);
    EXPECT_NE(global::WriteIniString(L"Zeit", L"Monat", L"05"), 0);
    EXPECT_EQ(Read(), "[Zeit]\r\nJahr=2026\r\nMonat=05\r\n");

    Write("[Andere]\r\nx=1\r\n[Zeit]\r\nJahr=1\r\n");
    global::WriteIniString(L"Zeit", L"Jahr", L"2027");
    EXPECT_EQ(global::ReadIniString(L"Andere", L"x", L""), L"1");
    EXPECT_EQ(global::ReadIniString(L"Zeit", L"Jahr", L""), L"2027");
}

// The profile functions trim blanks and control characters from both ends of
// a value when reading it and take off one pair of quotes around it; a value
// written as it is would come back changed.
TEST_F(SettingsFile, AStoredValueReadsBackUnchanged) {
    const struct {
        std::wstring value;
        const char* line;  // as it stands in the file
    } cases[] = {
        {L"14", "Stunde=14"},
        {L"", "Stunde="},
        {L" 14 ", "Stunde=\" 14 \""},
        {L"\t14", "Stunde=\"\t14\""},
        {L"14\v", "Stunde=\"14\v\""},
        {L"14\x00A0", "Stunde=\"14\xA0\""},
        {L"\"14\"", "Stunde=\"\"14\"\""},
        {L"'14'", "Stunde=\"'14'\""},
        {L"\"", "Stunde=\"\"\""},
        {L"\"14", "Stunde=\"14"},
        {L"'14\"", "Stunde='14\""},
        {L"1 4", "Stunde=1 4"},
        {L"=[Zeit];", "Stunde==[Zeit];"},
        {L"14 \x20AC", "Stunde=14 \x80"},
        {std::wstring(254, L'0'), nullptr},
        {std::wstring(251, L'0') + L" ", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.value.size() << " characters: "
                                        << std::string(c.value.begin(), c.value.end()));
        Write("");
        ASSERT_TRUE(global::CanStore(c.value));
        EXPECT_NE(global::WriteIniString(L"Zeit", L"Stunde", c.value), 0);
        EXPECT_EQ(global::ReadIniString(L"Zeit", L"Stunde", L"<default>"), c.value);
        if (c.line) {
            EXPECT_EQ(Read(), std::string("[Zeit]\r\n") + c.line + "\r\n");
        }
    }
}

// A value the file cannot give back at all is not written: a line break ends
// the entry, the ANSI code page lacks the character, or the reader would cut
// it (quotes count).
TEST_F(SettingsFile, AValueTheFileCannotGiveBackIsNotWritten) {
    const std::wstring values[] = {
        L"\n14", L"14\r", L"1\r\n4", L"14\x2003", L"\x3000" L"14", L"\x03A9", L"\xD83D\xDE00", L"\xD800",
        std::wstring(255, L'0'), std::wstring(252, L'0') + L" ", std::wstring(L"14\0", 3),
    };
    const std::string earlier = "[Zeit]\r\nStunde=9\r\n";
    for (const std::wstring& value : values) {
        SCOPED_TRACE(testing::Message() << value.size() << " characters, the last " << static_cast<int>(value.back()));
        Write(earlier);
        EXPECT_FALSE(global::CanStore(value));
        EXPECT_EQ(global::WriteIniString(L"Zeit", L"Stunde", value), 0);
        EXPECT_EQ(Read(), earlier);
    }
}

// Every character of the code page and some beyond it, at either end and
// inside: it reads back, or the value is refused and the file left alone.
TEST_F(SettingsFile, EveryCharacterReadsBackOrIsRefused) {
    std::vector<wchar_t> characters;
    for (wchar_t c = 1; c < 0x100; ++c) characters.push_back(c);
    for (wchar_t c : {0x0152, 0x2013, 0x20AC, 0x2122, 0x2000, 0x2003, 0x200B, 0x2028, 0x3000, 0xFEFF, 0xFF11}) {
        characters.push_back(c);
    }
    const std::string earlier = "[Zeit]\r\nTag=9\r\n";
    Write(earlier);
    for (wchar_t c : characters) {
        const std::wstring one(1, c);
        for (const std::wstring& value : {one + L"5", L"5" + one, L"1" + one + L"5", one}) {
            const std::string before = Read();
            if (global::WriteIniString(L"Zeit", L"Tag", value) != 0) {
                EXPECT_EQ(global::ReadIniString(L"Zeit", L"Tag", L"<default>"), value) << "character " << int(c);
            } else {
                EXPECT_EQ(Read(), before) << "character " << int(c);
            }
        }
    }
}

TEST_F(SettingsFile, AFolderThatCannotBeWrittenReportsFailure) {
    global::IniFilePath = folder_ + L"\\does-not-exist\\Horlomat.ini";
    EXPECT_EQ(global::WriteIniString(L"Zeit", L"Jahr", L"2026"), 0);
}

}  // namespace
