#include "platform/clock.h"

namespace platform {

SYSTEMTIME LocalNow() {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    return now;
}

bool SetSystemClock(const SYSTEMTIME& utc) {
    return ::SetSystemTime(&utc) != FALSE;
}

}  // namespace platform
