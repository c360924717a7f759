#include "reports/MftAnalysis.h"

#include "support/HostLink.h"
#include "support/HostPath.h"
#include "support/ScriptedSink.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <tuple>

namespace {

std::string ImagePath(const std::string& name)
{
    return HostPath(std::string(CORVANE_NTFS_IMAGES) + "/" + name);
}

// The whole image, in memory, so that a test can break it.
class MemorySource : public ByteSource {
public:
    explicit MemorySource(std::vector<std::uint8_t> image) : bytes(std::move(image)) {}
    bool Read(std::uint64_t offset, std::span<std::uint8_t> buffer) override
    {
        ++reads;
        if (offset > bytes.size() || buffer.size() > bytes.size() - offset)
            return false;
        std::memcpy(buffer.data(), bytes.data() + offset, buffer.size());
        return true;
    }

    std::vector<std::uint8_t> bytes;
    int reads = 0;
};

std::vector<std::uint8_t> ImageBytes(const std::string& name)
{
    std::ifstream in(ImagePath(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The image's tree, walked where it was copied out of the image.
struct Walked {
    TempFolder temp;
    std::string target = temp.Path() + "tree";
    HostLink link;
    FolderAnalysis analysis;

    explicit Walked(const std::string& name) : link(ImagePath(name + ".tree"), target)
    {
        ScriptedSink sink;
        analysis.Start(target, sink);
    }
};

struct FromTable {
    MftTable table;
    FolderAnalysis analysis;
    bool built = false;

    FromTable(ByteSource& source, const std::string& root, const std::string& below = {},
              ProgressSink&& sink = ScriptedSink())
    {
        if (table.Read(source, sink) == MftTable::Outcome::Read)
            built = AnalyseTable(analysis, table, root, below, sink);
    }
};

// The offset of the attribute of this type in a record, or 0.
size_t AttributeOf(const std::vector<std::uint8_t>& image, size_t record, std::uint32_t type)
{
    std::uint16_t at = 0;
    std::memcpy(&at, &image[record + 0x14], 2);
    for (size_t offset = record + at; offset + 8 < record + 1024;) {
        std::uint32_t found = 0, length = 0;
        std::memcpy(&found, &image[offset], 4);
        std::memcpy(&length, &image[offset + 4], 4);
        if (found == type)
            return offset;
        if (found == 0xFFFFFFFF || length == 0)
            break;
        offset += length;
    }
    return 0;
}

// The offset of the record whose own name this is (folders' records hold
// their files' names too).
size_t RecordOf(const std::vector<std::uint8_t>& image, const std::wstring& name)
{
    for (size_t at = 0; at + 1024 <= image.size(); at += 1024) {
        size_t attribute = std::memcmp(&image[at], "FILE", 4) == 0 ? AttributeOf(image, at, 0x30) : 0;
        if (attribute == 0)
            continue;
        const std::uint8_t* value = &image[attribute + 0x18];
        bool same = value[0x40] == name.size();
        for (size_t i = 0; same && i < name.size(); ++i)
            same = value[0x42 + 2 * i] == (name[i] & 0xFF) && value[0x43 + 2 * i] == (name[i] >> 8);
        if (same)
            return at;
    }
    ADD_FAILURE() << "no record";
    return 0;
}

std::uint32_t RecordNumber(const std::vector<std::uint8_t>& image, size_t record)
{
    std::uint32_t number = 0;
    std::memcpy(&number, &image[record + 0x2C], 4);
    return number;
}

// Moves every run of the table but its first into a record of their own,
// named by an attribute list in the table's first record, as a table in too
// many pieces keeps them.
void MoveTableRunsToAnExtension(std::vector<std::uint8_t>& image, size_t table, size_t spare)
{
    auto put = [&](size_t at, std::uint64_t value, size_t bytes) { std::memcpy(&image[at], &value, bytes); };
    size_t data = AttributeOf(image, table, 0x80);
    std::uint16_t runsAt = 0;
    std::memcpy(&runsAt, &image[data + 0x20], 2);
    size_t second = data + runsAt + 1 + (image[data + runsAt] & 0x0F) + (image[data + runsAt] >> 4);
    std::uint64_t firstLength = 0, firstCluster = 0;
    std::memcpy(&firstLength, &image[data + runsAt + 1], image[data + runsAt] & 0x0F);
    std::memcpy(&firstCluster, &image[data + runsAt + 1 + (image[data + runsAt] & 0x0F)], image[data + runsAt] >> 4);
    // The later runs, the first of them made absolute, in a new record.
    size_t secondLengthBytes = image[second] & 0x0F, secondOffsetBytes = image[second] >> 4;
    std::int64_t delta = 0;
    std::memcpy(&delta, &image[second + 1 + secondLengthBytes], secondOffsetBytes);
    if (image[second + secondLengthBytes + secondOffsetBytes] & 0x80)
        delta |= ~std::int64_t{0} << (8 * secondOffsetBytes);
    std::vector<std::uint8_t> later(image.begin() + static_cast<std::ptrdiff_t>(second),
                                    image.begin() + static_cast<std::ptrdiff_t>(data + 0x100));
    later[0] = static_cast<std::uint8_t>(secondLengthBytes | (8 << 4));
    std::uint64_t absolute = firstCluster + static_cast<std::uint64_t>(delta);
    later.erase(later.begin() + 1 + static_cast<std::ptrdiff_t>(secondLengthBytes),
                later.begin() + 1 + static_cast<std::ptrdiff_t>(secondLengthBytes + secondOffsetBytes));
    later.insert(later.begin() + 1 + static_cast<std::ptrdiff_t>(secondLengthBytes), 8, 0);
    std::memcpy(&later[1 + secondLengthBytes], &absolute, 8);
    image[second] = 0;
    std::fill(image.begin() + static_cast<std::ptrdiff_t>(spare),
              image.begin() + static_cast<std::ptrdiff_t>(spare + 1024), 0);
    std::memcpy(&image[spare], "FILE", 4);
    put(spare + 4, 0x30, 2);
    put(spare + 6, 3, 2);
    put(spare + 0x10, 1, 2);
    put(spare + 0x14, 0x38, 2);
    put(spare + 0x16, 1, 2);
    put(spare + 0x18, 0x38 + 0x40 + 0x40 + 8, 4);
    put(spare + 0x1C, 1024, 4);
    put(spare + 0x20, std::uint64_t{1} << 48, 8);  // base: the table's record, sequence 1
    size_t piece = spare + 0x38;
    put(piece, 0x80, 4);
    put(piece + 4, 0x80, 4);
    image[piece + 8] = 1;
    put(piece + 0x10, firstLength, 8);
    put(piece + 0x20, 0x40, 2);
    std::copy(later.begin(), later.begin() + 0x40, image.begin() + static_cast<std::ptrdiff_t>(piece + 0x40));
    put(piece + 0x80, 0xFFFFFFFF, 4);
    for (size_t end : {spare + 510, spare + 1022})
        put(end, 0x0101, 2);
    put(spare + 0x30, 0x0101, 2);
    // The table's record lists that piece, after its other attributes.
    std::uint32_t used = 0;
    std::memcpy(&used, &image[table + 0x18], 4);
    size_t list = table + used - 8;
    put(list, 0x20, 4);
    put(list + 4, 0x18 + 0x20, 4);
    put(list + 8, 0, 8);
    put(list + 0x10, 0x20, 4);
    put(list + 0x14, 0x18, 2);
    put(list + 0x18, 0x80, 4);
    put(list + 0x1C, 0x20, 2);
    image[list + 0x1E] = 0;
    image[list + 0x1F] = 0x1A;
    put(list + 0x20, firstLength, 8);
    put(list + 0x28, (spare - table) / 1024 | (std::uint64_t{1} << 48), 8);
    put(list + 0x30, 0, 8);
    put(list + 0x38, 0xFFFFFFFF, 4);
    put(table + 0x18, used + 0x38, 4);
}

// Keeps the table's attribute list in a cluster of its own, outside the
// record, as a table in very many pieces does.
void MoveListOutOfTheRecord(std::vector<std::uint8_t>& image, size_t table)
{
    auto put = [&](size_t at, std::uint64_t value, size_t bytes) { std::memcpy(&image[at], &value, bytes); };
    size_t cluster = image.size() / 4096 - 2;
    while (std::any_of(&image[cluster * 4096], &image[cluster * 4096 + 4096], [](std::uint8_t b) { return b != 0; }))
        --cluster;
    size_t list = AttributeOf(image, table, 0x20);
    std::uint32_t length = 0, used = 0;
    std::memcpy(&length, &image[list + 0x10], 4);
    std::memcpy(&used, &image[table + 0x18], 4);
    ASSERT_LE(list + 0x50 - table, 510u);
    std::copy_n(&image[list + 0x18], length, &image[cluster * 4096]);
    std::fill_n(&image[list], 0x50, 0);
    put(list, 0x20, 4);
    put(list + 4, 0x48, 4);
    image[list + 8] = 1;
    put(list + 0x0A, 0x40, 2);
    put(list + 0x20, 0x40, 2);
    put(list + 0x28, 4096, 8);
    put(list + 0x30, length, 8);
    put(list + 0x38, length, 8);
    image[list + 0x40] = 0x41;  // one cluster, at a distance of four bytes
    image[list + 0x41] = 1;
    put(list + 0x42, cluster, 4);
    put(list + 0x48, 0xFFFFFFFF, 4);
    put(table + 0x18, list + 0x50 - table, 4);
}

std::vector<std::string> SortedPaths(const std::vector<ReportEntry>& list)
{
    std::vector<std::string> paths;
    for (const ReportEntry& entry : list)
        paths.push_back(entry.path);
    std::sort(paths.begin(), paths.end());
    return paths;
}

// Everything that does not depend on the order of equal entries, nor on
// what the host's file system allocates.
void ExpectSameAnalysis(const FolderAnalysis& walked, const FolderAnalysis& read)
{
    EXPECT_EQ(read.FilesAnalyzed(), walked.FilesAnalyzed());
    EXPECT_DOUBLE_EQ(read.TotalKilobytes(), walked.TotalKilobytes());
    EXPECT_EQ(read.Found().bytes, walked.Found().bytes);
    EXPECT_EQ(read.Found().files, walked.Found().files);
    EXPECT_TRUE(read.Completed());
    for (const ReportRow& row : kReports) {
        const std::vector<ReportEntry>& a = walked.Report(row.id);
        const std::vector<ReportEntry>& b = read.Report(row.id);
        ASSERT_EQ(b.size(), a.size()) << row.caption;
        for (size_t i = 0; i < a.size(); ++i) {
            EXPECT_EQ(b[i].size, a[i].size) << row.caption << " " << i;
            EXPECT_EQ(b[i].dateText, a[i].dateText) << row.caption << " " << i;
            EXPECT_EQ(b[i].files, a[i].files) << row.caption << " " << i;
        }
        if (a.size() < FolderAnalysis::kRankLimit) {
            EXPECT_EQ(SortedPaths(b), SortedPaths(a)) << row.caption;
        }
    }
    auto totals = [](const FolderAnalysis& analysis) {
        std::map<std::string, std::pair<std::uint64_t, int>> byPath;
        for (const FolderTotal& folder : analysis.Folders())
            byPath[folder.path] = {folder.bytes, folder.files};
        return byPath;
    };
    EXPECT_EQ(totals(read), totals(walked));
    auto shape = [](const SpaceTree& tree) {
        std::set<std::tuple<std::string, std::uint64_t, bool>> nodes;
        int linked = 0;
        for (std::uint32_t node = 0; node < tree.Count(); ++node) {
            const SpaceTree::Node& facts = tree.At(node);
            linked += facts.linked;
            nodes.insert({tree.Path(node), facts.linked ? 0 : facts.size, facts.folder});
        }
        return std::make_pair(nodes.size(), linked);
    };
    EXPECT_EQ(shape(read.Tree()), shape(walked.Tree()));
}

}  // namespace

TEST(FileTable, GivesTheAnalysisTheWalkGives)
{
    for (const char* name : {"mixed", "many"}) {
        SCOPED_TRACE(name);
        Walked walked(name);
        ASSERT_TRUE(walked.link.Made());
        FileSource image(ImagePath(std::string(name) + ".ntfs"));
        ASSERT_TRUE(image.IsOpen());
        FromTable read(image, walked.target);
        ASSERT_TRUE(read.built);
        ExpectSameAnalysis(walked.analysis, read.analysis);
        EXPECT_EQ(read.table.Faults().damaged + read.table.Faults().unreadable + read.table.Faults().cycles, 0u);
    }
}

TEST(FileTable, TakesWhatTheDiskHoldsAndAFolderTargetAlone)
{
    FileSource image(ImagePath("mixed.ntfs"));
    FromTable read(image, "X:");
    ASSERT_TRUE(read.built);
    const SpaceTree& tree = read.analysis.Tree();
    auto onDisk = [&](const char* path) {
        std::uint32_t node = tree.Find(path);
        EXPECT_NE(node, SpaceTree::kNone) << path;
        return node == SpaceTree::kNone ? UINT64_MAX : tree.At(node).onDisk;
    };
    EXPECT_EQ(onDisk("X:\\Docs\\a.txt"), 0u);  // held in its record
    EXPECT_EQ(onDisk("X:\\Docs\\report.bak"), 12288u);
    EXPECT_EQ(onDisk("X:\\sparse.img"), 4096u);  // one cluster of data, the rest a hole
    EXPECT_EQ(tree.At(tree.Find("X:\\sparse.img")).size, 3000003u);
    EXPECT_EQ(read.analysis.Found().files, 49);  // the three names of one file count once
    EXPECT_EQ(read.analysis.FilesAnalyzed(), 51);

    FromTable docs(image, "X:", "docs\\OLD");
    ASSERT_TRUE(docs.built);
    EXPECT_EQ(docs.analysis.Target(), "X:\\docs\\OLD");
    EXPECT_EQ(SortedPaths(docs.analysis.Report(ReportId::LargestFiles)),
              (std::vector<std::string>{"X:\\docs\\OLD\\archive.zip", "X:\\docs\\OLD\\setup.ini"}));
    EXPECT_FALSE(FromTable(image, "X:", "Docs\\Missing").built);

    FileSource many(ImagePath("many.ntfs"));
    FromTable grown(many, "X:");
    EXPECT_GT(grown.table.TableRuns(), 1u);  // the table grew in pieces and is read whole
    EXPECT_EQ(grown.analysis.FilesAnalyzed(), 3052);
    EXPECT_EQ(grown.analysis.Found().files, 3013);  // forty names of one file, most in extension records
}

TEST(FileTable, FindsTheTablesLaterPiecesThroughItsAttributeList)
{
    MemorySource source(ImageBytes("many.ntfs"));
    size_t table = RecordOf(source.bytes, L"$MFT");
    MoveTableRunsToAnExtension(source.bytes, table, table + 20 * 1024);
    for (bool listOutside : {false, true}) {
        SCOPED_TRACE(listOutside ? "the list outside the record" : "the list in the record");
        if (listOutside)
            MoveListOutOfTheRecord(source.bytes, table);
        FromTable read(source, "X:");
        ASSERT_TRUE(read.built);
        EXPECT_GT(read.table.TableRuns(), 1u);
        EXPECT_EQ(read.table.Faults().unreadable + read.table.Faults().damaged, 0u);
        EXPECT_EQ(read.analysis.FilesAnalyzed(), 3052);
    }
}

// The names of the files in one folder, in the order the analysis met them.
class FolderOrder : public AnalysisListener {
public:
    explicit FolderOrder(std::string folder) : m_folder(std::move(folder)) {}
    void OnFile(const std::string& folder, const FileFacts& file, bool) override
    {
        if (folder == m_folder)
            names.emplace_back(file.name);
    }
    void OnFolder(const ClosedFolder&) override {}

    std::vector<std::string> names;

private:
    std::string m_folder;
};

// Each folder is listed in the order of the volume's own upper-case table.
TEST(FileTable, OrdersNamesByTheVolumesUpperCase)
{
    MemorySource source(ImageBytes("mixed.ntfs"));
    auto firstIn = [&] {
        MftTable table;
        FolderAnalysis analysis;
        FolderOrder docs("X:\\Docs");
        analysis.SetListener(&docs);
        ScriptedSink sink;
        EXPECT_EQ(table.Read(source, sink), MftTable::Outcome::Read);
        AnalyseTable(analysis, table, "X:", "", sink);
        return docs.names.empty() ? std::string() : docs.names.front();
    };
    EXPECT_EQ(firstIn(), "a.txt");
    // The table's first run holds the upper case of "a" at 0xC2: make it "~", after every letter.
    std::vector<std::uint8_t>& bytes = source.bytes;
    size_t data = AttributeOf(bytes, RecordOf(bytes, L"$UpCase"), 0x80);
    std::uint16_t runs = 0;
    std::memcpy(&runs, &bytes[data + 0x20], 2);
    std::uint8_t header = bytes[data + runs];
    std::uint64_t cluster = 0;
    std::memcpy(&cluster, &bytes[data + runs + 1 + (header & 0x0F)], header >> 4);
    bytes[cluster * 4096 + 2 * 'a'] = '~';
    EXPECT_EQ(firstIn(), "linked.dat");
}

// A junction or link to a folder is not followed, and the skip list keeps the reading out as it keeps the walk.
TEST(FileTable, EntersNoFolderTheWalkWouldNotEnter)
{
    MemorySource source(ImageBytes("mixed.ntfs"));
    size_t old = RecordOf(source.bytes, L"Old");
    source.bytes[AttributeOf(source.bytes, old, 0x10) + 0x18 + 0x21] |= FILE_ATTRIBUTE_REPARSE_POINT >> 8;
    FromTable linked(source, "X:");
    ASSERT_TRUE(linked.built);
    EXPECT_EQ(linked.analysis.FilesAnalyzed(), 49);
    EXPECT_EQ(linked.analysis.Tree().Find("X:\\Docs\\Old"), SpaceTree::kNone);

    FileSource image(ImagePath("mixed.ntfs"));
    MftTable table;
    ScriptedSink sink;
    ASSERT_EQ(table.Read(image, sink), MftTable::Outcome::Read);
    FolderAnalysis skipping;
    ASSERT_TRUE(AnalyseTable(skipping, table, "X:", "", sink, framework::SkipList::Parse("old;long")));
    EXPECT_EQ(skipping.FilesAnalyzed(), 48);
    EXPECT_EQ(skipping.SkippedFolders(), 2);
    EXPECT_EQ(skipping.SkipText(), "old;long");
}

TEST(FileTable, SkipsAndCountsWhatIsBroken)
{
    const std::vector<std::uint8_t> pristine = ImageBytes("mixed.ntfs");
    ASSERT_FALSE(pristine.empty());
    {
        SCOPED_TRACE("a record whose fixups fail");
        MemorySource source(pristine);
        source.bytes[RecordOf(pristine, L"setup.ini") + 510] ^= 0xFF;
        FromTable read(source, "X:");
        ASSERT_TRUE(read.built);
        EXPECT_EQ(read.table.Faults().damaged, 1u);
        EXPECT_EQ(read.analysis.SkippedRecords(), 1u);
        EXPECT_EQ(read.analysis.FilesAnalyzed(), 50);
    }
    {
        SCOPED_TRACE("a name holding a separator");
        MemorySource source(pristine);
        size_t setup = RecordOf(pristine, L"setup.ini");
        source.bytes[AttributeOf(pristine, setup, 0x30) + 0x18 + 0x44] = '\\';
        FromTable read(source, "X:");
        ASSERT_TRUE(read.built);
        EXPECT_EQ(read.table.Faults().damaged, 1u);
        EXPECT_EQ(read.analysis.FilesAnalyzed(), 50);
    }
    {
        SCOPED_TRACE("folders that hold each other");
        MemorySource source(pristine);
        size_t docs = RecordOf(pristine, L"Docs"), old = RecordOf(pristine, L"Old");
        std::uint64_t parent = RecordNumber(pristine, old) | (std::uint64_t{pristine[old + 0x10]} << 48) |
                               (std::uint64_t{pristine[old + 0x11]} << 56);
        std::memcpy(&source.bytes[AttributeOf(pristine, docs, 0x30) + 0x18], &parent, 8);
        FromTable read(source, "X:");
        ASSERT_TRUE(read.built);
        EXPECT_EQ(read.table.Faults().cycles, 1u);
        EXPECT_EQ(read.analysis.FilesAnalyzed(), 4);
    }
    {
        SCOPED_TRACE("an image cut short inside the table");
        MemorySource source(pristine);
        source.bytes.resize(RecordOf(pristine, L"setup.ini") + 100);
        FromTable read(source, "X:");
        ASSERT_TRUE(read.built);
        EXPECT_GT(read.table.Faults().unreadable, 0u);
        EXPECT_LT(read.analysis.FilesAnalyzed(), 51);
    }
    {
        SCOPED_TRACE("a run of the table pointing past the volume");
        MemorySource source(ImageBytes("many.ntfs"));
        std::vector<std::uint8_t>& bytes = source.bytes;
        size_t table = RecordOf(bytes, L"$MFT");
        size_t data = AttributeOf(bytes, table, 0x80);
        std::uint16_t runs = 0;
        std::memcpy(&runs, &bytes[data + 0x20], 2);
        size_t second = data + runs + 1 + (bytes[data + runs] & 0x0F) + (bytes[data + runs] >> 4);
        size_t offsetBytes = bytes[second] >> 4, at = second + 1 + (bytes[second] & 0x0F);
        ASSERT_GT(offsetBytes, 0u);
        for (size_t i = 0; i < offsetBytes; ++i)
            bytes[at + i] = i + 1 == offsetBytes ? 0x7F : 0xFF;
        FromTable read(source, "X:");
        ASSERT_TRUE(read.built);
        EXPECT_GE(read.table.Faults().badRuns, 1u);  // the runs after it are counted from it
        EXPECT_GT(read.table.Faults().unreadable, 0u);
        EXPECT_LT(read.analysis.FilesAnalyzed(), 3052);
    }
}

// Random damage to real records, and records of random bytes: the parser
// neither crashes nor reads outside them, and the analysis still builds.
TEST(FileTable, SurvivesFuzzedRecords)
{
    const std::vector<std::uint8_t> image = ImageBytes("mixed.ntfs");
    size_t first = RecordOf(image, L"$MFT");
    std::mt19937 random(34);
    for (int round = 0; round < 300; ++round) {
        MftTable table;
        table.Prepare(1024);
        for (std::uint32_t number = 0; number < 64; ++number) {
            std::vector<std::uint8_t> record(image.begin() + static_cast<std::ptrdiff_t>(first + number * 1024),
                                             image.begin() + static_cast<std::ptrdiff_t>(first + number * 1024 + 1024));
            for (int flips = static_cast<int>(random() % 8); flips-- > 0;)
                record[random() % record.size()] = static_cast<std::uint8_t>(random());
            if (round % 10 == 0)
                std::generate(record.begin() + 0x30, record.end(), [&] { return static_cast<std::uint8_t>(random()); });
            table.Take(number, record);
        }
        table.Settle();
        FolderAnalysis analysis;
        ScriptedSink sink;
        AnalyseTable(analysis, table, "X:", "", sink);
        EXPECT_LE(analysis.FilesAnalyzed(), 64 * 64);
    }
    for (int round = 0; round < 200; ++round) {
        MemorySource source(image);
        for (int flips = 1 + static_cast<int>(random() % 4); flips-- > 0;) {
            size_t at = random() % 2 == 0 ? random() % 512 : first + random() % 1024;
            source.bytes[at] = static_cast<std::uint8_t>(random());
        }
        MftTable table;
        ScriptedSink sink;
        table.Read(source, sink);
        EXPECT_LT(source.reads, 1000);
    }
}

TEST(FileTable, StopsWhileReadingOrBuilding)
{
    MemorySource source(ImageBytes("many.ntfs"));
    FolderAnalysis analysis;
    ScriptedSink reading(2);
    auto open = [&](const std::string&) { return std::make_unique<MemorySource>(source.bytes); };
    EXPECT_EQ(Analyse(analysis, "C:\\", reading, {}, open), AnalysisWay::FileTable);
    EXPECT_FALSE(analysis.Completed());
    EXPECT_EQ(reading.steps, 2);
    // What the records read before the stop hold is kept, and nothing else.
    FromTable whole(source, "C:");
    EXPECT_GT(analysis.FilesAnalyzed(), 500);
    EXPECT_LT(analysis.FilesAnalyzed(), whole.analysis.FilesAnalyzed());
    EXPECT_EQ(analysis.SkippedRecords(), 0u);
    for (std::uint32_t node = 0; node < analysis.Tree().Count(); ++node)
        EXPECT_NE(whole.analysis.Tree().Find(analysis.Tree().Path(node)), SpaceTree::kNone);

    FromTable stopped(source, "X:", "", ScriptedSink(200));
    ASSERT_TRUE(stopped.built);
    EXPECT_FALSE(stopped.analysis.Completed());
    EXPECT_GT(stopped.analysis.FilesAnalyzed(), 0);
    EXPECT_LT(stopped.analysis.FilesAnalyzed(), 200);
}

TEST(FileTable, IsReadWhenTheVolumeOpensElseTheFoldersAreWalked)
{
    const std::vector<std::uint8_t> image = ImageBytes("mixed.ntfs");
    std::vector<std::string> asked;
    auto volume = [&](std::vector<std::uint8_t> bytes) {
        return [&asked, bytes](const std::string& drive) -> std::unique_ptr<ByteSource> {
            asked.push_back(drive);
            return std::make_unique<MemorySource>(bytes);
        };
    };
    {
        FolderAnalysis analysis;
        ScriptedSink sink;
        EXPECT_EQ(Analyse(analysis, "C:\\Docs\\", sink, {}, volume(image)), AnalysisWay::FileTable);
        EXPECT_EQ(asked, std::vector<std::string>{"C:"});
        EXPECT_EQ(analysis.Target(), "C:\\Docs");
        EXPECT_EQ(analysis.FilesAnalyzed(), 47);
        EXPECT_EQ(sink.texts.front(), kReadingTableText);
    }
    {
        // Below a junction the walk reaches another folder: the walk goes there.
        std::vector<std::uint8_t> junction = image;
        junction[AttributeOf(junction, RecordOf(junction, L"Docs"), 0x10) + 0x18 + 0x21] |=
            FILE_ATTRIBUTE_REPARSE_POINT >> 8;
        FolderAnalysis analysis;
        ScriptedSink sink;
        EXPECT_EQ(Analyse(analysis, "C:\\Docs\\Old", sink, {}, volume(junction)), AnalysisWay::Folders);
    }
    TempFolder temp;
    temp.MakeFile("one.txt", 10);
    std::vector<std::uint8_t> unreadable = image;
    std::fill(unreadable.begin(), unreadable.begin() + 512, 0);
    for (auto open : {volume(unreadable), volume(image)}) {
        FolderAnalysis analysis;
        ScriptedSink sink;
        EXPECT_EQ(Analyse(analysis, temp.Path(), sink, {}, open), AnalysisWay::Folders);
        EXPECT_EQ(analysis.FilesAnalyzed(), 1);
        EXPECT_NE(std::find(sink.texts.begin(), sink.texts.end(), kLookingAtFoldersText), sink.texts.end());
    }
}
