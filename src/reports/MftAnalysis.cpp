#include "reports/MftAnalysis.h"

#include "framework/Path.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <cstdio>
#include <cstring>

namespace {

bool IsFolder(const MftTable& table, std::uint32_t file)
{
    return (table.Files()[file].attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// The folder at the path below the start, or none.
std::optional<std::uint32_t> FindFolder(const MftTable& table, std::uint32_t start, const std::string& below)
{
    std::uint32_t folder = start;
    for (size_t at = 0; at < below.size();) {
        size_t end = std::min(below.find('\\', at), below.size());
        std::wstring part = framework::WideText(below.substr(at, end - at));
        at = end + 1;
        if (part.empty())
            continue;
        auto children = table.Children(folder);
        auto found = std::find_if(children.begin(), children.end(), [&](const MftEntry& entry) {
            std::wstring name = framework::WideText(table.Text(entry));
            return IsFolder(table, entry.file) &&
                   ::CompareStringOrdinal(name.c_str(), -1, part.c_str(), -1, TRUE) == CSTR_EQUAL;
        });
        if (found == children.end())
            return std::nullopt;
        folder = found->file;
    }
    return folder;
}

// Hands the tree below one folder to the analysis depth first, as the walk
// meets it, on a stack of its own.
class Replayer {
public:
    Replayer(FolderAnalysis& analysis, MftTable& table, ProgressSink& progress)
        : m_analysis(analysis), m_table(table), m_progress(progress), m_state(table.Files().size(), 0)
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
            auto children = m_table.Children(top.folder);
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

    bool Visit(const MftEntry& entry)
    {
        const MftFile& facts = m_table.Files()[entry.file];
        const char* name = m_table.Text(entry);
        if (IsFolder(m_table, entry.file))
            return Enter(entry.file, facts, name);
        bool counted = (m_state[entry.file] & kCounted) == 0;
        m_state[entry.file] |= kCounted;
        m_analysis.ReplayFile(m_path, {name, facts.size, counted ? facts.onDisk : 0, facts.written, facts.attributes},
                              counted);
        if (m_progress.WantsText())
            std::snprintf(m_text, sizeof m_text, "%s\n%d files, %.2f megabytes analyzed", kReadingTableText,
                          m_analysis.FilesAnalyzed(), m_analysis.TotalKilobytes() / 1024.0);
        return m_progress.Step(m_text);
    }

    // Junctions and links to folders are not followed, as in the walk.
    bool Enter(std::uint32_t folder, const MftFile& facts, const char* name)
    {
        if ((facts.attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 || m_analysis.ReplaySkips(m_path, name))
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
    std::optional<std::uint32_t> start = FindFolder(table, MftTable::kRoot, below);
    if (!start)
        return false;
    std::string target = below.empty() ? root : root + '\\' + below;
    analysis.StartReplay(target, skip);
    analysis.ReserveReplay(table.NameCount(), table.NameBytes());
    bool completed = Replayer(analysis, table, progress).Run(*start);
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
