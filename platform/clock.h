// The machine's clock.
#pragma once

#include <windows.h>

namespace platform {

// The local date and time, one reading per call.
SYSTEMTIME LocalNow();

// Hands the record to the clock as UTC; false when the clock refuses it
// (a field out of range, or no right to change the time).
bool SetSystemClock(const SYSTEMTIME& utc);

}  // namespace platform
