// Holding the clock: while the box is ticked, each tick of the 60-second timer
// presses "Zeit setzen". A tick takes a minute to come, so the scenarios run
// side by side, each program in its own sandbox, under one pinned clock that
// jumps back a year half-way: the ticks must keep their 60 s of elapsed time.
// What a tick does in every other respect is tested with posted ticks in
// tick_test.cpp. Nothing here takes the foreground or opens a box, since the
// other UI tests run at the same time and watch the keyboard focus.
#include "tests/ui/harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <optional>

namespace ui {
namespace {

constexpr wchar_t kNotSet[] = L"Zeit konnte nicht gesetzt werden.";
// Put over a settings file to see whether it is written again. The profile
// functions skip writing values that did not change, so deleting the file
// would not show a rewrite of the same values.
constexpr char kMarker[] = "[Zeit]\r\nJahr=0\r\n";

struct Moment {
    SYSTEMTIME utc;
    std::array<const wchar_t*, 5> fields;
    const wchar_t* label;
    const char* ini;  // after an apply with the box ticked
};

const Moment kFirst = {Time(2026, 12, 5, 14, 30),
                       {L"2026", L"12", L"5", L"14", L"30"},
                       L"05.12.2026, 14:30:00",
                       "[Zeit]\r\nJahr=2026\r\nMonat=12\r\nTag=5\r\nStunde=14\r\nMinute=30\r\nZeitHalten=JA\r\n"};
const Moment kYearBack = {Time(2025, 11, 3, 8, 15),
                          {L"2025", L"11", L"3", L"8", L"15"},
                          L"03.11.2025, 08:15:00",
                          "[Zeit]\r\nJahr=2025\r\nMonat=11\r\nTag=3\r\nStunde=8\r\nMinute=15\r\nZeitHalten=JA\r\n"};

ULONGLONG Now() {
    return ::GetTickCount64();
}

// One program in its own folder, and when it was seen to start: its timer was
// armed shortly before.
struct Scenario {
    const char* name;
    Sandbox sandbox;
    std::optional<App> app;
    ULONGLONG started = 0;
    ULONGLONG sawTick = 0;  // 0: not yet

    explicit Scenario(const char* scenarioName) : name(scenarioName) {}
    void Start() {
        app.emplace(sandbox, SW_SHOWNOACTIVATE);
        started = Now();
    }
    void SetFields(const Moment& m) const {
        app->SetFields(m.fields[0], m.fields[1], m.fields[2], m.fields[3], m.fields[4]);
    }
    std::wstring Label() const { return app->Text(id::kGesetzteZeit); }
    void ClearLabel() const { app->SetText(id::kGesetzteZeit, L""); }
    void MarkIni() const { sandbox.WriteIni(kMarker); }
    void Note(bool ticked) {
        if (ticked && !sawTick) sawTick = Now();
    }
    // The tick came after about a minute of elapsed time since the start.
    void ExpectTickOnTime() const {
        SCOPED_TRACE(name);
        ASSERT_NE(sawTick, 0u) << "no tick seen";
        const double seconds = static_cast<double>(sawTick - started) / 1000.0;
        EXPECT_GE(seconds, 55.0);
        EXPECT_LE(seconds, 65.0);
    }
};

TEST(HoldEveryMinute, TicksReapplyTheFieldsOnElapsedTimeWhateverTheWallClockDoes) {
    std::optional<PinnedClock> clock;
    clock.emplace(PinnedClock::LocalFromUtc(kFirst.utc));

    Scenario held("ticked and pressed once; fields edited before the tick");
    Scenario unticked("ticked, pressed, unticked again");
    Scenario restored("started with ZeitHalten=JA");
    Scenario moved("ticked and pressed, then the wall clock moved away");

    restored.sandbox.WriteIni(kYearBack.ini);
    for (Scenario* s : {&held, &unticked, &restored, &moved}) s->Start();
    // The load step has read the file; from now on only an apply writes it.
    restored.MarkIni();

    for (Scenario* s : {&held, &unticked, &moved}) {
        SCOPED_TRACE(s->name);
        s->SetFields(kFirst);
        s->app->SetHold(true);
        s->app->Click(id::kZeitSetzen);
        ASSERT_EQ(s->Label(), kFirst.label);
        ASSERT_EQ(s->sandbox.ReadIni(), kFirst.ini);
        s->ClearLabel();
    }
    held.MarkIni();
    moved.MarkIni();
    unticked.app->SetHold(false);

    // Half-way to the ticks the wall clock goes back a year; a timer on the
    // wall clock would then not fire for a year.
    const ULONGLONG jumpAt = held.started + 25000;
    ASSERT_LT(Now(), jumpAt) << "setting up took too long";
    ::Sleep(static_cast<DWORD>(jumpAt - Now()));
    clock.reset();
    clock.emplace(PinnedClock::LocalFromUtc(kYearBack.utc));
    held.SetFields(kYearBack);  // takes effect at the next tick, without a press

    EXPECT_EQ(restored.Label(), L"") << "a box restored as ticked sets nothing at start";
    EXPECT_EQ(restored.sandbox.ReadIni(), kMarker);

    // Until every scenario's first tick is well over.
    const ULONGLONG end = std::max({held.started, unticked.started, restored.started, moved.started}) + 66000;
    while (Now() < end) {
        held.Note(held.Label() == kYearBack.label);
        restored.Note(restored.Label() == kYearBack.label);
        moved.Note(moved.Label() == kNotSet);
        ::Sleep(20);
    }

    held.ExpectTickOnTime();
    EXPECT_EQ(held.sandbox.ReadIni(), kYearBack.ini) << "the tick applies the edited fields and stores them";

    restored.ExpectTickOnTime();
    EXPECT_EQ(restored.sandbox.ReadIni(), kYearBack.ini);

    moved.ExpectTickOnTime();
    EXPECT_EQ(moved.sandbox.ReadIni(), kMarker) << "a refused set writes nothing";

    EXPECT_EQ(unticked.Label(), L"") << "with the box unticked the tick does nothing";
    EXPECT_EQ(unticked.sandbox.ReadIni(), kFirst.ini) << "the file still says JA";
}

}  // namespace
}  // namespace ui
