#include "reports/SpaceMap.h"

#include <algorithm>
#include <cmath>

namespace {

LONG Pixel(double coordinate)
{
    return static_cast<LONG>(std::floor(coordinate + 0.5));
}

// The worst aspect ratio in a row of areas of the given sum, largest and
// smallest, laid along a side of the given length.
double WorstRatio(double sum, double largest, double smallest, double side)
{
    double sideSquared = side * side;
    double sumSquared = sum * sum;
    return std::max(sideSquared * largest / sumSquared, sumSquared / (sideSquared * smallest));
}

}  // namespace

std::vector<RECT> SquarifiedLayout(std::span<const std::uint64_t> sizes, const RECT& area)
{
    std::vector<RECT> rects(sizes.size(), RECT{area.right, area.bottom, area.right, area.bottom});
    double total = 0;
    for (std::uint64_t size : sizes)
        total += static_cast<double>(size);
    if (total <= 0 || area.right <= area.left || area.bottom <= area.top)
        return rects;
    double left = area.left, top = area.top;
    const double right = area.right, bottom = area.bottom;
    const double scale = (right - left) * (bottom - top) / total;
    auto areaOf = [&](size_t index) { return static_cast<double>(sizes[index]) * scale; };

    size_t count = sizes.size();
    while (sizes[count - 1] == 0)
        --count;
    size_t first = 0;
    while (first < count && right > left && bottom > top) {
        // A row runs along the shorter side: down a column at the left, or
        // across a row at the top.
        bool column = right - left >= bottom - top;
        double side = column ? bottom - top : right - left;
        double sum = areaOf(first);
        double worst = WorstRatio(sum, sum, sum, side);
        size_t end = first + 1;
        for (; end < count; ++end) {
            double next = areaOf(end);
            double ratio = WorstRatio(sum + next, areaOf(first), next, side);
            if (ratio > worst)
                break;
            sum += next;
            worst = ratio;
        }
        // The last row ends at the far edge, whatever the rounding errors
        // of the rows before it.
        double thickness = sum / side;
        double edge = column ? std::min(left + thickness, right) : std::min(top + thickness, bottom);
        if (end == count)
            edge = column ? right : bottom;
        // Each edge is rounded from the one coordinate both its neighbours share.
        double start = column ? top : left;
        double stop = column ? bottom : right;
        double from = start;
        double along = 0;
        for (size_t index = first; index < end; ++index) {
            along += areaOf(index);
            double to = index + 1 == end ? stop : start + along / thickness;
            rects[index] = column ? RECT{Pixel(left), Pixel(from), Pixel(edge), Pixel(to)}
                                  : RECT{Pixel(from), Pixel(top), Pixel(to), Pixel(edge)};
            from = to;
        }
        (column ? left : top) = edge;
        first = end;
    }
    return rects;
}
