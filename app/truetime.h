// The true time, for /echtzeit: the clock as a Horlomat last knew it to be true, plus the time Windows has counted
// since, which runs on whatever anyone does to the clock. Machine-wide, as the clock is.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace truetime {

// The clock, UTC, in FILETIME's 100 ns steps since 1601, and the same for a record; the record for such a count.
ULONGLONG Now();
std::optional<ULONGLONG> StepsOf(const SYSTEMTIME& time);
std::optional<SYSTEMTIME> TimeAt(ULONGLONG steps);

// A moment of the clock, paired with Windows' count of milliseconds then (GetTickCount64, which counts sleep and
// hibernation too): the time it gives at any later moment runs on whatever anyone does to the clock meanwhile.
struct Reading {
    ULONGLONG clock = 0;
    ULONGLONG tick = 0;
    ULONGLONG assumed = 0;  // 1: rests on a restart of Windows having carried the last set's distance over
    ULONGLONG error = 0;    // how far off the clock may already have been, in 100 ns steps
    ULONGLONG At() const { return clock + (::GetTickCount64() - tick) * 10000; }
};

// The true time where a Horlomat moved the clock and kept a reading, else the clock.
ULONGLONG TrueOrClock();

// The clock and Windows' count, read together; at the start, before this Horlomat sets anything.
void TakeReading();

// After a set to `set`: keeps the freshest reading of the true clock and how far this set put the clock from it, where
// every later /echtzeit finds them.
void Keep(const SYSTEMTIME& set);

// Sets the clock to the true time, where it is known without an assumption or `assume` is given, then puts back a
// time sync that /ohnesync paused. The exit code (0 set, or nothing to put back; 1 refused; 3 not known well enough,
// nothing set; 4 set, but the record not updated or the time sync not put back) and what to tell.
struct Outcome {
    int exitCode;
    std::wstring text;
};
Outcome PutBack(bool assume);

}  // namespace truetime
