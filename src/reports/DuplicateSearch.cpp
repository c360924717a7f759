#include "reports/DuplicateSearch.h"

#include "framework/FileFind.h"
#include "framework/Handle.h"
#include "framework/Path.h"
#include "framework/Win32.h"
#include "lists/FileText.h"

#include <winternl.h>

#define XXH_INLINE_ALL
#include <xxhash.h>

#include <algorithm>
#include <memory>
#include <span>
#include <tuple>

namespace {

// A 128-bit hash, ordered so that equal ones sort together.
struct Hash {
    std::uint64_t high = 0;
    std::uint64_t low = 0;

    Hash() = default;
    Hash(XXH128_hash_t hash) noexcept : high(hash.high64), low(hash.low64) {}
    auto operator<=>(const Hash&) const = default;
};

// What an open file says of itself.
struct FileState {
    std::uint64_t size = 0;
    std::uint64_t lastWrite = 0;
    // The file, whichever name reached it. Files of one tree lie on one volume
    // but for links to another, where two files of the same number, size and
    // content would show as one copy: a copy missed, never one lost.
    std::uint64_t index = 0;  // 0: not told
    DWORD attributes = 0;
};

// One file of a size others share, as far as the search got with it.
struct Candidate {
    std::uint32_t node;
    FileState state;
    Hash sample{};  // of the head and tail block, or of all bytes of a small file
    Hash whole{};
};

enum class Outcome { Read, Changed, Online, Unreadable, Stopped };

struct StateDeleter {
    void operator()(XXH3_state_t* state) const noexcept { XXH3_freeState(state); }
};

// Equal runs of a sorted range, as [begin, end) pairs of two entries or more.
template <typename Range, typename Equal> std::vector<std::span<Candidate>> Runs(Range& items, Equal equal)
{
    std::vector<std::span<Candidate>> runs;
    for (size_t begin = 0, end; begin < items.size(); begin = end) {
        for (end = begin + 1; end < items.size() && equal(items[begin], items[end]); ++end) {
        }
        if (end - begin >= 2)
            runs.emplace_back(items.data() + begin, end - begin);
    }
    return runs;
}

class Search {
public:
    Search(const SpaceTree& tree, ProgressSink& progress, const DuplicateOptions& options)
        : m_tree(tree), m_progress(progress), m_options(options), m_buffer(kDuplicateReadSize),
          m_state(XXH3_createState())
    {
    }

    DuplicateResult Run();

private:
    std::vector<std::uint32_t> FilesBySize() const;
    bool CompareSize(std::span<const std::uint32_t> nodes);
    bool CompareWhole(std::span<Candidate> same);
    void Keep(std::span<Candidate> copies);
    Outcome Sample(Candidate& file);
    Outcome ReadWhole(Candidate& file);
    Outcome Open(const std::string& path, framework::KernelHandle& file, FileState& state);
    static bool StateOf(HANDLE file, FileState& state);
    static bool Unchanged(HANDLE file, const FileState& before);
    bool ReadAt(HANDLE file, std::uint64_t offset, char* into, DWORD bytes);
    bool Count(Outcome outcome);
    bool Step(const std::string& path);

    const SpaceTree& m_tree;
    ProgressSink& m_progress;
    const DuplicateOptions& m_options;
    std::vector<char> m_buffer;
    std::unique_ptr<XXH3_state_t, StateDeleter> m_state;
    DuplicateResult m_result;
};

DuplicateResult Search::Run()
{
    std::vector<std::uint32_t> files = FilesBySize();
    m_result.completed = true;
    for (size_t begin = 0, end; begin < files.size() && m_result.completed; begin = end) {
        std::uint64_t size = m_tree.At(files[begin]).size;
        for (end = begin + 1; end < files.size() && m_tree.At(files[end]).size == size; ++end) {
        }
        if (end - begin < 2)
            continue;
        m_result.sharedSizeBytes += size * (end - begin);
        m_result.completed = CompareSize(std::span(files).subspan(begin, end - begin));
    }
    std::stable_sort(m_result.groups.begin(), m_result.groups.end(),
                     [](const DuplicateGroup& a, const DuplicateGroup& b) {
                         return std::pair(a.Waste(), a.size) > std::pair(b.Waste(), b.size);
                     });
    return std::move(m_result);
}

// The files that may have copies, largest first: one name of each file,
// of 1 byte or more. Only node numbers, so that a tree of millions costs little.
std::vector<std::uint32_t> Search::FilesBySize() const
{
    std::vector<std::uint32_t> files;
    for (std::uint32_t node = 0; node < m_tree.Count(); ++node) {
        const SpaceTree::Node& entry = m_tree.At(node);
        if (!entry.folder && !entry.linked && !entry.removed && entry.size > 0)
            files.push_back(node);
    }
    std::stable_sort(files.begin(), files.end(),
                     [&](std::uint32_t a, std::uint32_t b) { return m_tree.At(a).size > m_tree.At(b).size; });
    return files;
}

// Files of one size: their ends first, then whole where the ends agree. False when stopped.
bool Search::CompareSize(std::span<const std::uint32_t> nodes)
{
    std::vector<Candidate> files;
    for (std::uint32_t node : nodes) {
        Candidate file{node, {}};
        Outcome outcome = Sample(file);
        if (!Count(outcome))
            return false;
        if (outcome == Outcome::Read)
            files.push_back(file);
    }
    // Two names that reach one file (a link the walk could not tell) are that file once.
    std::stable_sort(files.begin(), files.end(),
                     [](const Candidate& a, const Candidate& b) { return a.state.index < b.state.index; });
    files.erase(std::unique(files.begin(), files.end(),
                            [](const Candidate& a, const Candidate& b) {
                                return a.state.index != 0 && a.state.index == b.state.index;
                            }),
                files.end());
    std::stable_sort(files.begin(), files.end(), [](const Candidate& a, const Candidate& b) {
        return std::tie(a.sample, a.node) < std::tie(b.sample, b.node);
    });
    bool readWhole = m_tree.At(nodes.front()).size <= 2 * kDuplicateEndBlock;
    for (std::span<Candidate> same :
         Runs(files, [](const Candidate&a, const Candidate&b) { return a.sample == b.sample; })) {
        if (readWhole)
            Keep(same);
        else if (!CompareWhole(same))
            return false;
    }
    return true;
}

bool Search::CompareWhole(std::span<Candidate> same)
{
    std::vector<Candidate> files;
    for (Candidate& file : same) {
        Outcome outcome = ReadWhole(file);
        if (!Count(outcome))
            return false;
        if (outcome == Outcome::Read)
            files.push_back(file);
    }
    std::stable_sort(files.begin(), files.end(), [](const Candidate& a, const Candidate& b) {
        return std::tie(a.whole, a.node) < std::tie(b.whole, b.node);
    });
    for (std::span<Candidate> copies :
         Runs(files, [](const Candidate&a, const Candidate&b) { return a.whole == b.whole; }))
        Keep(copies);
    return true;
}

// Confirmed: the copies, in the order the walk met them.
void Search::Keep(std::span<Candidate> copies)
{
    DuplicateGroup group{m_tree.At(copies.front().node).size, {}};
    for (const Candidate& file : copies)
        group.files.push_back({file.node, file.state.lastWrite});
    std::sort(group.files.begin(), group.files.end(),
              [](const DuplicateFile& a, const DuplicateFile& b) { return a.node < b.node; });
    m_result.groups.push_back(std::move(group));
}

// The head and tail blocks, or a small file whole, hashed as one.
Outcome Search::Sample(Candidate& file)
{
    std::string path = m_tree.Path(file.node);
    if (!Step(path))
        return Outcome::Stopped;
    framework::KernelHandle handle;
    std::uint64_t size = m_tree.At(file.node).size;
    Outcome opened = Open(path, handle, file.state);
    if (opened != Outcome::Read || file.state.size != size)
        return opened == Outcome::Read ? Outcome::Changed : opened;
    DWORD block = static_cast<DWORD>(std::min<std::uint64_t>(size, kDuplicateEndBlock));
    char* data = m_buffer.data();
    bool small = size <= 2 * kDuplicateEndBlock;
    bool read = small ? ReadAt(handle.get(), 0, data, static_cast<DWORD>(size))
                      : ReadAt(handle.get(), 0, data, block) && ReadAt(handle.get(), size - block, data + block, block);
    // A small file is compared here for good: it must not have changed while read.
    if (!read || (small && !Unchanged(handle.get(), file.state)))
        return Outcome::Changed;
    file.sample = XXH3_128bits(data, small ? size : 2 * block);
    return Outcome::Read;
}

// All the bytes, from the start, in large reads; the file must be as sampled before and after.
Outcome Search::ReadWhole(Candidate& file)
{
    framework::KernelHandle handle;
    FileState state;
    std::string path = m_tree.Path(file.node);
    Outcome opened = Open(path, handle, state);
    if (opened != Outcome::Read || !Unchanged(handle.get(), file.state))
        return opened == Outcome::Read ? Outcome::Changed : opened;
    XXH3_128bits_reset(m_state.get());
    for (std::uint64_t offset = 0; offset < state.size;) {
        DWORD piece = static_cast<DWORD>(std::min<std::uint64_t>(state.size - offset, m_buffer.size()));
        if (!ReadAt(handle.get(), offset, m_buffer.data(), piece))
            return Outcome::Changed;
        XXH3_128bits_update(m_state.get(), m_buffer.data(), piece);
        offset += piece;
        if (!Step(path))
            return Outcome::Stopped;
    }
    if (!Unchanged(handle.get(), file.state))
        return Outcome::Changed;
    file.whole = XXH3_128bits_digest(m_state.get());
    return Outcome::Read;
}

// Files kept online only are never read: opened without recall, their
// attributes tell them before a byte is read, and they are closed unread.
Outcome Search::Open(const std::string& path, framework::KernelHandle& file, FileState& state)
{
    constexpr DWORD kOpenNoRecall = 0x00100000;
    file.reset(::CreateFileW(framework::WidePath(path).c_str(), GENERIC_READ,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                             FILE_FLAG_SEQUENTIAL_SCAN | kOpenNoRecall, nullptr));
    if (!file) {
        DWORD error = ::GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? Outcome::Changed : Outcome::Unreadable;
    }
    if (!StateOf(file.get(), state))
        return Outcome::Unreadable;
    if (framework::IsOnlineOnly(m_options.attributes ? m_options.attributes(path) : state.attributes)) {
        file.reset();
        return Outcome::Online;
    }
    return Outcome::Read;
}

// Three cheap questions: the one call that tells all at once also asks the
// volume for its serial number, which costs a hundred times as much.
bool Search::StateOf(HANDLE file, FileState& state)
{
    FILE_STANDARD_INFO standard{};
    FILE_BASIC_INFO basic{};
    FILE_INTERNAL_INFORMATION internal{};
    IO_STATUS_BLOCK status{};
    if (!::GetFileInformationByHandleEx(file, FileStandardInfo, &standard, sizeof standard) ||
        !::GetFileInformationByHandleEx(file, FileBasicInfo, &basic, sizeof basic) ||
        !NT_SUCCESS(::NtQueryInformationFile(file, &status, &internal, sizeof internal, FileInternalInformation)))
        return false;
    state.size = static_cast<std::uint64_t>(standard.EndOfFile.QuadPart);
    state.lastWrite = static_cast<std::uint64_t>(basic.LastWriteTime.QuadPart);
    state.attributes = basic.FileAttributes;
    state.index = static_cast<std::uint64_t>(internal.IndexNumber.QuadPart);
    return true;
}

bool Search::Unchanged(HANDLE file, const FileState& before)
{
    FileState now;
    return StateOf(file, now) && now.size == before.size && now.lastWrite == before.lastWrite;
}

// Exactly these bytes, or false: a file that shrank has changed.
bool Search::ReadAt(HANDLE file, std::uint64_t offset, char* into, DWORD bytes)
{
    LARGE_INTEGER at{};
    at.QuadPart = static_cast<LONGLONG>(offset);
    DWORD got = 0;
    if (!::SetFilePointerEx(file, at, nullptr, FILE_BEGIN) || !::ReadFile(file, into, bytes, &got, nullptr))
        return false;
    m_result.bytesRead += got;
    return got == bytes;
}

// Counts what was left out; false when the user stopped.
bool Search::Count(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Read:
        break;
    case Outcome::Changed:
        ++m_result.changed;
        break;
    case Outcome::Online:
        ++m_result.online;
        break;
    case Outcome::Unreadable:
        ++m_result.unreadable;
        break;
    case Outcome::Stopped:
        return false;
    }
    return true;
}

bool Search::Step(const std::string& path)
{
    if (!m_progress.WantsText())
        return m_progress.Step(nullptr);
    std::string text = "Comparing files of the same size: " + FormatSpace(m_result.bytesRead) + " read\n" + path;
    return m_progress.Step(text.c_str());
}

}  // namespace

DuplicateResult FindDuplicates(const SpaceTree& tree, ProgressSink& progress, const DuplicateOptions& options)
{
    return Search(tree, progress, options).Run();
}
