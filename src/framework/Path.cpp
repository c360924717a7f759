#include "framework/Path.h"

#include "framework/Handle.h"

#include <shlobj.h>

#include <vector>

namespace framework {

namespace {

bool SameText(const std::wstring& a, size_t length, const std::wstring& b)
{
    return ::CompareStringOrdinal(a.c_str(), static_cast<int>(length), b.c_str(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

// True when inner is outer itself or lies below it.
bool Holds(const std::wstring& outer, const std::wstring& inner)
{
    if (inner.size() == outer.size())
        return SameText(inner, inner.size(), outer);
    return inner.size() > outer.size() && inner[outer.size()] == L'\\' && SameText(inner, outer.size(), outer);
}

// "C:" or "\\server\share": paths here never end in a backslash.
bool IsRoot(const std::wstring& folder)
{
    if (folder.size() == 2 && folder[1] == L':')
        return true;
    size_t share = folder.starts_with(L"\\\\") ? folder.find(L'\\', 2) : 0;
    return share != std::wstring::npos && share > 0 && folder.find(L'\\', share + 1) == std::wstring::npos;
}

std::wstring WithoutTrailingBackslash(std::wstring folder)
{
    while (!folder.empty() && folder.back() == L'\\')
        folder.pop_back();
    return folder;
}

// The folder as the file system names it: full, long names, links resolved;
// empty when it cannot be opened.
std::wstring FinalFolderPath(const std::wstring& folder)
{
    if (folder.empty())
        return {};
    KernelHandle opened(::CreateFileW(folder.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!opened)
        return {};
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = ::GetFinalPathNameByHandleW(opened.get(), path.data(), static_cast<DWORD>(path.size()),
                                                   FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0)
            return {};
        bool fits = length < path.size();
        path.resize(length);
        if (fits)
            break;
    }
    if (path.starts_with(L"\\\\?\\UNC\\"))
        path.replace(0, 8, L"\\\\");
    else if (path.starts_with(L"\\\\?\\"))
        path.erase(0, 4);
    return WithoutTrailingBackslash(path);
}

std::wstring KnownFolder(REFKNOWNFOLDERID id)
{
    CoTaskMem<PWSTR> path;
    if (FAILED(::SHGetKnownFolderPath(id, 0, nullptr, path.put())))
        return {};
    return path.get();
}

std::wstring SystemFolder(UINT(WINAPI* query)(LPWSTR, UINT))
{
    wchar_t folder[MAX_PATH] = L"";
    UINT length = query(folder, MAX_PATH);
    return length > 0 && length < MAX_PATH ? folder : L"";
}

}  // namespace

std::wstring WideText(const std::string& text)
{
    int length = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

std::string Utf8Text(const std::string& text)
{
    if (::GetACP() == CP_UTF8)
        return text;
    std::wstring wide = WideText(text);
    int length =
        ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), length, nullptr,
                          nullptr);
    return utf8;
}

std::wstring WidePath(const std::string& path)
{
    std::wstring wide = WideText(path);
    if (wide.size() < MAX_PATH || wide.starts_with(L"\\\\?\\") || wide.starts_with(L"\\\\.\\"))
        return wide;
    // The \\?\ form is taken literally: resolve "/", "." and ".." first.
    DWORD size = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    std::wstring full(size, L'\0');
    DWORD length = ::GetFullPathNameW(wide.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size)
        return wide;
    full.resize(length);
    if (full.starts_with(L"\\\\"))
        return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

std::string NarrowText(const wchar_t* text)
{
    UINT codePage = ::GetACP();
    // UTF-8 takes no best-fit flag: it holds every character anyway.
    DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    int length = ::WideCharToMultiByte(codePage, flags, text, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1)
        return {};
    std::string narrow(static_cast<size_t>(length), '\0');
    ::WideCharToMultiByte(codePage, flags, text, -1, narrow.data(), length, nullptr, nullptr);
    narrow.pop_back();
    return narrow;
}

DWORD GetPathAttributes(const std::string& path)
{
    return ::GetFileAttributesW(WidePath(path).c_str());
}

std::string AbsoluteFolder(const std::string& folder)
{
    char full[MAX_PATH * 2] = "";
    DWORD length = ::GetFullPathNameA((folder + "\\*.*").c_str(), sizeof full, full, nullptr);
    std::string absolute = length > 4 && length < sizeof full ? std::string(full, length - 4) : folder;
    while (!absolute.empty() && absolute.back() == '\\')
        absolute.pop_back();
    return absolute;
}

bool IsFullPath(const std::string& path)
{
    bool drive = path.size() >= 3 && ((path[0] | 0x20) >= 'a' && (path[0] | 0x20) <= 'z') && path[1] == ':' &&
                 (path[2] == '\\' || path[2] == '/');
    return drive || (path.size() > 2 && path[0] == '\\' && path[1] == '\\');
}

bool IsProtectedFolder(const std::string& folder)
{
    std::wstring resolved = FinalFolderPath(WidePath(folder));
    if (resolved.empty() || IsRoot(resolved))
        return true;
    wchar_t programFiles64[MAX_PATH] = L"";
    ::GetEnvironmentVariableW(L"ProgramW6432", programFiles64, MAX_PATH);
    std::wstring profiles = FinalFolderPath(KnownFolder(FOLDERID_UserProfiles));
    std::vector<std::wstring> kept = {
        SystemFolder(::GetWindowsDirectoryW), SystemFolder(::GetSystemWindowsDirectoryW),
        SystemFolder(::GetSystemDirectoryW),  SystemFolder(::GetSystemWow64DirectoryW),
        KnownFolder(FOLDERID_ProgramFiles),   KnownFolder(FOLDERID_ProgramFilesX86),
        KnownFolder(FOLDERID_Profile),        programFiles64,
    };
    for (const std::wstring& path : kept) {
        std::wstring protectedFolder = FinalFolderPath(path);
        if (!protectedFolder.empty() && Holds(resolved, protectedFolder))
            return true;
    }
    if (profiles.empty())
        return false;
    // Every folder right below the profiles' root is a user's profile.
    size_t parent = resolved.find_last_of(L'\\');
    return Holds(resolved, profiles) || (parent != std::wstring::npos && SameText(resolved, parent, profiles));
}

std::string ResolvedFolder(const std::string& folder)
{
    std::wstring resolved = FinalFolderPath(WidePath(folder));
    return resolved.empty() ? std::string() : NarrowText(resolved.c_str());
}

bool HoldsUserFolder(const std::string& folder)
{
    std::wstring resolved = FinalFolderPath(WidePath(folder));
    if (resolved.empty())
        return true;
    for (REFKNOWNFOLDERID id :
         {FOLDERID_Profile, FOLDERID_Documents, FOLDERID_Desktop, FOLDERID_Downloads, FOLDERID_Pictures, FOLDERID_Music,
          FOLDERID_Videos, FOLDERID_RoamingAppData, FOLDERID_LocalAppData, FOLDERID_LocalAppDataLow}) {
        std::wstring userFolder = FinalFolderPath(KnownFolder(id));
        if (!userFolder.empty() && Holds(resolved, userFolder))
            return true;
    }
    return false;
}

bool IsNetworkPath(const std::string& path)
{
    if (path.starts_with("\\\\") || path.starts_with("//"))
        return true;
    if (path.size() < 2 || path[1] != ':')
        return false;
    return ::GetDriveTypeA((path.substr(0, 2) + "\\").c_str()) == DRIVE_REMOTE;
}

std::string SystemProgram(const char* name)
{
    char folder[MAX_PATH] = "";
    UINT length = ::GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return {};
    return std::string(folder, length) + "\\" + name;
}

std::string KnownFolder(int csidl)
{
    wchar_t path[MAX_PATH] = L"";
    if (FAILED(::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)))
        return {};
    return NarrowText(path);
}

}  // namespace framework
