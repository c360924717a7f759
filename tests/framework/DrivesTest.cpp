#include "framework/Drives.h"

#include <gtest/gtest.h>

using framework::ClassicSpaceFigures;
using framework::DriveLabel;
using framework::ExtendedSpaceFigures;
using framework::GetDriveSpace;
using framework::GetVolumeDetails;
using framework::RootFromDriveLabel;
using framework::SpaceFigures;
using framework::UsesExtendedFreeSpace;
using framework::VolumeDetails;

TEST(Drives, FixedDrivesAreTheFixedOnesInOrder)
{
    // The test prefix: C: fixed, D: CD-ROM, E: fixed.
    EXPECT_EQ(framework::GetFixedDriveRoots(), (std::vector<std::string>{"C:\\", "E:\\"}));
    EXPECT_EQ(DriveLabel("C:\\"), "C:\\ drive");
    EXPECT_EQ(RootFromDriveLabel(DriveLabel("E:\\")), "E:\\");
    EXPECT_EQ(RootFromDriveLabel("drive"), "");
}

TEST(Drives, PathChoiceFollowsPlatformAndBuild)
{
    EXPECT_FALSE(UsesExtendedFreeSpace(VER_PLATFORM_WIN32_WINDOWS, 950));
    EXPECT_FALSE(UsesExtendedFreeSpace(VER_PLATFORM_WIN32_WINDOWS, 1000));
    EXPECT_TRUE(UsesExtendedFreeSpace(VER_PLATFORM_WIN32_WINDOWS, 1111));
    // Only the low word is the build number.
    EXPECT_TRUE(UsesExtendedFreeSpace(VER_PLATFORM_WIN32_WINDOWS, 0x040A0457));
    EXPECT_FALSE(UsesExtendedFreeSpace(VER_PLATFORM_WIN32_WINDOWS, 0x040A03E8));
    EXPECT_TRUE(UsesExtendedFreeSpace(VER_PLATFORM_WIN32_NT, 0));
    EXPECT_TRUE(UsesExtendedFreeSpace(VER_PLATFORM_WIN32_NT, 1381));
    EXPECT_FALSE(UsesExtendedFreeSpace(VER_PLATFORM_WIN32s, 5000));
}

TEST(Drives, ExtendedPathReportsWholeTruncatedMegabytes)
{
    SpaceFigures figures = ExtendedSpaceFigures(2147483648ull, 536870912ull);
    EXPECT_EQ(figures.totalMegabytes, 2048.0);
    EXPECT_EQ(figures.freeMegabytes, 512.0);
    EXPECT_EQ(figures.percentFull, 75.0);

    EXPECT_EQ(ExtendedSpaceFigures(2147483648ull, 1572863ull).freeMegabytes, 1.0);
    // Past 2 TB the megabytes still fit.
    EXPECT_EQ(ExtendedSpaceFigures(5ull << 40, 1ull << 40).totalMegabytes, 5.0 * 1048576);
    // An empty (or unreadable) drive is 0% full, not a division by zero.
    EXPECT_EQ(ExtendedSpaceFigures(0, 0).percentFull, 0.0);
    EXPECT_EQ(ExtendedSpaceFigures(1048575, 0).percentFull, 0.0);
}

TEST(Drives, ClassicPathIsExactToTheCluster)
{
    SpaceFigures figures = ClassicSpaceFigures(8, 512, 25000, 100000);
    EXPECT_EQ(figures.percentFull, 75.0);
    EXPECT_EQ(figures.totalMegabytes, 390.625);
    EXPECT_EQ(figures.freeMegabytes, 97.65625);
    // No 32-bit product overflows: 64 KB clusters, 4 million of them.
    EXPECT_EQ(ClassicSpaceFigures(128, 512, 0, 4000000).totalMegabytes, 250000.0);
    EXPECT_EQ(ClassicSpaceFigures(0, 0, 0, 0).percentFull, 0.0);
}

TEST(Drives, QueryOfARealDriveAgreesWithTheSystem)
{
    double percent = -1, total = -1, free = -1;
    DWORD cluster = 0;
    GetDriveSpace("C:\\", &percent, &total, &free, &cluster);

    ULARGE_INTEGER available{}, totalBytes{}, freeBytes{};
    ASSERT_TRUE(::GetDiskFreeSpaceExA("C:\\", &available, &totalBytes, &freeBytes));
    DWORD sectors = 0, bytes = 0, freeClusters = 0, clusters = 0;
    ASSERT_TRUE(::GetDiskFreeSpaceA("C:\\", &sectors, &bytes, &freeClusters, &clusters));
    EXPECT_EQ(total, static_cast<double>(totalBytes.QuadPart >> 20));
    EXPECT_NEAR(free, static_cast<double>(freeBytes.QuadPart >> 20), 64.0);
    EXPECT_EQ(cluster, sectors * bytes);
    EXPECT_GT(percent, 0.0);
    EXPECT_LT(percent, 100.0);

    // Each output is optional.
    GetDriveSpace("C:\\", nullptr, nullptr, nullptr, &cluster);
    GetDriveSpace("C:\\", &percent, &total, &free, nullptr);
}

TEST(Drives, MissingDriveReportsZerosAndEmptyTexts)
{
    double percent = -1, total = -1, free = -1;
    DWORD cluster = 99;
    GetDriveSpace("Q:\\", &percent, &total, &free, &cluster);
    EXPECT_EQ(percent, 0.0);
    EXPECT_EQ(total, 0.0);
    EXPECT_EQ(free, 0.0);
    EXPECT_EQ(cluster, 0u);

    VolumeDetails missing = GetVolumeDetails("Q:\\");
    EXPECT_EQ(missing.label, "");
    EXPECT_EQ(missing.serialNumber, 0u);
    EXPECT_EQ(missing.fileSystemName, "");
}

TEST(Drives, VolumeDetailsOfTheLabelledDrive)
{
    VolumeDetails details = GetVolumeDetails("E:\\");
    EXPECT_EQ(details.label, "TESTDATA");
    EXPECT_EQ(details.serialNumber, 4027388468u);
    EXPECT_FALSE(details.fileSystemName.empty());
}
