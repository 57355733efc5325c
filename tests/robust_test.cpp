// Whatever comes in, through the fields or the settings file, the program answers and keeps running; and long use
// leaves what it holds where it was after the first rounds. bench/soak.sh runs these at full size and gathers the
// "SOAK|" lines into a table.
#include "tests/harness.h"

#include <random>

namespace ui {
namespace {

// Runs `round` (false ends the run) warmUp + count times and fails unless what the program holds stands still from
// the end of the warm-up: windows, kernel handles and GDI objects exactly. Wine keeps up to 64 window DCs in a
// cache, each with a region and a surface while bound to a window, and fills it in steps: those may grow by 64 each.
template <typename Round>
void ExpectFlat(const App& app, std::size_t warmUp, std::size_t count, Round round) {
    Held before;
    std::size_t i = 0;
    for (; i < warmUp + count && round(i); ++i) {
        if (i + 1 == warmUp) before = Measure(app.ProcessId());
    }
    const Held after = Measure(app.ProcessId());
    EXPECT_EQ(i, warmUp + count) << "rounds";
    EXPECT_TRUE(before.gdi >= 0 && before.handles >= 0 && before.windows > 0) << "not counted";
    EXPECT_EQ(after.gdi, before.gdi) << "GDI objects";
    EXPECT_LE(after.cached - before.cached, 3 * 64) << "DCs, regions and surfaces";
    EXPECT_EQ(after.handles, before.handles) << "kernel handles";
    EXPECT_EQ(after.windows, before.windows) << "windows";
    std::printf("SOAK|%s|%zu|GDI %+lld, DC cache %+lld, handles %+lld, windows %+lld\n",
                testing::UnitTest::GetInstance()->current_test_info()->name(), i, after.gdi - before.gdi,
                after.cached - before.cached, after.handles - before.handles, after.windows - before.windows);
}

// Each text goes into every field in turn, the others holding the pinned time: numbers past the 16-bit range and in
// the forms the conversion reads, blanks and quotes the file would trim, the file's own syntax, control characters,
// characters outside the ANSI code page and texts past the fields' limits. Every tenth apply the About dialog opens,
// says that there is no system information tool, and closes with OK or Esc.
TEST(LongUse, HostileTextsAndTheAboutDialogNeverCrashHangOrLeak) {
    const std::wstring texts[] = {L"",
                                  L"-32769",
                                  L"32768",
                                  L"-1",
                                  L"(30)",
                                  L"&H1E",
                                  L"12,5",
                                  L" 5",
                                  L"\"12\"",
                                  L"1\r\n2",
                                  L"Jahr=1\r\n[Zeit]",
                                  L"\x01\x1B",
                                  L"\x4E2D",
                                  L"\xD83D\xDE00",
                                  L"\xD800",
                                  std::wstring(300, L'0') + L"12"};
    SetValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", {});
    SetValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO", {});
    const PinnedClock clock;
    const Sandbox sandbox;
    const App app(sandbox);
    const std::size_t round = std::size(texts) * 5;
    ExpectFlat(app, round, round * Size(3, 99), [&](std::size_t i) {
        Fields fields = kPinnedFields;
        fields[i % 5] = texts[i / 5 % std::size(texts)];
        app.SetFields(fields);
        app.SetTicked(i % 2);
        app.SetText(ids::lblGesetzteZeit, L"");
        app.Post(ids::cmdZeitSetzen);
        // A set or a refusal shows in the label, a field without a number in one box.
        const std::size_t boxes = app.CloseBoxes().size();
        bool answered = app.Idle() && (boxes == 1) == app.Text(ids::lblGesetzteZeit).empty() && boxes < 2;
        EXPECT_TRUE(answered) << testing::PrintToString(fields[i % 5].substr(0, 40)) << " in field " << i % 5;
        if (answered && i % 10 == 0) {
            const HWND dialog = app.OpenAbout();
            ::PostMessageW(dialog, WM_COMMAND, about_ids::cmdSysInfo, 0);
            answered = app.CloseBoxes().size() == 1;
            ::PostMessageW(dialog, WM_COMMAND, i % 20 ? IDOK : IDCANCEL, 0);
            answered = answered && WaitFor([&] { return !::IsWindow(dialog); });
            EXPECT_TRUE(answered) << "About dialog";
        }
        return answered;
    });
}

// At the start the fields show what the file holds, the local date and time for what it lacks; the start writes
// nothing, and a set goes through also when the file cannot be written.
TEST(SettingsFiles, StartAndApplyWhateverTheFileHolds) {
    std::string garbage(64 << 10, '\0'), utf16 = "\xFF\xFE", big;
    std::generate(garbage.begin(), garbage.end(), std::mt19937(1));
    for (char c : std::string("[Zeit]\r\nJahr=2031\r\n")) utf16 += {c, '\0'};
    while (big.size() < Size(1u << 20, 50u << 20)) big += "[A" + std::to_string(big.size()) + "]\r\nJahr=1\r\n";
    const struct {
        const char* name;
        std::optional<std::string> bytes;
        std::wstring fields;  // 14:30 UTC is 15:30 in Berlin
        bool ticked;
        bool folder = false;  // Horlomat.ini is a folder: neither read nor written
    } cases[] = {
        {"no file", {}, L"2026|12|5|15|30", false},
        {"binary garbage", garbage, L"2026|12|5|15|30", false},
        {"a big file, section Zeit at its end", big + "[Zeit]\r\nJahr=2031\r\nZeitHalten=JA\r\n", L"2031|12|5|15|30",
         true},
        {"UTF-16 with a byte-order mark", utf16, L"2031|12|5|15|30", false},
        {"LF line ends, blanks around values", "[Zeit]\nTag=\nMonat= 07 \nZeitHalten=JA \n", L"2026|07||15|30", true},
        {"a value of 10,000 characters", "[Zeit]\r\nJahr=" + std::string(10000, '7'),
         std::wstring(254, L'7') + L"|12|5|15|30", false},
        {"a folder", {}, L"2026|12|5|15|30", false, true},
    };
    const PinnedClock clock;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Sandbox sandbox;
        if (c.bytes) sandbox.WriteIni(*c.bytes);
        if (c.folder) ::CreateDirectoryW(sandbox.Ini().c_str(), nullptr);
        const App app(sandbox);
        EXPECT_EQ(app.FieldTexts(), c.fields);
        EXPECT_EQ(app.Ticked(), c.ticked);
        EXPECT_EQ(sandbox.ReadIni(), c.bytes) << "written at the start";
        app.SetTicked(false);
        app.SetFields(kPinnedFields);
        app.Click(ids::cmdZeitSetzen);
        EXPECT_EQ(app.Text(ids::lblGesetzteZeit), kPinnedLabel);
    }
    std::printf("SOAK|%s|%zu|a file of %zu MB among them\n", "SettingsFiles", std::size(cases), big.size() >> 20);
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
    ExpectFlat(app, 1, minutes - 1, [&](std::size_t applies) {
        sandbox.WriteIni("[Zeit]\r\nJahr=0\r\n");  // to see the next apply write
        if (!WaitFor([&] { return !app.Text(ids::lblGesetzteZeit).empty(); }, 70000)) return false;
        const ULONGLONG at = ::GetTickCount64() - started;
        EXPECT_NEAR((at - previous) / 1000.0, 60, applies ? 3 : 6) << "apply at " << at << " ms";
        previous = at;
        EXPECT_EQ(app.Text(ids::lblGesetzteZeit), applies ? L"05.12.2025, 14:30:00" : kPinnedLabel);
        EXPECT_TRUE(WaitFor([&] { return sandbox.ReadIni() == stored[applies ? 1 : 0]; }, 2000));
        app.SetText(ids::lblGesetzteZeit, L"");
        if (applies == 0) {
            // A year back at the same minute of the hour: neither the clock nor its minute decide a tick.
            clock.emplace(2025, 12, 5, 14, 30);
            app.SetFields({L"2025", L"12", L"5", L"14", L"30"});  // taken by the next tick, without a press
        }
        return true;
    });
}

}  // namespace
}  // namespace ui
