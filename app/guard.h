// /ohnesync: the time sync paused while the clock is moved, and put back exactly as it was. Paused are the Windows Time
// service (its NTP client, the Hyper-V provider inside it, Secure Time Seeding: stopped and disabled, its
// Parameters\Type "NoSync") and the Hyper-V time synchronisation service vmictimesync (stopped and disabled). What was
// there is kept in HKEY_LOCAL_MACHINE before anything changes, so a crash, a killed Horlomat or a restart loses
// nothing.
#pragma once

#include <string>

namespace guard {

struct Outcome {
    bool done;          // all there was paused, or put back (also where nothing was kept)
    std::wstring text;  // what was paused or put back, and what could not be, each named; empty where nothing was kept
};

// Keeps what is there (unless a guard is kept already: that is the state before it), then pauses each source. Where
// one cannot be paused, what was is put back at once.
Outcome Pause();

// Puts back exactly what was kept, once; the kept guard is gone only where all of it is back.
Outcome Restore();

}  // namespace guard
