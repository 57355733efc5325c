// The settings file: where it lives, and field texts that read back unchanged at the next start or are not written.
#include "settings/global.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

TEST(IniPath, HasExactlyOneBackslashBeforeTheFileName) {
    EXPECT_EQ(global::IniPathIn(L"X:\\"), L"X:\\Horlomat.ini");
    EXPECT_EQ(global::IniPathIn(L"C:\\Tools"), L"C:\\Tools\\Horlomat.ini");
}

// The reader drops blanks and control characters at the ends and one pair of quotes, so such texts are stored
// quoted. When one text cannot be given back (line break, not in the ANSI code page, too long), nothing is written:
// the file never mixes two sets.
TEST(StoreSettings, WritesSixKeysThatReadBackUnchangedOrNone) {
    const std::filesystem::path ini = std::filesystem::temp_directory_path() / "horlomat-unit.ini";
    global::IniFilePath = ini.wstring();
    const std::string kept = "[Zeit]\r\nStunde=9\r\n";
    const struct {
        std::wstring value;
        std::string line;
    } cases[] = {
        {L" 14\t", "\" 14\t\""},
        {L"\"14\"", "\"\"14\"\""},
        {L"'14\"", "'14\""},
        {L"14 \x20AC", "14 \x80"},
        {std::wstring(251, L'0') + L" ", "\"" + std::string(251, '0') + " \""},
        {L"1\r\n4", ""},
        {L"14\x2003", ""},
        {L"\xD83D\xDE00", ""},
        {std::wstring(L"14\0", 3), ""},
        {std::wstring(255, L'0'), ""},
        {std::wstring(252, L'0') + L" ", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.value));
        std::ofstream(ini, std::ios::binary | std::ios::trunc) << kept;
        global::StoreSettings({{L"2026", L"12", L"5", c.value, L"30"}, true});
        std::ostringstream file;
        file << std::ifstream(ini, std::ios::binary).rdbuf();
        if (c.line.empty()) {
            EXPECT_EQ(file.str(), kept);
            continue;
        }
        EXPECT_EQ(file.str(), "[Zeit]\r\nStunde=" + c.line +
                                  "\r\nJahr=2026\r\nMonat=12\r\nTag=5\r\nMinute=30\r\n"
                                  "ZeitHalten=JA\r\n");
        EXPECT_EQ(global::LoadSettings().fields[3], c.value);
    }
    std::filesystem::remove(ini);
}

}  // namespace
