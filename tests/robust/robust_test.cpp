// Whatever comes in, through the fields, the settings file or the registry, the program answers, keeps running and
// keeps the settings file right; and long runs leave what it holds where it was after the first rounds.
#include <map>
#include <numeric>
#include <random>
#include <tuple>

#include "about/about_ids.h"
#include "tests/robust/robust.h"

namespace robust {
namespace {

using namespace std::string_literals;

const wchar_t* const kKeys[] = {L"Jahr", L"Monat", L"Tag", L"Stunde", L"Minute", L"ZeitHalten"};

// A key of section Zeit as the next start reads it, with a buffer of 255.
std::wstring ReadAtStart(const std::wstring& ini, const wchar_t* key, const std::wstring& defaultValue) {
    wchar_t value[255] = {};
    return std::wstring(value, ::GetPrivateProfileStringW(L"Zeit", key, defaultValue.c_str(), value, 255, ini.c_str()));
}

// Whether the six keys read back as `fields` and JA or NEIN; with `only`, whether the file holds nothing else
// either: section Zeit once, each key once.
bool FileHolds(const ui::Sandbox& sandbox, const Fields& fields, bool hold, bool only) {
    bool right = ReadAtStart(sandbox.IniPath(), kKeys[5], L"-") == (hold ? L"JA" : L"NEIN");
    for (std::size_t i = 0; i < 5; ++i) right = right && ReadAtStart(sandbox.IniPath(), kKeys[i], L"-") == fields[i];
    std::map<std::string, int> names, expected = {{"[Zeit]", 1}};
    for (const wchar_t* key : kKeys) expected[ui::Narrow(key)] = 1;
    std::istringstream in(sandbox.ReadIni().value_or(""));
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.find_first_not_of(" \t") != std::string::npos) ++names[line.substr(0, line.find('='))];
    }
    return right && (!only || names == expected);
}

using Random = std::mt19937;
std::size_t Pick(Random& r, std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(r);
}
template <typename T>
T Any(Random& r, std::initializer_list<T> items) {
    return items.begin()[Pick(r, items.size())];
}
std::wstring Digits(unsigned long long value, unsigned base) {
    std::wstring digits;
    for (; value || digits.empty(); value /= base) digits.insert(digits.begin(), L"0123456789ABCDEF"[value % base]);
    return digits;
}

// What a number may hold, the file's syntax, control characters, blanks of every kind, characters outside the ANSI
// code page (a surrogate pair, a lone one, the line separator).
constexpr wchar_t kPieces[] =
    L"0124579+-,.eE&HO()\x20AC$ \t\"'=[];\\%a\x00E4\x00DF\x01\x1B\x7F\r\n\v\f\x00A0\x2003"
    L"\x3000\x03A9\x4E2D\x2028\xD83D\xDE00\xD800\xFFFF\xFEFF\xFF11\x0661\x200B";

// A text for a field whose value is `right`: mostly that or a boundary number written in a form the conversion may
// read, else random pieces or a text far past the fields' limits (which WM_SETTEXT does not heed).
std::wstring FieldText(Random& r, long long right) {
    std::wstring t;
    const auto pieces = [&](std::size_t length) {
        while (t.size() < length) t += kPieces[Pick(r, std::size(kPieces) - 1)];
        return t;
    };
    if (Pick(r, 10) < 2) return pieces(Pick(r, 25));
    if (Pick(r, 8) == 0) {
        const std::size_t n = Any(r, {253, 254, 255, 256, 1000, 40000});
        const std::wstring d = std::to_wstring(right);
        return Any(r, {std::wstring(n - 2, L'0') + d, std::wstring(n - 2, L' ') + d, std::wstring(n, L'9'), pieces(n)});
    }
    const long long v =
        Pick(r, 3)
            ? right
            : Any(r, {-32769LL, -32768LL, -1LL, 0LL, right - 1, right + 1, 32767LL, 32768LL, 65536LL, 2147483648LL});
    const unsigned long long m = v < 0 ? 0ull - static_cast<unsigned long long>(v) : v;
    std::wstring d = std::to_wstring(m);
    d = Any(r, {d, d, d, L"00" + d, d.size() > 3 ? d.substr(0, d.size() - 3) + L"." + d.substr(d.size() - 3) : d + L".",
                d + Any(r, {L",0", L",49", L",5", L",51"}), d + Any(r, {L"e0", L"E+0", L"0e-1"}),
                Any(r, {L"&H", L"&h"}) + Digits(m, 16), L"&O" + Digits(m, 8)});
    d = v < 0 ? Any(r, {L"-" + d, d + L"-", L"(" + d + L")"}) : Any(r, {d, d, L"+" + d, L"+ " + d, d + L"+"});
    if (Pick(r, 4) == 0) d = Any(r, {L"\x20AC" + d, d + L" \x20AC"});
    for (std::size_t n = Pick(r, 2) * Pick(r, 5); n > 0; --n) d.insert(n % 2 ? 0 : d.size(), 1, pieces(1).back());
    return d;
}

// Whether the file can give the text back whole: in the ANSI code page, one line, short enough even in quotes.
bool Storable(const std::wstring& text) {
    BOOL lost = FALSE;
    const int size = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0, nullptr, &lost);
    return !lost && size + 2 <= 254 && text.find_first_of(L"\r\n") == std::wstring::npos;
}

TEST(FieldInput, GeneratedTextsNeverCrashHangOrSpoilTheSettings) {
    const char* seedText = std::getenv("HORLOMAT_ROBUST_SEED");
    const auto seed = seedText ? static_cast<unsigned>(std::strtoul(seedText, nullptr, 10)) : 20261205u;
    Random random(seed);
    const std::size_t count = Size(1000, 10000);
    const ui::PinnedClock clock(ui::PinnedClock::LocalFromUtc(kPinnedUtc));
    const ui::Sandbox sandbox;
    const ui::App app(sandbox, SW_SHOWNOACTIVATE);
    std::size_t outcomes[std::size(kOutcome)] = {}, filesWrong = 0, failures = 0;
    for (std::size_t i = 0; i < count && outcomes[4] + outcomes[5] == 0; ++i) {
        Fields fields = kPinnedFields, shown;  // mostly one changed, so that the clock takes the rest
        for (std::size_t n = Pick(random, 100) < 85 ? 1 : 2 + Pick(random, 4); n > 0; --n) {
            const std::size_t field = Pick(random, 5);
            fields[field] = FieldText(random, std::stoll(kPinnedFields[field]));
        }
        const bool hold = Pick(random, 10) < 3;
        const std::optional<std::string> before = sandbox.ReadIni();
        app.SetHold(hold);
        const Outcome outcome = Apply(app, fields);
        ++outcomes[static_cast<int>(outcome)];
        bool storable = true;
        for (int f = 0; f < 5; ++f) storable = Storable(shown[f] = app.Field(f)) && storable;
        // An apply whose texts the file cannot give back whole keeps the earlier settings.
        const bool unchanged = sandbox.ReadIni() == before;
        const bool fileRight =
            outcome == Outcome::Set ? FileHolds(sandbox, shown, hold, true) || (unchanged && !storable) : unchanged;
        filesWrong += !fileRight;
        if ((outcome >= Outcome::Nothing || !fileRight) && ++failures <= 20) {
            std::string texts;
            for (const std::wstring& f : fields) texts += " " + testing::PrintToString(f.substr(0, 60));
            ADD_FAILURE() << "input " << i << ", " << kOutcome[static_cast<int>(outcome)]
                          << (fileRight ? "" : ", settings file wrong") << ":" << texts;
        }
    }
    std::string notes = "seed " + std::to_string(seed);
    for (std::size_t o = 0; o < std::size(kOutcome); ++o)
        notes += ", " + std::to_string(outcomes[o]) + " " + kOutcome[o];
    Report("field texts pressed through the window", count, outcomes[5], outcomes[4], filesWrong, "-", notes);
    EXPECT_GT(outcomes[0], count / 10) << "too few texts set the clock to test the storing";
}

TEST(SettingsFiles, StartAndApplyWhateverTheFileHoldsOrWhoeverHoldsIt) {
    enum Obstacle { kNone, kNoFile, kReadOnly, kFolder, kHeldOpen, kHeldDuringApply };  // held without sharing
    const std::string valid = "[Zeit]\r\nJahr=2031\r\nMonat=7\r\nZeitHalten=JA\r\n";
    std::string garbage(64 << 10, '\0'), utf16 = "\xFF\xFE", big, keys;
    std::generate(garbage.begin(), garbage.end(), Random(1));
    for (char c : valid) utf16 += std::string{c, '\0'};
    for (int k = 0; k < 20; ++k) keys += "Schluessel" + std::to_string(k) + "=1999\r\n";
    while (big.size() < Size(5u << 20, 50u << 20)) big += "[A" + std::to_string(big.size()) + "]\r\nJahr=1\r\n" + keys;
    const std::tuple<const char*, std::string, Obstacle> cases[] = {
        {"no file", "", kNoFile},
        {"binary garbage", garbage, kNone},
        {"a big file, section Zeit at its end", big + valid, kNone},
        {"keys without a section", valid.substr(8), kNone},
        {"the section twice", "[Zeit]\r\nJahr=2031\r\n[Zeit]\r\nJahr=2032\r\nMonat=7\r\n", kNone},
        {"UTF-16 with a byte-order mark", utf16, kNone},
        {"LF line ends, ja in lower case", "[Zeit]\nJahr=2031\nMonat=7\nZeitHalten=ja\n", kNone},
        {"CRLF line ends", valid, kNone},
        {"values of 10,000 characters",
         "[Zeit]\r\nJahr=" + std::string(10000, '7') + "\r\nMonat=" + std::string(9998, ' ') + "12\r\n", kNone},
        {"zero bytes inside values", "[Zeit]\r\nJahr=20\00031\r\nMonat=\0\r\n"s, kNone},
        {"a read-only file", valid, kReadOnly},
        {"Horlomat.ini is a folder", "", kFolder},
        {"held open by another handle", valid, kHeldOpen},
        {"held open during the apply", valid, kHeldDuringApply},
    };
    const SYSTEMTIME local = ui::PinnedClock::LocalFromUtc(kPinnedUtc);
    const ui::PinnedClock clock(local);
    const WORD now[5] = {local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute};
    std::size_t crashes = 0, hangs = 0, filesWrong = 0;
    std::string notes;
    for (const auto& [name, bytes, obstacle] : cases) {
        SCOPED_TRACE(name);
        const ui::Sandbox sandbox;
        const std::wstring ini = sandbox.IniPath();
        if (obstacle == kFolder) ::CreateDirectoryW(ini.c_str(), nullptr);
        if (obstacle != kFolder && obstacle != kNoFile) sandbox.WriteIni(bytes);
        if (obstacle == kReadOnly) ::SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_READONLY);
        const std::optional<std::string> original = sandbox.ReadIni();
        HANDLE held = INVALID_HANDLE_VALUE;
        const auto hold = [&] { held = ::CreateFileW(ini.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, 0); };
        if (obstacle == kHeldOpen) hold();
        const ui::App app(sandbox, SW_SHOWNOACTIVATE);
        for (std::size_t i = 0; i < 5; ++i) {  // by the reader's rules, the local time for a missing key
            EXPECT_EQ(app.Field(static_cast<int>(i)), ReadAtStart(ini, kKeys[i], std::to_wstring(now[i]))) << kKeys[i];
        }
        EXPECT_EQ(app.HoldChecked(), ReadAtStart(ini, kKeys[5], L"NEIN") == L"JA");
        if (obstacle != kHeldOpen) {
            EXPECT_EQ(sandbox.ReadIni(), original) << "written at the start";
        }
        app.SetHold(false);
        if (obstacle == kHeldDuringApply) hold();
        std::wstring label;
        const Outcome outcome = Apply(app, kPinnedFields, 120000, &label);
        if (held != INVALID_HANDLE_VALUE) ::CloseHandle(held);
        crashes += outcome == Outcome::Crash;
        hangs += outcome == Outcome::Hang;
        EXPECT_EQ(label, kPinnedLabel) << kOutcome[static_cast<int>(outcome)];
        const bool unchanged = sandbox.ReadIni() == original;
        // Windows refuses to write a read-only file; Wine run as root writes it anyway.
        bool right = FileHolds(sandbox, kPinnedFields, false, false) || (obstacle == kReadOnly && unchanged);
        if (obstacle == kFolder) right = (::GetFileAttributesW(ini.c_str()) & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (obstacle >= kHeldOpen) right = unchanged && held != INVALID_HANDLE_VALUE;
        if (obstacle == kReadOnly) notes += unchanged ? "read-only file kept" : "read-only file written";
        filesWrong += !right;
        EXPECT_TRUE(right) << "the settings file after the apply";
    }
    Report("settings files", std::size(cases), crashes, hangs, filesWrong, "-", notes);
}

TEST(RegistryValues, EveryTypeAndSizeStartsTheToolOrSaysOnceItIsUnavailable) {
    ui::Sandbox sandbox;
    const std::wstring folder = sandbox.Folder(), tool = folder + L"\\full\\msinfo32.exe";
    ui::PlaceFakeTool(tool);
    ui::PlaceFakeTool(folder + L"\\MSINFO32.EXE");
    const auto runs = [&] { return ui::ToolRuns(tool).size() + ui::ToolRuns(folder + L"\\MSINFO32.EXE").size(); };
    const ui::RegistryValue path(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH");
    const ui::RegistryValue location(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO");
    const ui::App app(sandbox, SW_SHOWNOACTIVATE);
    const HWND dialog = ui::OpenAbout(app);
    ASSERT_NE(dialog, nullptr);
    const std::vector<std::wstring> unavailable = {L"Systeminformationen sind momentan nicht verfügbar"};
    std::size_t tried = 0, crashes = 0, hangs = 0, wrong = 0, started = 0;
    for (const bool second : {false, true}) {  // the full path, then the folder with the path gone
        const std::string text = ui::Narrow(second ? folder : tool);
        if (second) path.Delete();
        // The edges of the 1024-byte buffer and of a DWORD, and the path with and without its zero.
        std::vector<std::size_t> sizes(Size(0, 1026));
        std::iota(sizes.begin(), sizes.end(), 0);
        if (sizes.empty()) sizes = {0, 1, 2, 3, 4, 5, 8, 1023, 1024, 1025, text.size(), text.size() + 1};
        for (std::size_t size : sizes) {
            // By size in turn: the path padded with zeros (naming the tool where it fits), filler, random bytes.
            std::string bytes = size % 3 ? std::string(size, 'A') : (text + std::string(size, '\0')).substr(0, size);
            if (size % 3 == 2) std::generate(bytes.begin(), bytes.end(), Random(static_cast<unsigned>(size)));
            if (size == text.size() || size == text.size() + 1) bytes = (text + '\0').substr(0, size);
            for (DWORD type = REG_NONE; type <= REG_QWORD && crashes + hangs == 0; ++type, ++tried) {
                (second ? location : path).Set(type, bytes);
                const std::size_t before = runs();
                const Pressed p = Press(app, dialog, about::ids::kSysInfo, 30000);
                crashes += p.crashed;
                hangs += !p.crashed && !p.answered;
                started += p.answered && p.boxes.empty();
                const bool right = p.boxes.empty() ? p.answered && ui::WaitFor([&] { return runs() > before; }, 15000)
                                                   : p.boxes == unavailable;
                if (!right && ++wrong <= 20) {
                    ADD_FAILURE() << (second ? "MSINFO" : "PATH") << ", type " << type << ", " << size
                                  << " bytes: " << p.boxes.size() << " boxes, " << runs() - before << " runs";
                }
            }
        }
    }
    ::Sleep(1000);  // late runs of the tool would show as more runs than starts
    EXPECT_EQ(runs(), started);
    Report("registry values: types 0-11 x sizes, both values, pressed in the dialog", tried, crashes, hangs, 0, "-",
           "tool started " + std::to_string(started) + ", wrong " + std::to_string(wrong));
}

TEST(LongRun, ThousandsOfAppliesLeaveTheCountersFlat) {
    const std::pair<Fields, Outcome> rounds[] = {
        {kPinnedFields, Outcome::Set},
        {{L"2026", L"13", L"5", L"14", L"30"}, Outcome::Refused},
        {{L"", L"12", L"5", L"14", L"30"}, Outcome::Rejected},
        {{L"2026", L"12", L" 5", L"14", L"30 "}, Outcome::Set},            // stored in quotes
        {{L"2026", L"12", L"5", L"\x3000\x31\x34", L"30"}, Outcome::Set},  // not storable
        {{L"2026", L"12", L"5", L"14", L"99999"}, Outcome::Rejected},      // overflow
    };
    const std::size_t count = Size(600, 10000);
    const ui::PinnedClock clock(ui::PinnedClock::LocalFromUtc(kPinnedUtc));
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
    const ui::RegistryValue path(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH");
    const ui::RegistryValue folder(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO");
    const ui::Sandbox sandbox;
    const ui::App app(sandbox, SW_SHOWNOACTIVATE);
    std::size_t crashes = 0, hangs = 0;
    Resources closed{}, open{};
    const std::string deltas = Flat(app, 30, count, [&](std::size_t i) {
        if (i == 30) closed = Measure(app.ProcessId());
        const HWND dialog = ui::OpenAbout(app);
        if (i == 30) open = Measure(app.ProcessId());
        const bool boxShown = i % 2 == 0 || Press(app, dialog, about::ids::kSysInfo, 10000).boxes.size() == 1;
        ::PostMessageW(dialog, WM_COMMAND, i % 4 < 2 ? IDOK : IDCANCEL, 0);  // OK and Esc in turn
        if (dialog && boxShown && ui::WaitFor([&] { return !::IsWindow(dialog); }, 10000)) return true;
        ++(app.Running() ? hangs : crashes);
        ADD_FAILURE() << "opening " << i << ": " << (dialog ? "no box from Systeminfo, or the dialog stays" : "none");
        return false;
    });
    // The counters do see what an open dialog holds: its windows, its font and its logo.
    EXPECT_GT(open[kWindows], closed[kWindows]);
    EXPECT_GT(open[kGdi], closed[kGdi]);
    Report("About dialog opened and closed, Systeminfo box every other time", count, crashes, hangs, 0, deltas,
           "after 30 warm-up openings; while open: " + Deltas(closed, open));
}

// With the box ticked, as the file restores it, the program sets the clock once a minute of elapsed time, with the
// fields as they stand then, and stores the settings each time; the wall clock going back a year after the first
// apply changes nothing. This runs beside the rest of the suite and only reads from the program.
TEST(HoldLong, OneApplyPerMinuteAndNothingGrowing) {
    const std::size_t minutes = Size(2, 30);
    const std::string stored[] = {
        "[Zeit]\r\nJahr=2026\r\nMonat=12\r\nTag=5\r\nStunde=14\r\nMinute=30\r\nZeitHalten=JA\r\n",
        "[Zeit]\r\nJahr=2025\r\nMonat=11\r\nTag=3\r\nStunde=8\r\nMinute=15\r\nZeitHalten=JA\r\n"};
    std::optional<ui::PinnedClock> clock(std::in_place, ui::PinnedClock::LocalFromUtc(kPinnedUtc));
    const ui::Sandbox sandbox;
    sandbox.WriteIni(stored[0]);
    const ui::App app(sandbox, SW_SHOWNOACTIVATE);
    const ULONGLONG started = ::GetTickCount64();  // the timer was armed just before; nothing is set at the start
    std::size_t applies = 0, filesWrong = 0;
    std::string times;
    const std::string deltas = Flat(app, 1, minutes - 1, [&](std::size_t) {
        const ULONGLONG last = ::GetTickCount64() - started;
        app.SetText(ids::kGesetzteZeit, L"");
        sandbox.WriteIni("[Zeit]\r\nJahr=0\r\n");  // to see the next apply write
        if (!ui::WaitFor([&] { return !app.Text(ids::kGesetzteZeit).empty(); }, 70000)) return false;
        const ULONGLONG at = ::GetTickCount64() - started;
        EXPECT_NEAR((at - last) / 1000.0, 60, applies ? 3 : 6) << "apply at " << at << " ms";
        EXPECT_EQ(app.Text(ids::kGesetzteZeit), applies ? L"03.11.2025, 08:15:00" : kPinnedLabel);
        filesWrong += !ui::WaitFor([&] { return sandbox.ReadIni() == stored[applies ? 1 : 0]; }, 2000);
        if (applies == 0) {
            clock.emplace(ui::PinnedClock::LocalFromUtc(ui::Time(2025, 11, 3, 8, 15)));
            app.SetFields(L"2025", L"11", L"3", L"8", L"15");  // taken by the next tick, without a press
        }
        times += std::to_string(at / 1000) + " s ";
        return ++applies > 0;
    });
    app.SetText(ids::kGesetzteZeit, L"");
    ::Sleep(20000);  // and no apply after the last
    EXPECT_TRUE(app.Text(ids::kGesetzteZeit).empty());
    EXPECT_EQ(applies, minutes);
    EXPECT_EQ(filesWrong, 0u);
    Report("hold of " + std::to_string(minutes) + " minutes", applies, !app.Running(), 0, filesWrong, deltas,
           "applies at " + times);
}

}  // namespace
}  // namespace robust
