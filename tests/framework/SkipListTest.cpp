#include "framework/SkipList.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

using framework::MatchesWildcard;
using framework::SkipList;

TEST(SkipList, WildcardsMatchWholeNamesWithoutCase)
{
    EXPECT_TRUE(MatchesWildcard("*.git", "Repo.GIT"));
    EXPECT_TRUE(MatchesWildcard("temp*", "Temporary"));
    EXPECT_TRUE(MatchesWildcard("a?c*d", "abcxxd"));
    EXPECT_TRUE(MatchesWildcard("*a*b", "aaab"));
    EXPECT_FALSE(MatchesWildcard("*.git", "git"));
    EXPECT_FALSE(MatchesWildcard("a?c", "ac"));
    EXPECT_FALSE(MatchesWildcard("*ab", "aba"));
}

TEST(SkipList, NamesWildcardsAndFullPathsEachMatchTheirWay)
{
    TempFolder temp;
    std::string folder = temp.MakeFolder("Big");
    folder.pop_back();
    SkipList list = SkipList::Parse(" Node_Modules ;; *.git;" + folder + "\\\\");
    ASSERT_EQ(list.Error(), "");
    EXPECT_EQ(list.Note(), "");
    EXPECT_FALSE(list.Empty());
    EXPECT_TRUE(list.Skips("C:\\\\a\\\\b\\\\node_modules", "node_modules"));
    EXPECT_TRUE(list.Skips("C:\\\\x.GIT", "x.GIT"));
    EXPECT_TRUE(list.Skips(temp.Path() + "BIG", "BIG"));
    EXPECT_FALSE(list.Skips(temp.Path() + "other\\\\Big", "Big"));
    EXPECT_FALSE(list.Skips("C:\\\\node_modules2", "node_modules2"));
    EXPECT_TRUE(SkipList::Parse(" ; ").Empty());
}

TEST(SkipList, BadElementsAreRefusedWithTheirReason)
{
    for (const char* bad : {"C:\\\\Windows\\\\*.log", "src/*", "a\\\\b", "x|y", "C:relative"}) {
        SkipList list = SkipList::Parse(std::string("ok;") + bad);
        EXPECT_NE(list.Error(), "") << bad;
        EXPECT_TRUE(list.Empty()) << bad;
    }
    EXPECT_NE(SkipList::Parse("C:\\\\Windows\\\\*.log").Error().find("both a path and a wildcard"), std::string::npos);
    SkipList missing = SkipList::Parse("C:\\\\no such folder");
    EXPECT_EQ(missing.Error(), "");
    EXPECT_EQ(missing.Note(), "C:\\\\no such folder is not a folder: it matches nothing.");
}
