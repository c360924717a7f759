#include "reports/SpaceMap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace {

std::string Text(const RECT& rect)
{
    return std::to_string(rect.left) + "," + std::to_string(rect.top) + "," + std::to_string(rect.right) + "," +
           std::to_string(rect.bottom);
}

long long Area(const RECT& rect)
{
    if (rect.right <= rect.left || rect.bottom <= rect.top)
        return 0;
    return static_cast<long long>(rect.right - rect.left) * (rect.bottom - rect.top);
}

// The rectangles lie in the area, overlap nowhere and cover all of it.
void ExpectTiling(const std::vector<RECT>& rects, const RECT& area)
{
    long long covered = 0;
    for (size_t i = 0; i < rects.size(); ++i) {
        if (Area(rects[i]) == 0)
            continue;
        covered += Area(rects[i]);
        EXPECT_TRUE(rects[i].left >= area.left && rects[i].top >= area.top && rects[i].right <= area.right &&
                    rects[i].bottom <= area.bottom)
            << Text(rects[i]) << " outside " << Text(area);
        for (size_t j = 0; j < i; ++j) {
            RECT common;
            EXPECT_FALSE(IntersectRect(&common, &rects[i], &rects[j])) << Text(rects[i]) << " on " << Text(rects[j]);
        }
    }
    EXPECT_EQ(covered, Area(area)) << "in " << Text(area);
}

// Sizes from a byte to gigabytes, as on a real disk.
std::uint64_t RandomSize(std::mt19937& random)
{
    return (std::uint64_t{1} << random() % 34) + random() % 1000;
}

}  // namespace

TEST(SpaceMapTest, SquarifiedLayoutTilesTheAreaInProportionToTheSizes)
{
    std::mt19937 random(20);
    for (int round = 0; round < 200; ++round) {
        std::vector<std::uint64_t> sizes(1 + random() % 80);
        for (std::uint64_t& size : sizes)
            size = RandomSize(random);
        std::sort(sizes.rbegin(), sizes.rend());
        LONG left = static_cast<LONG>(random() % 100) - 50, top = static_cast<LONG>(random() % 100) - 50;
        RECT area{left, top, left + 1 + static_cast<LONG>(random() % 600), top + 1 + static_cast<LONG>(random() % 600)};

        std::vector<RECT> rects = SquarifiedLayout(sizes, area);
        ASSERT_EQ(rects.size(), sizes.size());
        ExpectTiling(rects, area);
        double total = 0;
        for (std::uint64_t size : sizes)
            total += static_cast<double>(size);
        // Rounding moves each edge by at most half a pixel.
        for (size_t i = 0; i < rects.size(); ++i) {
            double wanted = static_cast<double>(sizes[i]) / total * static_cast<double>(Area(area));
            LONG width = std::max(rects[i].right - rects[i].left, 0L),
                 height = std::max(rects[i].bottom - rects[i].top, 0L);
            EXPECT_LE(std::abs(static_cast<double>(Area(rects[i])) - wanted), width + height + 1.001)
                << "size " << sizes[i] << " of " << total << " at " << Text(rects[i]);
        }
    }
    EXPECT_TRUE(SquarifiedLayout({}, RECT{0, 0, 10, 10}).empty());
    for (const RECT& rect : SquarifiedLayout(std::vector<std::uint64_t>{5, 3}, RECT{0, 0, 0, 10}))
        EXPECT_EQ(Area(rect), 0);
}

// The example the method was first shown with: 6, 6, 4, 3, 2, 2, 1 in a 6 by 4 rectangle.
TEST(SpaceMapTest, SquarifiedLayoutOfTheKnownExample)
{
    std::vector<std::uint64_t> sizes{6, 6, 4, 3, 2, 2, 1};
    std::vector<std::string> texts;
    for (const RECT& rect : SquarifiedLayout(sizes, RECT{0, 0, 600, 400}))
        texts.push_back(Text(rect));
    EXPECT_EQ(texts, (std::vector<std::string>{"0,0,300,200", "0,200,300,400", "300,0,471,233", "471,0,600,233",
                                               "300,233,420,400", "420,233,540,400", "540,233,600,400"}));
}
