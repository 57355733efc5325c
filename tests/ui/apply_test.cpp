// "Zeit setzen" against a pinned clock: Wine's clock takes a time only when it
// equals the current one, so a success means the record was exactly that.
#include "tests/ui/harness.h"
#include "tests/ui/about_helpers.h"
#include "tests/ui/message_box.h"

#include <gtest/gtest.h>

#include <array>

namespace ui {
namespace {

using Fields = std::array<std::wstring, 5>;
constexpr wchar_t kSet[] = L"05.12.2026, 14:30:00";
const Fields kPinned = {L"2026", L"12", L"5", L"14", L"30"};

void Fill(const App& app, const Fields& f) {
    app.SetFields(f[0], f[1], f[2], f[3], f[4]);
}

std::string IniOf(const Fields& f, const char* hold) {
    const char* keys[] = {"Jahr", "Monat", "Tag", "Stunde", "Minute"};
    std::string ini = "[Zeit]\r\n";
    for (int i = 0; i < 5; ++i) ini += keys[i] + ("=" + Narrow(f[static_cast<size_t>(i)])) + "\r\n";
    return ini + "ZeitHalten=" + hold + "\r\n";
}

TEST(Apply, SetsTheClockShowsWhatWasSetAndStoresTheFieldsAsTyped) {
    const struct {
        SYSTEMTIME utc;  // the pinned clock
        Fields fields;
        bool hold;
        const wchar_t* label;
    } cases[] = {
        {Time(2026, 12, 5, 14, 30), kPinned, false, kSet},
        {Time(2026, 5, 5, 0, 0), {L"2026", L"05", L"05", L"00", L"0"}, true, L"05.05.2026, 00:00:00"},
        // The clock takes only its own time, so these prove the rounding.
        {Time(2026, 12, 2, 14, 30), {L"2026", L"12", L"2,5", L"14", L"30"}, false, L"02.12.2026, 14:30:00"},
        {Time(2026, 12, 4, 14, 30), {L"2026", L"12", L"3,5", L"14", L"30"}, false, L"04.12.2026, 14:30:00"},
        // Date and time texts that do not read: the label still says what was set.
        {Time(2026, 1, 5, 7, 5), {L"2026", L"1", L"+5", L"+7", L"+5"}, false, L"05.01.2026, 07:05:00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.label));
        PinnedClock clock(PinnedClock::LocalFromUtc(c.utc));
        Sandbox sandbox;
        App app(sandbox);
        Fill(app, c.fields);
        app.SetHold(c.hold);
        app.Click(id::kZeitSetzen);
        EXPECT_EQ(app.Text(id::kGesetzteZeit), c.label);
        EXPECT_EQ(sandbox.ReadIni(), IniOf(c.fields, c.hold ? "JA" : "NEIN"));
    }
}

TEST(Apply, RefusedValuesShowTheFailureTextAndWriteNothing) {
    PinnedClock clock(PinnedClock::LocalFromUtc(Time(2026, 12, 5, 14, 30)));
    const std::string earlier = "[Zeit]\r\nJahr=2025\r\nZeitHalten=JA\r\n";
    const Fields refused[] = {
        {L"2026", L"13", L"5", L"14", L"30"}, {L"2026", L"12", L"5", L"24", L"30"},
        {L"-1", L"12", L"5", L"14", L"30"},   {L"2026", L"4", L"31", L"14", L"30"},
        {L"2026", L"12", L"5", L"14", L"31"},  // another minute than the clock's
    };
    for (const Fields& f : refused) {
        SCOPED_TRACE(Narrow(f[0] + L"-" + f[1] + L"-" + f[2] + L" " + f[3] + L":" + f[4]));
        Sandbox sandbox;
        sandbox.WriteIni(earlier);
        App app(sandbox);
        Fill(app, f);
        app.Click(id::kZeitSetzen);
        EXPECT_EQ(app.Text(id::kGesetzteZeit), L"Zeit konnte nicht gesetzt werden.");
        EXPECT_EQ(sandbox.ReadIni(), earlier);
    }
}

// A field without a number stops the apply with one box, from a press or a
// tick alike; presses and ticks meanwhile start no second apply.
TEST(Apply, AFieldWithoutANumberIsReportedOnceAndChangesNothing) {
    PinnedClock clock(PinnedClock::LocalFromUtc(Time(2026, 12, 5, 14, 30)));
    const struct {
        Fields fields;
        const wchar_t* message;
    } cases[] = {
        {{L"", L"12", L"5", L"14", L"30"}, L"Die Zeit wurde nicht gesetzt: Im Feld „Jahr“ steht keine ganze Zahl."},
        {{L"2026", L"Mai", L"5", L"14", L"30"},
         L"Die Zeit wurde nicht gesetzt: Im Feld „Monat“ steht keine ganze Zahl."},
        {{L"2026", L"12", L"5", L"32768", L"30"},
         L"Die Zeit wurde nicht gesetzt: Die Zahl im Feld „Stunde“ liegt nicht zwischen -32768 und 32767."},
    };
    for (bool byTick : {false, true}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(Narrow(c.message) + (byTick ? " (tick)" : " (press)"));
            Sandbox sandbox;
            sandbox.WriteIni("[Zeit]\r\nJahr=2025\r\n");
            App app(sandbox);
            Fill(app, c.fields);
            app.SetHold(byTick);
            app.SetText(id::kGesetzteZeit, L"vorher");
            auto trigger = [&] {
                if (byTick) ::PostMessageW(app.Main(), WM_TIMER, id::kTimer1, 0);
                else app.PostClick(id::kZeitSetzen);
            };
            trigger();
            const HWND box = app.WaitForOtherWindow(L"Horlomat", 5000);
            ASSERT_NE(box, nullptr) << "no message box";
            EXPECT_EQ(BoxText(box), c.message);
            Fill(app, kPinned);  // put right while the box is open
            trigger();
            trigger();
            ::Sleep(300);
            EXPECT_EQ(Boxes(app).size(), 1u);
            ASSERT_TRUE(CloseBox(app, box));
            ::Sleep(300);
            EXPECT_TRUE(Boxes(app).empty()) << "a queued press opened another box";
            EXPECT_EQ(app.Text(id::kGesetzteZeit), L"vorher");
            EXPECT_EQ(sandbox.ReadIni(), "[Zeit]\r\nJahr=2025\r\n");

            app.Click(id::kZeitSetzen);  // still usable
            EXPECT_EQ(app.Text(id::kGesetzteZeit), kSet);
        }
    }
}

}  // namespace
}  // namespace ui
