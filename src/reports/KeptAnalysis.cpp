#include "reports/KeptAnalysis.h"

#include "framework/FileFind.h"
#include "framework/Handle.h"
#include "framework/Path.h"
#include "framework/Text.h"
#include "lists/FileText.h"

#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <unordered_map>

namespace {

constexpr char kMagic[4] = {'C', 'V', 'K', 'A'};
constexpr std::uint32_t kVersion = 1;
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

// Reads a file's bytes in order; any read past its end fails it for good.
class Reader {
public:
    explicit Reader(std::string_view data) noexcept : m_data(data) {}

    template <typename T> T Get()
    {
        T value{};
        if (m_data.size() - m_at < sizeof(T)) {
            m_failed = true;
            return value;
        }
        std::memcpy(&value, m_data.data() + m_at, sizeof(T));
        m_at += sizeof(T);
        return value;
    }
    std::string_view GetText() { return GetBytes(Get<std::uint32_t>()); }
    std::string_view GetBytes(size_t length)
    {
        if (m_failed || m_data.size() - m_at < length) {
            m_failed = true;
            return {};
        }
        std::string_view text = m_data.substr(m_at, length);
        m_at += length;
        return text;
    }
    bool Failed() const noexcept { return m_failed; }
    bool AtEnd() const noexcept { return m_at == m_data.size(); }
    size_t Left() const noexcept { return m_data.size() - m_at; }

private:
    std::string_view m_data;
    size_t m_at = 0;
    bool m_failed = false;
};

std::optional<std::string> ReadWhole(const std::string& path, size_t limit = SIZE_MAX)
{
    framework::KernelHandle file(::CreateFileW(framework::WidePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                               nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    LARGE_INTEGER size{};
    if (!file || !::GetFileSizeEx(file.get(), &size) || size.QuadPart < 0)
        return std::nullopt;
    std::string data(std::min(static_cast<size_t>(size.QuadPart), limit), '\0');
    DWORD read = 0;
    if (!data.empty() &&
        (!::ReadFile(file.get(), data.data(), static_cast<DWORD>(data.size()), &read, nullptr) || read != data.size()))
        return std::nullopt;
    return data;
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

// The header's analysis time, or none when the file is not one of ours.
std::optional<std::uint64_t> ReadHeader(Reader& reader)
{
    bool ours = reader.GetBytes(sizeof kMagic) == std::string_view(kMagic, sizeof kMagic) &&
                reader.Get<std::uint32_t>() == kVersion;
    auto time = reader.Get<std::uint64_t>();
    if (!ours || reader.Failed())
        return std::nullopt;
    return time;
}

std::optional<std::uint64_t> HeaderTime(const std::string& path)
{
    std::optional<std::string> head = ReadWhole(path, kHeaderSize);
    if (!head)
        return std::nullopt;
    Reader reader(*head);
    return ReadHeader(reader);
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

bool AnalysisKeeper::Keep(const std::string& target, std::uint64_t time, const std::vector<FolderTotal>& folders) const
{
    std::string data;
    data.append(kMagic, sizeof kMagic);
    Put(data, kVersion);
    Put(data, time);
    PutText(data, target);
    Put(data, static_cast<std::uint32_t>(folders.size()));
    // Paths below the target only: the file stays small for deep trees.
    size_t below = target.size() + 1;
    for (const FolderTotal& folder : folders) {
        PutText(data, std::string_view(folder.path).substr(std::min(below, folder.path.size())));
        Put(data, folder.bytes);
        Put(data, static_cast<std::uint32_t>(folder.files));
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
    std::optional<std::string> data = ReadWhole(FileFor(target));
    if (!data)
        return std::nullopt;
    Reader reader(*data);
    std::optional<std::uint64_t> time = ReadHeader(reader);
    if (!time)
        return std::nullopt;
    KeptAnalysis kept;
    kept.time = *time;
    kept.target = std::string(reader.GetText());
    auto count = reader.Get<std::uint32_t>();
    // Each folder takes at least 16 bytes: a damaged count cannot claim more.
    if (reader.Failed() || Lowered(kept.target) != Lowered(target) || count > reader.Left() / 16)
        return std::nullopt;
    kept.folders.reserve(count);
    for (std::uint32_t i = 0; i < count && !reader.Failed(); ++i) {
        FolderTotal folder;
        folder.path = kept.target + '\\';
        folder.path += reader.GetText();
        folder.bytes = reader.Get<std::uint64_t>();
        folder.files = static_cast<int>(reader.Get<std::uint32_t>());
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
        entries.push_back({folder.path, folder.bytes, "+" + FormatFileSize(grown[i].growth), 0, folder.files});
    }
    return entries;
}
