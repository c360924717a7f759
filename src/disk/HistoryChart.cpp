#include "disk/HistoryChart.h"

#include "disk/History.h"
#include "framework/Win32.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

ChartHistory ParseHistory(const std::vector<std::string>& values)
{
    ChartHistory history;
    bool first = true;
    for (const std::string& value : values) {
        std::optional<Snapshot> snapshot = ParseSnapshot(value);
        if (!snapshot)
            continue;
        if (std::exchange(first, false))
            history.baseDay = snapshot->day;
        long long offset = static_cast<long long>(snapshot->day) - history.baseDay;
        if (offset < 0 || (!history.points.empty() && offset <= history.points.back().offset))
            continue;
        history.points.push_back({static_cast<int>(offset), snapshot->percent});
    }
    return history;
}

int ChartSpan(const std::vector<ChartPoint>& points)
{
    return points.empty() || points.back().offset == 0 ? 2 : points.back().offset;
}

POINT PlotPoint(const ChartPoint& point, int span, int scale)
{
    long long x = 50 + static_cast<long long>(point.offset) * 426 / span;
    long long y = 176 - static_cast<long long>(point.percent) * 159 / 100;
    return POINT{static_cast<LONG>(x * scale / 100), static_cast<LONG>(y * scale / 100)};
}

int HitPoint(const std::vector<ChartPoint>& points, POINT place, int scale)
{
    int span = ChartSpan(points);
    int reach = 5 * scale / 100;
    int hit = -1;
    for (size_t i = 0; i < points.size(); ++i) {
        POINT at = PlotPoint(points[i], span, scale);
        if (std::abs(place.x - at.x) < reach && std::abs(place.y - at.y) < reach)
            hit = static_cast<int>(i);
    }
    return hit;
}

// Day 1 is January 01, 1970, whatever the local zone: the day was stored in UTC.
std::string HistoryDate(int day)
{
    static const char* const kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                                          "July",    "August",   "September", "October", "November", "December"};
    FILETIME time = framework::FileTimeFromTicks((static_cast<std::uint64_t>(day) - 1) * framework::kTicksPerDay +
                                                 framework::kTicksFrom1601To1970);
    SYSTEMTIME date{};
    if (day < 1 || !::FileTimeToSystemTime(&time, &date))
        return {};
    char text[64];
    std::snprintf(text, sizeof text, "%s %02d, %d", kMonths[date.wMonth - 1], date.wDay, date.wYear);
    return text;
}
