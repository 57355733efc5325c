// Whatever comes in, through the fields, the settings file or the registry, the program answers, keeps running and
// keeps the settings file right; and long runs leave what it holds where it was after the first rounds.
#include "tests/robust/robust.h"

#include <algorithm>
#include <map>
#include <numeric>
#include <random>
#include <sstream>
#include <tuple>

namespace robust {
namespace {

using namespace std::string_literals;

const wchar_t* const kKeys[] = {L"Jahr", L"Monat", L"Tag", L"Stunde", L"Minute", L"ZeitHalten"};

// A key of section Zeit as the next start reads it, with a buffer of 255.
std::wstring ReadAtStart(const std::wstring& ini, const wchar_t* key, const std::wstring& defaultValue) {
    wchar_t value[255] = {};
    return std::wstring(value, ::GetPrivateProfileStringW(L"Zeit", key, defaultValue.c_str(), value, 255, ini.c_str()));
}

// Whether the six keys read back as `fields` and JA or NEIN, and the file holds nothing else: section Zeit once,
// each key once.
bool FileHolds(const ui::Sandbox& sandbox, const ui::Fields& fields, bool hold) {
    bool right = ReadAtStart(sandbox.Ini(), kKeys[5], L"-") == (hold ? L"JA" : L"NEIN");
    for (std::size_t i = 0; i < 5; ++i) right = right && ReadAtStart(sandbox.Ini(), kKeys[i], L"-") == fields[i];
    std::map<std::string, int> names, expected = {{"[Zeit]", 1}};
    for (const wchar_t* key : kKeys) expected[ui::Narrow(key)] = 1;
    std::istringstream in(sandbox.ReadIni().value_or(""));
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) ++names[line.substr(0, line.find('='))];
    }
    return right && names == expected;
}

// Whether the file can give the text back whole: in the ANSI code page, one line, short enough even in quotes.
bool Storable(const std::wstring& text) {
    BOOL lost = FALSE;
    const int size = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0, nullptr, &lost);
    return !lost && size + 2 <= 254 && text.find_first_of(L"\r\n") == std::wstring::npos;
}

// Each text goes into every field in turn, the others holding the pinned time: numbers past the 16-bit range and in
// the forms the conversion may read, blanks and quotes the file would trim, the file's own syntax, control
// characters, characters outside the ANSI code page, and texts past the fields' limits and the reader's 254.
TEST(FieldInput, HostileTextsNeverCrashHangOrSpoilTheSettings) {
    const std::wstring texts[] = {
        L"", L"-32769", L"32768", L"-1", L"65536", L"(30)", L"30-", L"+ 5", L"&H1E", L"&O17", L"12,5", L"1.000",
        L" 5", L"5\t", L"\"12\"", L"'7'", L"1\r\n2", L"[Zeit]", L"Jahr=1", L"\x01\x1B", L"\xFEFF" L"5",
        L"\x4E2D", L"\xD83D\xDE00", L"\xD800", L"5 \x20AC", std::wstring(300, L'0') + L"12", std::wstring(40000, L'9'),
    };
    const ui::PinnedClock clock;
    const ui::Sandbox sandbox;
    const ui::App app(sandbox, SW_SHOWNOACTIVATE);
    std::size_t outcomes[std::size(kOutcome)] = {}, filesWrong = 0;
    for (const std::wstring& text : texts) {
        for (std::size_t field = 0; field < 5; ++field) {
            ui::Fields fields = ui::kPinnedFields;
            fields[field] = text;
            const bool hold = field % 2 == 0;
            app.SetTicked(hold);
            const std::optional<std::string> before = sandbox.ReadIni();
            const Outcome outcome = Apply(app, fields);
            ++outcomes[static_cast<int>(outcome)];
            ui::Fields shown;
            bool storable = true;
            for (int f = 0; f < 5; ++f) storable = Storable(shown[f] = app.Field(f)) && storable;
            // An apply whose texts the file cannot give back whole keeps the earlier settings.
            const bool unchanged = sandbox.ReadIni() == before;
            const bool right = outcome == Outcome::Set ? FileHolds(sandbox, shown, hold) || (unchanged && !storable)
                                                       : unchanged;
            filesWrong += !right;
            EXPECT_TRUE(outcome < Outcome::Nothing && right)
                << testing::PrintToString(text.substr(0, 40)) << " in field " << field << ": "
                << kOutcome[static_cast<int>(outcome)] << (right ? "" : ", settings file wrong");
            if (outcome >= Outcome::Hang) return;
        }
    }
    std::string notes;
    for (std::size_t o = 0; o < 3; ++o) notes += std::to_string(outcomes[o]) + " " + kOutcome[o] + "; ";
    Report("hostile field texts pressed through the window", std::size(texts) * 5, outcomes[5], outcomes[4],
           filesWrong, "-", notes);
}

TEST(SettingsFiles, StartAndApplyWhateverTheFileHoldsOrWhoeverHoldsIt) {
    enum Obstacle { kNone, kNoFile, kReadOnly, kFolder, kHeldOpen, kHeldDuringApply };  // held without sharing
    const std::string valid = "[Zeit]\r\nJahr=2031\r\nMonat=7\r\nZeitHalten=JA\r\n";
    std::string garbage(64 << 10, '\0'), utf16 = "\xFF\xFE", big;
    std::generate(garbage.begin(), garbage.end(), std::mt19937(1));
    for (char c : valid) utf16 += std::string{c, '\0'};
    while (big.size() < Size(1u << 20, 50u << 20)) big += "[A" + std::to_string(big.size()) + "]\r\nJahr=1\r\n";
    const std::tuple<const char*, std::string, Obstacle> cases[] = {
        {"no file", "", kNoFile},
        {"binary garbage", garbage, kNone},
        {"a big file, section Zeit at its end", big + valid, kNone},
        {"keys without a section", valid.substr(8), kNone},
        {"the section twice", "[Zeit]\r\nJahr=2031\r\n[Zeit]\r\nJahr=2032\r\nMonat=7\r\n", kNone},
        {"UTF-16 with a byte-order mark", utf16, kNone},
        {"LF line ends, ja in lower case", "[Zeit]\nJahr=2031\nMonat=07\nZeitHalten=ja\n", kNone},
        {"an empty day", "[Zeit]\r\nTag=\r\nZeitHalten=JA \r\n", kNone},
        {"values of 10,000 characters",
         "[Zeit]\r\nJahr=" + std::string(10000, '7') + "\r\nMonat=" + std::string(9998, ' ') + "12\r\n", kNone},
        {"zero bytes inside values", "[Zeit]\r\nJahr=20\00031\r\nMonat=\0\r\n"s, kNone},
        {"a read-only file", valid, kReadOnly},
        {"Horlomat.ini is a folder", "", kFolder},
        {"held open by another handle", valid, kHeldOpen},
        {"held open during the apply", valid, kHeldDuringApply},
    };
    const ui::PinnedClock clock;
    std::size_t crashes = 0, hangs = 0, filesWrong = 0;
    std::string notes;
    for (const auto& [name, bytes, obstacle] : cases) {
        SCOPED_TRACE(name);
        const ui::Sandbox sandbox;
        const std::wstring ini = sandbox.Ini();
        if (obstacle == kFolder) ::CreateDirectoryW(ini.c_str(), nullptr);
        if (obstacle != kFolder && obstacle != kNoFile) sandbox.WriteIni(bytes);
        if (obstacle == kReadOnly) ::SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_READONLY);
        const std::optional<std::string> original = sandbox.ReadIni();
        HANDLE held = INVALID_HANDLE_VALUE;
        const auto hold = [&] { held = ::CreateFileW(ini.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, 0); };
        if (obstacle == kHeldOpen) hold();
        SYSTEMTIME now{};
        ::GetLocalTime(&now);  // the minute cannot turn: the clock is pinned
        const ui::App app(sandbox, SW_SHOWNOACTIVATE);
        const WORD parts[5] = {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute};
        for (int i = 0; i < 5; ++i) {  // by the reader's rules, the local time for a missing key only
            EXPECT_EQ(app.Field(i), ReadAtStart(ini, kKeys[i], std::to_wstring(parts[i]))) << ui::Narrow(kKeys[i]);
        }
        EXPECT_EQ(app.Ticked(), ReadAtStart(ini, kKeys[5], L"NEIN") == L"JA");
        if (std::string(name) == "an empty day") {
            EXPECT_EQ(app.Field(2), L"");
        }
        if (obstacle != kHeldOpen) {
            EXPECT_EQ(sandbox.ReadIni(), original) << "written at the start";
        }
        app.SetTicked(false);
        if (obstacle == kHeldDuringApply) hold();
        std::wstring label;
        const Outcome outcome = Apply(app, ui::kPinnedFields, 120000, &label);
        if (held != INVALID_HANDLE_VALUE) ::CloseHandle(held);
        crashes += outcome == Outcome::Crash;
        hangs += outcome == Outcome::Hang;
        EXPECT_EQ(label, ui::kPinnedLabel) << kOutcome[static_cast<int>(outcome)];
        const bool unchanged = sandbox.ReadIni() == original;
        // Windows refuses to write a read-only file; Wine run as root writes it anyway.
        bool right = obstacle == kReadOnly ? unchanged || FileHolds(sandbox, ui::kPinnedFields, false)
                                           : ReadAtStart(ini, kKeys[0], L"-") == L"2026";
        if (obstacle == kFolder) right = (::GetFileAttributesW(ini.c_str()) & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (obstacle >= kHeldOpen) right = unchanged && held != INVALID_HANDLE_VALUE;
        if (obstacle == kReadOnly) notes += unchanged ? "read-only file kept" : "read-only file written";
        filesWrong += !right;
        EXPECT_TRUE(right) << "the settings file after the apply";
    }
    Report("settings files", std::size(cases), crashes, hangs, filesWrong, "-", notes);
}

TEST(RegistryValues, EveryTypeAndSizeStartsTheToolOrSaysOnceItIsUnavailable) {
    const ui::Sandbox sandbox;
    const std::wstring folder = sandbox.Folder(), tool = folder + L"\\full\\msinfo32.exe";
    ui::PlaceTool(tool);
    ui::PlaceTool(folder + L"\\MSINFO32.EXE");
    const auto runs = [&] { return ui::ToolRuns(tool).size() + ui::ToolRuns(folder + L"\\MSINFO32.EXE").size(); };
    ui::SetValue(HKEY_LOCAL_MACHINE, ui::kFolderKey, "MSINFO", {});
    const ui::App app(sandbox, SW_SHOWNOACTIVATE);
    const HWND dialog = app.OpenAbout();
    ASSERT_NE(dialog, nullptr);
    std::size_t tried = 0, crashes = 0, hangs = 0, wrong = 0, started = 0;
    for (const bool second : {false, true}) {  // the full path, then the folder with the path gone
        const std::string text = ui::Narrow(second ? folder : tool);
        if (second) ui::SetValue(HKEY_LOCAL_MACHINE, ui::kToolKey, "PATH", {});
        // The edges of the 1024-byte buffer and of a DWORD, and the path with and without its zero.
        std::vector<std::size_t> sizes(Size(0, 1026));
        std::iota(sizes.begin(), sizes.end(), 0);
        if (sizes.empty()) sizes = {0, 1, 2, 3, 4, 5, 8, 1023, 1024, 1025, text.size(), text.size() + 1};
        for (std::size_t size : sizes) {
            // By size in turn: the path padded with zeros (naming the tool where it fits), filler, random bytes.
            std::string bytes = size % 3 ? std::string(size, 'A') : (text + std::string(size, '\0')).substr(0, size);
            if (size % 3 == 2) std::generate(bytes.begin(), bytes.end(), std::mt19937(static_cast<unsigned>(size)));
            if (size == text.size() || size == text.size() + 1) bytes = (text + '\0').substr(0, size);
            for (DWORD type = REG_NONE; type <= REG_QWORD && crashes + hangs == 0; ++type, ++tried) {
                ui::SetValue(HKEY_LOCAL_MACHINE, second ? ui::kFolderKey : ui::kToolKey, second ? "MSINFO" : "PATH",
                             bytes, type);
                const std::size_t before = runs();
                const Pressed p = Press(app, dialog, about_ids::cmdSysInfo, 30000);
                crashes += p.crashed;
                hangs += !p.crashed && !p.answered;
                started += p.answered && p.boxes.empty();
                const bool right = p.boxes.empty() ? p.answered && ui::WaitFor([&] { return runs() > before; }, 15000)
                                                   : p.boxes == std::vector<std::wstring>{ui::kUnavailable};
                if (!right && ++wrong <= 20) {
                    ADD_FAILURE() << (second ? "MSINFO" : "PATH") << ", type " << type << ", " << size
                                  << " bytes: " << p.boxes.size() << " boxes, " << runs() - before << " runs";
                }
            }
        }
    }
    Report("registry values: types 0-11 x sizes, both values, pressed in the dialog", tried, crashes, hangs, 0, "-",
           "tool started " + std::to_string(started) + ", wrong " + std::to_string(wrong));
}

TEST(LongRun, ThousandsOfAppliesLeaveTheCountersFlat) {
    const std::pair<ui::Fields, Outcome> rounds[] = {
        {ui::kPinnedFields, Outcome::Set},
        {{L"2026", L"13", L"5", L"14", L"30"}, Outcome::Refused},
        {{L"", L"12", L"5", L"14", L"30"}, Outcome::Rejected},
        {{L"2026", L"12", L" 5", L"14", L"30 "}, Outcome::Set},            // stored in quotes
        {{L"2026", L"12", L"5", L"\x3000\x31\x34", L"30"}, Outcome::Set},  // not storable
        {{L"2026", L"12", L"5", L"14", L"99999"}, Outcome::Rejected},      // overflow
    };
    const std::size_t count = Size(600, 10000);
    const ui::PinnedClock clock;
    const ui::Sandbox sandbox;
    const ui::App app(sandbox, SW_SHOWNOACTIVATE);
    std::size_t outcomes[std::size(kOutcome)] = {}, wrong = 0;
    const std::string deltas = Flat(app, 60, count, [&](std::size_t i) {
        const auto& [fields, expected] = rounds[i % std::size(rounds)];
        const Outcome outcome = Apply(app, fields);
        ++outcomes[static_cast<int>(outcome)];
        if (outcome != expected && ++wrong <= 10) ADD_FAILURE() << "round " << i << ": " << kOutcome[int(outcome)];
        return outcome < Outcome::Hang;
    });
    Report("applies of six kinds in turn", count, outcomes[5], outcomes[4], 0, deltas,
           std::to_string(wrong) + " with another outcome; after 60 warm-up rounds");
}

TEST(LongRun, OpeningTheAboutDialogAgainAndAgainLeavesTheCountersFlat) {
    const std::size_t count = Size(30, 200);
    // No tool registered: every other opening also shows the launcher's box.
    ui::SetValue(HKEY_LOCAL_MACHINE, ui::kToolKey, "PATH", {});
    ui::SetValue(HKEY_LOCAL_MACHINE, ui::kFolderKey, "MSINFO", {});
    const ui::Sandbox sandbox;
    const ui::App app(sandbox, SW_SHOWNOACTIVATE);
    std::size_t crashes = 0, hangs = 0;
    Held closed, open;
    const std::string deltas = Flat(app, 30, count, [&](std::size_t i) {
        if (i == 30) closed = Measure(app.ProcessId());
        const HWND dialog = app.OpenAbout();
        if (i == 30) open = Measure(app.ProcessId());
        const bool boxShown = i % 2 == 0 || Press(app, dialog, about_ids::cmdSysInfo, 10000).boxes.size() == 1;
        ::PostMessageW(dialog, WM_COMMAND, i % 4 < 2 ? IDOK : IDCANCEL, 0);  // OK and Esc in turn
        if (dialog && boxShown && ui::WaitFor([&] { return !::IsWindow(dialog); }, 10000)) return true;
        ++(app.Running() ? hangs : crashes);
        ADD_FAILURE() << "opening " << i << ": " << (dialog ? "no box from Systeminfo, or the dialog stays" : "none");
        return false;
    });
    // The counters do see what an open dialog holds: its windows, its font and its logo.
    EXPECT_GT(open.windows, closed.windows);
    EXPECT_GT(open.gdi, closed.gdi);
    Report("About dialog opened and closed, Systeminfo box every other time", count, crashes, hangs, 0, deltas,
           "after 30 warm-up openings; while open: " + Deltas(closed, open));
}

// With the box ticked, as the file restores it, the program sets nothing at the start and then sets the clock once
// a minute of elapsed time, with the fields as they stand then, storing the settings each time; the wall clock
// going back a year after the first apply changes nothing. This runs beside the rest and only reads the program.
TEST(HoldLong, NothingAtTheStartThenOneApplyPerMinuteAndNothingGrowing) {
    const std::size_t minutes = Size(2, 30);
    const std::string stored[] = {
        "[Zeit]\r\nJahr=2026\r\nMonat=12\r\nTag=5\r\nStunde=14\r\nMinute=30\r\nZeitHalten=JA\r\n",
        "[Zeit]\r\nJahr=2025\r\nMonat=11\r\nTag=3\r\nStunde=8\r\nMinute=15\r\nZeitHalten=JA\r\n"};
    std::optional<ui::PinnedClock> clock(std::in_place);
    const ui::Sandbox sandbox;
    sandbox.WriteIni(stored[0]);
    const ui::App app(sandbox, SW_SHOWNOACTIVATE);
    const ULONGLONG started = ::GetTickCount64();  // the timer was armed just before
    ULONGLONG previous = 0;
    std::size_t applies = 0, filesWrong = 0;
    std::string times;
    const std::string deltas = Flat(app, 1, minutes - 1, [&](std::size_t) {
        sandbox.WriteIni("[Zeit]\r\nJahr=0\r\n");  // to see the next apply write
        if (!ui::WaitFor([&] { return !app.Text(ids::lblGesetzteZeit).empty(); }, 70000)) return false;
        const ULONGLONG at = ::GetTickCount64() - started;
        EXPECT_NEAR((at - previous) / 1000.0, 60, applies ? 3 : 6) << "apply at " << at << " ms";
        previous = at;
        EXPECT_EQ(app.Text(ids::lblGesetzteZeit), applies ? L"03.11.2025, 08:15:00" : ui::kPinnedLabel);
        filesWrong += !ui::WaitFor([&] { return sandbox.ReadIni() == stored[applies ? 1 : 0]; }, 2000);
        app.SetText(ids::lblGesetzteZeit, L"");
        if (applies == 0) {
            clock.emplace(2025, 11, 3, 8, 15);
            app.SetFields({L"2025", L"11", L"3", L"8", L"15"});  // taken by the next tick, without a press
        }
        times += std::to_string(at / 1000) + " s ";
        return ++applies > 0;
    });
    EXPECT_EQ(applies, minutes);
    EXPECT_EQ(filesWrong, 0u);
    Report("hold of " + std::to_string(minutes) + " minutes", applies, !app.Running(), 0, filesWrong, deltas,
           "applies at " + times);
}

}  // namespace
}  // namespace robust
