#include "reports/FolderAnalysis.h"

#include "framework/FileFind.h"
#include "framework/Handle.h"
#include "framework/Path.h"
#include "framework/Win32.h"
#include "lists/FileText.h"
#include "reports/ReportsPages.h"
#include "reports/SpaceMap.h"

#include "support/Override.h"
#include "support/ScriptedSink.h"
#include "support/SmallStack.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Names(const std::vector<ReportEntry>& list)
{
    std::vector<std::string> names;
    for (const ReportEntry& entry : list)
        names.push_back(entry.path.substr(entry.path.find_last_of('\\') + 1));
    return names;
}

// What the file system says the file takes, asked of the file itself.
std::uint64_t Allocated(const std::string& path)
{
    framework::KernelHandle file(::CreateFileW(framework::WidePath(path).c_str(), FILE_READ_ATTRIBUTES,
                                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                               OPEN_EXISTING, 0, nullptr));
    FILE_STANDARD_INFO info{};
    EXPECT_TRUE(::GetFileInformationByHandleEx(file.get(), FileStandardInfo, &info, sizeof info)) << path;
    return static_cast<std::uint64_t>(info.AllocationSize.QuadPart);
}

FolderAnalysis Analyse(const std::string& target, ProgressSink&& sink = ScriptedSink())
{
    FolderAnalysis analysis;
    analysis.Start(target, sink);
    return analysis;
}

}  // namespace

TEST(ReportRules, NamesAreJudgedByTheirOwnRules)
{
    for (const char* name : {"PHOTO.JPEG", "a.Gif", "x.jpg", "pic.bmp"})
        EXPECT_TRUE(IsPictureName(name)) << name;
    for (const char* name : {".gif", "image.tiff", "gif"})
        EXPECT_FALSE(IsPictureName(name)) << name;
    for (const char* name : {"data.000", "data.001", "data.9", "log.1.txt", "a.12abc"})
        EXPECT_TRUE(IsNumericExtension(name)) << name;
    for (const char* name : {"data.386", "data.0", "data.00", "README", "a.-3", "a.", "a.abc"})
        EXPECT_FALSE(IsNumericExtension(name)) << name;
    for (const char* name : {"ab.c", "abc.txt", "a.b.c.d", ".profile", "a.001"})
        EXPECT_TRUE(IsShortName(name)) << name;
    for (const char* name : {"abcd.txt", "README"})
        EXPECT_FALSE(IsShortName(name)) << name;
    EXPECT_TRUE(HasSuffix("old.BAK", ".bak"));
    EXPECT_TRUE(HasSuffix("a.Zip", ".zip"));
    EXPECT_FALSE(HasSuffix("a.bak.txt", ".bak"));
    EXPECT_FALSE(HasSuffix(".zip", ".zip"));
    EXPECT_TRUE(EndsWithUnderscore("file_"));
    EXPECT_TRUE(EndsWithUnderscore("x_"));
    EXPECT_FALSE(EndsWithUnderscore("_"));
    EXPECT_STREQ(kReports[ReportId::NumericExtensions].caption, "Files with numeric extensions (*.000,*.001,...)");
    EXPECT_EQ(ClassOfName("PHOTO.JPG"), FileClass::Pictures);
    EXPECT_EQ(ClassOfName("x.tar.GZ"), FileClass::Archives);
    EXPECT_EQ(ClassOfName("notes.txt~"), FileClass::Temporary);
    EXPECT_EQ(ClassOfName("7z"), FileClass::Other);
    EXPECT_EQ(ClassOfName(".zip"), FileClass::Other);
    EXPECT_EQ(ClassOfName("a.zipx"), FileClass::Other);
}

TEST(FolderAnalysis, CollectsFilesNotFoldersIncludingHiddenOnes)
{
    TempFolder temp;
    temp.MakeFolder("folder.bak\\deeper");
    std::string hidden = temp.MakeFile("folder.bak\\deeper\\a.001", 3000);
    ::SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    temp.MakeFile("setup.ex_", 2048);
    temp.MakeFile("empty.tmp", 0);

    ScriptedSink sink;
    FolderAnalysis analysis;
    analysis.Start(temp.Path(), sink);
    EXPECT_EQ(analysis.FilesAnalyzed(), 3);
    EXPECT_DOUBLE_EQ(analysis.TotalKilobytes(), 5048 / 1024.0);
    EXPECT_TRUE(analysis.Report(ReportId::BakFiles).empty());
    EXPECT_EQ(Names(analysis.Report(ReportId::ShortNames)), std::vector<std::string>{"a.001"});
    EXPECT_EQ(Names(analysis.Report(ReportId::NumericExtensions)), std::vector<std::string>{"a.001"});
    EXPECT_EQ(analysis.Report(ReportId::NumericExtensions)[0].path, temp.Path() + "folder.bak\\deeper\\a.001");
    EXPECT_EQ(Names(analysis.Report(ReportId::UnderscoreFiles)), std::vector<std::string>{"setup.ex_"});
    EXPECT_EQ(Names(analysis.Report(ReportId::SmallestFiles)).front(), "empty.tmp");
    EXPECT_EQ(sink.texts.back(), "3 files, 0.00 megabytes analyzed");

    // Without its trailing backslash the target gives the same paths.
    FolderAnalysis again = Analyse(temp.Path().substr(0, temp.Path().size() - 1));
    EXPECT_EQ(again.Report(ReportId::NumericExtensions)[0].path, analysis.Report(ReportId::NumericExtensions)[0].path);
    EXPECT_EQ(Analyse(temp.Path() + "missing").FilesAnalyzed(), 0);
}

TEST(FolderAnalysis, EveryFileWithItsTrueNameAtAnyDepth)
{
    TempFolder temp;
    std::string deep;
    for (int i = 0; i < 8; ++i)
        deep += std::string(40, static_cast<char>('a' + i)) + "\\";
    deep = temp.MakeFile(deep + "deep.bin", 6);
    int size = 0;
    for (const char* name : {"日本.txt", "ab.txt", "cd.txt", "ef.txt\\inner.txt", "Főtanúsítvány.crt"})
        temp.MakeFile(name, static_cast<std::uint64_t>(++size));

    FolderAnalysis analysis = Analyse(temp.Path());
    EXPECT_EQ(analysis.FilesAnalyzed(), 6);
    const std::vector<std::string> ascending = {"日本.txt",          "ab.txt",  "cd.txt", "inner.txt",
                                                "Főtanúsítvány.crt", "deep.bin"};
    EXPECT_EQ(Names(analysis.Report(ReportId::SmallestFiles)), ascending);
    EXPECT_EQ(Names(analysis.Report(ReportId::LargestFiles)),
              std::vector<std::string>(ascending.rbegin(), ascending.rend()));
    EXPECT_EQ(analysis.Report(ReportId::LargestFiles)[0].path, deep);
    EXPECT_EQ(analysis.Report(ReportId::LargestFiles)[1].path, temp.Path() + "Főtanúsítvány.crt");
}

TEST(FolderAnalysis, RankedReportsKeepTheFirstHundredLaterTiesFirst)
{
    TempFolder temp;
    for (int i = 0; i < 150; ++i) {
        std::string path = temp.MakeFile("f" + std::to_string(i) + ".dat", static_cast<std::uint64_t>(1000 + i % 7));
        SetLastWrite(path, 900000000LL + (i % 11) * 86400LL);
    }
    std::string huge = temp.MakeFile("huge.dat", 5ull << 30);
    std::string ancient = temp.MakeFile("ancient.dat", 10);
    SetLastWrite(ancient, -86400LL * 365);

    FolderAnalysis analysis = Analyse(temp.Path());
    for (ReportId report :
         {ReportId::LargestFiles, ReportId::SmallestFiles, ReportId::OldestFiles, ReportId::NewestFiles})
        EXPECT_EQ(analysis.Report(report).size(), 100u) << kReports[report].caption;
    EXPECT_EQ(Names(analysis.Report(ReportId::LargestFiles)).front(), "huge.dat");
    EXPECT_EQ(Names(analysis.Report(ReportId::SmallestFiles)).front(), "ancient.dat");
    EXPECT_EQ(analysis.Report(ReportId::OldestFiles).front().dateText, "00/00/00");
    EXPECT_EQ(Names(analysis.Report(ReportId::OldestFiles)).front(), "ancient.dat");

    auto ordered = [](const std::vector<ReportEntry>& list, auto inOrder) {
        for (size_t i = 1; i < list.size(); ++i) {
            if (!inOrder(list[i - 1], list[i]))
                return false;
        }
        return true;
    };
    EXPECT_TRUE(ordered(analysis.Report(ReportId::LargestFiles), [](auto& a, auto& b) { return a.size >= b.size; }));
    EXPECT_TRUE(
        ordered(analysis.Report(ReportId::NewestFiles), [](auto& a, auto& b) { return a.dateText >= b.dateText; }));
    EXPECT_TRUE(
        ordered(analysis.Report(ReportId::OldestFiles), [](auto& a, auto& b) { return a.dateText <= b.dateText; }));
}

TEST(FolderAnalysis, AmongEqualsTheFileMetLaterStandsFirst)
{
    TempFolder temp;
    for (int i = 0; i < 250; ++i)
        temp.MakeFile("z" + std::to_string(i) + ".dat", 0);
    // The walk meets the files in the order the listing gives them.
    std::vector<std::string> walked;
    framework::FileFind find;
    for (bool more = find.FindFile(temp.Path() + "*.*"); more; more = find.FindNextFile()) {
        if (!find.IsDirectory())
            walked.insert(walked.begin(), find.GetFileName());
    }
    walked.resize(100);

    FolderAnalysis analysis = Analyse(temp.Path());
    EXPECT_EQ(Names(analysis.Report(ReportId::SmallestFiles)), walked);
    EXPECT_EQ(Names(analysis.Report(ReportId::LargestFiles)), walked);
    EXPECT_EQ(Names(analysis.Report(ReportId::OldestFiles)), walked);
}

TEST(FolderAnalysis, ATreeDeeperThanTheStackIsWalkedWhole)
{
    constexpr size_t kLevels = kDeeperThanTheStack;
    TempFolder temp;
    std::string deep;
    for (size_t level = 0; level < kLevels; ++level)
        deep += "d\\";
    std::string deepest = temp.MakeFile(deep + "deepest.txt", 7);
    FolderAnalysis analysis;
    ScriptedSink sink;
    OnSmallStack([&] { analysis.Start(temp.Path(), sink); });

    EXPECT_TRUE(analysis.Completed());
    ASSERT_EQ(analysis.Report(ReportId::LargestFiles).size(), 1u);
    EXPECT_EQ(analysis.Report(ReportId::LargestFiles)[0].path, deepest);
    ASSERT_EQ(analysis.Folders().size(), kLevels);
    EXPECT_EQ(analysis.Folders().front().path + "\\deepest.txt", deepest);
    EXPECT_EQ(analysis.Folders().back().path, temp.Path() + "d");
    EXPECT_EQ(analysis.Folders().back().bytes, 7u);
    EXPECT_EQ(analysis.Report(ReportId::LargestFolders).front().path, temp.Path() + "d");
    const SpaceTree& tree = analysis.Tree();
    EXPECT_EQ(tree.Count(), kLevels + 2);
    EXPECT_EQ(tree.At(tree.Root()).size, 7u);
    EXPECT_EQ(tree.Path(tree.Find(deepest)), deepest);
}

TEST(FolderAnalysis, StopEndsTheWalkAtOnceKeepingWhatWasMet)
{
    TempFolder temp;
    for (int folder = 0; folder < 3; ++folder) {
        for (int file = 0; file < 5; ++file)
            temp.MakeFile("d" + std::to_string(folder) + "\\sub\\x" + std::to_string(file) + ".tmp", 1);
    }
    // d0, sub, five files, d1, sub, one more file: stop.
    FolderAnalysis analysis = Analyse(temp.Path(), ScriptedSink(10));
    EXPECT_EQ(analysis.FilesAnalyzed(), 6);
    EXPECT_EQ(analysis.Report(ReportId::TmpFiles).size(), 6u);
}

TEST(FolderAnalysis, FoldersWithoutFilesStepTooAndKeepTheTextOnShow)
{
    TempFolder temp;
    std::string deep;
    for (int level = 0; level < 20; ++level)
        deep += "level" + std::to_string(level) + "\\";
    temp.MakeFile(deep + "bottom.txt", 1);
    ScriptedSink stopAtOnce(1);
    FolderAnalysis analysis;
    analysis.Start(temp.Path(), stopAtOnce);
    EXPECT_EQ(analysis.FilesAnalyzed(), 0);
    EXPECT_EQ(stopAtOnce.steps, 1);
    EXPECT_TRUE(stopAtOnce.texts.empty());
}

TEST(FolderAnalysis, ASymbolicLinkLoopIsNotFollowed)
{
    FolderAnalysis analysis = Analyse("E:\\loop");
    EXPECT_EQ(analysis.FilesAnalyzed(), 1);
    EXPECT_EQ(Names(analysis.Report(ReportId::LargestFiles)), std::vector<std::string>{"file.txt"});
}

TEST(FolderAnalysis, LargestFoldersHoldEverythingBelowThemTheTargetLeftOut)
{
    TempFolder temp;
    SetLastWrite(temp.MakeFile("a\\one.bin", 100), 800000000LL);
    SetLastWrite(temp.MakeFile("a\\b\\two.bin", 1000), 900000000LL);
    SetLastWrite(temp.MakeFile("a\\b\\three.bin", 24), 950000000LL);
    temp.MakeFolder("a\\b\\c");
    temp.MakeFile("d\\big.bin", 5ull << 30);
    temp.MakeFile("x\\y\\ten.bin", 10);
    temp.MakeFile("top.bin", 7);

    FolderAnalysis analysis = Analyse(temp.Path());
    const std::vector<ReportEntry>& folders = analysis.Report(ReportId::LargestFolders);
    std::vector<std::string> paths;
    for (const ReportEntry& entry : folders)
        paths.push_back(entry.path.substr(temp.Path().size()));
    // Equal totals: the enclosing folder, finished later, first.
    EXPECT_EQ(paths, (std::vector<std::string>{"d", "a", "a\\b", "x", "x\\y", "a\\b\\c"}));
    ASSERT_EQ(folders.size(), 6u);
    EXPECT_EQ(folders[0].size, 5ull << 30);
    EXPECT_EQ(folders[1].size, 1124u);
    EXPECT_EQ(folders[1].files, 3);
    EXPECT_EQ(folders[2].size, 1024u);
    EXPECT_EQ(folders[2].files, 2);
    FILETIME newest = framework::FileTimeFromTicks(
        static_cast<std::uint64_t>(950000000LL * framework::kTicksPerSecond + framework::kTicksFrom1601To1970));
    EXPECT_EQ(folders[1].dateText, FormatFileDate(newest));
    EXPECT_EQ(folders[2].dateText, FormatFileDate(newest));
    EXPECT_EQ(folders[5].files, 0);
    EXPECT_EQ(folders[5].dateText, "");

    // A folder reached through a symbolic link is not counted, nor listed.
    FolderAnalysis loop = Analyse("E:\\loop");
    ASSERT_EQ(loop.Report(ReportId::LargestFolders).size(), 1u);
    EXPECT_EQ(loop.Report(ReportId::LargestFolders)[0].path, "E:\\loop\\inner");
    EXPECT_EQ(loop.Report(ReportId::LargestFolders)[0].files, 1);
    EXPECT_EQ(loop.Tree().Count(), 3u);

    // The map's tree: the same totals, every child largest first, found by its path.
    SpaceTree& tree = analysis.Tree();
    EXPECT_EQ(tree.Path(tree.Root()) + "\\", temp.Path());
    EXPECT_EQ(tree.Find(temp.Path()), tree.Root());
    EXPECT_EQ(tree.At(tree.Root()).size, (5ull << 30) + 1124 + 10 + 7);
    std::vector<std::string> top;
    for (std::uint32_t child : tree.Children(tree.Root()))
        top.push_back(std::string(tree.Name(child)));
    EXPECT_EQ(std::set<std::string>(top.begin(), top.end()), (std::set<std::string>{"d", "a", "x", "top.bin"}));
    EXPECT_TRUE(std::ranges::is_sorted(tree.Children(tree.Root()), [&](std::uint32_t first, std::uint32_t second) {
        const SpaceTree::Node &a = tree.At(first), &b = tree.At(second);
        return a.onDisk != b.onDisk ? a.onDisk > b.onDisk : a.size > b.size;
    }));
    std::uint32_t a = tree.Find(temp.Path() + "A");
    std::uint32_t b = tree.Find(temp.Path() + "a\\b");
    ASSERT_NE(b, SpaceTree::kNone);
    EXPECT_EQ(tree.At(tree.Find(tree.Path(b) + "\\two.bin")).size, 1000u);
    EXPECT_EQ(tree.At(tree.Find(tree.Path(b) + "\\c")).size, 0u);
    EXPECT_EQ(tree.Find(temp.Path() + "a\\none"), SpaceTree::kNone);
    // A removed folder takes what lies in it, and its folders shrink.
    tree.Remove(tree.FindAll(std::vector<std::string>{tree.Path(b), temp.Path() + "a\\B\\three.bin", "Z:\\x"}));
    EXPECT_EQ(tree.At(a).size, 100u);
    EXPECT_EQ(tree.At(tree.Find(tree.Path(b) + "\\two.bin")).size, 0u);
    EXPECT_EQ(tree.At(tree.Root()).size, (5ull << 30) + 100 + 10 + 7);
    EXPECT_EQ(tree.Name(tree.Children(a)[0]), "one.bin");
}

TEST(FolderAnalysis, SizesAreTheSpaceFilesTakeEachFileCountedOnce)
{
    TempFolder temp;
    std::string sparse = temp.MakeFile("sparse\\big.iso", 5ull << 30);
    std::string data = temp.MakeFile("one\\data.bin", 1 << 20, true);
    std::string own = temp.MakeFile("two\\own.txt", 5000, true);
    ASSERT_TRUE(::CreateHardLinkW(framework::WidePath(temp.Path() + "two\\again.bin").c_str(),
                                  framework::WidePath(data).c_str(), nullptr));

    FolderAnalysis analysis = Analyse(temp.Path());
    EXPECT_EQ(analysis.Report(ReportId::LargestFiles).size(), 4u);
    using Sizes = std::pair<std::uint64_t, std::uint64_t>;
    std::map<std::string, Sizes> folders;
    for (const ReportEntry& entry : analysis.Report(ReportId::LargestFolders))
        folders[entry.path.substr(temp.Path().size())] = {entry.size, entry.onDisk};
    EXPECT_EQ(folders["sparse"], Sizes(5ull << 30, Allocated(sparse)));
    // The linked file counts in the folder where the walk met it first, and nowhere else.
    Sizes linked(1 << 20, Allocated(data));
    bool inOne = folders["one"].first != 0;
    EXPECT_EQ(folders["one"], inOne ? linked : Sizes());
    EXPECT_EQ(folders["two"], Sizes(5000 + (inOne ? 0 : linked.first), Allocated(own) + (inOne ? 0 : linked.second)));
    FolderTotal found = analysis.Found();
    EXPECT_EQ(found.bytes, (5ull << 30) + linked.first + 5000);
    EXPECT_EQ(found.onDisk, Allocated(sparse) + linked.second + Allocated(own));
    EXPECT_EQ(found.files, 3);
    const SpaceTree& tree = analysis.Tree();
    EXPECT_EQ(tree.At(tree.Root()).onDisk, found.onDisk);

    // The map draws the room taken: its largest tile is a name of the linked file.
    SpaceMap map;
    map.Layout(tree, tree.Root(), 400, 300);
    auto area = [](const RECT& r) { return static_cast<long long>(r.right - r.left) * (r.bottom - r.top); };
    const MapTile* largest = nullptr;
    for (const MapTile& tile : map.Tiles()) {
        if (!tree.At(tile.node).folder && (!largest || area(tile.rect) > area(largest->rect)))
            largest = &tile;
    }
    ASSERT_TRUE(largest);
    EXPECT_EQ(tree.At(largest->node).size, linked.first);
}

TEST(FolderAnalysis, OnlineFilesTakeNoRoomAndUnreadFoldersAreCounted)
{
    TempFolder temp;
    temp.MakeFile("cloud\\movie.mkv", 300000, true);
    temp.MakeFile("locked\\secret.txt", 10, true);
    std::string seen = temp.MakeFile("seen.txt", 2000, true);
    ScopedOverride<decltype(framework::ListingSeams::listedAttributes)> online(
        framework::GetListingSeams().listedAttributes, [](const std::string& path, DWORD attributes) {
            return path.ends_with("\\movie.mkv") ? attributes | 0x00400000 : attributes;
        });
    ScopedOverride<decltype(framework::ListingSeams::refusesListing)> locked(
        framework::GetListingSeams().refusesListing,
        [](const std::string& folder) { return folder.ends_with("\\locked\\"); });

    FolderAnalysis analysis = Analyse(temp.Path());
    EXPECT_EQ(analysis.Found().bytes, 302000u);
    EXPECT_EQ(analysis.Found().onDisk, Allocated(seen));
    EXPECT_EQ(analysis.UnreadFolders(), std::vector<std::string>{temp.Path() + "locked"});
    EXPECT_FALSE(analysis.DriveUsedBytes());
    EXPECT_EQ(FoundText(analysis), "Found: " + FormatFileSize(Allocated(seen)) +
                                       " on disk in 2 files. 1 folder could not be read: click here to list them.");

    // Only a whole drive has a used space to compare with.
    FolderAnalysis drive = Analyse("E:\\");
    ASSERT_TRUE(drive.DriveUsedBytes());
    EXPECT_NE(FoundText(drive).find(". Not seen: "), std::string::npos);
}

TEST(FolderAnalysis, SkippedFoldersAreNeverEntered)
{
    TempFolder temp;
    for (const char* file : {"node_modules\\a.js", "src\\node_modules\\deep\\b.js", "src\\repo.git\\c",
                             "src\\keep\\d.txt", "big\\inner\\e.bin", "big\\f.bin", "top.txt"})
        temp.MakeFile(file, 10);
    framework::SkipList skip = framework::SkipList::Parse("NODE_MODULES; *.git ;" + temp.Path() + "big\\inner");
    // A skipped folder that the walk tried to list would count as unread.
    ScopedOverride<decltype(framework::ListingSeams::refusesListing)> refuses(
        framework::GetListingSeams().refusesListing, [](const std::string& folder) {
            return folder.find("node_modules") != std::string::npos || folder.find(".git") != std::string::npos ||
                   folder.find("inner") != std::string::npos;
        });
    FolderAnalysis analysis;
    ScriptedSink sink;
    analysis.Start(temp.Path(), sink, skip);
    EXPECT_EQ(analysis.SkippedFolders(), 4);
    EXPECT_TRUE(analysis.UnreadFolders().empty());
    std::vector<std::string> files = Names(analysis.Report(ReportId::LargestFiles));
    EXPECT_EQ(std::set<std::string>(files.begin(), files.end()), (std::set<std::string>{"d.txt", "f.bin", "top.txt"}));
    const SpaceTree& tree = analysis.Tree();
    EXPECT_EQ(tree.Find(temp.Path() + "node_modules"), SpaceTree::kNone);
    EXPECT_EQ(tree.Find(temp.Path() + "big\\inner"), SpaceTree::kNone);
    EXPECT_NE(tree.Find(temp.Path() + "big"), SpaceTree::kNone);
    EXPECT_NE(FoundText(analysis).find(" 4 folders skipped."), std::string::npos);
}

TEST(FolderAnalysis, TheTargetItselfIsNeverSkipped)
{
    TempFolder temp;
    temp.MakeFile("node_modules\\a.js", 10);
    FolderAnalysis analysis;
    ScriptedSink sink;
    analysis.Start(temp.Path() + "node_modules", sink, framework::SkipList::Parse("node_modules"));
    EXPECT_EQ(analysis.FilesAnalyzed(), 1);
    EXPECT_EQ(analysis.SkippedFolders(), 0);
}

TEST(FolderAnalysis, AfterStopAFolderHoldsTheFilesMetInIt)
{
    TempFolder temp;
    for (int i = 0; i < 5; ++i)
        temp.MakeFile("s\\f" + std::to_string(i) + ".bin", 10);
    // The folder, then three files: stop.
    FolderAnalysis analysis = Analyse(temp.Path(), ScriptedSink(4));
    EXPECT_EQ(analysis.FilesAnalyzed(), 3);
    ASSERT_EQ(analysis.Report(ReportId::LargestFolders).size(), 1u);
    EXPECT_EQ(analysis.Report(ReportId::LargestFolders)[0].size, 30u);
    EXPECT_EQ(analysis.Report(ReportId::LargestFolders)[0].files, 3);
    const SpaceTree& tree = analysis.Tree();
    EXPECT_EQ(tree.At(tree.Root()).size, 30u);
    EXPECT_EQ(tree.Children(tree.Children(tree.Root())[0]).size(), 3u);
}
