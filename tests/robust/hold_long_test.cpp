// Holding the clock for a long time: with the box ticked the program sets the
// clock exactly once a minute and stores the settings each time, and nothing
// it holds grows from one minute to the next. Two minutes in the ordinary
// run, thirty in the full one; it runs as an entry of its own, beside the
// rest of the suite, and only reads from the program.
#include "tests/robust/counters.h"
#include "tests/robust/drive.h"
#include "tests/robust/field_texts.h"
#include "tests/robust/robust.h"

#include <gtest/gtest.h>

#include <vector>

namespace robust {
namespace {

// Put over the settings file after each apply, to see the next one write it.
constexpr char kMarkedIni[] = "[Zeit]\r\nJahr=0\r\n";
constexpr char kStoredIni[] =
    "[Zeit]\r\nJahr=2026\r\nMonat=12\r\nTag=5\r\nStunde=14\r\nMinute=30\r\nZeitHalten=JA\r\n";

TEST(HoldLong, OneApplyPerMinuteAndNothingGrowing) {
    const std::size_t minutes = Size(2, 30);
    const ui::PinnedClock clock(ui::PinnedClock::LocalFromUtc(kPinnedUtc));
    ui::Sandbox sandbox;
    ui::App app(sandbox, SW_SHOWNOACTIVATE);
    const ULONGLONG started = ::GetTickCount64();  // the timer was armed just before
    app.SetFields(L"2026", L"12", L"5", L"14", L"30");
    app.SetHold(true);
    app.Click(ui::id::kZeitSetzen);
    ASSERT_EQ(sandbox.ReadIni(), kStoredIni);
    app.SetText(ui::id::kGesetzteZeit, kLabelMarker);
    sandbox.WriteIni(kMarkedIni);

    std::vector<ULONGLONG> applies;  // ms after the start
    std::vector<Resources> afterApply;
    std::size_t filesWrong = 0;
    std::size_t crashes = 0;
    const ULONGLONG end = started + minutes * 60000 + 20000;
    while (::GetTickCount64() < end) {
        ::Sleep(100);
        if (!app.Running()) {
            ++crashes;
            break;
        }
        if (app.Text(ui::id::kGesetzteZeit) == kLabelMarker) continue;
        applies.push_back(::GetTickCount64() - started);
        EXPECT_EQ(app.Text(ui::id::kGesetzteZeit), L"05.12.2026, 14:30:00");
        if (sandbox.ReadIni() != kStoredIni) ++filesWrong;
        afterApply.push_back(Measure(app.ProcessId()));
        app.SetText(ui::id::kGesetzteZeit, kLabelMarker);
        sandbox.WriteIni(kMarkedIni);
    }

    // One apply a minute: the first a minute after the start, each of the
    // others 60 s after the one before.
    EXPECT_EQ(applies.size(), minutes);
    std::string times;
    for (std::size_t i = 0; i < applies.size(); ++i) {
        const double seconds = static_cast<double>(applies[i] - (i == 0 ? 0 : applies[i - 1])) / 1000.0;
        EXPECT_NEAR(seconds, 60.0, i == 0 ? 6.0 : 3.0) << "apply " << i + 1;
        if (i < 3 || i + 1 == applies.size()) {
            times += (times.empty() ? "" : ", ") + std::to_string(applies[i] / 1000) + " s";
        }
    }
    EXPECT_EQ(filesWrong, 0u);

    std::string deltas = "-";
    if (afterApply.size() >= 2) {
        deltas = ExpectFlat(afterApply.front(), afterApply[afterApply.size() / 2], afterApply.back(), 512) +
                 " from the first apply to the last";
    }
    Report({"hold of " + std::to_string(minutes) + " minutes", applies.size(), crashes, 0, filesWrong, deltas,
            "applies at " + times});
}

}  // namespace
}  // namespace robust
