#include "reports/KeptAnalysis.h"

#include "framework/FileFind.h"
#include "framework/Path.h"
#include "framework/Win32.h"

#include "support/ScriptedSink.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr std::uint64_t kThreeMegabytes = 3 * 1024 * 1024;

FolderAnalysis Analyse(const std::string& target, ProgressSink&& sink = ScriptedSink())
{
    FolderAnalysis analysis;
    analysis.Start(target, sink);
    return analysis;
}

std::string Contents(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

void Overwrite(const std::string& path, const std::string& data)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << data;
}

int KeptFiles(const std::string& folder)
{
    int count = 0;
    framework::FileFind find;
    for (bool more = find.FindFile(folder + "*.*"); more; more = find.FindNextFile())
        count += find.IsDots() ? 0 : 1;
    return count;
}

class KeptAnalysisTest : public ::testing::Test {
protected:
    TempFolder m_tree;
    TempFolder m_kept;
    AnalysisKeeper m_keeper{m_kept.Path() + "Corvane"};
};

}  // namespace

TEST_F(KeptAnalysisTest, GrownFolderAndItsParentsRankByGrowthShrunkOnesLeftOut)
{
    m_tree.MakeFile("a\\b\\c\\old.bin", 5000);
    m_tree.MakeFile("x\\gone.bin", 7000);
    m_tree.MakeFile("x\\stays.bin", 10);
    FolderAnalysis first = Analyse(m_tree.Path());
    ASSERT_TRUE(first.Completed());
    ASSERT_TRUE(m_keeper.Keep(first.Target(), 1234, first.Folders()));

    m_tree.MakeFile("a\\b\\c\\new.bin", kThreeMegabytes);
    m_tree.MakeFile("new\\n.bin", 20);
    ::DeleteFileA((m_tree.Path() + "x\\gone.bin").c_str());
    FolderAnalysis second = Analyse(m_tree.Path());
    std::optional<KeptAnalysis> kept = m_keeper.Load(second.Target());
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->time, 1234u);
    std::vector<ReportEntry> grown = GrownFolders(*kept, second.Folders());

    std::string root = second.Target() + '\\';
    std::vector<std::string> paths;
    for (const ReportEntry& entry : grown)
        paths.push_back(entry.path);
    EXPECT_EQ(paths, (std::vector<std::string>{root + "a", root + "a\\b", root + "a\\b\\c", root + "new"}));
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(grown[i].dateText, "+3.00 M");
        EXPECT_EQ(grown[i].size, 5000 + kThreeMegabytes);
    }
    EXPECT_EQ(grown[3].dateText, "+20 bytes");
    // The kept totals are the byte counts the first walk found.
    std::map<std::string, std::uint64_t> keptBytes;
    for (const FolderTotal& folder : kept->folders)
        keptBytes[folder.path] = folder.bytes;
    EXPECT_EQ(keptBytes, (std::map<std::string, std::uint64_t>{
                             {root + "a", 5000}, {root + "a\\b", 5000}, {root + "a\\b\\c", 5000}, {root + "x", 7010}}));
    ASSERT_EQ(kept->folders.size(), first.Folders().size());
    for (size_t i = 0; i < kept->folders.size(); ++i)
        EXPECT_EQ(kept->folders[i].onDisk, first.Folders()[i].onDisk);
}

TEST_F(KeptAnalysisTest, AFileOfTheFirstVersionLoadsWithoutBytesOnDisk)
{
    auto number = [](auto value) { return std::string(reinterpret_cast<const char*>(&value), sizeof value); };
    const std::string target = "C:\\data";
    m_kept.MakeFolder("Corvane");
    Overwrite(m_keeper.FileFor(target), "CVKA" + number(std::uint32_t{1}) + number(std::uint64_t{77}) +
                                            number(std::uint32_t{7}) + target + number(std::uint32_t{1}) +
                                            number(std::uint32_t{3}) + "sub" + number(std::uint64_t{500}) +
                                            number(std::uint32_t{2}));
    std::optional<KeptAnalysis> kept = m_keeper.Load(target);
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->time, 77u);
    ASSERT_EQ(kept->folders.size(), 1u);
    EXPECT_EQ(kept->folders[0].path, target + "\\sub");
    EXPECT_EQ(kept->folders[0].bytes, 500u);
    EXPECT_EQ(kept->folders[0].files, 2);
    EXPECT_EQ(kept->folders[0].onDisk, framework::kUnknownBytes);
}

TEST_F(KeptAnalysisTest, AStoppedWalkIsNotCompleteAndNoUntrustworthyFileLoads)
{
    m_tree.MakeFile("a\\f.bin", 10);
    m_tree.MakeFile("b\\g.bin", 10);
    EXPECT_FALSE(Analyse(m_tree.Path(), ScriptedSink(2)).Completed());

    FolderAnalysis analysis = Analyse(m_tree.Path());
    const std::string& target = analysis.Target();
    ASSERT_TRUE(m_keeper.Keep(target, 1, analysis.Folders()));
    std::string path = m_keeper.FileFor(target);
    const std::string good = Contents(path);
    ASSERT_TRUE(m_keeper.Load(target));

    std::string otherVersion = good;
    otherVersion[4] = 3;
    std::string damagedCount = good;
    damagedCount[16 + 4 + target.size() + 4] = '\x7f';
    for (const std::string& bad : {good.substr(0, good.size() - 1), good + "x", std::string("CVKA"), std::string(),
                                   otherVersion, damagedCount}) {
        Overwrite(path, bad);
        EXPECT_FALSE(m_keeper.Load(target)) << bad.size();
    }
    // Another target's file under this target's name.
    ASSERT_TRUE(m_keeper.Keep(target + "\\a", 1, {}));
    Overwrite(path, Contents(m_keeper.FileFor(target + "\\a")));
    EXPECT_FALSE(m_keeper.Load(target));
}

TEST_F(KeptAnalysisTest, EachTargetKeepsItsOwnFileAndTheOldestGoBeyondThirtyTwo)
{
    std::string folder = m_kept.Path() + "Corvane\\";
    std::vector<FolderTotal> one{{"C:\\t0\\sub", 5, 1}};
    ASSERT_TRUE(m_keeper.Keep("C:\\t0", 100, one));
    ASSERT_TRUE(m_keeper.Keep("C:\\t1", 50, {}));
    ASSERT_TRUE(m_keeper.Keep("C:\\t0", 200, one));
    EXPECT_EQ(KeptFiles(folder), 2);
    EXPECT_EQ(m_keeper.Load("c:\\T0")->time, 200u);
    EXPECT_EQ(m_keeper.Load("C:\\t0")->folders[0].path, "C:\\t0\\sub");

    for (int i = 2; i <= 32; ++i)
        ASSERT_TRUE(m_keeper.Keep("C:\\t" + std::to_string(i), 1000 + i, {}));
    EXPECT_EQ(KeptFiles(folder), 32);
    EXPECT_FALSE(m_keeper.Load("C:\\t1"));
    EXPECT_TRUE(m_keeper.Load("C:\\t0"));
    EXPECT_TRUE(m_keeper.Load("C:\\t2"));
}

// A file far larger than its folders can need is refused before it is read;
// a large true one reads back whole.
TEST_F(KeptAnalysisTest, AFileLargerThanItsFoldersNeedIsRefusedUnread)
{
    std::vector<FolderTotal> many;
    for (int i = 0; i < 5000; ++i)
        many.push_back(
            {"C:\\t\\" + std::string(100, static_cast<char>('a' + i % 26)) + std::to_string(i), 1ull << 40 | i, i});
    ASSERT_TRUE(m_keeper.Keep("C:\\t", 7, many));
    std::optional<KeptAnalysis> kept = m_keeper.Load("C:\\t");
    ASSERT_TRUE(kept);
    ASSERT_EQ(kept->folders.size(), many.size());
    for (size_t i = 0; i < many.size(); ++i) {
        EXPECT_EQ(kept->folders[i].path, many[i].path);
        EXPECT_EQ(kept->folders[i].bytes, many[i].bytes);
        EXPECT_EQ(kept->folders[i].files, many[i].files);
    }

    // One folder, then sparse gigabytes: reading them would take more memory
    // than there is, and ages.
    ASSERT_TRUE(m_keeper.Keep("C:\\one", 7, {{"C:\\one\\sub", 5, 1}}));
    const std::string path = m_keeper.FileFor("C:\\one");
    for (std::uint64_t size : {64ull << 20, 64ull << 30}) {
        HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        LARGE_INTEGER end;
        end.QuadPart = static_cast<LONGLONG>(size);
        ASSERT_TRUE(::SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && ::SetEndOfFile(file));
        ::CloseHandle(file);
        DWORD start = ::GetTickCount();
        EXPECT_FALSE(m_keeper.Load("C:\\one")) << size;
        EXPECT_LT(::GetTickCount() - start, 1000u) << size;
    }
}
