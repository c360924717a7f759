#include "lists/FileText.h"

#include "framework/Win32.h"

#include <gtest/gtest.h>

namespace {

FILETIME FromUnix(long long seconds)
{
    return framework::FileTimeFromTicks(static_cast<std::uint64_t>(seconds) * framework::kTicksPerSecond +
                                        framework::kTicksFrom1601To1970);
}

}  // namespace

TEST(FileText, SizesPickTheirUnitAtEachBoundary)
{
    const std::pair<std::uint64_t, const char*> cases[] = {
        {0, "0 bytes"},    {1023, "1023 bytes"}, {1024, "1.0 K"},     {102399, "100.0 K"}, {102400, "100 K"},
        {102911, "100 K"}, {102912, "101 K"},    {1048575, "1024 K"}, {1048576, "1.00 M"}, {5ull << 30, "5120.00 M"},
    };
    for (const auto& [bytes, text] : cases)
        EXPECT_EQ(FormatFileSize(bytes), text) << bytes;
}

TEST(FileText, SizeTextsReadBackAsByteCounts)
{
    EXPECT_EQ(ParseFileSize("1.5 K"), 1536u);
    EXPECT_EQ(ParseFileSize("2.00 M"), 2097152u);
    EXPECT_EQ(ParseFileSize("37 bytes"), 37u);
    EXPECT_EQ(ParseFileSize("1234"), 0u);
    EXPECT_EQ(ParseFileSize(""), 0u);
    // Past 4 GiB the counts stay whole and ordered.
    EXPECT_EQ(ParseFileSize(FormatFileSize(5ull << 30).c_str()), 5ull << 30);
    EXPECT_GT(ParseFileSize(FormatFileSize(5ull << 30).c_str()), ParseFileSize(FormatFileSize(4ull << 30).c_str()));
    EXPECT_EQ(ParseFileSize("-3 K"), 0u);
}

TEST(FileText, DatesAreLocalYearMonthDay)
{
    // Noon UTC stays on the same date in every zone within 11 hours of UTC.
    EXPECT_EQ(FormatFileDate(FromUnix(883656000)), "1998/01/01");
    EXPECT_EQ(FormatFileDate(FromUnix(2229768000LL)), "2040/08/28");
    EXPECT_EQ(FormatFileDate(FromUnix(253402300800LL + 86400 * 40)), "10000/02/10");
    EXPECT_EQ(FormatFileDate(FromUnix(-86400 * 400)), "00/00/00");
    EXPECT_EQ(FormatFileDate(FILETIME{0xFFFFFFFF, 0xFFFFFFFF}), "00/00/00");
}
