#include "reports/DuplicateSearch.h"

#include "framework/Path.h"
#include "reports/FolderAnalysis.h"

#include "support/ScriptedSink.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

// Bytes that differ from any other pattern's at every block.
std::string Pattern(char seed, size_t size)
{
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(seed + i * 7 + i / 4096);
    return bytes;
}

using Groups = std::vector<std::set<std::string>>;

// The groups' files by their paths below the folder, in the result's order.
Groups Names(const SpaceTree& tree, const DuplicateResult& result, const std::string& folder)
{
    Groups groups;
    for (const DuplicateGroup& group : result.groups) {
        groups.emplace_back();
        for (const DuplicateFile& file : group.files)
            groups.back().insert(tree.Path(file.node).substr(folder.size()));
    }
    return groups;
}

class DuplicateSearchTest : public testing::Test {
protected:
    DuplicateResult Find(ProgressSink&& sink = ScriptedSink(), DuplicateOptions options = {})
    {
        m_analysis.Start(m_temp.Path(), m_walk);
        return FindDuplicates(m_analysis.Tree(), sink, options);
    }
    Groups Names(const DuplicateResult& result) { return ::Names(m_analysis.Tree(), result, m_temp.Path()); }

    TempFolder m_temp;
    FolderAnalysis m_analysis;
    ScriptedSink m_walk;
};

}  // namespace

TEST_F(DuplicateSearchTest, GroupsAreExactlyTheFilesOfEqualContent)
{
    const size_t size = 3 * kDuplicateEndBlock + 100;
    std::string copy = Pattern('a', size);
    for (const char* name : {"a\\copy.bin", "b\\copy.bin", "c\\other name.dat"})
        m_temp.WriteFile(name, copy);
    // Equal in size and head, or in head and tail too, yet not in content.
    std::string tail = copy, middle = copy;
    tail[size - 1] ^= 1;
    middle[size / 2] ^= 1;
    m_temp.WriteFile("tail.bin", tail);
    m_temp.WriteFile("middle.bin", middle);
    m_temp.WriteFile("small\\one.txt", "hello");
    m_temp.WriteFile("small\\two.txt", "hello");
    m_temp.WriteFile("small\\cloud.txt", "hello");
    m_temp.WriteFile("small\\other.txt", "world");
    m_temp.WriteFile("unique.txt", "a size of its own");
    m_temp.MakeFile("empty1.txt");
    m_temp.MakeFile("empty2.txt");
    // A second name of a copy is that copy, not one more.
    ASSERT_TRUE(::CreateHardLinkW(framework::WidePath(m_temp.Path() + "b\\again.bin").c_str(),
                                  framework::WidePath(m_temp.Path() + "b\\copy.bin").c_str(), nullptr));

    std::vector<std::string> opened;
    DuplicateOptions options{[&](const std::string& path) {
        opened.push_back(path);
        DWORD attributes = framework::GetPathAttributes(path);
        return path.ends_with("cloud.txt") ? attributes | FILE_ATTRIBUTE_OFFLINE : attributes;
    }};
    DuplicateResult result = Find(ScriptedSink(), options);

    ASSERT_EQ(result.groups.size(), 2u);
    std::set<std::string> copies = Names(result)[0];
    EXPECT_TRUE(copies == (std::set<std::string>{"a\\copy.bin", "b\\copy.bin", "c\\other name.dat"}) ||
                copies == (std::set<std::string>{"a\\copy.bin", "b\\again.bin", "c\\other name.dat"}));
    EXPECT_EQ(Names(result)[1], (std::set<std::string>{"small\\one.txt", "small\\two.txt"}));
    EXPECT_EQ(result.groups[0].Waste(), 2 * size);
    EXPECT_TRUE(result.completed);
    EXPECT_EQ(result.online, 1);
    EXPECT_EQ(result.changed + result.unreadable, 0);
    // Empty files and files of a size of their own are never looked at.
    for (const std::string& path : opened)
        EXPECT_TRUE(path.find("empty") == std::string::npos && !path.ends_with("unique.txt")) << path;
    // Everything's ends; whole only where the ends agree (the middle file too); small files at once.
    EXPECT_EQ(result.sharedSizeBytes, 5 * size + 4 * 5);
    EXPECT_EQ(result.bytesRead, 5 * 2 * kDuplicateEndBlock + 4 * size + 3 * 5);
}

TEST_F(DuplicateSearchTest, StopKeepsTheConfirmedGroupsAndNothingElse)
{
    // The larger files are compared first: two steps to sample them, one per piece read whole.
    m_temp.WriteFile("big1.bin", Pattern('b', 3 * kDuplicateEndBlock));
    m_temp.WriteFile("big2.bin", Pattern('b', 3 * kDuplicateEndBlock));
    m_temp.WriteFile("small1.txt", "same");
    m_temp.WriteFile("small2.txt", "same");

    DuplicateResult all = Find(ScriptedSink());
    EXPECT_EQ(all.groups.size(), 2u);
    DuplicateResult inSecond = Find(ScriptedSink(6));
    EXPECT_FALSE(inSecond.completed);
    EXPECT_EQ(Names(inSecond), (Groups{{"big1.bin", "big2.bin"}}));
    DuplicateResult inFirst = Find(ScriptedSink(4));
    EXPECT_TRUE(inFirst.groups.empty());
}

TEST_F(DuplicateSearchTest, AFileChangedOrGoneSinceTheAnalysisIsLeftOutAndCounted)
{
    for (const char* name : {"one.txt", "two.txt", "three.txt", "four.txt"})
        m_temp.WriteFile(name, "same");
    m_analysis.Start(m_temp.Path(), m_walk);
    m_temp.WriteFile("three.txt", "same, and more");
    ::DeleteFileA((m_temp.Path() + "four.txt").c_str());

    ScriptedSink sink;
    DuplicateResult result = FindDuplicates(m_analysis.Tree(), sink);
    EXPECT_EQ(Names(result), (Groups{{"one.txt", "two.txt"}}));
    EXPECT_EQ(result.changed, 2);
}
