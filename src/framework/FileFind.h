// Lists the entries of one folder that match a pattern.
#pragma once

#include "framework/Handle.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace framework {

// Files on demand: their content lives elsewhere, and reading it fetches it.
bool IsOnlineOnly(DWORD attributes) noexcept;

// What listings show where a file system cannot show it, for tests: the
// attributes of the entry at path, given those listed, and whether a folder
// (path ending in a backslash) refuses to be listed. Empty: as listed.
struct ListingSeams {
    std::function<DWORD(const std::string& path, DWORD attributes)> listedAttributes;
    std::function<bool(const std::string& folder)> refusesListing;
};
ListingSeams& GetListingSeams();

// Lists through the wide-character calls, so that a folder of any depth is
// read and every name comes back whole, as the program's text. A whole
// folder ("C:\Data\*" or "C:\Data\*.*") is read by its handle, in
// batches that also tell each entry's allocation and file id; a file system
// that refuses that is listed as any pattern is, without those two.
class FileFind {
public:
    // Starts a listing such as "C:\Data\*.*" and moves to its first entry;
    // false when nothing matches or the folder cannot be read.
    bool FindFile(const std::string& pattern);
    // Moves to the next entry; false at the end of the listing.
    bool FindNextFile();
    void Close() noexcept;
    // After FindFile returned false: whether the folder could not be read
    // at all, rather than held nothing.
    bool Unreadable() const noexcept { return m_unreadable; }

    bool IsDots() const noexcept;
    DWORD GetAttributes() const noexcept { return m_data.dwFileAttributes; }
    bool IsDirectory() const noexcept { return (m_data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
    // Junctions and symbolic links: walks never descend into them.
    bool IsReparsePoint() const noexcept { return (m_data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0; }

    const char* GetFileName() const noexcept { return m_name.c_str(); }
    // The name without its extension.
    std::string GetFileTitle() const;
    // The pattern up to its last separator, as C:\Data\ (empty for a bare pattern).
    const std::string& GetRoot() const noexcept { return m_root; }
    std::string GetFilePath() const { return m_root + m_name; }
    std::uint64_t GetLength() const noexcept;
    FILETIME GetLastWriteTime() const noexcept { return m_data.ftLastWriteTime; }
    // The file's number on its volume, which its hard links share (0: not known).
    std::uint64_t GetFileId() const noexcept { return m_fileId; }
    bool IsOnlineOnly() const noexcept { return framework::IsOnlineOnly(m_data.dwFileAttributes); }
    // The bytes the file takes on its volume: nothing for a file kept
    // online, what the system says of a compressed or sparse one, else its
    // allocation (where the listing does not tell it, its length).
    std::uint64_t GetSizeOnDisk() const;

private:
    bool ListFolder();
    bool ReadBatch();
    void TakeEntry();
    void TakeName();

    FindHandle m_handle;
    KernelHandle m_folder;
    std::vector<std::uint64_t> m_batch;  // eight-byte aligned, as the entries need
    size_t m_entry = 0;                  // where the current entry starts in the batch, in bytes
    WIN32_FIND_DATAW m_data{};
    std::uint64_t m_allocation = 0;
    std::uint64_t m_fileId = 0;
    bool m_byHandle = false;
    bool m_unreadable = false;
    std::string m_name;
    std::string m_root;
};

}  // namespace framework
