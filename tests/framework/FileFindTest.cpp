#include "framework/FileFind.h"
#include "framework/Path.h"
#include "framework/Win32.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <map>

using framework::FileFind;

TEST(FileFind, ListsEveryEntryWithItsDetails)
{
    TempFolder temp;
    temp.MakeFile("report.txt", 1234);
    temp.MakeFile("archive.tar.gz", 0);
    // Sizes past 4 GiB keep their high part (a sparse file: nothing is written).
    temp.MakeFile("huge.bin", 5ull << 30);
    temp.MakeFolder("sub");

    std::map<std::string, std::uint64_t> lengths;
    std::map<std::string, std::string> titles, paths;
    int dots = 0, folders = 0;
    FileFind find;
    for (bool more = find.FindFile(temp.Path() + "*.*"); more; more = find.FindNextFile()) {
        if (find.IsDots()) {
            ++dots;
            continue;
        }
        if (find.IsDirectory())
            ++folders;
        lengths[find.GetFileName()] = find.GetLength();
        titles[find.GetFileName()] = find.GetFileTitle();
        paths[find.GetFileName()] = find.GetFilePath();
        EXPECT_EQ(find.GetRoot(), temp.Path());
        EXPECT_FALSE(find.IsReparsePoint());
    }
    EXPECT_EQ(dots, 2);
    EXPECT_EQ(folders, 1);
    ASSERT_EQ(lengths.size(), 4u);
    EXPECT_EQ(lengths["report.txt"], 1234u);
    EXPECT_EQ(lengths["huge.bin"], 5ull << 30);
    EXPECT_EQ(titles["archive.tar.gz"], "archive.tar");
    EXPECT_EQ(titles["sub"], "sub");
    EXPECT_EQ(paths["report.txt"], temp.Path() + "report.txt");
}

TEST(FileFind, PatternsFilterAndMissingFoldersFindNothing)
{
    TempFolder temp;
    temp.MakeFile("a.log");
    temp.MakeFile("b.txt");

    FileFind find;
    ASSERT_TRUE(find.FindFile(temp.Path() + "*.log"));
    EXPECT_STREQ(find.GetFileName(), "a.log");
    EXPECT_FALSE(find.FindNextFile());
    // Once at the end it stays there.
    EXPECT_FALSE(find.FindNextFile());

    EXPECT_FALSE(find.FindFile(temp.Path() + "missing\\*.*"));
    EXPECT_FALSE(find.FindNextFile());
    EXPECT_TRUE(find.Unreadable());
    temp.MakeFolder("empty");
    EXPECT_FALSE(find.FindFile(temp.Path() + "empty\\*") && find.FindNextFile() && find.FindNextFile());
    EXPECT_FALSE(find.Unreadable());
}

// A whole folder's listing tells what each file takes and which names are one file.
TEST(FileFind, AWholeFolderTellsAllocationAndFileIds)
{
    TempFolder temp;
    std::string data = temp.MakeFile("data.bin", 10000, true);
    ASSERT_TRUE(::CreateHardLinkW(framework::WidePath(temp.Path() + "again.bin").c_str(),
                                  framework::WidePath(data).c_str(), nullptr));
    temp.MakeFile("other.bin", 10, true);
    std::map<std::string, std::uint64_t> ids, onDisk;
    FileFind find;
    for (bool more = find.FindFile(temp.Path() + "*"); more; more = find.FindNextFile()) {
        ids[find.GetFileName()] = find.GetFileId();
        onDisk[find.GetFileName()] = find.GetSizeOnDisk();
    }
    EXPECT_NE(ids["data.bin"], 0u);
    EXPECT_EQ(ids["data.bin"], ids["again.bin"]);
    EXPECT_NE(ids["data.bin"], ids["other.bin"]);
    EXPECT_GE(onDisk["data.bin"], 10000u);
    EXPECT_GT(onDisk["other.bin"], 0u);
    // A listing by pattern knows neither.
    ASSERT_TRUE(find.FindFile(temp.Path() + "data.*"));
    EXPECT_EQ(find.GetFileId(), 0u);
    EXPECT_EQ(find.GetSizeOnDisk(), 10000u);
}

TEST(FileSizes, TotalsStopAtTheLargestInsteadOfWrapping)
{
    std::uint64_t total = 0;
    for (std::uint64_t size : {1ull << 63, (1ull << 63) - 2, 1ull, 1ull, 1ull << 40})
        total = framework::AddSizes(total, size);
    EXPECT_EQ(total, UINT64_MAX);
    EXPECT_EQ(framework::AddSizes(UINT64_MAX - 5, 5), UINT64_MAX);
    EXPECT_EQ(framework::AddSizes(5ull << 30, 1124), (5ull << 30) + 1124);
}
