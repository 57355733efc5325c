// Whatever comes in through the fields, the program answers and keeps running, and long use leaves what it holds
// where it was after the first rounds. bench/soak.sh runs this at full size and tabulates the "SOAK|" line.
#include "tests/harness.h"

using namespace ui;

// Each text in every field in turn, the others holding the pinned time: numbers past 16 bits and in forms the
// conversion reads, blanks, quotes and syntax the file would mangle, control characters, characters outside the
// code page, texts past the limits. Every tenth apply, the About dialog is opened and closed. From the end of the
// first round on, windows, kernel handles and GDI objects stand still; Wine keeps up to 64 window DCs in a cache, each
// with a region and a surface while bound to a window, and fills it in steps: those may grow by 64 each.
TEST(LongUse, HostileTextsAndTheAboutDialogNeverCrashHangOrLeak) {
    std::vector<std::wstring> texts = {
        L"",       L"-32769",           L"32768",    L"-1",     L"(30)",         L"&H1E",  L"12,5", L" 5", L"\"12\"",
        L"1\r\n2", L"Jahr=1\r\n[Zeit]", L"\x01\x1B", L"\x4E2D", L"\xD83D\xDE00", L"\xD800"};
    texts.push_back(std::wstring(300, L'0') + L"12");
    const PinnedClock clock;
    const Sandbox sandbox;
    const App app(sandbox);
    const std::size_t round = texts.size() * 5, rounds = round * (1 + Size(3, 99));
    std::size_t notStoredBoxes = 0, i = 0;  // the 302-character 12 in the month sets but is not stored, each round
    Held before;
    for (bool answered = true; answered && i < rounds; ++i) {
        if (i == round) before = Measure(app.ProcessId());
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
        answered = app.Idle() && told.size() == std::size_t(labelled ? notStored : !notStored);
        EXPECT_TRUE(answered) << testing::PrintToString(fields[i % 5].substr(0, 40)) << " in field " << i % 5;
        if (answered && i % 10 == 0) {  // the About dialog, opened and closed
            const HWND dialog = app.OpenAbout();
            answered = ::PostMessageW(dialog, WM_COMMAND, IDOK, 0) && WaitFor([&] { return !::IsWindow(dialog); });
        }
    }
    const Held after = Measure(app.ProcessId());
    EXPECT_EQ(i, rounds) << "rounds";
    EXPECT_EQ(notStoredBoxes, 1u) << "told once a run";
    EXPECT_TRUE(before.gdi >= 0 && before.handles >= 0 && before.windows > 0) << "not counted";
    EXPECT_EQ(after.gdi, before.gdi) << "GDI objects";
    EXPECT_LE(after.cached - before.cached, 3 * 64) << "DCs, regions and surfaces";
    EXPECT_EQ(after.handles, before.handles) << "kernel handles";
    EXPECT_EQ(after.windows, before.windows) << "windows";
    std::printf("SOAK|LongUse|%zu|GDI %+lld, DC cache %+lld, handles %+lld, windows %+lld\n", i, after.gdi - before.gdi,
                after.cached - before.cached, after.handles - before.handles, after.windows - before.windows);
}
