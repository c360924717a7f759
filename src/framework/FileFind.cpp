#include "framework/FileFind.h"

#include <cstring>

namespace framework {

bool FileFind::FindFile(const std::string& pattern)
{
    size_t slash = pattern.find_last_of("\\/:");
    m_root = slash == std::string::npos ? std::string() : pattern.substr(0, slash + 1);
    m_handle.reset(::FindFirstFileA(pattern.c_str(), &m_data));
    return static_cast<bool>(m_handle);
}

bool FileFind::FindNextFile()
{
    if (m_handle && ::FindNextFileA(m_handle.get(), &m_data))
        return true;
    m_handle.reset();
    return false;
}

bool FileFind::IsDots() const noexcept
{
    return IsDirectory() && (std::strcmp(m_data.cFileName, ".") == 0 || std::strcmp(m_data.cFileName, "..") == 0);
}

std::string FileFind::GetFileTitle() const
{
    std::string name = m_data.cFileName;
    size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

std::uint64_t FileFind::GetLength() const noexcept
{
    return (static_cast<std::uint64_t>(m_data.nFileSizeHigh) << 32) | m_data.nFileSizeLow;
}

}  // namespace framework
