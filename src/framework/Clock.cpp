#include "framework/Clock.h"

namespace framework {

namespace {

std::int64_t SystemUnixTime()
{
    constexpr std::int64_t kTicksPerSecond = 10'000'000;
    constexpr std::int64_t kTicksFrom1601To1970 = 116'444'736'000'000'000;
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    std::int64_t ticks = (static_cast<std::int64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return (ticks - kTicksFrom1601To1970) / kTicksPerSecond;
}

}  // namespace

Clock& GetClock()
{
    static Clock clock{[] { return ::GetTickCount(); }, SystemUnixTime};
    return clock;
}

}  // namespace framework
