#include "cleanup/DllInventory.h"

#include "support/HostPath.h"
#include "support/ScriptedSink.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// The test libraries, which carry only version information, and a file that is no library.
std::string MakeLibraries(const TempFolder& temp)
{
    for (const char* tables : {"latin1", "both", "german"})
        ::CopyFileA(HostPath(std::string(CORVANE_TEST_BINARY_DIR) + "/" + tables + ".dll").c_str(),
                    (temp.Path() + tables + ".dll").c_str(), FALSE);
    temp.MakeFile("readme.txt", 10);
    return temp.Path().substr(0, temp.Path().size() - 1);
}

}  // namespace

TEST(DllInventory, EveryLibraryWithItsSizeAndMaker)
{
    TempFolder temp;
    std::string folder = MakeLibraries(temp);
    ScriptedSink never;
    std::vector<LibraryEntry> libraries = ListLibraries(folder, never);
    std::sort(libraries.begin(), libraries.end(), [](auto& a, auto& b) { return a.name < b.name; });

    ASSERT_EQ(libraries.size(), 3u);
    EXPECT_EQ(libraries[0].name, "both.dll");
    EXPECT_EQ(libraries[0].description, "Latin description");
    EXPECT_EQ(libraries[0].company, "Latin Company");
    EXPECT_GT(libraries[0].size, 0u);
    // A language the program does not read gives empty texts.
    EXPECT_EQ(libraries[1].name, "german.dll");
    EXPECT_EQ(libraries[1].description, "");
    EXPECT_EQ(libraries[1].company, "");
    ASSERT_EQ(never.texts.size(), 3u);
    EXPECT_EQ(never.texts.back().rfind("3 files found\nChecking " + folder + "\\", 0), 0u) << never.texts.back();
}

TEST(DllInventory, StopKeepsTheLibrariesMetBeforeIt)
{
    TempFolder temp;
    std::string folder = MakeLibraries(temp);
    ScriptedSink second(2);
    EXPECT_EQ(ListLibraries(folder, second).size(), 2u);
}
