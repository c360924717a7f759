#include "search/FileSearch.h"

#include "framework/Handle.h"
#include "framework/Path.h"

#include "support/Override.h"
#include "support/ScriptedSink.h"
#include "support/SmallStack.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

SearchCriteria Words(const char* keywords)
{
    SearchCriteria criteria;
    criteria.keywords = keywords;
    return criteria;
}

SearchCriteria Size(const char* size, int choice)
{
    SearchCriteria criteria;
    criteria.sizeText = size;
    criteria.sizeChoice = choice;
    return criteria;
}

class FileSearchTest : public ::testing::Test {
protected:
    std::string Write(const std::string& name, const std::string& contents)
    {
        std::string path = m_temp.MakeFile(name);
        framework::KernelHandle file(::CreateFileW(framework::WidePath(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                                   CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        ::WriteFile(file.get(), contents.data(), static_cast<DWORD>(contents.size()), &written, nullptr);
        return path;
    }
    // The matches as folder-relative names, in the order they were found.
    std::vector<std::string> Find(SearchCriteria criteria, ProgressSink&& progress = ScriptedSink())
    {
        if (criteria.folder.empty())
            criteria.folder = m_temp.Path();
        if (criteria.fileName.empty())
            criteria.fileName = "*.*";
        std::vector<std::string> found;
        std::string root = m_temp.Path().substr(0, m_temp.Path().size() - 1);
        FileSearch(TakeCriteria(criteria))
            .Run(progress, [&](const std::string& folder, const framework::FileFind& file) {
                found.push_back(folder.substr(root.size()) + "\\" + file.GetFileName());
            });
        return found;
    }
    TempFolder m_temp;
};

using Found = std::vector<std::string>;

}  // namespace

TEST(SearchCriteriaText, KeywordsAndDatesReadAsTyped)
{
    EXPECT_EQ(SplitKeywords(" foo, bar,,baz "), (Found{"foo", "bar", "baz"}));
    EXPECT_EQ(SplitKeywords(" , ,"), Found{});
    EXPECT_EQ(ParseSearchDate("2024/02/29"), 20240229);
    EXPECT_EQ(ParseSearchDate("2023/02/29"), 0);
    EXPECT_EQ(ParseSearchDate("YYYY/MM/DD"), 0);
    EXPECT_EQ(ParseSearchDate("2024/1/5x"), 0);
    EXPECT_EQ(TakeCriteria(Size("2 MB", 0)).sizeThreshold, 2048);
}

TEST_F(FileSearchTest, NamesSizesAndFoldersInWalkOrder)
{
    m_temp.MakeFile("sub\\deep.txt", 10);
    m_temp.MakeFile("top.txt", 102400);
    m_temp.MakeFile("under.dat", 102399);
    m_temp.MakeFolder("folder.txt");
    EXPECT_EQ(Find({}), (Found{"\\top.txt", "\\under.dat", "\\sub\\deep.txt"}));

    SearchCriteria pattern;
    pattern.fileName = "*.txt";
    pattern.subFolders = 0;
    EXPECT_EQ(Find(pattern), Found{"\\top.txt"});

    EXPECT_EQ(Find(Size("100 KB", 0)), Found{"\\top.txt"});
    EXPECT_EQ(Find(Size("100 KB", 1)), (Found{"\\under.dat", "\\sub\\deep.txt"}));
    // A negative size is no limit.
    EXPECT_EQ(Find(Size("-5 KB", 0)).size(), 3u);
}

TEST_F(FileSearchTest, TrueNamesAtAnyDepthAndPatternsWithAFolder)
{
    std::string deep;
    for (int i = 0; i < 8; ++i)
        deep += std::string(40, static_cast<char>('a' + i)) + "\\";
    Write(deep + "deep.txt", "needle");
    Write("日本.txt", "kanji needle");
    Write("Főtanúsítvány.crt", "needle");
    m_temp.MakeFile("ef.txt\\inner.txt");
    EXPECT_EQ(Find(Words("kanji")), Found{"\\日本.txt"});
    Found needles = Find(Words("needle"));
    std::sort(needles.begin(), needles.end());
    EXPECT_EQ(needles, (Found{"\\Főtanúsítvány.crt", "\\" + deep + "deep.txt", "\\日本.txt"}));

    // A pattern's folder part is where its matches are, for the row and the word test.
    Write("sub\\note.txt", "inside");
    Write("note.txt", "outside");
    SearchCriteria pattern = Words("inside");
    pattern.fileName = "sub/*.txt";
    EXPECT_EQ(Find(pattern), Found{"\\sub\\note.txt"});
    pattern.fileName = "sub\\*.txt";
    pattern.keywords.clear();
    pattern.subFolders = 0;
    EXPECT_EQ(Find(pattern), Found{"\\sub\\note.txt"});
}

TEST_F(FileSearchTest, ATreeDeeperThanTheStackIsSearchedWhole)
{
    std::string deep;
    for (int level = 0; level < kDeeperThanTheStack; ++level)
        deep += "d\\";
    m_temp.MakeFile(deep + "deepest.txt");
    m_temp.MakeFile("after.txt");
    SearchCriteria criteria;
    criteria.fileName = "*.txt";
    Found found;
    OnSmallStack([&] { found = Find(criteria); });
    EXPECT_EQ(found, (Found{"\\after.txt", "\\" + deep + "deepest.txt"}));
}

TEST_F(FileSearchTest, EveryWordMustOccurWithItsCase)
{
    Write("both.txt", "alpha and beta");
    Write("one.txt", "alpha only");
    Write("mail.txt", "send e-mail now");
    Write("empty.txt", "");
    EXPECT_EQ(Find(Words("alpha beta")), Found{"\\both.txt"});
    EXPECT_EQ(Find(Words("Alpha")), Found{});
    EXPECT_EQ(Find(Words("e-mail")), Found{});
    EXPECT_EQ(Find(Words("mail")), Found{"\\mail.txt"});
    EXPECT_EQ(Find(Words(" ,, ")).size(), 4u);  // the empty file too
}

TEST_F(FileSearchTest, AWordAcrossTwoBlocksIsFound)
{
    Write("straddle.txt", std::string(4093, 'x') + " needle " + std::string(100, 'y'));
    EXPECT_EQ(Find(Words("needle")), Found{"\\straddle.txt"});
}

TEST_F(FileSearchTest, UnreadableFilesAreNotListedWhenWordsAreGiven)
{
    std::string locked = Write("locked.txt", "secret word");
    framework::KernelHandle hold(::CreateFileA(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(hold);
    EXPECT_EQ(Find(Words("word")), Found{});
    EXPECT_EQ(Find({}), Found{"\\locked.txt"});
    EXPECT_EQ(Find(Words(" , ")), Found{"\\locked.txt"});
}

// Reading a file kept online would fetch it: it is left out of a word search, and counted.
TEST_F(FileSearchTest, FilesKeptOnlineAreNotReadForWords)
{
    Write("here.txt", "needle");
    Write("online.txt", "needle");
    ScopedOverride<decltype(framework::ListingSeams::listedAttributes)> online(
        framework::GetListingSeams().listedAttributes, [](const std::string& path, DWORD attributes) {
            return path.ends_with("\\online.txt") ? attributes | FILE_ATTRIBUTE_OFFLINE : attributes;
        });
    std::vector<std::string> found;
    SearchCriteria criteria = Words("needle");
    criteria.folder = m_temp.Path();
    criteria.fileName = "*.*";
    FileSearch words(TakeCriteria(criteria));
    ScriptedSink sink;
    words.Run(sink, [&](const std::string&, const framework::FileFind& file) { found.push_back(file.GetFileName()); });
    EXPECT_EQ(found, Found{"here.txt"});
    EXPECT_EQ(words.OnlineSkipped(), 1u);
    EXPECT_EQ(Find({}).size(), 2u);
}

TEST_F(FileSearchTest, SkippedFoldersAreNotSearched)
{
    Write("a\\node_modules\\x.txt", "");
    Write("a\\keep\\y.txt", "");
    Write("b.git\\z.txt", "");
    SearchCriteria criteria;
    criteria.folder = m_temp.Path();
    criteria.fileName = "*.txt";
    criteria.skip = "node_modules;*.GIT";
    FileSearch search(TakeCriteria(criteria));
    std::vector<std::string> found;
    ScriptedSink sink;
    search.Run(sink, [&](const std::string&, const framework::FileFind& file) { found.push_back(file.GetFileName()); });
    EXPECT_EQ(found, Found{"y.txt"});
    EXPECT_EQ(search.SkippedFolders(), 2u);
}

TEST_F(FileSearchTest, DatesBeforeAndAfterTheTypedDay)
{
    std::string path = Write("dated.txt", "x");
    SYSTEMTIME noon{2020, 6, 0, 15, 12, 0, 0, 0};
    FILETIME time{};
    ::SystemTimeToFileTime(&noon, &time);
    {
        framework::KernelHandle file(
            ::CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ::SetFileTime(file.get(), nullptr, nullptr, &time);
    }
    auto dated = [](const char* date, int choice) {
        SearchCriteria criteria;
        criteria.dateText = date;
        criteria.dateChoice = choice;
        return criteria;
    };
    EXPECT_EQ(Find(dated("2020/06/14", 0)), Found{"\\dated.txt"});
    EXPECT_EQ(Find(dated("2020/06/15", 0)), Found{});
    EXPECT_EQ(Find(dated("2020/06/16", 1)), Found{"\\dated.txt"});
    EXPECT_EQ(Find(dated("2020/06/15", 1)), Found{});
    EXPECT_EQ(Find(dated("2020/13/45", 1)), Found{"\\dated.txt"});
}

TEST_F(FileSearchTest, StopDuringAWordSearchLeavesTheFileOutAndEnds)
{
    Write("a.txt", std::string(10000, 'w'));
    Write("b.txt", std::string(10000, 'w'));
    // "Searching", then the first block of the first file: stop there.
    ScriptedSink stop(2);
    EXPECT_EQ(Find(Words("nothere"), std::move(stop)), Found{});
    ASSERT_EQ(stop.texts.size(), 2u);
    EXPECT_EQ(stop.texts[1].rfind("Looking for keywords in ", 0), 0u);
}
