#include "speed/SpeedTest.h"

#include "support/ScriptedSink.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

bool Exists(const std::string& path)
{
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

TEST(SpeedTest, TheGeneratorIsTheRuntimeLibrarysFromOne)
{
    RuntimeRandom generator;
    EXPECT_EQ(generator.Next(), 41);
    EXPECT_EQ(generator.Next(), 18467);
    EXPECT_EQ(generator.Next(), 6334);
}

TEST(SpeedTest, SpeedsAreKilobytesPerSecond)
{
    EXPECT_EQ(FormatSpeed(10000, 512, 5000), "1000.00 KB/sec");
    EXPECT_EQ(FormatSpeed(7, 512, 5015), "0.70 KB/sec");
    EXPECT_EQ(FormatSpeed(10000, 4096, 5000), "8000.00 KB/sec");
    EXPECT_EQ(FormatSpeed(3, 512, 0), "1500.00 KB/sec");
}

TEST(SpeedTest, AFullRunFillsEveryCellAndLeavesNoScratchFile)
{
    TempFolder temp;
    std::string scratch = temp.MakeFile("~vrmttest.tmp", 10);
    std::map<int, std::string> cells;
    ScriptedSink progress;
    EXPECT_EQ(RunDriveTests(
                  temp.Path(), progress, [&](int row, const std::string& text) { cells[row] = text; }, 20),
              DriveRun::Tested);
    EXPECT_EQ(cells.size(), 6u);
    for (const auto& [row, text] : cells)
        EXPECT_NE(text.find(" KB/sec"), std::string::npos) << row;
    EXPECT_FALSE(Exists(scratch));
    ASSERT_EQ(progress.texts.size(), 7u);
    EXPECT_EQ(progress.phases, 7);  // each shown at once
    EXPECT_EQ(progress.texts[0], temp.Path() + " - Creating Test File...");
    EXPECT_EQ(progress.texts[2], temp.Path() + " - Testing Sequential Reads...");
}

TEST(SpeedTest, StopAndFailuresLeaveNoScratchFileBehind)
{
    TempFolder temp;
    std::map<int, std::string> cells;
    ScriptedSink third(4);  // creating, reads 1, reads 2, then stop before the third test
    EXPECT_EQ(RunDriveTests(
                  temp.Path(), third, [&](int row, const std::string& text) { cells[row] = text; }, 20),
              DriveRun::Stopped);
    EXPECT_EQ(cells.size(), 2u);
    EXPECT_FALSE(Exists(temp.Path() + "~vrmttest.tmp"));
}

// A folder of the scratch file's name stands for a root the user may not write.
TEST(SpeedTest, ARootThatRefusesTheScratchFileIsTestedInAFolderOfItsOwn)
{
    ASSERT_TRUE(::CreateDirectoryA("E:\\~vrmttest.tmp", nullptr));
    std::map<int, std::string> cells;
    ScriptedSink progress;
    EXPECT_EQ(RunDriveTests(
                  "E:\\", progress, [&](int row, const std::string& text) { cells[row] = text; }, 20),
              DriveRun::Tested);
    EXPECT_EQ(cells.size(), 6u);
    EXPECT_NE(cells[5].find(" KB/sec"), std::string::npos);
    EXPECT_FALSE(Exists("E:\\~vrmttest"));

    // Nowhere to write: the folder's name is taken by a file.
    ::CloseHandle(::CreateFileA("E:\\~vrmttest", GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    cells.clear();
    EXPECT_EQ(RunDriveTests(
                  "E:\\", progress, [&](int row, const std::string& text) { cells[row] = text; }, 20),
              DriveRun::NotWritable);
    EXPECT_EQ(cells, (std::map<int, std::string>{{0, kNoWriteAccess}}));
    ::DeleteFileA("E:\\~vrmttest");
    ::RemoveDirectoryA("E:\\~vrmttest.tmp");
}
