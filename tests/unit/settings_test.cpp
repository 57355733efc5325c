// The settings file: where it lives and how values come back.
#include "settings/global.h"

#include "tests/common/test_files.h"

#include <gtest/gtest.h>
#include <windows.h>


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

TEST_F(SettingsFile, AFolderThatCannotBeWrittenReportsFailure) {
    global::IniFilePath = folder_ + L"\\does-not-exist\\Horlomat.ini";
    EXPECT_EQ(global::WriteIniString(L"Zeit", L"Jahr", L"2026"), 0);
}

}  // namespace
