#include "support/TempFolder.h"

#include "framework/FileFind.h"
#include "framework/Handle.h"
#include "framework/Path.h"
#include "framework/Win32.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <utility>
#include <vector>

namespace {

using framework::WidePath;

// Without recursion: the tests' trees may be deeper than the stack allows.
void RemoveTree(const std::string& top)
{
    std::vector<std::string> pending{top};
    std::vector<std::string> emptied;
    while (!pending.empty()) {
        std::string folder = std::move(pending.back());
        pending.pop_back();
        framework::FileFind find;
        for (bool more = find.FindFile(folder + "*.*"); more; more = find.FindNextFile()) {
            if (find.IsDots())
                continue;
            std::string path = find.GetFilePath();
            if (find.IsDirectory() && !find.IsReparsePoint())
                pending.push_back(path + "\\");
            else if (find.IsDirectory())
                ::RemoveDirectoryW(WidePath(path).c_str());
            else {
                ::SetFileAttributesW(WidePath(path).c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileW(WidePath(path).c_str());
            }
        }
        emptied.push_back(std::move(folder));
    }
    // A folder is listed before the folders in it: the last met go first.
    for (auto folder = emptied.rbegin(); folder != emptied.rend(); ++folder)
        ::RemoveDirectoryW(WidePath(*folder).c_str());
}

}  // namespace

TempFolder::TempFolder()
{
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    static int serial = 0;
    m_path = std::string(temp) + "corvane-test-" + std::to_string(::GetCurrentProcessId()) + "-" +
             std::to_string(++serial) + "\\";
    ::CreateDirectoryA(m_path.c_str(), nullptr);
}

TempFolder::TempFolder(std::string path) : m_path(std::move(path))
{
    // Never one of someone else's: the test fails and nothing is removed.
    if (!::CreateDirectoryW(WidePath(m_path).c_str(), nullptr)) {
        ADD_FAILURE() << m_path << " cannot be made";
        m_path.clear();
    }
}

TempFolder::~TempFolder()
{
    if (!m_path.empty())
        RemoveTree(m_path);
}

std::string TempFolder::MakeFolder(const std::string& relativePath) const
{
    std::string path = m_path;
    for (size_t start = 0; start <= relativePath.size();) {
        size_t end = relativePath.find('\\', start);
        if (end == std::string::npos)
            end = relativePath.size();
        path += relativePath.substr(start, end - start) + "\\";
        ::CreateDirectoryW(WidePath(path).c_str(), nullptr);
        start = end + 1;
    }
    return path;
}

std::string TempFolder::MakeFile(const std::string& relativePath, std::uint64_t size, bool filled) const
{
    size_t slash = relativePath.find_last_of('\\');
    if (slash != std::string::npos)
        MakeFolder(relativePath.substr(0, slash));
    std::string path = m_path + relativePath;
    framework::KernelHandle file(::CreateFileW(WidePath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                               FILE_ATTRIBUTE_NORMAL, nullptr));
    EXPECT_TRUE(file) << path;
    if (filled) {
        std::vector<char> bytes(static_cast<size_t>(size), 'x');
        DWORD written = 0;
        EXPECT_TRUE(::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(size), &written, nullptr));
        return path;
    }
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(size);
    ::SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN);
    ::SetEndOfFile(file.get());
    return path;
}

std::string TempFolder::WriteFile(const std::string& relativePath, const std::string& bytes) const
{
    std::string path = MakeFile(relativePath);
    framework::KernelHandle file(::CreateFileW(WidePath(path).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                               FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    EXPECT_TRUE(::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) << path;
    return path;
}

void SetLastWrite(const std::string& path, long long unixSeconds)
{
    FILETIME time = framework::FileTimeFromTicks(
        static_cast<std::uint64_t>(unixSeconds * framework::kTicksPerSecond + framework::kTicksFrom1601To1970));
    framework::KernelHandle file(
        ::CreateFileW(WidePath(path).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_TRUE(::SetFileTime(file.get(), nullptr, nullptr, &time)) << path;
}
