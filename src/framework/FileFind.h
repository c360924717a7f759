// Lists the entries of one folder that match a pattern.
#pragma once

#include "framework/Handle.h"

#include <windows.h>

#include <cstdint>
#include <string>

namespace framework {

// Lists through the wide-character calls, so that a folder of any depth is
// read and every name comes back whole, as the program's text.
class FileFind {
public:
    // Starts a listing such as "C:\Data\*.*" and moves to its first entry;
    // false when nothing matches or the folder cannot be read.
    bool FindFile(const std::string& pattern);
    // Moves to the next entry; false at the end of the listing.
    bool FindNextFile();
    void Close() noexcept { m_handle.reset(); }

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

private:
    void TakeName();

    FindHandle m_handle;
    WIN32_FIND_DATAW m_data{};
    std::string m_name;
    std::string m_root;
};

}  // namespace framework
