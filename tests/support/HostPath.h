// The host side of the tests' files: the build tree, which lies outside
// every drive of the test prefix, and links only the host can make.
#pragma once

#include <windows.h>

#include <string>

// The Windows path of a host file, given its absolute host path.
inline std::string HostPath(std::string path)
{
    for (char& c : path) {
        if (c == '/')
            c = '\\';
    }
    return "\\\\?\\unix" + path;
}

// Runs a host program on a Windows path, as in "ln -s target" + path, and
// waits until the path exists or not, as wanted: Wine does not wait for a
// host program. False when it could not be run or did not do it in time.
inline bool RunOnHostPath(const std::string& program, const std::string& arguments, const std::string& path,
                          bool exists)
{
    using UnixName = char*(__cdecl*)(const wchar_t*);
    auto unixName = reinterpret_cast<UnixName>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    std::wstring wide(path.begin(), path.end());
    char* hostPath = unixName ? unixName(wide.c_str()) : nullptr;
    if (!hostPath)
        return false;
    std::string command = program + " " + arguments + " \"" + hostPath + "\"";
    ::HeapFree(::GetProcessHeap(), 0, hostPath);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    // No drive of the test prefix shows the host's root.
    if (!::CreateProcessA(HostPath("/bin/" + program).c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &process))
        return false;
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    for (int wait = 0; wait < 100; ++wait) {
        if ((::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) == exists)
            return true;
        ::Sleep(50);
    }
    return false;
}

// A Unix symbolic link at a Windows path, to a target relative to the link's
// folder. Wine's CreateSymbolicLinkW pretends success and makes nothing, and
// its DeleteFileW does not remove the link. The target must exist.
inline bool MakeHostSymbolicLink(const std::string& link, const std::string& target)
{
    return RunOnHostPath("ln", "-s \"" + target + "\"", link, true);
}
inline bool RemoveHostSymbolicLink(const std::string& link)
{
    return RunOnHostPath("rm", "-f", link, false);
}
