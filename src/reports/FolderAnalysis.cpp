#include "reports/FolderAnalysis.h"

#include "framework/Drives.h"
#include "framework/FileFind.h"
#include "framework/Path.h"
#include "framework/Text.h"
#include "framework/Win32.h"
#include "lists/FileText.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>

namespace {

bool EndsWithIgnoringCase(const char* name, size_t length, const char* suffix)
{
    size_t suffixLength = std::strlen(suffix);
    if (length < suffixLength)
        return false;
    const char* tail = name + length - suffixLength;
    for (size_t i = 0; i < suffixLength; ++i) {
        if (framework::LowerAscii(tail[i]) != framework::LowerAscii(suffix[i]))
            return false;
    }
    return true;
}

// Ranked insert: the new entry goes behind every entry that ranks strictly
// ahead of it and in front of its equals; a full list drops its last entry.
// The entry is made only when it goes in.
template <typename Ahead, typename Make> void RankedInsert(std::vector<ReportEntry>& list, Ahead ranksAhead, Make make)
{
    size_t place = list.size();
    while (place > 0 && !ranksAhead(list[place - 1]))
        --place;
    if (place >= FolderAnalysis::kRankLimit)
        return;
    if (list.size() == FolderAnalysis::kRankLimit)
        list.pop_back();
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(place), make());
}

// Whether an entry stands ahead of a file of this size and day.
template <ReportOrder order> bool RanksAhead(const ReportEntry& e, std::uint64_t size, std::int64_t day)
{
    if constexpr (order == ReportOrder::LargestFirst)
        return e.size > size;
    else if constexpr (order == ReportOrder::SmallestFirst)
        return e.size < size;
    else if constexpr (order == ReportOrder::OldestFirst)
        return e.day < day;
    else
        return e.day > day;
}

// The report's row is a constant here, so what it does with a file compiles
// to direct tests: the walk pays no indirect call per file and report.
template <ReportId id, typename Make>
void OfferTo(std::vector<ReportEntry>& list, const char* name, std::uint64_t size, std::int64_t day, Make& entry)
{
    constexpr const ReportRow& row = kReports[id];
    if constexpr (row.takes == ReportTakes::RankedFiles) {
        RankedInsert(
            list, [&](const ReportEntry& e) { return RanksAhead<row.order>(e, size, day); }, entry);
    } else if constexpr (row.takes == ReportTakes::CollectedFiles) {
        if (row.Collects(name))
            list.push_back(entry());
    }
}

// Offers the file to every report, in the order of the table.
template <typename Make, size_t... index>
void OfferToEach(std::array<std::vector<ReportEntry>, kReportCount>& lists, const char* name, std::uint64_t size,
                 std::int64_t day, Make& entry, std::index_sequence<index...>)
{
    (OfferTo<static_cast<ReportId>(index)>(lists[index], name, size, day, entry), ...);
}

}  // namespace

bool HasSuffix(const char* name, const char* suffix)
{
    size_t length = std::strlen(name);
    return length > std::strlen(suffix) && EndsWithIgnoringCase(name, length, suffix);
}

bool IsPictureName(const char* name)
{
    size_t length = std::strlen(name);
    if (length <= 4)
        return false;
    return EndsWithIgnoringCase(name, length, ".gif") || EndsWithIgnoringCase(name, length, ".bmp") ||
           EndsWithIgnoringCase(name, length, ".jpeg") || EndsWithIgnoringCase(name, length, ".jpg");
}

bool IsShortName(const char* name)
{
    const char* dot = std::strchr(name, '.');
    return dot && dot - name < 4;
}

bool IsNumericExtension(const char* name)
{
    const char* dot = std::strchr(name, '.');
    if (!dot)
        return false;
    const char* extension = dot + 1;
    if (std::strcmp(extension, "386") == 0)
        return false;
    return std::strcmp(extension, "000") == 0 || framework::LeadingInteger(extension) > 0;
}

bool EndsWithUnderscore(const char* name)
{
    size_t length = std::strlen(name);
    return length >= 2 && name[length - 1] == '_';
}

void FolderAnalysis::Start(const std::string& target, ProgressSink& progress, const framework::SkipList& skip)
{
    m_skip = skip;
    // Every path complete; a lone "\\" is the current drive's root, not a server.
    std::string folder = target;
    if (!folder.empty() && folder.back() == '\\')
        folder.pop_back();
    Clear(framework::AbsoluteFolder(folder));
    folder = m_target;
    m_completed = Walk(folder, progress, m_found);
    FinishTarget(0);
    // The ids are needed only while walking.
    m_counted.Clear();
    if (m_completed && framework::IsDriveRoot(m_target))
        m_driveUsed = framework::GetDriveUsedBytes(m_target + '\\');
}

void FolderAnalysis::Clear(const std::string& target)
{
    for (auto& list : m_lists) {
        list.clear();
        list.shrink_to_fit();
        list.reserve(2 * kRankLimit);
    }
    m_folders.clear();
    m_unread.clear();
    m_counted.Clear();
    m_replay.clear();
    m_skipped = 0;
    m_skippedRecords = 0;
    m_found = {};
    m_driveUsed.reset();
    m_completed = false;
    m_filesAnalyzed = 0;
    m_totalKilobytes = 0;
    m_progressText[0] = '\0';

    // File times become local the way FileTimeToLocalFileTime does it: by
    // today's bias, whatever the file's date. One reading serves the walk.
    FILETIME now{}, local{};
    ::GetSystemTimeAsFileTime(&now);
    ::FileTimeToLocalFileTime(&now, &local);
    m_localBias = static_cast<std::int64_t>(framework::FileTimeTicks(local) - framework::FileTimeTicks(now));

    m_target = target;
    m_tree.Clear();
    if (m_spaceTree)
        m_tree.Start(target);
}

// The target closes like any folder, but is no Largest folder.
void FolderAnalysis::FinishTarget(DWORD attributes)
{
    if (m_spaceTree)
        m_tree.CloseFolder(m_found.bytes, m_found.onDisk, m_found.newest);
    if (m_listener) {
        FolderTotal total = Found();
        m_listener->OnFolder({total, m_found.newest, attributes});
    }
}

void FolderAnalysis::StartReplay(const std::string& target, const framework::SkipList& skip)
{
    m_skip = skip;
    Clear(target);
    m_replay.push_back({target, 0, {}});
}

void FolderAnalysis::ReserveReplay(size_t entries, size_t nameBytes)
{
    if (m_spaceTree)
        m_tree.Reserve(entries + 1, m_target.size() + nameBytes);
}

// The folder must lie in the one open last; those between open on the way.
bool FolderAnalysis::ReplayFile(const std::string& folder, const FileFacts& file, bool counted)
{
    if (!OpenReplayed(folder))
        return false;
    Take(folder, file, counted, m_replay.back().totals);
    ++m_filesAnalyzed;
    m_totalKilobytes += static_cast<double>(file.size) / 1024.0;
    return true;
}

bool FolderAnalysis::ReplayFolder(const std::string& path, DWORD attributes)
{
    if (!OpenReplayed(path) || m_replay.empty())
        return false;
    Replaying closing = std::move(m_replay.back());
    m_replay.pop_back();
    if (m_replay.empty()) {
        m_found = closing.totals;
        FinishTarget(attributes);
        return true;
    }
    CloseFolder(closing.path, attributes, closing.totals, m_replay.back().totals);
    return true;
}

bool FolderAnalysis::OpenReplayed(const std::string& folder)
{
    if (m_replay.empty())
        return false;
    const std::string& open = m_replay.back().path;
    if (folder == open)
        return true;
    if (folder.size() <= open.size() + 1 || folder.compare(0, open.size(), open) != 0 || folder[open.size()] != '\\')
        return false;
    // Each name between the open folder and this one opens in turn.
    for (size_t at = open.size() + 1; at <= folder.size(); at = folder.find('\\', at) + 1) {
        size_t end = std::min(folder.find('\\', at), folder.size());
        if (end == at)
            return false;
        if (m_spaceTree)
            m_tree.OpenFolder(std::string_view(folder).substr(at, end - at));
        m_replay.push_back({folder.substr(0, end), 0, {}});
        if (end == folder.size())
            break;
    }
    return true;
}

bool FolderAnalysis::FinishReplay(bool stopped)
{
    m_completed = m_replay.empty() && !stopped;
    if (m_completed && framework::IsDriveRoot(m_target))
        m_driveUsed = framework::GetDriveUsedBytes(m_target + '\\');
    return m_completed;
}

void FolderAnalysis::Totals::Add(const Totals& inner) noexcept
{
    bytes = framework::AddSizes(bytes, inner.bytes);
    onDisk = framework::AddSizes(onDisk, inner.onDisk);
    files += inner.files;
    newest = std::max(newest, inner.newest);
}

std::int64_t FolderAnalysis::DayOf(const FILETIME& time) const
{
    auto utc = static_cast<std::int64_t>(framework::FileTimeTicks(time));
    if (utc < 0)
        return 0;
    std::int64_t local = utc + m_localBias;
    if (local < framework::kTicksFrom1601To1970)
        return 0;
    return local / framework::kTicksPerDay;
}

// Depth first: a sub-folder is analysed where the listing meets it, and
// ranked as a folder when its walk ends. The listings still open wait on a
// stack of their own, not the thread's, so that no depth of tree exhausts
// it. Returns false once the user asked to stop; the folders still open then
// close as usual, with what was met in them.
struct FolderAnalysis::Listing {
    framework::FileFind find;
    DWORD attributes = 0;  // the folder's own
    bool more = false;
    size_t holderLength = 0;  // of the path of the folder holding this one
    Totals totals;
};

bool FolderAnalysis::Walk(std::string& folder, ProgressSink& progress, Totals& totals)
{
    std::vector<Listing> open(1);
    open.back().more = ListFolder(folder, open.back().find);
    bool goOn = true;
    for (;;) {
        Listing& listing = open.back();
        framework::FileFind& find = listing.find;
        if (goOn && listing.more) {
            if (!find.IsDirectory()) {
                goOn = TakeFile(folder, listing, progress);
            } else if (find.IsDots() || find.IsReparsePoint() || Skips(folder, find.GetFileName())) {
                listing.more = find.FindNextFile();
            } else if (!progress.Step(nullptr)) {  // a long stretch of folders must stay responsive too
                goOn = false;
            } else {
                size_t length = folder.size();
                folder += '\\';
                folder += find.GetFileName();
                if (m_spaceTree)
                    m_tree.OpenFolder(find.GetFileName());
                DWORD attributes = find.GetAttributes();
                Listing& inner = open.emplace_back();
                inner.attributes = attributes;
                inner.holderLength = length;
                inner.more = ListFolder(folder, inner.find);
            }
            continue;
        }
        if (open.size() == 1)
            break;
        // The folder's walk ended: it closes and counts in the folder holding it.
        Totals inner = listing.totals;
        size_t holderLength = listing.holderLength;
        DWORD attributes = listing.attributes;
        open.pop_back();
        CloseFolder(folder, attributes, inner, open.back().totals);
        folder.resize(holderLength);
        if (goOn)
            open.back().more = open.back().find.FindNextFile();
    }
    totals = open.back().totals;
    return goOn;
}

bool FolderAnalysis::Skips(const std::string& folder, const char* name)
{
    if (m_skip.Empty() || !m_skip.Skips(folder + '\\' + name, name))
        return false;
    ++m_skipped;
    return true;
}

bool FolderAnalysis::ListFolder(const std::string& folder, framework::FileFind& find)
{
    bool listed = find.FindFile(folder + "\\*.*");
    if (!listed && find.Unreadable())
        m_unread.push_back(folder);
    return listed;
}

bool FolderAnalysis::TakeFile(const std::string& folder, Listing& listing, ProgressSink& progress)
{
    const framework::FileFind& find = listing.find;
    FileFacts file{find.GetFileName(), find.GetLength(), 0, find.GetLastWriteTime(), find.GetAttributes()};
    bool counted = !m_folderTotals || m_counted.Insert(find.GetFileId());
    if (counted && m_folderTotals)
        file.onDisk = find.GetSizeOnDisk();
    Take(folder, file, counted, listing.totals);
    ++m_filesAnalyzed;
    m_totalKilobytes += static_cast<double>(file.size) / 1024.0;
    if (progress.WantsText()) {
        int length = std::snprintf(m_progressText, sizeof m_progressText, "%d files, %.2f megabytes analyzed",
                                   m_filesAnalyzed, m_totalKilobytes / 1024.0);
        if (m_skipped > 0 && length > 0 && static_cast<size_t>(length) < sizeof m_progressText)
            std::snprintf(m_progressText + length, sizeof m_progressText - static_cast<size_t>(length),
                          ", %d folders skipped", m_skipped);
    }
    if (!progress.Step(m_progressText))
        return false;
    listing.more = listing.find.FindNextFile();
    return true;
}

void FolderAnalysis::Take(const std::string& folder, const FileFacts& file, bool counted, Totals& own)
{
    Offer(folder, file);
    if (m_folderTotals)
        Count(file, counted, own);
    if (m_listener)
        m_listener->OnFile(folder, file, counted);
}

// The reports list every name; the totals count a file once, under the name
// the walk met first.
void FolderAnalysis::Count(const FileFacts& file, bool counted, Totals& own)
{
    auto changed = static_cast<std::int64_t>(framework::FileTimeTicks(file.written));
    if (!counted) {
        if (m_spaceTree)
            m_tree.AddLink(file.name, changed);
        return;
    }
    if (m_spaceTree)
        m_tree.AddFile(file.name, file.size, file.onDisk, changed);
    own.bytes = framework::AddSizes(own.bytes, file.size);
    own.onDisk = framework::AddSizes(own.onDisk, file.onDisk);
    ++own.files;
    own.newest = std::max(own.newest, changed);
}

void FolderAnalysis::CloseFolder(const std::string& folder, DWORD attributes, const Totals& totals, Totals& holder)
{
    if (m_spaceTree)
        m_tree.CloseFolder(totals.bytes, totals.onDisk, totals.newest);
    if (m_folderTotals) {
        OfferFolder(folder, totals);
        m_folders.push_back({folder, totals.bytes, totals.files, totals.onDisk});
        holder.Add(totals);
        if (m_listener)
            m_listener->OnFolder({m_folders.back(), totals.newest, attributes});
    }
}

void FolderAnalysis::Offer(const std::string& folder, const FileFacts& file)
{
    const char* name = file.name;
    std::uint64_t size = file.size;
    FILETIME written = file.written;
    std::int64_t day = DayOf(written);
    // The path and the date text are made once, when the first report takes
    // the file, however many reports take it.
    ReportEntry made;
    auto entry = [&] {
        if (made.path.empty())
            made = ReportEntry{folder + '\\' + name, size, FormatFileDate(written), day};
        return made;
    };
    OfferToEach(m_lists, name, size, day, entry, std::make_index_sequence<kReportCount>{});
}

// Among equal totals the folder finished later, an enclosing one, stands first.
void FolderAnalysis::OfferFolder(const std::string& folder, const Totals& totals)
{
    RankedInsert(
        m_lists[static_cast<size_t>(ReportId::LargestFolders)],
        [&](const ReportEntry& e) { return e.size > totals.bytes; },
        [&] {
            if (totals.files == 0)
                return ReportEntry{folder, 0, {}, 0, 0, 0};
            FILETIME newest = framework::FileTimeFromTicks(static_cast<std::uint64_t>(totals.newest));
            return ReportEntry{folder,        totals.bytes, FormatFileDate(newest),
                               DayOf(newest), totals.files, totals.onDisk};
        });
}
