// "Zeit setzen" and the timer's tick against a pinned clock: Wine's clock takes a time only when it equals the
// current one, so a success means the record was exactly that.
#include "tests/ui/harness.h"

#include <gtest/gtest.h>

namespace ui {
namespace {

// Ticking the box with the mouse sets and stores nothing; the next apply stores it with the fields, key by key.
TEST(Apply, StoresTheSixKeysInOrderAfterASetAndTheBoxOnlyThen) {
    PinnedClock clock(2026, 1, 5, 7, 5);
    Sandbox sandbox;
    App app(sandbox);
    app.SetFields({L"2026", L"01", L"5", L"7", L"5"});
    HWND box = app.Item(ids::chkRegel);
    ::PostMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ::PostMessageW(box, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    ASSERT_TRUE(app.Idle());
    EXPECT_TRUE(app.Ticked());
    EXPECT_EQ(app.Text(ids::lblGesetzteZeit), L"");
    EXPECT_FALSE(sandbox.ReadIni().has_value());
    app.Click(ids::cmdZeitSetzen);
    EXPECT_EQ(app.Text(ids::lblGesetzteZeit), L"05.01.2026, 07:05:00");
    EXPECT_EQ(sandbox.ReadIni(), "[Zeit]\r\nJahr=2026\r\nMonat=01\r\nTag=5\r\nStunde=7\r\nMinute=5\r\nZeitHalten=JA\r\n");
}

// A field without a number stops the apply with one box, from a press or a tick alike; while it is open, presses
// and ticks add no second box.
TEST(Apply, AFieldWithoutANumberIsReportedInOneBoxAndChangesNothing) {
    PinnedClock clock;
    const struct { Fields fields; const wchar_t* message; } cases[] = {
        {{L"", L"12", L"5", L"14", L"30"}, L"Die Zeit wurde nicht gesetzt: Im Feld „Jahr“ steht keine ganze Zahl."},
        {{L"2026", L"12", L"5", L"32768", L"30"},
         L"Die Zeit wurde nicht gesetzt: Die Zahl im Feld „Stunde“ liegt nicht zwischen -32768 und 32767."},
    };
    for (bool byTick : {false, true}) {
        for (const auto& [fields, message] : cases) {
            SCOPED_TRACE(Narrow(message) + (byTick ? " (tick)" : " (press)"));
            Sandbox sandbox;
            sandbox.WriteIni("[Zeit]\r\nJahr=2025\r\n");
            App app(sandbox);
            app.SetFields(fields);
            app.SetTicked(byTick);
            const auto trigger = [&] { byTick ? app.Tick() : app.PostClick(ids::cmdZeitSetzen); };
            trigger();
            const HWND box = app.WaitForWindow(L"Horlomat", 5000);
            ASSERT_NE(box, nullptr) << "no message box";
            EXPECT_EQ(BoxText(box), message);
            trigger();
            trigger();
            ASSERT_TRUE(app.Idle());
            EXPECT_EQ(app.Windows().size(), 1u) << "a second box";
            ASSERT_TRUE(CloseBox(box));
            ASSERT_TRUE(app.Idle());
            EXPECT_TRUE(app.Windows().empty()) << "a queued press opened another box";
            EXPECT_EQ(app.Text(ids::lblGesetzteZeit), L"");
            EXPECT_EQ(sandbox.ReadIni(), "[Zeit]\r\nJahr=2025\r\n");
            app.SetFields(kPinnedFields);
            app.Click(ids::cmdZeitSetzen);  // still usable
            EXPECT_EQ(app.Text(ids::lblGesetzteZeit), kPinnedLabel);
        }
    }
}

// A tick presses "Zeit setzen" only while the box is ticked, and leaves the focus where the user has it.
TEST(Tick, PressesZeitSetzenOnlyWhileTheBoxIsTickedAndLeavesTheFocusAlone) {
    PinnedClock clock;
    Sandbox sandbox;
    App app(sandbox);
    app.SetFields(kPinnedFields);
    app.Tick();
    ASSERT_TRUE(app.Idle());
    EXPECT_EQ(app.Text(ids::lblGesetzteZeit), L"");
    EXPECT_FALSE(sandbox.ReadIni().has_value());
    ASSERT_TRUE(WaitFor([&] { return app.Focus() == app.Item(ids::cmdZeitSetzen); }, 5000));
    app.Key(VK_TAB);
    app.Key(VK_TAB);
    ASSERT_TRUE(WaitFor([&] { return app.Focus() == app.Item(ids::txtZeit + 4); }, 3000));
    app.SetTicked(true);
    app.Tick();
    ASSERT_TRUE(app.Idle());
    EXPECT_EQ(app.Text(ids::lblGesetzteZeit), kPinnedLabel);
    EXPECT_NE(sandbox.ReadIni().value_or("").find("ZeitHalten=JA"), std::string::npos);
    EXPECT_EQ(app.Focus(), app.Item(ids::txtZeit + 4)) << "the user typing in a field keeps the focus";
}

}  // namespace
}  // namespace ui
