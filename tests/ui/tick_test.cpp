// What a tick of Timer1 does, with the tick posted by the test instead of
// waiting a minute for it (hold_test.cpp waits for the real ones).
#include "tests/ui/harness.h"
#include "tests/ui/message_box.h"

#include <gtest/gtest.h>

namespace ui {
namespace {

constexpr wchar_t kBefore[] = L"vorher";
constexpr char kStored[] =
    "[Zeit]\r\nJahr=2026\r\nMonat=12\r\nTag=5\r\nStunde=14\r\nMinute=30\r\nZeitHalten=JA\r\n";

// Returns once the tick's handler has run.
void Tick(const App& app) {
    DWORD_PTR result = 0;
    ::SendMessageTimeoutW(app.Main(), WM_TIMER, id::kTimer1, 0, SMTO_ABORTIFHUNG, 30000, &result);
}

// For ticks that open a box.
void PostTick(const App& app) {
    ::PostMessageW(app.Main(), WM_TIMER, id::kTimer1, 0);
}

class TickTest : public testing::Test {
protected:
    TickTest() : clock_(PinnedClock::LocalFromUtc(Time(2026, 12, 5, 14, 30))), app_(sandbox_) {
        app_.SetFields(L"2026", L"12", L"5", L"14", L"30");
        app_.SetText(id::kGesetzteZeit, kBefore);
    }

    PinnedClock clock_;
    Sandbox sandbox_;
    App app_;
};

TEST_F(TickTest, DoesNothingWhileTheBoxIsUnticked) {
    app_.SetHold(false);
    Tick(app_);
    EXPECT_EQ(app_.Text(id::kGesetzteZeit), kBefore);
    EXPECT_FALSE(sandbox_.ReadIni().has_value());
}

TEST_F(TickTest, PressesZeitSetzenWhileTheBoxIsTickedAndLeavesTheFocusAlone) {
    ASSERT_TRUE(WaitFor([&] { return app_.Focus() == app_.Item(id::kZeitSetzen); }, 5000));
    for (int i = 0; i < 2; ++i) ::PostMessageW(app_.Focus(), WM_KEYDOWN, VK_TAB, 1);
    ASSERT_TRUE(WaitFor([&] { return app_.Focus() == app_.Item(id::kTxtZeit + 4); }, 3000)) << "in the minute field";
    app_.SetHold(true);

    Tick(app_);
    EXPECT_EQ(app_.Text(id::kGesetzteZeit), L"05.12.2026, 14:30:00");
    EXPECT_EQ(sandbox_.ReadIni(), kStored);
    EXPECT_EQ(app_.Focus(), app_.Item(id::kTxtZeit + 4)) << "the user typing in a field keeps the focus";
}

TEST_F(TickTest, MeetsAFieldWithoutANumberLikeAPressAndNeverNestsAnApply) {
    app_.SetHold(true);
    app_.SetText(id::kTxtZeit + 0, L"");

    PostTick(app_);
    HWND box = app_.WaitForOtherWindow(L"Horlomat", 5000);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(BoxText(box), L"Die Zeit wurde nicht gesetzt: Im Feld „Jahr“ steht keine ganze Zahl.");

    // The apply that opened the box is still running: ticks and presses
    // arriving through the box's message loop start no second one, even
    // with the field put right meanwhile.
    app_.SetText(id::kTxtZeit + 0, L"2026");
    PostTick(app_);
    app_.PostClick(id::kZeitSetzen);
    PostTick(app_);
    ::Sleep(500);
    EXPECT_EQ(Boxes(app_).size(), 1u);
    EXPECT_EQ(app_.Text(id::kGesetzteZeit), kBefore);
    EXPECT_FALSE(sandbox_.ReadIni().has_value());
    ASSERT_TRUE(CloseBox(app_, box));
    EXPECT_TRUE(app_.Running());

    Tick(app_);
    EXPECT_EQ(app_.Text(id::kGesetzteZeit), L"05.12.2026, 14:30:00");
    EXPECT_EQ(sandbox_.ReadIni(), kStored);

    // Every later tick that meets a bad field says so again.
    app_.SetText(id::kTxtZeit + 3, L"x");
    PostTick(app_);
    box = app_.WaitForOtherWindow(L"Horlomat", 5000);
    ASSERT_NE(box, nullptr);
    EXPECT_NE(BoxText(box).find(L"„Stunde“"), std::wstring::npos);
    ASSERT_TRUE(CloseBox(app_, box));
    EXPECT_EQ(app_.Text(id::kGesetzteZeit), L"05.12.2026, 14:30:00");
}

}  // namespace
}  // namespace ui
