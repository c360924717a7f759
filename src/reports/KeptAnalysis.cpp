#include "reports/KeptAnalysis.h"

#include "framework/FileFind.h"
#include "framework/Handle.h"
#include "framework/Path.h"
#include "framework/Text.h"
#include "framework/Win32.h"
#include "lists/FileText.h"

#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <unordered_map>

namespace {

constexpr char kMagic[4] = {'C', 'V', 'K', 'A'};
// Version 2 adds the skip list and each folder's bytes on disk; files of
// version 1 still load, without them.
constexpr std::uint32_t kVersion = 2;
constexpr std::uint32_t kVersionWithoutDisk = 1;
constexpr size_t kHeaderSize = sizeof kMagic + 4 + 8;

template <typename T> void Put(std::string& out, T value)
{
    char bytes[sizeof(T)];
    std::memcpy(bytes, &value, sizeof(T));
    out.append(bytes, sizeof(T));
}

void PutText(std::string& out, std::string_view text)
{
    Put(out, static_cast<std::uint32_t>(text.size()));
    out += text;
}

// A path is at most 32,767 UTF-16 units, each at most three bytes of the
// program's text.
constexpr std::uint32_t kPathBytesLimit = 3 * 32767;
// The largest folder record: length, path, bytes, files, bytes on disk.
constexpr std::uint64_t kRecordBytesLimit = 4 + kPathBytesLimit + 8 + 4 + 8;
// Some two million folders at a hundred bytes of path each. A larger file is
// not refused by its count alone, but nothing this program keeps needs it,
// and loading it could take more memory than there is.
constexpr std::uint64_t kKeptBytesLimit = 256ull << 20;
// The file is read a piece of this size at a time.
constexpr DWORD kPieceBytes = 64 * 1024;

// Reads a file's bytes in order, a piece at a time; a read past its end or
// one that fails fails it for good.
class Reader : framework::NonCopyable {
public:
    Reader(HANDLE file, std::uint64_t size) noexcept : m_file(file), m_size(size) {}

    template <typename T> T Get()
    {
        T value{};
        Copy(&value, sizeof(T));
        return value;
    }
    std::string GetText()
    {
        auto length = Get<std::uint32_t>();
        return length <= kPathBytesLimit ? GetBytes(length) : Fail();
    }
    std::string GetBytes(size_t length)
    {
        if (m_failed || Left() < length)
            return Fail();
        std::string bytes(length, '\0');
        Copy(bytes.data(), length);
        return bytes;
    }
    bool Failed() const noexcept { return m_failed; }
    bool AtEnd() const noexcept { return m_at == m_size; }
    std::uint64_t Left() const noexcept { return m_size - m_at; }

private:
    std::string Fail() noexcept
    {
        m_failed = true;
        return {};
    }
    void Copy(void* out, size_t length)
    {
        if (m_failed || Left() < length) {
            Fail();
            return;
        }
        char* to = static_cast<char*>(out);
        while (length > 0) {
            if (m_next == m_piece.size() && !Fill()) {
                Fail();
                return;
            }
            size_t part = std::min(length, m_piece.size() - m_next);
            std::memcpy(to, m_piece.data() + m_next, part);
            m_next += part;
            m_at += part;
            to += part;
            length -= part;
        }
    }
    bool Fill()
    {
        auto want = static_cast<DWORD>(std::min<std::uint64_t>(kPieceBytes, Left()));
        m_piece.resize(want);
        m_next = 0;
        DWORD read = 0;
        return ::ReadFile(m_file, m_piece.data(), want, &read, nullptr) && read == want;
    }

    HANDLE m_file;
    std::uint64_t m_size;
    std::uint64_t m_at = 0;
    std::string m_piece;
    size_t m_next = 0;
    bool m_failed = false;
};

// A kept file opened for reading, with its size.
struct KeptFile {
    framework::KernelHandle handle;
    std::uint64_t size = 0;
};

std::optional<KeptFile> OpenKept(const std::string& path)
{
    KeptFile kept;
    kept.handle.reset(::CreateFileW(framework::WidePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    LARGE_INTEGER size{};
    if (!kept.handle || !::GetFileSizeEx(kept.handle.get(), &size) || size.QuadPart < 0)
        return std::nullopt;
    kept.size = static_cast<std::uint64_t>(size.QuadPart);
    return kept;
}

bool WriteWhole(const std::string& path, const std::string& data)
{
    framework::KernelHandle file(::CreateFileW(framework::WidePath(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                               CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file && ::WriteFile(file.get(), data.data(), static_cast<DWORD>(data.size()), &written, nullptr) &&
           written == data.size() && ::FlushFileBuffers(file.get());
}

std::string Lowered(std::string_view text)
{
    std::string lowered(text);
    for (char& c : lowered)
        c = framework::LowerAscii(c);
    return lowered;
}

struct Header {
    std::uint32_t version = 0;
    std::uint64_t time = 0;
};

// The header, or none when the file is not one of ours.
std::optional<Header> ReadHeader(Reader& reader)
{
    bool ours = reader.GetBytes(sizeof kMagic) == std::string_view(kMagic, sizeof kMagic);
    Header header{reader.Get<std::uint32_t>(), reader.Get<std::uint64_t>()};
    if (!ours || reader.Failed() || (header.version != kVersion && header.version != kVersionWithoutDisk))
        return std::nullopt;
    return header;
}

std::optional<std::uint64_t> HeaderTime(const std::string& path)
{
    std::optional<KeptFile> file = OpenKept(path);
    if (!file)
        return std::nullopt;
    Reader reader(file->handle.get(), std::min<std::uint64_t>(file->size, kHeaderSize));
    std::optional<Header> header = ReadHeader(reader);
    return header ? std::optional(header->time) : std::nullopt;
}

}  // namespace

std::string AnalysisKeeper::DefaultFolder()
{
    return framework::KnownFolder(CSIDL_LOCAL_APPDATA) + "\\Corvane";
}

std::string AnalysisKeeper::FileFor(const std::string& target) const
{
    // FNV-1a over the target as the file system compares it.
    std::uint64_t hash = 14695981039346656037ull;
    for (char c : Lowered(target)) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    char name[40];
    std::snprintf(name, sizeof name, "\\Analysis-%016llx.dat", static_cast<unsigned long long>(hash));
    return m_folder + name;
}

bool AnalysisKeeper::Keep(const std::string& target, std::uint64_t time, const std::vector<FolderTotal>& folders,
                          const std::string& skipText) const
{
    std::string data;
    data.append(kMagic, sizeof kMagic);
    Put(data, kVersion);
    Put(data, time);
    PutText(data, target);
    PutText(data, skipText);
    Put(data, static_cast<std::uint32_t>(folders.size()));
    // Paths below the target only: the file stays small for deep trees.
    size_t below = target.size() + 1;
    for (const FolderTotal& folder : folders) {
        PutText(data, std::string_view(folder.path).substr(std::min(below, folder.path.size())));
        Put(data, folder.bytes);
        Put(data, static_cast<std::uint32_t>(folder.files));
        Put(data, folder.onDisk);
    }
    ::CreateDirectoryW(framework::WidePath(m_folder).c_str(), nullptr);
    std::string path = FileFor(target);
    std::string temporary = path + ".tmp";
    if (!WriteWhole(temporary, data) || !::MoveFileExW(framework::WidePath(temporary).c_str(),
                                                       framework::WidePath(path).c_str(), MOVEFILE_REPLACE_EXISTING)) {
        ::DeleteFileW(framework::WidePath(temporary).c_str());
        return false;
    }
    DropOldest();
    return true;
}

void AnalysisKeeper::DropOldest() const
{
    std::vector<std::pair<std::uint64_t, std::string>> kept;
    framework::FileFind find;
    for (bool more = find.FindFile(m_folder + "\\Analysis-*.dat"); more; more = find.FindNextFile()) {
        std::string path = find.GetFilePath();
        // A file not of ours counts as the oldest.
        kept.emplace_back(HeaderTime(path).value_or(0), path);
    }
    if (kept.size() <= kTargetLimit)
        return;
    std::sort(kept.begin(), kept.end());
    for (size_t i = 0; i < kept.size() - kTargetLimit; ++i)
        ::DeleteFileW(framework::WidePath(kept[i].second).c_str());
}

std::optional<KeptAnalysis> AnalysisKeeper::Load(const std::string& target) const
{
    std::optional<KeptFile> file = OpenKept(FileFor(target));
    if (!file || file->size > kKeptBytesLimit)
        return std::nullopt;
    Reader reader(file->handle.get(), file->size);
    std::optional<Header> header = ReadHeader(reader);
    if (!header)
        return std::nullopt;
    bool secondVersion = header->version == kVersion;
    KeptAnalysis kept;
    kept.time = header->time;
    kept.target = reader.GetText();
    if (secondVersion)
        kept.skipText = reader.GetText();
    auto count = reader.Get<std::uint32_t>();
    // Each folder takes 16 bytes at least and a record of the longest path
    // at most: the rest of the file must lie between, or it is not read.
    if (reader.Failed() || Lowered(kept.target) != Lowered(target) || count > reader.Left() / 16 ||
        reader.Left() > count * kRecordBytesLimit)
        return std::nullopt;
    kept.folders.reserve(count);
    for (std::uint32_t i = 0; i < count && !reader.Failed(); ++i) {
        FolderTotal folder;
        folder.path = kept.target + '\\';
        folder.path += reader.GetText();
        folder.bytes = reader.Get<std::uint64_t>();
        folder.files = static_cast<int>(reader.Get<std::uint32_t>());
        folder.onDisk = secondVersion ? reader.Get<std::uint64_t>() : framework::kUnknownBytes;
        kept.folders.push_back(std::move(folder));
    }
    if (reader.Failed() || !reader.AtEnd())
        return std::nullopt;
    return kept;
}

std::vector<ReportEntry> GrownFolders(const KeptAnalysis& before, const std::vector<FolderTotal>& now)
{
    std::unordered_map<std::string, std::uint64_t> earlier;
    earlier.reserve(before.folders.size());
    for (const FolderTotal& folder : before.folders)
        earlier.emplace(Lowered(folder.path), folder.bytes);
    struct Grown {
        const FolderTotal* folder;
        std::uint64_t growth;
    };
    std::vector<Grown> grown;
    for (const FolderTotal& folder : now) {
        auto found = earlier.find(Lowered(folder.path));
        std::uint64_t was = found == earlier.end() ? 0 : found->second;
        if (folder.bytes > was)
            grown.push_back({&folder, folder.bytes - was});
    }
    // Among equal growths the enclosing folder stands first.
    auto ranksAhead = [](const Grown& a, const Grown& b) {
        return a.growth != b.growth ? a.growth > b.growth : a.folder->path.size() < b.folder->path.size();
    };
    size_t shown = std::min(grown.size(), FolderAnalysis::kRankLimit);
    std::partial_sort(grown.begin(), grown.begin() + static_cast<std::ptrdiff_t>(shown), grown.end(), ranksAhead);
    std::vector<ReportEntry> entries;
    entries.reserve(shown);
    for (size_t i = 0; i < shown; ++i) {
        const FolderTotal& folder = *grown[i].folder;
        entries.push_back(
            {folder.path, folder.bytes, "+" + FormatFileSize(grown[i].growth), 0, folder.files, folder.onDisk});
    }
    return entries;
}
