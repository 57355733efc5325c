// Long runs: thousands of applies of every kind, and the About dialog opened
// again and again, must leave what the process holds where it was after the
// first few rounds. The counters are those of counters.h, each seen to move
// on a leak in counters_test.cpp.
#include "tests/robust/counters.h"
#include "tests/robust/drive.h"
#include "tests/robust/field_texts.h"
#include "tests/robust/robust.h"
#include "tests/ui/about_helpers.h"
#include "about/about_ids.h"

#include <gtest/gtest.h>

#include <optional>

namespace robust {
namespace {

// How much the working set and the private bytes may grow over a whole run:
// the heap settles in steps of its own, but a leak of even a hundred bytes
// per round would pass this in the full run.
constexpr long long kMemorySlackKb = 768;

struct Round {
    const char* kind;
    Fields fields;
    Outcome outcome;
};

const Round kRounds[] = {
    {"set", {L"2026", L"12", L"5", L"14", L"30"}, Outcome::Set},
    {"refused", {L"2026", L"13", L"5", L"14", L"30"}, Outcome::Refused},
    {"a box for an empty field", {L"", L"12", L"5", L"14", L"30"}, Outcome::Rejected},
    {"set, stored in quotes", {L"2026", L"12", L" 5", L"14", L"30 "}, Outcome::Set},
    {"set, not storable", {L"2026", L"12", L"5", L"\x3000" L"14", L"30"}, Outcome::Set},
    {"a box for an overflow", {L"2026", L"12", L"5", L"14", L"99999"}, Outcome::Rejected},
};

TEST(LongRun, ThousandsOfAppliesLeaveTheCountersFlat) {
    const std::size_t count = Size(600, 10000);
    const std::size_t warmUp = 60;
    const ui::PinnedClock clock(ui::PinnedClock::LocalFromUtc(kPinnedUtc));
    ui::Sandbox sandbox;
    ui::App app(sandbox, SW_SHOWNOACTIVATE);

    std::size_t crashes = 0, hangs = 0, wrong = 0;
    std::optional<Resources> settled, middle;
    for (std::size_t i = 0; i < warmUp + count; ++i) {
        if (i == warmUp) settled = Measure(app.ProcessId());
        if (i == warmUp + count / 2) middle = Measure(app.ProcessId());
        const Round& round = kRounds[i % std::size(kRounds)];
        const ApplyResult r = Apply(app, round.fields, 15000);
        if (r.outcome == Outcome::Crash) ++crashes;
        if (r.outcome == Outcome::Hang) ++hangs;
        if (r.outcome != round.outcome) {
            if (++wrong <= 10) ADD_FAILURE() << "round " << i << " (" << round.kind << "): " << Name(r.outcome);
            if (r.outcome == Outcome::Crash || r.outcome == Outcome::Hang) break;
        }
    }
    ASSERT_TRUE(settled && middle);
    const std::string deltas = ExpectFlat(*settled, *middle, Measure(app.ProcessId()), kMemorySlackKb);
    Report({"applies of six kinds in turn", count, crashes, hangs, 0, deltas,
            std::to_string(wrong) + " with another outcome than expected; after " + std::to_string(warmUp) +
                " warm-up rounds"});
}

TEST(LongRun, OpeningTheAboutDialogAgainAndAgainLeavesTheCountersFlat) {
    const std::size_t count = Size(30, 200);
    const std::size_t warmUp = 5;
    // No tool registered: every other opening also shows the launcher's box.
    const ui::RegistryValue path(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH");
    const ui::RegistryValue folder(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO");
    ui::Sandbox sandbox;
    ui::App app(sandbox, SW_SHOWNOACTIVATE);

    std::size_t crashes = 0, hangs = 0;
    std::optional<Resources> settled, middle, open;
    for (std::size_t i = 0; i < warmUp + count; ++i) {
        if (i == warmUp) settled = Measure(app.ProcessId());
        if (i == warmUp + count / 2) middle = Measure(app.ProcessId());
        const HWND dialog = ui::OpenAbout(app);
        if (!dialog) {
            ++(app.Running() ? hangs : crashes);
            ADD_FAILURE() << "opening " << i << ": no dialog";
            break;
        }
        if (i == warmUp) open = Measure(app.ProcessId());
        if (i % 2 == 1) {
            ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(about::ids::kSysInfo, BN_CLICKED),
                           reinterpret_cast<LPARAM>(::GetDlgItem(dialog, about::ids::kSysInfo)));
            std::vector<HWND> boxes;
            if (!ui::WaitFor([&] { return !(boxes = ui::WindowsOf(app, L"Horlomat")).empty(); }, 10000)) {
                ++hangs;
                ADD_FAILURE() << "opening " << i << ": no box from Systeminfo";
                break;
            }
            ::PostMessageW(boxes.front(), WM_COMMAND, IDOK, 0);
            ui::WaitFor([&] { return ui::WindowsOf(app, L"Horlomat").empty(); }, 10000);
        }
        // OK and Esc in turn.
        ::PostMessageW(dialog, WM_COMMAND, i % 4 < 2 ? IDOK : IDCANCEL, 0);
        if (!ui::WaitFor([&] { return !::IsWindow(dialog); }, 10000)) {
            ++hangs;
            ADD_FAILURE() << "opening " << i << ": the dialog stays";
            break;
        }
    }
    ASSERT_TRUE(settled && middle && open);
    // The counters do see what an open dialog holds: its windows, its font
    // and its logo.
    EXPECT_GT(open->windows, settled->windows);
    EXPECT_GT(open->gdiObjects, settled->gdiObjects);
    EXPECT_TRUE(app.Running());
    const std::string deltas = ExpectFlat(*settled, *middle, Measure(app.ProcessId()), kMemorySlackKb);
    Report({"About dialog opened and closed, Systeminfo box every other time", count, crashes, hangs, 0, deltas,
            "after " + std::to_string(warmUp) + " warm-up openings; while open: " + Deltas(*settled, *open)});
}

}  // namespace
}  // namespace robust
