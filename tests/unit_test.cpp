// The logic that needs no window: the record for the clock and the confirmation, the settings file's path and texts,
// how the launcher reads a registry value, and the way back to the true time.
// Expected texts are those of the test prefix: German, dd.MM.yyyy.
#include "about/sysinfo.h"
#include "app/apply.h"
#include "app/commandline.h"
#include "app/truetime.h"
#include "settings/global.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <sddl.h>

#include <array>
#include <bit>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace std::string_literals;

namespace {

// The key with only these rights (Wine checks a key's DACL), created where there is none.
void Allow(HKEY root, const wchar_t* name, const wchar_t* rights) {
    HKEY key = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ::RegCreateKeyExW(root, name, 0, nullptr, 0, WRITE_DAC, nullptr, &key, nullptr);
    ::ConvertStringSecurityDescriptorToSecurityDescriptorW(rights, SDDL_REVISION_1, &descriptor, nullptr);
    ::RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor);
    ::LocalFree(descriptor);
    ::RegCloseKey(key);
}

}  // namespace

// The record is filled in order and keeps what the fields before a bad one gave, which the message names. A part of
// the confirmation whose text does not read as a date or time is shown from the record the clock got.
TEST(Apply, FillsTheRecordInOrderAndConfirmsWhatReadsOrNamesTheBadField) {
    using Words = std::array<WORD, 8>;  // the record word by word: year, month, day of week, day, ...
    const std::wstring notSet = L"Die Zeit wurde nicht gesetzt: ";
    const struct {
        apply::FieldTexts fields;
        Words record;
        std::wstring shown;
    } cases[] = {
        {{L"1700", L"12", L"+5", L"+7", L"+5"}, {1700, 12, 3, 5, 7, 5, 0, 999}, L"05.12.1700, 07:05:00"},
        // -1 keeps its bit pattern, halves go to the even neighbour, the fields after a bad one are left alone.
        {{L"-1", L"05", L"2,5", L"3,5", L"x"},
         {65535, 5, 3, 2, 4, 9, 59, 999},
         notSet + L"Im Feld „Minute“ steht keine ganze Zahl."},
        {{L"2026", L"12", L"5", L"32768", L"30"},
         {2026, 12, 3, 5, 9, 9, 59, 999},
         notSet + L"Die Zahl im Feld „Stunde“ liegt nicht zwischen -32768 und 32767."},
    };
    for (const auto& c : cases) {
        SYSTEMTIME record{1999, 9, 3, 9, 9, 9, 59, 999};  // day of week and milliseconds are never written
        const auto failure = apply::ConvertFields(c.fields, record);
        EXPECT_EQ(std::bit_cast<Words>(record), c.record);
        EXPECT_EQ(failure ? apply::FailureText(*failure) : apply::ConfirmationText(c.fields, record), c.shown);
    }
}

// The reader drops blanks and control characters at the ends and one pair of quotes, so such texts are stored quoted.
// When one text cannot be given back (line break, not in the ANSI code page, too long), nothing is written: the file
// never mixes two sets.
TEST(SettingsFile, StoresTextsThatReadBackUnchangedOrNone) {
    const std::filesystem::path ini = std::filesystem::temp_directory_path() / "horlomat-unit.ini";
    global::IniFilePath = ini.wstring();
    const std::string kept = "[Zeit]\r\nStunde=9\r\n";
    const struct {
        std::wstring value;
        std::string line;
    } cases[] = {
        {L" 14\t", "\" 14\t\""},
        {L"\"14\"", "\"\"14\"\""},
        {L"14 \x20AC", "14 \x80"},
        {std::wstring(251, L'0') + L" ", "\"" + std::string(251, '0') + " \""},
        {L"1\r\n4", ""},
        {L"14\x2003", ""},
        {std::wstring(255, L'0'), ""},
        {std::wstring(252, L'0') + L" ", ""},
    };
    for (const auto& c : cases) {
        std::ofstream(ini, std::ios::binary | std::ios::trunc) << kept;
        global::StoreSettings({{L"2026", L"12", L"5", c.value, L"30"}, true});
        std::ostringstream file;
        file << std::ifstream(ini, std::ios::binary).rdbuf();
        const std::string rest = "\r\nJahr=2026\r\nMonat=12\r\nTag=5\r\nMinute=30\r\nZeitHalten=JA\r\n";
        EXPECT_EQ(file.str(), c.line.empty() ? kept : "[Zeit]\r\nStunde=" + c.line + rest);
        EXPECT_EQ(global::LoadSettings().fields[3], c.line.empty() ? L"9" : c.value);
    }
    std::filesystem::remove(ini);
}

// Read from a key the reader may only read (below HKEY_LOCAL_MACHINE a standard user may not write), at the edges of
// the 1024-byte buffer and of a DWORD. A type that is not read as text is found and leaves the text as it was.
TEST(GetKeyValue, ReadsTextsAndNumbersWithReadAccessOnly) {
    const wchar_t name[] = L"Software\\Horlomat-unit";
    ::RegDeleteTreeW(HKEY_CURRENT_USER, name);  // a killed run's
    HKEY key = nullptr;                         // keeps the right to write that it was opened with
    ASSERT_EQ(::RegCreateKeyW(HKEY_CURRENT_USER, name, &key), ERROR_SUCCESS);
    Allow(HKEY_CURRENT_USER, name, L"D:P(A;;KR;;;WD)");
    ::SetEnvironmentVariableW(L"HORLOMAT_UNIT", std::wstring(5000, L'x').c_str());
    const struct {
        DWORD type;
        std::string bytes;
        bool found;
        std::wstring text;
    } cases[] = {
        {REG_SZ, std::string(1024, '7'), true, std::wstring(1024, L'7')},
        {REG_SZ, std::string(1025, '7'), false, L""},
        {REG_EXPAND_SZ, "%HORLOMAT_UNIT%\\MSInfo", true, std::wstring(5000, L'x') + L"\\MSInfo"},
        {REG_SZ, "7\0\0"s, true, L"7\0"s},
        {REG_DWORD, "\xFF\xFF\xFF\xFF"s, true, L"4294967295"},
    };
    for (const auto& c : cases) {
        const std::string guarded = c.bytes + 'x';  // the system would count a zero right after a text in
        ::RegSetValueExA(key, "v", 0, c.type, reinterpret_cast<const BYTE*>(guarded.data()), DWORD(c.bytes.size()));
        std::wstring KeyVal = L"vorher";
        const bool found = about::GetKeyValue(HKEY_CURRENT_USER, name, L"v", KeyVal);
        EXPECT_EQ(std::make_pair(found, KeyVal), std::make_pair(c.found, c.text)) << testing::PrintToString(c.bytes);
    }
    ::RegCloseKey(key);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, name);
}

// /echtzeit on the real clock, which Wine lets be set only to what it shows. It puts back the last reading of the true
// clock plus the time since, says how well it knows it, and reads the clock anew. It sets nothing (3) where the clock
// stands neither where Horlomat left it nor at the true time (a snapshot's reading), where the true time rests on a
// restart and it was not asked to assume, or where the record is damaged. A set the machine's record refuses is kept
// for its user; a put-back that cannot renew the record exits 4; one that may write the machine's record never acts
// on a user's, which any program of that user could have written.
TEST(TrueTime, PutsBackWhatItKnowsAndSaysWhyNotWhereItDoesNot) {
    const wchar_t kRecord[] = L"SOFTWARE\\Tesmar\\Horlomat", kReading[] = L"SOFTWARE\\Tesmar\\Horlomat\\Lesung";
    const wchar_t kAll[] = L"D:(A;;KA;;;WD)", kNoWrites[] = L"D:(D;;KW;;;WD)(A;;KA;;;WD)";
    constexpr LONGLONG kDay = 864000000000;
    const auto setWith = [&](const wchar_t* rights, LONGLONG distance) {  // a set from a clock just read as true
        Allow(HKEY_LOCAL_MACHINE, kRecord, kAll);
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, kRecord);
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kRecord);
        Allow(HKEY_LOCAL_MACHINE, kRecord, rights);
        truetime::TakeReading();
        truetime::Keep(*truetime::TimeAt(truetime::Now() + distance));
    };
    truetime::Reading reading;
    DWORD size = sizeof(reading);
    const auto read = [&] { ::RegGetValueW(HKEY_LOCAL_MACHINE, kReading, 0, RRF_RT_REG_BINARY, 0, &reading, &size); };
    const auto put = [](HKEY root, const wchar_t* key, const wchar_t* name, DWORD type, const auto& value) {
        ::RegSetKeyValueW(root, key, name, type, &value, sizeof(value));
    };
    const auto putBack = [](bool assume = false) {  // the exit code and the text
        const truetime::Outcome outcome = truetime::PutBack(assume);
        return std::to_wstring(outcome.exitCode) + L" " + outcome.text;
    };
    const std::wstring back = L"0 Die Uhr zeigt wieder die wahre Zeit:\n";
    setWith(kAll, -kDay);
    put(HKEY_LOCAL_MACHINE, kReading, nullptr, REG_BINARY,  // taken two seconds ago
        truetime::Reading{truetime::Now() - 20000000, ::GetTickCount64() - 2000});
    ::Sleep(20);  // this process's own reading older than the one the put-back takes
    const std::wstring told = putBack();
    EXPECT_EQ(told.substr(0, back.size()), back);
    EXPECT_NE(told.find(L"Genau auf ±0,0"), told.npos) << "no bound, or one of an old reading";
    read();
    EXPECT_LT(::GetTickCount64() - reading.tick, 1000u) << "no fresh reading of the clock put back";
    EXPECT_EQ(putBack().substr(0, 30), L"0 Horlomat hat die Uhr nicht v");
    const ULONGLONG taken = reading.tick;  // a set on the clock put back keeps that reading, the fresher
    truetime::Keep(*truetime::TimeAt(truetime::Now()));
    read();
    EXPECT_EQ(reading.tick, taken);

    setWith(kAll, -kDay);  // a duration counts from the true time, here a day ahead of the clock
    put(HKEY_LOCAL_MACHINE, kReading, nullptr, REG_BINARY, truetime::Reading{truetime::Now() + kDay, taken});
    const std::wstring day = std::to_wstring(truetime::TimeAt(truetime::Now() + kDay)->wDay);
    EXPECT_EQ(cmdline::Parse(std::vector<std::wstring>{L"-p0d"}).fields[2], day) << "a duration from the clock";
    put(HKEY_LOCAL_MACHINE, kReading, nullptr, REG_BINARY, truetime::Reading{truetime::Now() - kDay / 24, taken});
    EXPECT_EQ(putBack().substr(0, 25), L"3 Die Uhr steht weder, wo");
    ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, kReading);  // a restart, and the distance of a clock set a day back
    const std::wstring assumed = putBack();
    EXPECT_EQ(assumed.substr(0, 18), L"3 Horlomat hat die") << "acted on an assumption unasked";
    const std::wstring tomorrow = apply::RecordText(*truetime::TimeAt(truetime::Now() + kDay)).substr(0, 10);
    EXPECT_NE(assumed.find(tomorrow), assumed.npos) << "the distance's sign";
    put(HKEY_LOCAL_MACHINE, kRecord, L"Abstand", REG_QWORD, LONGLONG{0});
    EXPECT_NE(putBack(true).find(L"Angenommen"), std::wstring::npos);
    put(HKEY_LOCAL_MACHINE, kRecord, L"Abstand", REG_DWORD, 0);
    EXPECT_EQ(putBack().front(), L'3') << "a damaged record";

    setWith(kNoWrites, -kDay);
    EXPECT_EQ(putBack().substr(0, back.size()), back) << "kept for the user";
    setWith(kAll, -kDay);
    Allow(HKEY_LOCAL_MACHINE, kRecord, kNoWrites);
    EXPECT_EQ(putBack().substr(0, back.size()), L"4" + back.substr(1));
    setWith(kAll, 0);
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, kRecord);
    put(HKEY_CURRENT_USER, kRecord, L"Abstand", REG_QWORD, LONGLONG{0});
    EXPECT_EQ(putBack(true).front(), L'3') << "acted on a user's record";
    setWith(kAll, 0);
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, kRecord);
    HKEY created = nullptr;
    EXPECT_EQ(putBack().front(), L'0');
    EXPECT_NE(::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRecord, 0, KEY_READ, &created), ERROR_SUCCESS) << "nothing to do";
}
