// Holding the clock: while the box is ticked, each tick of the 60-second timer
// presses "Zeit setzen".
#include "tests/ui/harness.h"

#include <gtest/gtest.h>

#include <optional>

namespace ui {
namespace {

constexpr char kStored[] =
    "[Zeit]\r\nJahr=2026\r\nMonat=12\r\nTag=5\r\nStunde=14\r\nMinute=30\r\nZeitHalten=JA\r\n";
constexpr char kYearBack[] =
    "[Zeit]\r\nJahr=2025\r\nMonat=11\r\nTag=3\r\nStunde=8\r\nMinute=15\r\nZeitHalten=JA\r\n";
// Put over a settings file to see it written again: the profile functions
// skip values that did not change.
constexpr char kMarker[] = "[Zeit]\r\nJahr=0\r\n";

// A posted tick instead of a minute's wait.
TEST(Tick, PressesZeitSetzenOnlyWhileTheBoxIsTickedAndLeavesTheFocusAlone) {
    PinnedClock clock(PinnedClock::LocalFromUtc(Time(2026, 12, 5, 14, 30)));
    Sandbox sandbox;
    App app(sandbox);
    app.SetFields(L"2026", L"12", L"5", L"14", L"30");
    auto tick = [&] {
        DWORD_PTR result = 0;
        ::SendMessageTimeoutW(app.Main(), WM_TIMER, id::kTimer1, 0, SMTO_ABORTIFHUNG, 30000, &result);
    };
    tick();
    EXPECT_EQ(app.Text(id::kGesetzteZeit), L"");
    EXPECT_FALSE(sandbox.ReadIni().has_value());

    ASSERT_TRUE(WaitFor([&] { return app.Focus() == app.Item(id::kZeitSetzen); }, 5000));
    for (int i = 0; i < 2; ++i) ::PostMessageW(app.Focus(), WM_KEYDOWN, VK_TAB, 1);
    ASSERT_TRUE(WaitFor([&] { return app.Focus() == app.Item(id::kTxtZeit + 4); }, 3000));
    app.SetHold(true);
    tick();
    EXPECT_EQ(app.Text(id::kGesetzteZeit), L"05.12.2026, 14:30:00");
    EXPECT_EQ(sandbox.ReadIni(), kStored);
    EXPECT_EQ(app.Focus(), app.Item(id::kTxtZeit + 4)) << "the user typing in a field keeps the focus";
}

// The real timer, in two programs side by side, under a wall clock that jumps
// back a year half-way: the ticks keep their 60 s of elapsed time. Nothing
// here takes the foreground, as other UI tests run at the same time.
TEST(HoldEveryMinute, TicksReapplyTheFieldsOnElapsedTimeWhateverTheWallClockDoes) {
    std::optional<PinnedClock> clock;
    clock.emplace(PinnedClock::LocalFromUtc(Time(2026, 12, 5, 14, 30)));
    Sandbox held, restored;
    restored.WriteIni(kYearBack);
    App heldApp(held, SW_SHOWNOACTIVATE);
    App restoredApp(restored, SW_SHOWNOACTIVATE);
    const ULONGLONG started = ::GetTickCount64();  // both timers were armed just before
    restored.WriteIni(kMarker);

    heldApp.SetFields(L"2026", L"12", L"5", L"14", L"30");
    heldApp.SetHold(true);
    heldApp.Click(id::kZeitSetzen);
    ASSERT_EQ(held.ReadIni(), kStored);
    held.WriteIni(kMarker);

    ::Sleep(25000);
    clock.emplace(PinnedClock::LocalFromUtc(Time(2025, 11, 3, 8, 15)));
    heldApp.SetFields(L"2025", L"11", L"3", L"8", L"15");  // taken by the next tick, without a press
    EXPECT_EQ(restoredApp.Text(id::kGesetzteZeit), L"") << "a box restored as ticked sets nothing at start";
    EXPECT_EQ(restored.ReadIni(), kMarker);

    for (const App* app : {&heldApp, &restoredApp}) {
        ASSERT_TRUE(WaitFor([&] { return app->Text(id::kGesetzteZeit) == L"03.11.2025, 08:15:00"; }, 45000));
        const double seconds = static_cast<double>(::GetTickCount64() - started) / 1000.0;
        EXPECT_GE(seconds, 55.0);
        EXPECT_LE(seconds, 66.0);
    }
    EXPECT_EQ(held.ReadIni(), kYearBack);
    EXPECT_EQ(restored.ReadIni(), kYearBack);
}

}  // namespace
}  // namespace ui
