#include "framework/Clock.h"

#include "framework/Win32.h"

namespace framework {

namespace {

std::int64_t SystemUnixTime()
{
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    auto ticks = static_cast<std::int64_t>(FileTimeTicks(now));
    return (ticks - kTicksFrom1601To1970) / kTicksPerSecond;
}

}  // namespace

Clock& GetClock()
{
    static Clock clock{[] { return ::GetTickCount(); }, SystemUnixTime};
    return clock;
}

}  // namespace framework
