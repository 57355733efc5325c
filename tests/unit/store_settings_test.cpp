// The six settings stored after a set: all of them, or none when one of the
// field texts could not come back unchanged at the next start.
#include "app/apply.h"
#include "settings/global.h"

#include "tests/common/test_files.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

class StoreSettings : public testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        ::GetTempPathW(MAX_PATH, temp);
        folder_ = std::wstring(temp) + L"horlomat-store-" + std::to_wstring(::GetCurrentProcessId());
        ::CreateDirectoryW(folder_.c_str(), nullptr);
        global::IniFilePath = global::IniPathIn(folder_);
        ::DeleteFileW(global::IniFilePath.c_str());
    }
    void TearDown() override {
        ::DeleteFileW(global::IniFilePath.c_str());
        ::RemoveDirectoryW(folder_.c_str());
    }
    std::string Read() { return testfiles::Read(global::IniFilePath).value_or("<no file>"); }

    std::wstring folder_;
};

const wchar_t* const kKeys[] = {L"Jahr", L"Monat", L"Tag", L"Stunde", L"Minute"};

TEST_F(StoreSettings, WritesTheSixKeysSoThatTheyReadBackAsShown) {
    apply::StoreSettings({L"2026", L"12", L"5", L"14", L"30"}, true);
    EXPECT_EQ(Read(), "[Zeit]\r\nJahr=2026\r\nMonat=12\r\nTag=5\r\nStunde=14\r\nMinute=30\r\nZeitHalten=JA\r\n");

    // Texts that convert to the same numbers, with blanks the reader trims.
    const apply::FieldTexts shown = {L" 2026", L"12\t", L"'5'", L" +14 ", L"30"};
    apply::StoreSettings(shown, false);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(global::ReadIniString(L"Zeit", kKeys[i], L"<default>"), shown[static_cast<size_t>(i)]);
    }
    EXPECT_EQ(global::ReadIniString(L"Zeit", L"ZeitHalten", L"<default>"), L"NEIN");
}

TEST_F(StoreSettings, KeepsTheEarlierFileWhenOneTextCannotComeBack) {
    const std::string earlier = "[Zeit]\r\nJahr=2025\r\nMonat=1\r\nTag=2\r\nStunde=3\r\nMinute=4\r\nZeitHalten=JA\r\n";
    const apply::FieldTexts cases[] = {
        {L"2026", L"12", L"5\x2003", L"14", L"30"},          // not in the ANSI code page
        {L"2026", L"12", L"5", L"\n14", L"30"},              // a line break
        {std::wstring(300, L'0') + L"2026", L"12", L"5", L"14", L"30"},  // longer than the reader takes
        {L"2026", L"12", L"5", L"14", L"\x3000" L"30"},
    };
    for (const apply::FieldTexts& fields : cases) {
        testfiles::Write(global::IniFilePath, earlier);
        apply::StoreSettings(fields, false);
        EXPECT_EQ(Read(), earlier);
    }
}

}  // namespace
