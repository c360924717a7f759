// One walk over a drive or folder tree that sorts its files into fourteen
// reports (four ranked by size or date, ten collecting files by name) and
// ranks its folders by the space the files below them take.
#pragma once

#include "framework/SkipList.h"
#include "reports/FileIdSet.h"
#include "reports/SpaceTree.h"
#include "working/ProgressSink.h"

#include <windows.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace framework {
class FileFind;
}

// One file a report keeps, or one folder with the files below it.
struct ReportEntry {
    std::string path;          // folder + "\" + name
    std::uint64_t size = 0;    // a folder's: all files below it
    std::string dateText;      // as FormatFileDate writes it; a folder's: its newest file's (none: empty)
    std::int64_t day = 0;      // local day number, ordered as dateText; 0 for "00/00/00"
    int files = 0;             // a folder's: the files below it
    std::uint64_t onDisk = 0;  // a folder's: what its files take on the disk
};

// What the files below one folder add up to, as an analysis keeps it; a
// file with several names counts once, where the walk met it first.
struct FolderTotal {
    std::string path;
    std::uint64_t bytes = 0;
    int files = 0;
    std::uint64_t onDisk = 0;
};

// One file as an analysis takes it, from a listing or from a saved analysis.
struct FileFacts {
    const char* name = "";
    std::uint64_t size = 0;
    std::uint64_t onDisk = 0;
    FILETIME written{};
    DWORD attributes = 0;
};

// A folder as it closes: what the files below it add up to, the newest of
// their times (file-time ticks; INT64_MIN when it holds none), its attributes.
struct ClosedFolder {
    const FolderTotal& total;
    std::int64_t newest;
    DWORD attributes;
};

// Hears what an analysis meets, in the walk's order: each file where it is
// met, each folder after everything in it, the target last.
class AnalysisListener {
public:
    virtual ~AnalysisListener() = default;
    // counted: false for a further name of a file counted where it was met first.
    virtual void OnFile(const std::string& folder, const FileFacts& file, bool counted) = 0;
    virtual void OnFolder(const ClosedFolder& folder) = 0;
};

// The reports, in the order of their lists and of the Report list; each is
// one row of kReports.
enum class ReportId : int {
    LargestFiles,
    SmallestFiles,
    OldestFiles,
    NewestFiles,
    ShortNames,
    PictureFiles,
    ZipFiles,
    NumericExtensions,
    BakFiles,
    TmpFiles,
    IconFiles,
    IniFiles,
    HelpFiles,
    UnderscoreFiles,
    LargestFolders,
    GrownFolders,
};

// The name rules of the collecting reports, on the bare file name.
bool IsShortName(const char* name);
bool IsPictureName(const char* name);
bool IsNumericExtension(const char* name);
bool HasSuffix(const char* name, const char* suffix);
bool EndsWithUnderscore(const char* name);

// How a report takes what the walk offers it.
enum class ReportTakes {
    RankedFiles,     // the first kRankLimit files in its order
    CollectedFiles,  // every file its name rule accepts, in walk order
    LargestFolders,  // the first kRankLimit folders by the bytes below them
    GrownFolders,    // filled from a kept analysis, not by the walk
};

// The order of a ranked report: what stands first.
enum class ReportOrder { None, LargestFirst, SmallestFirst, OldestFirst, NewestFirst };

struct ReportRow {
    ReportId id;
    const char* caption;
    ReportTakes takes;
    ReportOrder order = ReportOrder::None;
    bool (*rule)(const char* name) = nullptr;  // a collecting report's, or
    const char* suffix = nullptr;              // the suffix it collects by

    bool Collects(const char* name) const { return rule ? rule(name) : HasSuffix(name, suffix); }
};

// The reports, indexed by ReportId; the walk and the Report list both read them from here.
struct ReportTable {
    static constexpr int kCount = 16;

    constexpr const ReportRow& operator[](ReportId id) const { return rows[static_cast<size_t>(id)]; }
    constexpr const ReportRow* begin() const { return rows.data(); }
    constexpr const ReportRow* end() const { return rows.data() + kCount; }

    // Every row sits at its own id, every collecting report has a rule and every ranked one an order.
    constexpr bool Consistent() const
    {
        for (int i = 0; i < kCount; ++i) {
            const ReportRow& row = rows[static_cast<size_t>(i)];
            if (static_cast<int>(row.id) != i || !row.caption)
                return false;
            if ((row.takes == ReportTakes::CollectedFiles) != (row.rule || row.suffix))
                return false;
            if (row.takes == ReportTakes::RankedFiles && row.order == ReportOrder::None)
                return false;
        }
        return true;
    }

    std::array<ReportRow, kCount> rows;
};

inline constexpr ReportTable kReports{{{
    {ReportId::LargestFiles, "Largest files", ReportTakes::RankedFiles, ReportOrder::LargestFirst},
    {ReportId::SmallestFiles, "Smallest files", ReportTakes::RankedFiles, ReportOrder::SmallestFirst},
    {ReportId::OldestFiles, "Oldest files", ReportTakes::RankedFiles, ReportOrder::OldestFirst},
    {ReportId::NewestFiles, "Newest files", ReportTakes::RankedFiles, ReportOrder::NewestFirst},
    {ReportId::ShortNames, "Files with short names (???.*)", ReportTakes::CollectedFiles, {}, IsShortName},
    {ReportId::PictureFiles, "Picture files (*.bmp;*.gif;*.jpg)", ReportTakes::CollectedFiles, {}, IsPictureName},
    {ReportId::ZipFiles, "ZIP files (*.zip)", ReportTakes::CollectedFiles, {}, nullptr, ".zip"},
    {ReportId::NumericExtensions,
     "Files with numeric extensions (*.000,*.001,...)",
     ReportTakes::CollectedFiles,
     {},
     IsNumericExtension},
    {ReportId::BakFiles, "Files ending with .BAK (*.bak)", ReportTakes::CollectedFiles, {}, nullptr, ".bak"},
    {ReportId::TmpFiles, "Files ending with .TMP (*.tmp)", ReportTakes::CollectedFiles, {}, nullptr, ".tmp"},
    {ReportId::IconFiles, "Icon Files (*.ico)", ReportTakes::CollectedFiles, {}, nullptr, ".ico"},
    {ReportId::IniFiles, "Ini Files (*.ini)", ReportTakes::CollectedFiles, {}, nullptr, ".ini"},
    {ReportId::HelpFiles, "Help Files (*.hlp)", ReportTakes::CollectedFiles, {}, nullptr, ".hlp"},
    {ReportId::UnderscoreFiles,
     "Files ending with an underscore (*.??_)",
     ReportTakes::CollectedFiles,
     {},
     EndsWithUnderscore},
    {ReportId::LargestFolders, "Largest folders", ReportTakes::LargestFolders, ReportOrder::LargestFirst},
    {ReportId::GrownFolders, "Folders that grew", ReportTakes::GrownFolders},
}}};

constexpr int kReportCount = ReportTable::kCount;

static_assert(kReports.Consistent(), "kReports must list each ReportId once, in order");
static_assert(static_cast<int>(ReportId::GrownFolders) == kReportCount - 1, "kReports needs a row for each ReportId");

// What an analysis gathers besides the file reports; each part takes the one before.
enum class AnalysisParts {
    Files,
    FolderTotals,
    SpaceTree,
};

class FolderAnalysis {
public:
    // The capacity of the ranked reports.
    static constexpr size_t kRankLimit = 100;

    // Without folder totals Largest folders stays empty, without the tree
    // the map; the benchmark measures what each costs.
    explicit FolderAnalysis(AnalysisParts parts = AnalysisParts::SpaceTree) noexcept
        : m_folderTotals(parts >= AnalysisParts::FolderTotals), m_spaceTree(parts >= AnalysisParts::SpaceTree)
    {
    }

    // Forgets the previous analysis and walks the target (a drive root such
    // as C:\ or a folder). Reports progress at every file and folder; a stop
    // ends the walk at once and keeps what was gathered, the folders still
    // open with the files met in them. Junctions and symbolic links to
    // folders are not followed. The target itself is not a Largest folder.
    // Folders the skip list names are not entered (the target always is).
    void Start(const std::string& target, ProgressSink& progress, const framework::SkipList& skip = {});
    // Hears the next walk or replay; nullptr: none.
    void SetListener(AnalysisListener* listener) noexcept { m_listener = listener; }

    // Builds the analysis again from what a listener heard, in its order:
    // the target, every file with the folder holding it, every folder as it
    // closes (after what lies in it, the target last). False, with the
    // analysis left incomplete, for anything out of that order.
    // The skip list is kept for the replay to ask, as the walk would.
    void StartReplay(const std::string& target, const framework::SkipList& skip = {});
    // This many files and folders, with names of this many bytes, will be
    // replayed: the tree is sized once instead of growing by copies.
    void ReserveReplay(size_t entries, size_t nameBytes);
    bool ReplayFile(const std::string& folder, const FileFacts& file, bool counted);
    bool ReplayFolder(const std::string& path, DWORD attributes);
    // Whether the skip list keeps the replay out of this sub-folder; counts it if so.
    bool ReplaySkips(const std::string& folder, const char* name) { return Skips(folder, name); }
    // Whether every folder was closed and the replay not stopped.
    bool FinishReplay(bool stopped = false);

    const std::vector<ReportEntry>& Report(ReportId id) const { return m_lists.at(static_cast<size_t>(id)); }
    // The target's complete path, and whether its walk ran to the end.
    const std::string& Target() const noexcept { return m_target; }
    bool Completed() const noexcept { return m_completed; }
    // Every folder below the target, inner folders before the one holding them.
    const std::vector<FolderTotal>& Folders() const noexcept { return m_folders; }
    // Every folder and file met, for the map; removals shrink it.
    const SpaceTree& Tree() const noexcept { return m_tree; }
    SpaceTree& Tree() noexcept { return m_tree; }
    int FilesAnalyzed() const noexcept { return m_filesAnalyzed; }
    double TotalKilobytes() const noexcept { return m_totalKilobytes; }
    // The whole target: its files once each, and the bytes they take on the disk.
    FolderTotal Found() const { return {m_target, m_found.bytes, m_found.files, m_found.onDisk}; }
    // The folders the walk could not list.
    const std::vector<std::string>& UnreadFolders() const noexcept { return m_unread; }
    // The folders the skip list kept the walk out of, and that list's text.
    int SkippedFolders() const noexcept { return m_skipped; }
    const std::string& SkipText() const noexcept { return m_skip.Text(); }
    // For a whole drive walked to the end: its used space as the drive told
    // it then (capacity less free space); else none.
    std::optional<std::uint64_t> DriveUsedBytes() const noexcept { return m_driveUsed; }
    // The entries (records and names) of a drive's file table that could
    // not be used, for an analysis read from that table.
    void SetSkippedRecords(std::uint64_t records) noexcept { m_skippedRecords = records; }
    std::uint64_t SkippedRecords() const noexcept { return m_skippedRecords; }

private:
    // What the files below one folder add up to.
    struct Totals {
        std::uint64_t bytes = 0;
        std::uint64_t onDisk = 0;
        int files = 0;
        std::int64_t newest = INT64_MIN;  // file-time ticks, taken as signed

        void Add(const Totals& inner) noexcept;
    };

    // A folder open in a replay.
    struct Replaying {
        std::string path;
        DWORD attributes = 0;
        Totals totals;
    };

    // A folder open in the walk: the walk keeps a stack of them instead of recursing.
    struct Listing;

    bool Walk(std::string& folder, ProgressSink& progress, Totals& totals);
    bool ListFolder(const std::string& folder, framework::FileFind& find);
    // Whether the skip list keeps the walk out of this sub-folder; counts it if so.
    bool Skips(const std::string& folder, const char* name);
    // Offers the listing's file and moves on; false when the user stopped.
    bool TakeFile(const std::string& folder, Listing& listing, ProgressSink& progress);
    void Clear(const std::string& target);
    void FinishTarget(DWORD attributes);
    bool OpenReplayed(const std::string& folder);
    void Take(const std::string& folder, const FileFacts& file, bool counted, Totals& own);
    void Count(const FileFacts& file, bool counted, Totals& own);
    void CloseFolder(const std::string& folder, DWORD attributes, const Totals& totals, Totals& holder);
    void Offer(const std::string& folder, const FileFacts& file);
    void OfferFolder(const std::string& folder, const Totals& totals);
    std::int64_t DayOf(const FILETIME& time) const;

    bool m_folderTotals;
    bool m_spaceTree;
    SpaceTree m_tree;
    FileIdSet m_counted;  // the ids of the files met, so that a file of several names counts once
    std::array<std::vector<ReportEntry>, kReportCount> m_lists;
    std::vector<FolderTotal> m_folders;
    std::vector<std::string> m_unread;
    framework::SkipList m_skip;
    int m_skipped = 0;
    std::uint64_t m_skippedRecords = 0;
    AnalysisListener* m_listener = nullptr;
    std::vector<Replaying> m_replay;
    std::string m_target;
    Totals m_found;
    std::optional<std::uint64_t> m_driveUsed;
    bool m_completed = false;
    int m_filesAnalyzed = 0;
    double m_totalKilobytes = 0;
    std::int64_t m_localBias = 0;  // local time minus UTC, in file-time ticks
    char m_progressText[80] = "";
};
