// "Zeit setzen" and the timer's tick against a pinned clock: Wine's clock takes a time only when it equals the
// current one, so a success means the record was exactly that. The robustness suite presses thousands of other
// field texts and checks label and settings file after each.
#include "tests/ui/harness.h"

#include <gtest/gtest.h>

namespace ui {
namespace {

constexpr wchar_t kSet[] = L"05.12.2026, 14:30:00";
constexpr char kStored[] = "[Zeit]\r\nJahr=2026\r\nMonat=12\r\nTag=5\r\nStunde=14\r\nMinute=30\r\nZeitHalten=JA\r\n";

// A field without a number stops the apply with one box, from a press or a tick alike; presses and ticks meanwhile
// start no second apply.
TEST(Apply, AFieldWithoutANumberIsReportedOnceAndChangesNothing) {
    PinnedClock clock(PinnedClock::LocalFromUtc(Time(2026, 12, 5, 14, 30)));
    const struct { std::array<const wchar_t*, 5> fields; const wchar_t* message; } cases[] = {
        {{L"", L"12", L"5", L"14", L"30"}, L"Die Zeit wurde nicht gesetzt: Im Feld „Jahr“ steht keine ganze Zahl."},
        {{L"2026", L"12", L"5", L"32768", L"30"},
         L"Die Zeit wurde nicht gesetzt: Die Zahl im Feld „Stunde“ liegt nicht zwischen -32768 und 32767."},
    };
    for (bool byTick : {false, true}) {
        for (const auto& [f, message] : cases) {
            SCOPED_TRACE(Narrow(message) + (byTick ? " (tick)" : " (press)"));
            Sandbox sandbox;
            sandbox.WriteIni("[Zeit]\r\nJahr=2025\r\n");
            App app(sandbox);
            app.SetFields(f[0], f[1], f[2], f[3], f[4]);
            app.SetHold(byTick);
            const auto trigger = [&] {
                if (byTick) ::PostMessageW(app.Main(), WM_TIMER, id::kTimer1, 0);
                else app.PostClick(id::kZeitSetzen);
            };
            trigger();
            const HWND box = app.WaitForOtherWindow(L"Horlomat", 5000);
            ASSERT_NE(box, nullptr) << "no message box";
            EXPECT_EQ(BoxText(box), message);
            app.SetFields(L"2026", L"12", L"5", L"14", L"30");  // put right while the box is open
            trigger();
            trigger();
            ::Sleep(300);
            EXPECT_EQ(WindowsOf(app, L"").size(), 1u);
            ::PostMessageW(box, WM_COMMAND, IDOK, 0);
            ASSERT_TRUE(WaitFor([&] { return WindowsOf(app, L"").empty(); }, 5000));
            ::Sleep(300);
            EXPECT_TRUE(WindowsOf(app, L"").empty()) << "a queued press opened another box";
            EXPECT_EQ(app.Text(id::kGesetzteZeit), L"");
            EXPECT_EQ(sandbox.ReadIni(), "[Zeit]\r\nJahr=2025\r\n");
            app.Click(id::kZeitSetzen);  // still usable
            EXPECT_EQ(app.Text(id::kGesetzteZeit), kSet);
        }
    }
}

// A tick presses "Zeit setzen" only while the box is ticked, and leaves the focus where the user has it.
TEST(Tick, PressesZeitSetzenOnlyWhileTheBoxIsTickedAndLeavesTheFocusAlone) {
    PinnedClock clock(PinnedClock::LocalFromUtc(Time(2026, 12, 5, 14, 30)));
    Sandbox sandbox;
    App app(sandbox);
    app.SetFields(L"2026", L"12", L"5", L"14", L"30");
    const auto tick = [&] {
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
    EXPECT_EQ(app.Text(id::kGesetzteZeit), kSet);
    EXPECT_EQ(sandbox.ReadIni(), kStored);
    EXPECT_EQ(app.Focus(), app.Item(id::kTxtZeit + 4)) << "the user typing in a field keeps the focus";
}

}  // namespace
}  // namespace ui
