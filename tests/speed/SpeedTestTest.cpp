#include "speed/SpeedTest.h"

#include "support/HostLink.h"
#include "support/ScriptedSink.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

bool Exists(const std::string& path)
{
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string Contents(const std::string& path)
{
    std::string bytes(64, '\0');
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD read = 0;
    ::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    ::CloseHandle(file);
    bytes.resize(read);
    return bytes;
}

std::vector<std::string> Names(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE find = ::FindFirstFileA((folder + "*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (found.cFileName[0] != '.')
            names.emplace_back(found.cFileName);
    } while (::FindNextFileA(find, &found));
    ::FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

DriveRun RunQuickly(const std::string& root, std::map<int, std::string>& cells)
{
    ScriptedSink progress;
    return RunDriveTests(
        root, progress, [&](int row, const std::string& text) { cells[row] = text; }, 20);
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
    std::map<int, std::string> cells;
    ScriptedSink progress;
    EXPECT_EQ(RunDriveTests(
                  temp.Path(), progress, [&](int row, const std::string& text) { cells[row] = text; }, 20),
              DriveRun::Tested);
    EXPECT_EQ(cells.size(), 6u);
    for (const auto& [row, text] : cells)
        EXPECT_NE(text.find(" KB/sec"), std::string::npos) << row;
    EXPECT_EQ(Names(temp.Path()), std::vector<std::string>{});
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

// What stands at a scratch name is another's: a link is not followed, a
// read-only file not cleared; the run takes a free name.
TEST(SpeedTest, ALinkOrAFileAtTheScratchNameIsLeftUntouched)
{
    TempFolder temp;
    const std::string target = temp.MakeFile("precious.txt");
    {
        std::ofstream(target, std::ios::binary) << "keep me";
    }
    HostLink link(target, temp.Path() + ScratchFileName(0));
    ASSERT_TRUE(link.Made());
    const std::string readOnly = temp.MakeFile(ScratchFileName(1));
    {
        std::ofstream(readOnly, std::ios::binary) << "mine";
    }
    EXPECT_TRUE(::SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));

    std::map<int, std::string> cells;
    EXPECT_EQ(RunQuickly(temp.Path(), cells), DriveRun::Tested);
    EXPECT_NE(cells[5].find(" KB/sec"), std::string::npos);
    EXPECT_EQ(Contents(target), "keep me");
    EXPECT_EQ(Contents(temp.Path() + ScratchFileName(0)), "keep me");
    EXPECT_EQ(Contents(readOnly), "mine");
    EXPECT_EQ(::GetFileAttributesA(readOnly.c_str()) & FILE_ATTRIBUTE_READONLY, DWORD(FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(Names(temp.Path()), (std::vector<std::string>{"precious.txt", ScratchFileName(0), ScratchFileName(1)}));
}

// Folders at every scratch name stand for a root the user may not write.
TEST(SpeedTest, ARootThatRefusesTheScratchFileIsTestedInAFolderOfItsOwn)
{
    for (int attempt = 0; attempt < kScratchNameCount; ++attempt)
        ASSERT_TRUE(::CreateDirectoryA(("E:\\" + ScratchFileName(attempt)).c_str(), nullptr));
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

    // A folder it did not make takes the file but stays.
    ASSERT_TRUE(::CreateDirectoryA("E:\\~vrmttest", nullptr));
    cells.clear();
    EXPECT_EQ(RunQuickly("E:\\", cells), DriveRun::Tested);
    EXPECT_EQ(Names("E:\\~vrmttest\\"), std::vector<std::string>{});
    ::RemoveDirectoryA("E:\\~vrmttest");
    for (int attempt = 0; attempt < kScratchNameCount; ++attempt)
        ::RemoveDirectoryA(("E:\\" + ScratchFileName(attempt)).c_str());
}
