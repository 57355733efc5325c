// Whatever comes in, through the fields, the settings file or the registry, the program answers, keeps running and
// keeps the settings file right; and long runs leave what it holds where it was after the first rounds. Each case
// prints a summary line that bench/soak.sh gathers into a table.
#include "tests/harness.h"

#include <algorithm>
#include <map>
#include <random>
#include <sstream>

namespace ui {
namespace {

void Report(const std::string& part, std::size_t inputs, const std::string& notes) {
    std::printf("SOAK|%s|%zu|%s\n", part.c_str(), inputs, notes.c_str());
}

enum class Outcome { Set, Refused, Rejected, Nothing, Hang, Crash };
const char* const kOutcome[] = {"set", "refused", "rejected with a box", "nothing visible", "hang", "crash"};

// Fills the fields and presses "Zeit setzen"; what the label shows then goes to `label`.
Outcome Apply(const App& app, const Fields& fields, std::wstring* label = nullptr) {
    constexpr wchar_t kMarker[] = L"\x2014 robust \x2014";  // no apply shows this
    app.SetFields(fields);
    app.SetText(ids::lblGesetzteZeit, kMarker);
    const Pressed pressed = Press(app, app.Main(), ids::cmdZeitSetzen);
    if (pressed.crashed || !pressed.answered) return pressed.crashed ? Outcome::Crash : Outcome::Hang;
    const std::wstring shown = app.Text(ids::lblGesetzteZeit);
    if (label) *label = shown;
    if (!pressed.boxes.empty()) return Outcome::Rejected;
    if (shown == kMarker) return Outcome::Nothing;
    return shown == L"Zeit konnte nicht gesetzt werden." ? Outcome::Refused : Outcome::Set;
}

// A key of section Zeit as the next start reads it.
std::wstring ReadAtStart(const std::wstring& ini, const wchar_t* key, const std::wstring& defaultValue) {
    wchar_t value[255] = {};
    return std::wstring(value, ::GetPrivateProfileStringW(L"Zeit", key, defaultValue.c_str(), value, 255, ini.c_str()));
}

const wchar_t* const kKeys[] = {L"Jahr", L"Monat", L"Tag", L"Stunde", L"Minute", L"ZeitHalten"};

// Whether the next start reads the fields and the box back, from a file of section Zeit with each key once.
bool FileHolds(const Sandbox& sandbox, const Fields& fields, bool ticked) {
    bool right = ReadAtStart(sandbox.Ini(), kKeys[5], L"-") == (ticked ? L"JA" : L"NEIN");
    for (std::size_t i = 0; i < 5; ++i) right = right && ReadAtStart(sandbox.Ini(), kKeys[i], L"-") == fields[i];
    std::map<std::string, int> names;
    std::istringstream in(sandbox.ReadIni().value_or(""));
    for (std::string line; std::getline(in, line);) ++names[line.substr(0, line.find_first_of("=\r"))];
    return right && names.size() == 7 && names.count("[Zeit]") &&
           std::all_of(names.begin(), names.end(), [](const auto& name) { return name.second == 1; });
}

// Runs `round` (false ends the run) warmUp + count times and fails unless what the program holds stands still from
// the end of the warm-up: windows, kernel handles and GDI objects exactly. Wine keeps up to 64 window DCs in a
// cache of its own, each with a region and a surface while bound to a window, and fills it in steps as painting
// meets new windows: those three kinds may grow by 64 each. Returns the deltas.
template <typename Round>
std::string Flat(const App& app, std::size_t warmUp, std::size_t count, Round round) {
    Held before;
    for (std::size_t i = 0; i < warmUp + count && round(i); ++i) {
        if (i + 1 == warmUp) before = Measure(app.ProcessId());
    }
    const Held after = Measure(app.ProcessId());
    EXPECT_TRUE(before.gdi >= 0 && before.handles >= 0 && before.windows > 0) << "not counted";
    EXPECT_EQ(after.gdi, before.gdi) << "GDI objects";
    EXPECT_LE(after.cached - before.cached, 3 * 64) << "DCs, regions and surfaces";
    EXPECT_EQ(after.handles, before.handles) << "kernel handles";
    EXPECT_EQ(after.windows, before.windows) << "windows";
    return "gdi " + std::to_string(after.gdi - before.gdi) + ", DC cache " +
           std::to_string(after.cached - before.cached) + ", handles " +
           std::to_string(after.handles - before.handles) + ", windows " +
           std::to_string(after.windows - before.windows);
}

// Whether the file can give the texts back whole: in the ANSI code page, one line, short enough even in quotes.
bool Storable(const Fields& fields) {
    return std::all_of(fields.begin(), fields.end(), [](const std::wstring& text) {
        BOOL lost = FALSE;
        const int size = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()),
                                               nullptr, 0, nullptr, &lost);
        return !lost && size + 2 <= 254 && text.find_first_of(L"\r\n") == std::wstring::npos;
    });
}

// Each text goes into every field in turn, the others holding the pinned time: numbers past the 16-bit range and in
// the forms the conversion reads, blanks and quotes the file would trim, the file's own syntax, control characters,
// characters outside the ANSI code page, and texts past the fields' limits and the reader's 254 characters. After a
// first round the program goes through them again and again, and must hold no more than after the first.
TEST(FieldInput, HostileTextsNeverCrashHangSpoilTheSettingsOrLeak) {
    const std::wstring texts[] = {L"",
                                  L"-32769",
                                  L"32768",
                                  L"-1",
                                  L"(30)",
                                  L"30-",
                                  L"+ 5",
                                  L"&H1E",
                                  L"12,5",
                                  L"1.000",
                                  L" 5",
                                  L"\"12\"",
                                  L"1\r\n2",
                                  L"[Zeit]",
                                  L"Jahr=1",
                                  L"\x01\x1B",
                                  L"\x4E2D",
                                  L"\xD83D\xDE00",
                                  L"\xD800",
                                  L"5 \x20AC",
                                  std::wstring(300, L'0') + L"12",
                                  std::wstring(1000, L'9')};
    const std::size_t round = std::size(texts) * 5, rounds = Size(4, 100);
    const PinnedClock clock;
    const Sandbox sandbox;
    const App app(sandbox);
    std::size_t outcomes[std::size(kOutcome)] = {};
    const std::string deltas = Flat(app, round, round * (rounds - 1), [&](std::size_t i) {
        Fields fields = kPinnedFields, shown;
        fields[i % 5] = texts[i / 5 % std::size(texts)];
        app.SetTicked(i % 2);
        const std::optional<std::string> before = sandbox.ReadIni();
        const Outcome outcome = Apply(app, fields);
        ++outcomes[static_cast<int>(outcome)];
        for (int f = 0; f < 5; ++f) shown[f] = app.Field(f);
        // A set stores the texts the fields show, or keeps the earlier file when one would not read back.
        const bool unchanged = sandbox.ReadIni() == before;
        const bool right =
            outcome == Outcome::Set ? FileHolds(sandbox, shown, i % 2) || (unchanged && !Storable(shown)) : unchanged;
        EXPECT_TRUE(outcome < Outcome::Nothing && right) << testing::PrintToString(fields[i % 5].substr(0, 40))
                                                         << " in field " << i % 5 << ": " << kOutcome[int(outcome)];
        return outcome < Outcome::Hang;
    });
    Report("hostile field texts", round * rounds,
           std::to_string(outcomes[0]) + " set, " + std::to_string(outcomes[1]) + " refused, " +
               std::to_string(outcomes[2]) + " rejected; " + deltas);
}

TEST(SettingsFiles, StartAndApplyWhateverTheFileHoldsOrWhoeverHoldsIt) {
    enum Obstacle { kNone, kNoFile, kReadOnly, kFolder, kHeldOpen };  // held without sharing, also during the apply
    const std::string valid = "[Zeit]\r\nJahr=2031\r\nMonat=7\r\nZeitHalten=JA\r\n";
    std::string garbage(64 << 10, '\0'), utf16 = "\xFF\xFE", big;
    std::generate(garbage.begin(), garbage.end(), std::mt19937(1));
    for (char c : valid) utf16 += std::string{c, '\0'};
    while (big.size() < Size(1u << 20, 50u << 20)) big += "[A" + std::to_string(big.size()) + "]\r\nJahr=1\r\n";
    const std::tuple<const char*, std::string, Obstacle> cases[] = {
        {"no file", "", kNoFile},
        {"binary garbage", garbage, kNone},
        {"a big file, section Zeit at its end", big + valid, kNone},
        {"the section twice", "[Zeit]\r\nJahr=2031\r\n[Zeit]\r\nJahr=2032\r\nMonat=07\r\n", kNone},
        {"UTF-16 with a byte-order mark", utf16, kNone},
        {"LF line ends, ja in lower case", "[Zeit]\nJahr=2031\nZeitHalten=ja\n", kNone},
        {"an empty day", "[Zeit]\r\nTag=\r\nZeitHalten=JA \r\n", kNone},
        {"values of 10,000 characters", "[Zeit]\r\nJahr=" + std::string(10000, '7') + "\r\n", kNone},
        {"zero bytes inside values", std::string("[Zeit]\r\nJahr=20\00031\r\nMonat=\0\r\n", 30), kNone},
        {"a read-only file", valid, kReadOnly},
        {"Horlomat.ini is a folder", "", kFolder},
        {"held open by another handle", valid, kHeldOpen},
    };
    const PinnedClock clock;
    std::string notes;
    for (const auto& [name, bytes, obstacle] : cases) {
        SCOPED_TRACE(name);
        const Sandbox sandbox;
        const std::wstring ini = sandbox.Ini();
        if (obstacle == kFolder) ::CreateDirectoryW(ini.c_str(), nullptr);
        if (obstacle != kFolder && obstacle != kNoFile) sandbox.WriteIni(bytes);
        if (obstacle == kReadOnly) ::SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_READONLY);
        const std::optional<std::string> original = sandbox.ReadIni();
        const HANDLE held = obstacle == kHeldOpen
                                ? ::CreateFileW(ini.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, 0)
                                : INVALID_HANDLE_VALUE;
        SYSTEMTIME now{};
        ::GetLocalTime(&now);  // the minute cannot turn: the clock is pinned
        const App app(sandbox);
        const WORD parts[5] = {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute};
        for (int i = 0; i < 5; ++i) {  // by the reader's rules; the local time only for a missing key
            EXPECT_EQ(app.Field(i), ReadAtStart(ini, kKeys[i], std::to_wstring(parts[i]))) << Narrow(kKeys[i]);
        }
        EXPECT_EQ(app.Ticked(), ReadAtStart(ini, kKeys[5], L"NEIN") == L"JA");
        if (held == INVALID_HANDLE_VALUE) {
            EXPECT_EQ(sandbox.ReadIni(), original) << "written at the start";
        }
        app.SetTicked(false);
        std::wstring label;
        const Outcome outcome = Apply(app, kPinnedFields, &label);
        if (held != INVALID_HANDLE_VALUE) ::CloseHandle(held);
        EXPECT_EQ(label, kPinnedLabel) << kOutcome[static_cast<int>(outcome)];
        const bool unchanged = sandbox.ReadIni() == original;
        // Windows refuses to write a read-only file; Wine run as root writes it anyway.
        if (obstacle == kReadOnly) notes = unchanged ? "read-only file kept" : "read-only file written";
        if (obstacle == kReadOnly || obstacle == kFolder || obstacle == kHeldOpen) {
            EXPECT_TRUE(unchanged || (obstacle == kReadOnly && FileHolds(sandbox, kPinnedFields, false)));
        } else {
            EXPECT_EQ(ReadAtStart(ini, kKeys[0], L"-"), L"2026");
        }
    }
    Report("settings files", std::size(cases), notes);
}

TEST(LongRun, OpeningTheAboutDialogAgainAndAgainLeavesWhatTheProgramHoldsFlat) {
    const std::size_t count = Size(30, 200);
    // No tool registered: every other opening also shows the launcher's box.
    SetValue(HKEY_LOCAL_MACHINE, kToolKey, "PATH", {});
    SetValue(HKEY_LOCAL_MACHINE, kFolderKey, "MSINFO", {});
    const Sandbox sandbox;
    const App app(sandbox);
    Held closed, open;
    const std::string deltas = Flat(app, 30, count, [&](std::size_t i) {
        if (i == 30) closed = Measure(app.ProcessId());
        const HWND dialog = app.OpenAbout();
        if (i == 30) open = Measure(app.ProcessId());
        const bool boxShown = i % 2 == 0 || Press(app, dialog, about_ids::cmdSysInfo).boxes.size() == 1;
        ::PostMessageW(dialog, WM_COMMAND, i % 4 < 2 ? IDOK : IDCANCEL, 0);  // OK and Esc in turn
        const bool gone = dialog && boxShown && WaitFor([&] { return !::IsWindow(dialog); });
        EXPECT_TRUE(gone) << "opening " << i;
        return gone;
    });
    // The counters do see what an open dialog holds: its windows, its font and its logo.
    EXPECT_TRUE(open.windows > closed.windows && open.gdi > closed.gdi);
    Report("About dialog opened and closed, Systeminfo box every other time", count, deltas);
}

// Restored ticked from the file, the program sets nothing at the start, then the clock once a minute of elapsed
// time with the fields as they stand then, storing the settings each time; the wall clock going back a year after
// the first apply changes nothing. This runs beside the rest, on the plain display, and only reads the program.
TEST(HoldLong, NothingAtTheStartThenOneApplyPerMinuteAndNothingGrowing) {
    const std::size_t minutes = Size(2, 30);
    const std::string stored[] = {
        "[Zeit]\r\nJahr=2026\r\nMonat=12\r\nTag=5\r\nStunde=14\r\nMinute=30\r\nZeitHalten=JA\r\n",
        "[Zeit]\r\nJahr=2025\r\nMonat=12\r\nTag=5\r\nStunde=14\r\nMinute=30\r\nZeitHalten=JA\r\n"};
    std::optional<PinnedClock> clock(std::in_place);
    const Sandbox sandbox;
    sandbox.WriteIni(stored[0]);
    const App app(sandbox, {}, {}, SW_SHOWNOACTIVATE);
    const ULONGLONG started = ::GetTickCount64();  // the timer was armed just before
    ULONGLONG previous = 0;
    std::size_t applies = 0;
    const std::string deltas = Flat(app, 1, minutes - 1, [&](std::size_t) {
        sandbox.WriteIni("[Zeit]\r\nJahr=0\r\n");  // to see the next apply write
        if (!WaitFor([&] { return !app.Text(ids::lblGesetzteZeit).empty(); }, 70000)) return false;
        const ULONGLONG at = ::GetTickCount64() - started;
        EXPECT_NEAR((at - previous) / 1000.0, 60, applies ? 3 : 6) << "apply at " << at << " ms";
        previous = at;
        EXPECT_EQ(app.Text(ids::lblGesetzteZeit), applies ? L"05.12.2025, 14:30:00" : kPinnedLabel);
        EXPECT_TRUE(WaitFor([&] { return sandbox.ReadIni() == stored[applies ? 1 : 0]; }, 2000));
        app.SetText(ids::lblGesetzteZeit, L"");
        if (applies++ == 0) {
            // A year back at the same minute of the hour: neither the clock nor its minute decide a tick.
            clock.emplace(2025, 12, 5, 14, 30);
            app.SetFields({L"2025", L"12", L"5", L"14", L"30"});  // taken by the next tick, without a press
        }
        return true;
    });
    EXPECT_EQ(applies, minutes);
    Report("hold of " + std::to_string(minutes) + " minutes", applies, deltas);
}

}  // namespace
}  // namespace ui
