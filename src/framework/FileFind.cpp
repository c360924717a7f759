#include "framework/FileFind.h"

#include "framework/Path.h"
#include "framework/Win32.h"

#include <cwchar>

namespace framework {

bool FileFind::FindFile(const std::string& pattern)
{
    size_t slash = pattern.find_last_of("\\/:");
    m_root = slash == std::string::npos ? std::string() : pattern.substr(0, slash + 1);
    m_handle.reset(::FindFirstFileW(WidePath(pattern).c_str(), &m_data));
    if (!m_handle)
        return false;
    TakeName();
    return true;
}

bool FileFind::FindNextFile()
{
    if (m_handle && ::FindNextFileW(m_handle.get(), &m_data)) {
        TakeName();
        return true;
    }
    m_handle.reset();
    return false;
}

void FileFind::TakeName()
{
    m_name = NarrowText(m_data.cFileName);
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

}  // namespace framework
