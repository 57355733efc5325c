// The robustness suite's machinery: run sizes, the summary lines that bench/soak.sh collects, presses that never
// block on a box and tell a crash from a hang, and counters of what a process holds.
#pragma once

#include "tests/ui/harness.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace robust {

// Reduced in the test run, full in the soak run (HORLOMAT_ROBUST=full).
inline std::size_t Size(std::size_t reduced, std::size_t full) {
    const char* run = std::getenv("HORLOMAT_ROBUST");
    return run && std::string(run) == "full" ? full : reduced;
}

// A line of the summary: part, inputs, crashes, hangs, files lost or wrong, leak deltas, notes.
void Report(const std::string& part, std::size_t inputs, std::size_t crashes, std::size_t hangs,
            std::size_t filesWrong, const std::string& deltas, const std::string& notes = {});
extern std::string summary;

struct Pressed {
    bool answered = false;            // the handler returned in time
    bool crashed = false;             // main turns Wine's crash dialog off, so a crashed program ends
    std::vector<std::wstring> boxes;  // the texts of the boxes it showed, each closed with OK
};
// Sends the press from a thread of its own: a box keeps the handler waiting until someone presses OK.
Pressed Press(const ui::App& app, HWND window, int id, DWORD hangMs = 15000);

enum class Outcome { Set, Refused, Rejected, Nothing, Hang, Crash };
inline const char* const kOutcome[] = {"set", "refused", "rejected with a box", "nothing visible", "hang", "crash"};
// Fills the fields and presses "Zeit setzen"; `label` gets what the label shows then.
Outcome Apply(const ui::App& app, const ui::Fields& fields, DWORD hangMs = 15000, std::wstring* label = nullptr);

// What a process holds, counted from outside: under Wine GetGuiResources and GetProcessHandleCount give 0.
struct Held {
    long long gdi = -1;     // GDI objects but for the three kinds below
    long long cached = -1;  // DCs, regions and surfaces, which Wine's cache of window DCs keeps
    long long handles = -1;
    long long windows = -1;
};
Held Measure(DWORD processId);
std::string Deltas(const Held& before, const Held& after);

// Runs `round` (false ends the run) warmUp + count times and fails unless what the program holds stands still from
// the end of the warm-up: windows, kernel handles and GDI objects exactly. Wine keeps up to 64 window DCs in a
// cache of its own, each with a region and a surface while it is bound to a window, and fills it in steps as
// painting meets new windows: those may grow by 3 x 64. Returns the deltas.
template <typename Round>
std::string Flat(const ui::App& app, std::size_t warmUp, std::size_t count, Round round) {
    Held before;
    for (std::size_t i = 0; i < warmUp + count && round(i); ++i) {
        if (i + 1 == warmUp) before = Measure(app.ProcessId());
    }
    const Held after = Measure(app.ProcessId());
    EXPECT_TRUE(before.gdi >= 0 && before.handles >= 0 && before.windows > 0) << "not counted";
    EXPECT_EQ(after.gdi, before.gdi) << "GDI objects";
    EXPECT_LE(after.cached - before.cached, 3 * 64) << "DCs, regions and surfaces";
    EXPECT_EQ(after.handles, before.handles) << "kernel handles";
    EXPECT_EQ(after.windows, before.windows) << "windows";
    return Deltas(before, after);
}

}  // namespace robust
