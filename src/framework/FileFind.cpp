#include "framework/FileFind.h"

#include "framework/Path.h"
#include "framework/Win32.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <string_view>

namespace framework {

namespace {

// The first batch is small, so that a deep walk's open listings of small
// folders stay small; a large folder is read in larger batches after it,
// though not so large that the memory they touch outweighs the calls saved.
constexpr size_t kFirstBatchBytes = 4 * 1024;
constexpr size_t kBatchBytes = 16 * 1024;

// Not in every SDK's headers.
constexpr DWORD kRecallOnOpen = 0x00040000;
constexpr DWORD kRecallOnDataAccess = 0x00400000;

bool IsWholeFolder(std::string_view mask) noexcept
{
    return mask == "*" || mask == "*.*";
}

std::uint64_t FromLarge(const LARGE_INTEGER& value) noexcept
{
    return static_cast<std::uint64_t>(value.QuadPart);
}

FILETIME TimeFrom(const LARGE_INTEGER& value) noexcept
{
    return FileTimeFromTicks(FromLarge(value));
}

}  // namespace

ListingSeams& GetListingSeams()
{
    static ListingSeams seams;
    return seams;
}

bool IsOnlineOnly(DWORD attributes) noexcept
{
    return (attributes & (FILE_ATTRIBUTE_OFFLINE | kRecallOnOpen | kRecallOnDataAccess)) != 0;
}

bool FileFind::FindFile(const std::string& pattern)
{
    Close();
    m_unreadable = false;
    size_t slash = pattern.find_last_of("\\/:");
    m_root = slash == std::string::npos ? std::string() : pattern.substr(0, slash + 1);
    if (const auto& refuses = GetListingSeams().refusesListing; refuses && refuses(m_root)) {
        m_unreadable = true;
        return false;
    }
    if (!m_root.empty() && IsWholeFolder(std::string_view(pattern).substr(slash + 1))) {
        if (ListFolder())
            return true;
        if (m_byHandle)
            return false;  // read, and empty
    }
    m_allocation = m_fileId = 0;
    m_handle.reset(::FindFirstFileW(WidePath(pattern).c_str(), &m_data));
    if (!m_handle) {
        // A drive's empty root has no "." to find; nothing else fails to list but a folder not read.
        DWORD error = ::GetLastError();
        m_unreadable = error != ERROR_FILE_NOT_FOUND && error != ERROR_NO_MORE_FILES;
        return false;
    }
    TakeName();
    return true;
}

// Opens the folder and reads its first batch; false, with m_byHandle set,
// for a folder read and found empty, and false without it where only a
// listing by pattern may tell more.
bool FileFind::ListFolder()
{
    m_folder.reset(::CreateFileW(WidePath(m_root).c_str(), FILE_LIST_DIRECTORY,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!m_folder)
        return false;
    m_batch.assign(kFirstBatchBytes / sizeof(std::uint64_t), 0);
    if (!ReadBatch()) {
        m_byHandle = ::GetLastError() == ERROR_NO_MORE_FILES;
        m_folder.reset();
        return false;
    }
    m_byHandle = true;
    TakeEntry();
    return true;
}

bool FileFind::ReadBatch()
{
    m_entry = 0;
    return ::GetFileInformationByHandleEx(m_folder.get(), FileIdBothDirectoryInfo, m_batch.data(),
                                          static_cast<DWORD>(m_batch.size() * sizeof(std::uint64_t))) != FALSE;
}

bool FileFind::FindNextFile()
{
    if (m_byHandle && m_folder) {
        const auto* entry =
            reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(reinterpret_cast<const char*>(m_batch.data()) + m_entry);
        if (entry->NextEntryOffset != 0) {
            m_entry += entry->NextEntryOffset;
        } else {
            m_batch.resize(kBatchBytes / sizeof(std::uint64_t));
            if (!ReadBatch()) {
                Close();
                return false;
            }
        }
        TakeEntry();
        return true;
    }
    if (m_handle && ::FindNextFileW(m_handle.get(), &m_data)) {
        TakeName();
        return true;
    }
    m_handle.reset();
    return false;
}

void FileFind::Close() noexcept
{
    m_handle.reset();
    m_folder.reset();
    m_byHandle = false;
    std::vector<std::uint64_t>().swap(m_batch);
}

// The entry in the shape a listing by pattern gives, so that both read alike.
void FileFind::TakeEntry()
{
    const auto& entry =
        *reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(reinterpret_cast<const char*>(m_batch.data()) + m_entry);
    m_data.dwFileAttributes = entry.FileAttributes;
    m_data.ftCreationTime = TimeFrom(entry.CreationTime);
    m_data.ftLastAccessTime = TimeFrom(entry.LastAccessTime);
    m_data.ftLastWriteTime = TimeFrom(entry.LastWriteTime);
    std::uint64_t length = FromLarge(entry.EndOfFile);
    m_data.nFileSizeHigh = static_cast<DWORD>(length >> 32);
    m_data.nFileSizeLow = static_cast<DWORD>(length);
    size_t characters = std::min<size_t>(entry.FileNameLength / sizeof(WCHAR), MAX_PATH - 1);
    std::memcpy(m_data.cFileName, entry.FileName, characters * sizeof(WCHAR));
    m_data.cFileName[characters] = L'\0';
    m_allocation = FromLarge(entry.AllocationSize);
    m_fileId = FromLarge(entry.FileId);
    TakeName();
}

void FileFind::TakeName()
{
    m_name = NarrowText(m_data.cFileName);
    if (const auto& listed = GetListingSeams().listedAttributes)
        m_data.dwFileAttributes = listed(m_root + m_name, m_data.dwFileAttributes);
}

bool FileFind::IsDots() const noexcept
{
    return IsDirectory() && (std::wcscmp(m_data.cFileName, L".") == 0 || std::wcscmp(m_data.cFileName, L"..") == 0);
}

std::string FileFind::GetFileTitle() const
{
    size_t dot = m_name.find_last_of('.');
    return dot == std::string::npos ? m_name : m_name.substr(0, dot);
}

std::uint64_t FileFind::GetLength() const noexcept
{
    return MakeUInt64(m_data.nFileSizeHigh, m_data.nFileSizeLow);
}

std::uint64_t FileFind::GetSizeOnDisk() const
{
    if (IsOnlineOnly())
        return 0;
    if (m_data.dwFileAttributes & (FILE_ATTRIBUTE_COMPRESSED | FILE_ATTRIBUTE_SPARSE_FILE)) {
        DWORD high = 0;
        DWORD low = ::GetCompressedFileSizeW(WidePath(GetFilePath()).c_str(), &high);
        if (low != INVALID_FILE_SIZE || ::GetLastError() == NO_ERROR)
            return MakeUInt64(high, low);
    }
    return m_byHandle ? m_allocation : GetLength();
}

}  // namespace framework
