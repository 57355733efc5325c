// Whatever comes in through the fields, the program answers and keeps running, and long use leaves what it holds
// where it was after the first rounds. bench/soak.sh runs these at full size and tabulates the "SOAK|" lines.
#include "tests/harness.h"

using namespace ui;

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

// Each text in every field in turn, the others holding the pinned time: numbers past 16 bits and in forms the
// conversion reads, blanks, quotes and syntax the file would mangle, control characters, characters outside the
// code page, texts past the limits. Every tenth apply, the About dialog is opened and closed.
TEST(LongUse, HostileTextsAndTheAboutDialogNeverCrashHangOrLeak) {
    std::vector<std::wstring> texts = {
        L"",       L"-32769",           L"32768",    L"-1",     L"(30)",         L"&H1E",  L"12,5", L" 5", L"\"12\"",
        L"1\r\n2", L"Jahr=1\r\n[Zeit]", L"\x01\x1B", L"\x4E2D", L"\xD83D\xDE00", L"\xD800"};
    texts.push_back(std::wstring(300, L'0') + L"12");
    const PinnedClock clock;
    const Sandbox sandbox;
    const App app(sandbox);
    const std::size_t round = texts.size() * 5;
    std::size_t notStoredBoxes = 0;  // the 302-character 12 in the month sets but is not stored, each round
    ExpectFlat(app, round, round * Size(3, 99), [&](std::size_t i) {
        Fields fields = kPinnedFields;
        fields[i % 5] = texts[i / 5 % texts.size()];
        app.SetFields(fields);
        app.SetText(ids::lblGesetzteZeit, L"");
        app.Post(ids::cmdZeitSetzen);
        // A set or a refusal shows in the label, a field without a number in one box; a set that cannot be stored
        // (a text the file would not give back) adds a box that says so, once a run.
        const std::vector<std::wstring> told = app.CloseBoxes();
        const bool labelled = !app.Text(ids::lblGesetzteZeit).empty();
        const bool notStored = told.size() == 1 && told[0].starts_with(L"Die Einstellungen");
        notStoredBoxes += notStored;
        bool answered = app.Idle() && told.size() == std::size_t(labelled ? notStored : !notStored);
        EXPECT_TRUE(answered) << testing::PrintToString(fields[i % 5].substr(0, 40)) << " in field " << i % 5;
        if (answered && i % 10 == 0) {  // the About dialog, opened and closed
            const HWND dialog = app.OpenAbout();
            answered = ::PostMessageW(dialog, WM_COMMAND, IDOK, 0) && WaitFor([&] { return !::IsWindow(dialog); });
        }
        return answered;
    });
    EXPECT_EQ(notStoredBoxes, 1u) << "told once a run";
}

// Restored ticked from the file, the program sets nothing at the start, then the clock once a minute of elapsed
// time, storing the settings each time. This runs after the rest, on the plain display, and only reads the program.
TEST(HoldLong, NothingAtTheStartThenOneApplyPerMinuteAndNothingGrowing) {
    const std::size_t minutes = Size(2, 30);
    const std::string stored =
        "[Zeit]\r\nJahr=2026\r\nMonat=12\r\nTag=5\r\nStunde=14\r\nMinute=30\r\nZeitHalten=JA\r\n";
    const PinnedClock clock;
    const Sandbox sandbox;
    sandbox.WriteIni(stored);
    const App app(sandbox, {}, {}, SW_SHOWNOACTIVATE);
    const ULONGLONG started = ::GetTickCount64();  // the timer was armed just before
    ULONGLONG previous = 0;
    ExpectFlat(app, 1, minutes - 1, [&](std::size_t applies) {
        sandbox.WriteIni("[Zeit]\r\nJahr=0\r\n");  // to see the next apply write
        if (!WaitFor([&] { return !app.Text(ids::lblGesetzteZeit).empty(); }, 70000)) return false;
        const ULONGLONG at = ::GetTickCount64() - started;
        EXPECT_NEAR((at - previous) / 1000.0, 60, applies ? 3 : 6) << "apply at " << at << " ms";
        previous = at;
        EXPECT_EQ(app.Text(ids::lblGesetzteZeit), kPinnedLabel);
        EXPECT_TRUE(WaitFor([&] { return sandbox.ReadIni() == stored; }, 2000));
        app.SetText(ids::lblGesetzteZeit, L"");
        return true;
    });
}

// Windows looks for the DLLs Horlomat imports in System32 alone, so that none planted beside it is loaded.
TEST(Exe, TakesTheDllsItImportsFromSystem32Only) {
    const Sandbox sandbox;
    const HMODULE image = ::LoadLibraryExW(sandbox.Exe().c_str(), nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_TRUE(image);
    const auto* base = reinterpret_cast<const BYTE*>(reinterpret_cast<ULONG_PTR>(image) & ~ULONG_PTR{3});
    const auto* headers =
        reinterpret_cast<const IMAGE_NT_HEADERS64*>(base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& entry = headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_LOAD_CONFIG];
    ASSERT_GE(entry.Size, offsetof(IMAGE_LOAD_CONFIG_DIRECTORY64, EditList));
    const auto* config = reinterpret_cast<const IMAGE_LOAD_CONFIG_DIRECTORY64*>(base + entry.VirtualAddress);
    EXPECT_EQ(config->Reserved1, LOAD_LIBRARY_SEARCH_SYSTEM32);  // DependentLoadFlags
    ::FreeLibrary(image);
}
