#include "reports/MftAnalysis.h"

#include "framework/Path.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <numeric>

namespace {

// Records below this number are the volume's own files, which no listing shows.
constexpr std::uint32_t kFirstUserRecord = 24;
constexpr std::uint32_t kNoFolder = UINT32_MAX;

// NTFS lists a folder by its names upper-cased, unit by unit: a table of
// every unit's upper case makes that one lookup per unit.
class UpperCase {
public:
    UpperCase() : m_upper(65536)
    {
        for (size_t unit = 0; unit < m_upper.size(); ++unit)
            m_upper[unit] = static_cast<wchar_t>(unit);
        ::CharUpperBuffW(m_upper.data() + 1, static_cast<DWORD>(m_upper.size() - 1));
    }
    bool Less(std::wstring_view a, std::wstring_view b) const
    {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [&](wchar_t x, wchar_t y) {
            return m_upper[static_cast<std::uint16_t>(x)] < m_upper[static_cast<std::uint16_t>(y)];
        });
    }

private:
    std::vector<wchar_t> m_upper;
};

bool NameEqual(std::wstring_view a, std::wstring_view b)
{
    return ::CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

std::string Narrow(std::wstring_view name)
{
    return framework::NarrowText(std::wstring(name).c_str());
}

// The names in each folder, in the order a listing gives them.
class FolderIndex {
public:
    explicit FolderIndex(MftTable& table) : m_table(table)
    {
        const std::vector<MftFile>& files = table.Files();
        std::vector<std::uint32_t> held;
        for (std::uint32_t i = 0; i < table.Names().size(); ++i) {
            if (Holds(table.Names()[i]))
                held.push_back(i);
        }
        m_first.assign(files.size() + 1, 0);
        for (std::uint32_t i : held)
            ++m_first[table.Names()[i].parent + 1];
        std::partial_sum(m_first.begin(), m_first.end(), m_first.begin());
        m_children.resize(held.size());
        std::vector<std::uint32_t> next(m_first.begin(), m_first.end() - 1);
        for (std::uint32_t i : held)
            m_children[next[table.Names()[i].parent]++] = i;
        const UpperCase upper;
        for (size_t folder = 0; folder < files.size(); ++folder)
            std::stable_sort(m_children.begin() + m_first[folder], m_children.begin() + m_first[folder + 1],
                             [&](std::uint32_t a, std::uint32_t b) { return upper.Less(Text(a), Text(b)); });
    }

    std::span<const std::uint32_t> Children(std::uint32_t folder) const
    {
        return {m_children.data() + m_first[folder], m_first[folder + 1] - m_first[folder]};
    }
    std::wstring_view Text(std::uint32_t name) const { return m_table.Text(m_table.Names()[name]); }

    // The folder at the path below the start, or none.
    std::optional<std::uint32_t> Find(std::uint32_t start, const std::string& below) const
    {
        std::uint32_t folder = start;
        for (size_t at = 0; at < below.size();) {
            size_t end = std::min(below.find('\\', at), below.size());
            std::wstring part = framework::WideText(below.substr(at, end - at));
            at = end + 1;
            if (part.empty())
                continue;
            auto children = Children(folder);
            auto found = std::find_if(children.begin(), children.end(), [&](std::uint32_t name) {
                return IsFolder(m_table.Names()[name].file) && NameEqual(Text(name), part);
            });
            if (found == children.end())
                return std::nullopt;
            folder = m_table.Names()[*found].file;
        }
        return folder;
    }

    bool IsFolder(std::uint32_t file) const
    {
        return (m_table.Files()[file].attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    }

    // The folders whose chain of parents loops instead of reaching the root:
    // no walk from the root meets them.
    std::uint64_t CountCycles() const
    {
        const size_t count = m_table.Files().size();
        std::vector<std::uint32_t> parentOf(count, kNoFolder);
        for (std::uint32_t name : m_children) {
            const MftName& held = m_table.Names()[name];
            if (IsFolder(held.file) && parentOf[held.file] == kNoFolder)
                parentOf[held.file] = held.parent;
        }
        std::vector<std::uint32_t> seenFrom(count, kNoFolder);
        std::uint64_t cycles = 0;
        for (std::uint32_t start = 0; start < count; ++start) {
            std::uint32_t at = start;
            while (at != kNoFolder && seenFrom[at] == kNoFolder) {
                seenFrom[at] = start;
                at = parentOf[at];
            }
            cycles += at != kNoFolder && seenFrom[at] == start;
        }
        return cycles;
    }

private:
    // A name is listed when both it and its folder are in use and the
    // folder is the one it names (not a later file in the same record).
    bool Holds(const MftName& name)
    {
        const std::vector<MftFile>& files = m_table.Files();
        if (name.file < kFirstUserRecord)
            return false;
        if (name.file == name.parent) {
            ++m_table.Faults().cycles;
            return false;
        }
        bool held = name.file < files.size() && files[name.file].inUse && name.parent < files.size() &&
                    files[name.parent].inUse && (files[name.parent].attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
                    (name.parentSequence == 0 || name.parentSequence == files[name.parent].sequence);
        if (!held)
            ++m_table.Faults().orphans;
        return held;
    }

    MftTable& m_table;
    std::vector<std::uint32_t> m_first;     // per record: its first child in m_children
    std::vector<std::uint32_t> m_children;  // name numbers, folder by folder
};

// Hands the tree below one folder to the analysis depth first, as the walk
// meets it, on a stack of its own.
class Replayer {
public:
    Replayer(FolderAnalysis& analysis, MftTable& table, const FolderIndex& index, ProgressSink& progress)
        : m_analysis(analysis), m_table(table), m_index(index), m_progress(progress), m_state(table.Files().size(), 0)
    {
    }

    // False when the user stopped; the folders still open close with what was met in them.
    bool Run(std::uint32_t start)
    {
        m_path = m_analysis.Target();
        m_state[start] |= kEntered;
        m_open.push_back({start, 0, m_path.size()});
        bool goOn = true;
        while (!m_open.empty()) {
            Open& top = m_open.back();
            auto children = m_index.Children(top.folder);
            if (goOn && top.next < children.size()) {
                goOn = Visit(children[top.next++]);
                continue;
            }
            size_t holder = top.holderLength;
            DWORD attributes = m_open.size() == 1 ? 0 : m_table.Files()[top.folder].attributes;
            m_open.pop_back();
            m_analysis.ReplayFolder(m_path, attributes);
            m_path.resize(holder);
        }
        return goOn;
    }

private:
    static constexpr std::uint8_t kEntered = 1;
    static constexpr std::uint8_t kCounted = 2;

    struct Open {
        std::uint32_t folder;
        size_t next;
        size_t holderLength;
    };

    bool Visit(std::uint32_t nameNumber)
    {
        std::uint32_t file = m_table.Names()[nameNumber].file;
        const MftFile& facts = m_table.Files()[file];
        std::string name = Narrow(m_index.Text(nameNumber));
        if (m_index.IsFolder(file))
            return Enter(file, facts, name);
        bool counted = (m_state[file] & kCounted) == 0;
        m_state[file] |= kCounted;
        m_analysis.ReplayFile(
            m_path, {name.c_str(), facts.size, counted ? facts.onDisk : 0, facts.written, facts.attributes}, counted);
        if (m_progress.WantsText())
            std::snprintf(m_text, sizeof m_text, "%s\n%d files, %.2f megabytes analyzed", kReadingTableText,
                          m_analysis.FilesAnalyzed(), m_analysis.TotalKilobytes() / 1024.0);
        return m_progress.Step(m_text);
    }

    // Junctions and links to folders are not followed, as in the walk.
    bool Enter(std::uint32_t folder, const MftFile& facts, const std::string& name)
    {
        if ((facts.attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 || m_analysis.ReplaySkips(m_path, name.c_str()))
            return true;
        if ((m_state[folder] & kEntered) != 0) {
            ++m_table.Faults().cycles;
            return true;
        }
        if (!m_progress.Step(nullptr))
            return false;
        m_state[folder] |= kEntered;
        m_open.push_back({folder, 0, m_path.size()});
        m_path += '\\';
        m_path += name;
        return true;
    }

    FolderAnalysis& m_analysis;
    MftTable& m_table;
    const FolderIndex& m_index;
    ProgressSink& m_progress;
    std::vector<std::uint8_t> m_state;  // per record
    std::vector<Open> m_open;
    std::string m_path;
    char m_text[128] = "";
};

// Places what a stopped reading gathered: the user has stopped already.
class Unstoppable : public ProgressSink {
public:
    bool Step(const char*) override { return true; }
    bool WantsText() const override { return false; }
};

// "C:" of "C:\..." or "C:"; empty for any other path.
std::string DriveOf(const std::string& folder)
{
    bool letter = folder.size() >= 2 && std::isalpha(static_cast<unsigned char>(folder[0])) && folder[1] == ':';
    return letter && (folder.size() == 2 || folder[2] == '\\') ? folder.substr(0, 2) : std::string();
}

}  // namespace

bool AnalyseTable(FolderAnalysis& analysis, MftTable& table, const std::string& root, const std::string& below,
                  ProgressSink& progress, const framework::SkipList& skip)
{
    if (table.Files().size() <= MftTable::kRoot || !table.Files()[MftTable::kRoot].inUse)
        return false;
    FolderIndex index(table);
    table.Faults().cycles += index.CountCycles();
    std::optional<std::uint32_t> start = index.Find(MftTable::kRoot, below);
    if (!start)
        return false;
    std::string target = below.empty() ? root : root + '\\' + below;
    analysis.StartReplay(target, skip);
    bool completed = Replayer(analysis, table, index, progress).Run(*start);
    analysis.FinishReplay(!completed || !table.Whole());
    if (table.Whole()) {
        const MftFaults& faults = table.Faults();
        analysis.SetSkippedRecords(faults.damaged + faults.unreadable + faults.cycles + faults.orphans);
    }
    return true;
}

std::unique_ptr<ByteSource> OpenNtfsVolume(const std::string& drive)
{
    std::wstring root = framework::WideText(drive + '\\');
    wchar_t system[MAX_PATH + 1] = L"";
    if (::GetDriveTypeW(root.c_str()) != DRIVE_FIXED ||
        !::GetVolumeInformationW(root.c_str(), nullptr, 0, nullptr, nullptr, nullptr, system, MAX_PATH + 1) ||
        std::wcscmp(system, L"NTFS") != 0)
        return nullptr;
    auto volume = std::make_unique<FileSource>("\\\\.\\" + drive);
    return volume->IsOpen() ? std::move(volume) : nullptr;
}

AnalysisWay Analyse(FolderAnalysis& analysis, const std::string& target, ProgressSink& progress,
                    const framework::SkipList& skip,
                    const std::function<std::unique_ptr<ByteSource>(const std::string&)>& open)
{
    std::string folder = target;
    if (!folder.empty() && folder.back() == '\\')
        folder.pop_back();
    folder = framework::AbsoluteFolder(folder);
    std::string drive = DriveOf(folder);
    if (std::unique_ptr<ByteSource> volume = drive.empty() ? nullptr : open(drive)) {
        progress.StepPhase(kReadingTableText);
        MftTable table;
        MftTable::Outcome read = table.Read(*volume, progress);
        std::string below = folder.size() > 3 ? folder.substr(3) : std::string();
        if (read == MftTable::Outcome::Stopped) {
            // What was read before the stop is kept, as the walk keeps what it met.
            Unstoppable placing;
            if (!AnalyseTable(analysis, table, drive, below, placing, skip)) {
                analysis.StartReplay(folder, skip);
                analysis.FinishReplay(true);
            }
            return AnalysisWay::FileTable;
        }
        if (read == MftTable::Outcome::Read && AnalyseTable(analysis, table, drive, below, progress, skip))
            return AnalysisWay::FileTable;
    }
    progress.StepPhase(kLookingAtFoldersText);
    analysis.Start(target, progress, skip);
    return AnalysisWay::Folders;
}
