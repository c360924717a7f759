// The one source of time for throttles, timed loops and day numbers, so
// tests can run them on a fake clock.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>

namespace framework {

struct Clock {
    // Milliseconds since some fixed moment (GetTickCount by default).
    std::function<DWORD()> tickCount;
    // Seconds since 1970-01-01 00:00:00 UTC.
    std::function<std::int64_t()> unixTime;
};

Clock& GetClock();

}  // namespace framework
