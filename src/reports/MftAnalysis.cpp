#include "reports/MftAnalysis.h"

#include "framework/Path.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <optional>

namespace {

bool IsFolder(const MftTable& table, std::uint32_t file)
{
    return (table.Files()[file].attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// The folder at the path below the start, or none: not there, or reached
// through a reparse point.
std::optional<std::uint32_t> FindFolder(const MftTable& table, std::uint32_t start, const std::string& below)
{
    std::uint32_t folder = start;
    for (size_t at = 0; at < below.size();) {
        size_t end = std::min(below.find('\\', at), below.size());
        std::wstring part = framework::WideText(below.substr(at, end - at));
        at = end + 1;
        if (part.empty())
            continue;
        // The name as written first: a case-sensitive folder may hold others that differ only in case.
        auto children = table.Children(folder);
        auto named = [&](bool ignoreCase) {
            return std::find_if(children.begin(), children.end(), [&](const MftEntry& entry) {
                std::wstring name = framework::WideText(table.Text(entry));
                return IsFolder(table, entry.file) &&
                       ::CompareStringOrdinal(name.c_str(), -1, part.c_str(), -1, ignoreCase) == CSTR_EQUAL;
            });
        };
        auto found = named(FALSE);
        if (found == children.end())
            found = named(TRUE);
        // Past a junction or mount point the walk would reach another folder or volume.
        if (found == children.end() || (table.Files()[found->file].attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
            return std::nullopt;
        folder = found->file;
    }
    return folder;
}

// What the analysis is handed, in the walk's order, packed in blocks that
// are freed as the replay passes them: the analysis grows as they shrink,
// and the table is gone by then.
class ReplaySteps {
public:
    enum class Kind : std::uint8_t { File, FurtherName, Open, Close };
    // What a block holds of a step, its name following.
    struct Stored {
        Kind kind = Kind::Close;
        DWORD attributes = 0;
        std::uint64_t size = 0;
        std::uint64_t onDisk = 0;
        FILETIME written{};
    };
    struct Step : Stored {
        const char* name = "";  // valid until the next step
    };

    void Add(Kind kind, const MftFile* facts = nullptr, const char* name = nullptr)
    {
        size_t nameBytes = name ? std::strlen(name) + 1 : 0;
        if (kind != Kind::Close) {
            ++m_entries;
            m_nameBytes += nameBytes - 1;
        }
        if (m_blocks.empty() || m_blocks.back().size() + sizeof(Stored) + nameBytes > kBlockBytes) {
            m_blocks.emplace_back();
            m_blocks.back().reserve(kBlockBytes);
        }
        Stored step{kind};
        if (facts)
            step = {kind, facts->attributes, facts->size, kind == Kind::File ? facts->onDisk : 0, facts->written};
        std::vector<char>& block = m_blocks.back();
        size_t at = block.size();
        block.resize(at + sizeof(Stored) + nameBytes);
        std::memcpy(block.data() + at, &step, sizeof(Stored));
        if (name)
            std::memcpy(block.data() + at + sizeof(Stored), name, nameBytes);
    }

    // The next step; false after the last.
    bool Next(Step& step)
    {
        while (m_block < m_blocks.size() && m_at == m_blocks[m_block].size()) {
            std::vector<char>().swap(m_blocks[m_block++]);
            m_at = 0;
        }
        if (m_block == m_blocks.size())
            return false;
        const char* at = m_blocks[m_block].data() + m_at;
        std::memcpy(static_cast<Stored*>(&step), at, sizeof(Stored));
        m_at += sizeof(Stored);
        step.name = "";
        if (step.kind != Kind::Close) {
            step.name = at + sizeof(Stored);
            m_at += std::strlen(step.name) + 1;
        }
        return true;
    }

    // The files and folders laid out, and the bytes of their names.
    size_t Entries() const noexcept { return m_entries; }
    size_t NameBytes() const noexcept { return m_nameBytes; }

private:
    static constexpr size_t kBlockBytes = 1 << 20;  // far more than one step with the longest name

    size_t m_entries = 0;
    size_t m_nameBytes = 0;
    std::vector<std::vector<char>> m_blocks;
    size_t m_block = 0;
    size_t m_at = 0;
};

// Lays the tree below one folder out as the walk would meet it, depth first,
// on a stack of its own, entering no folder the walk would not enter.
class Sequencer {
public:
    Sequencer(FolderAnalysis& analysis, MftTable& table, ProgressSink& progress, ReplaySteps& steps)
        : m_analysis(analysis), m_table(table), m_progress(progress), m_steps(steps), m_state(table.Files().size(), 0)
    {
    }

    // False when the user stopped; the steps so far are kept.
    bool Run(std::uint32_t start)
    {
        m_path = m_analysis.Target();
        m_state[start] |= kEntered;
        m_open.push_back({start, 0, m_path.size()});
        while (!m_open.empty()) {
            Open& top = m_open.back();
            auto children = m_table.Children(top.folder);
            if (top.next < children.size()) {
                if (!Visit(children[top.next++]))
                    return false;
                continue;
            }
            m_path.resize(top.holderLength);
            m_open.pop_back();
            m_steps.Add(ReplaySteps::Kind::Close);
        }
        return true;
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
        m_steps.Add(counted ? ReplaySteps::Kind::File : ReplaySteps::Kind::FurtherName, &facts, name);
        return true;
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
        m_steps.Add(ReplaySteps::Kind::Open, &facts, name);
        return true;
    }

    FolderAnalysis& m_analysis;
    MftTable& m_table;
    ProgressSink& m_progress;
    ReplaySteps& m_steps;
    std::vector<std::uint8_t> m_state;  // per record
    std::vector<Open> m_open;
    std::string m_path;
};

// Hands the steps to the analysis; false when the user stopped, and the
// folders still open close with what was met in them.
bool Replay(FolderAnalysis& analysis, ReplaySteps& steps, ProgressSink& progress)
{
    struct Open {
        size_t holderLength;
        DWORD attributes;
    };
    std::string path = analysis.Target();
    std::vector<Open> open{{path.size(), 0}};
    char text[128] = "";
    bool goOn = true;
    ReplaySteps::Step step;
    while (goOn && !open.empty() && steps.Next(step)) {
        switch (step.kind) {
        case ReplaySteps::Kind::File:
        case ReplaySteps::Kind::FurtherName:
            analysis.ReplayFile(path, {step.name, step.size, step.onDisk, step.written, step.attributes},
                                step.kind == ReplaySteps::Kind::File);
            if (progress.WantsText())
                std::snprintf(text, sizeof text, "%s\n%d files, %.2f megabytes analyzed", kReadingTableText,
                              analysis.FilesAnalyzed(), analysis.TotalKilobytes() / 1024.0);
            goOn = progress.Step(text);
            break;
        case ReplaySteps::Kind::Open:
            goOn = progress.Step(nullptr);
            if (goOn) {
                open.push_back({path.size(), step.attributes});
                path += '\\';
                path += step.name;
            }
            break;
        case ReplaySteps::Kind::Close:
            analysis.ReplayFolder(path, open.back().attributes);
            path.resize(open.back().holderLength);
            open.pop_back();
            break;
        }
    }
    for (; !open.empty(); open.pop_back()) {
        analysis.ReplayFolder(path, open.back().attributes);
        path.resize(open.back().holderLength);
    }
    return goOn;
}

// Hands over what was gathered before a stop: the user has stopped already.
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
    ReplaySteps steps;
    bool laidOut = Sequencer(analysis, table, progress, steps).Run(*start);
    table.Release();
    analysis.ReserveReplay(steps.Entries(), steps.NameBytes());
    // After a stop, what was laid out is still handed over.
    Unstoppable placing;
    bool replayed = Replay(analysis, steps, laidOut ? progress : placing);
    analysis.FinishReplay(!laidOut || !replayed || !table.Whole());
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
    // A drive that SUBST made of a folder is a link to it, not a volume.
    wchar_t device[MAX_PATH] = L"";
    if (!::QueryDosDeviceW(framework::WideText(drive).c_str(), device, MAX_PATH) ||
        std::wcsncmp(device, L"\\Device\\", 8) != 0)
        return nullptr;
    auto volume = std::make_unique<FileSource>("\\\\.\\" + drive);
    // Whole sectors of any size a disk has; the boot sector must be NTFS's.
    std::vector<std::uint8_t> boot(4096);
    if (!volume->IsOpen() || !volume->Read(0, boot) || !IsNtfsBootSector(boot))
        return nullptr;
    return volume;
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
