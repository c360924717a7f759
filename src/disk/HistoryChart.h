// The arithmetic of the History chart: reading the stored values into
// points, and where each point stands in the chart.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct ChartPoint {
    int offset;   // days since the first accepted snapshot
    int percent;  // 0 to 100
};

struct ChartHistory {
    std::vector<ChartPoint> points;
    int baseDay = 0;
};

// Skips values without a comma, days before the first one and days not after
// the previous point's.
ChartHistory ParseHistory(const std::vector<std::string>& values);

// The point's place relative to the chart's top-left corner, on the chart
// drawn at scale percent.
POINT PlotPoint(const ChartPoint& point, int span, int scale = 100);
// The last point's offset, or 2 when it is 0 (or there is none).
int ChartSpan(const std::vector<ChartPoint>& points);
// The last point within 4 pixels (at 100%) both ways of the place, or -1.
int HitPoint(const std::vector<ChartPoint>& points, POINT place, int scale = 100);
// The UTC calendar date of a stored day number, as "%B %d, %Y".
std::string HistoryDate(int day);
