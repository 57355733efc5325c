// The true time, for /echtzeit: the clock as a Horlomat found it before any Horlomat moved it, plus the time Windows
// has counted since, which runs on whatever anyone does to the clock. Machine-wide, as the clock is.
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
    ULONGLONG assumed = 0;  // 1: taken back over a restart of Windows by the last set's distance
    ULONGLONG At() const { return clock + (::GetTickCount64() - tick) * 10000; }
};

// The clock and Windows' count, read together; at the start, before this Horlomat sets anything.
void TakeReading();

// After a set to `set`: the first set since Windows started keeps the reading where every later Horlomat finds it,
// and every set keeps how far it put the clock from the true time, which a restart carries over.
void Keep(const SYSTEMTIME& set);

// Sets the clock to the true time, to the millisecond. The exit code (0 set, or nothing to put back; 1 refused; 3
// moved but the true time unknown, nothing set) and what to tell.
struct Outcome {
    int exitCode;
    std::wstring text;
};
Outcome PutBack();

}  // namespace truetime
