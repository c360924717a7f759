#include "framework/Path.h"

#include "framework/Handle.h"

#include <shlobj.h>
#include <winternl.h>

#include <algorithm>
#include <cstdint>
#include <cwctype>
#include <string_view>
#include <vector>

namespace framework {

namespace {

constexpr int kObjectNameInformation = 1;

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

// The path as the file system names it: full, long names, and links
// resolved unless flags holds FILE_FLAG_OPEN_REPARSE_POINT; empty when it
// cannot be opened.
std::wstring FinalPath(const std::wstring& path, DWORD flags = 0)
{
    if (path.empty())
        return {};
    KernelHandle opened(::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | flags, nullptr));
    if (!opened)
        return {};
    std::wstring final(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = ::GetFinalPathNameByHandleW(opened.get(), final.data(), static_cast<DWORD>(final.size()),
                                                   FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0)
            return {};
        bool fits = length < final.size();
        final.resize(length);
        if (fits)
            break;
    }
    if (final.starts_with(L"\\\\?\\UNC\\"))
        final.replace(0, 8, L"\\\\");
    else if (final.starts_with(L"\\\\?\\"))
        final.erase(0, 4);
    return WithoutTrailingBackslash(final);
}

// Whether the resolved folder is, or holds, one of the folders.
bool HoldsAnyOf(const std::wstring& resolved, const std::vector<std::wstring>& folders)
{
    return std::ranges::any_of(folders, [&](const std::wstring& folder) {
        std::wstring kept = FinalPath(folder);
        return !kept.empty() && Holds(resolved, kept);
    });
}

// The name of what the path opens, as the system's object manager gives it
// (its device or drive, then the folders), without a trailing backslash;
// empty when it cannot be opened. Unlike the final path, any length works.
std::wstring OpenedName(const std::wstring& path, DWORD flags)
{
    KernelHandle opened(::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | flags, nullptr));
    if (!opened)
        return {};
    std::vector<std::uint64_t> buffer(1024);  // aligned for the structure
    for (;;) {
        ULONG needed = 0;
        ULONG size = static_cast<ULONG>(buffer.size() * sizeof buffer[0]);
        NTSTATUS status = ::NtQueryObject(opened.get(), static_cast<OBJECT_INFORMATION_CLASS>(kObjectNameInformation),
                                          buffer.data(), size, &needed);
        if (NT_SUCCESS(status)) {
            const auto& name = *reinterpret_cast<const UNICODE_STRING*>(buffer.data());
            return WithoutTrailingBackslash(std::wstring(name.Buffer, name.Length / sizeof(wchar_t)));
        }
        if (needed <= size)
            return {};
        buffer.resize(needed / sizeof buffer[0] + 1);
    }
}

std::wstring SystemFolder(UINT(WINAPI* query)(LPWSTR, UINT))
{
    wchar_t folder[MAX_PATH] = L"";
    UINT length = query(folder, MAX_PATH);
    return length > 0 && length < MAX_PATH ? folder : L"";
}

// An administrative share reaches a whole drive ("\\host\C$\Windows") or the
// Windows folder ("\\host\ADMIN$"), of this machine or another: it is judged
// as that drive's path here, which errs on the side of keeping.
std::wstring WithoutAdminShare(const std::wstring& path)
{
    if (!path.starts_with(L"\\\\") || path.starts_with(L"\\\\?\\") || path.starts_with(L"\\\\.\\"))
        return path;
    size_t share = path.find(L'\\', 2);
    if (share == std::wstring::npos)
        return path;
    size_t end = std::min(path.find(L'\\', share + 1), path.size());
    std::wstring name = path.substr(share + 1, end - share - 1);
    std::wstring rest = end < path.size() ? path.substr(end) : L"\\";
    if (name.size() == 2 && name[1] == L'$' && std::iswalpha(name[0]))
        return std::wstring{name[0], L':'} + rest;
    if (::CompareStringOrdinal(name.c_str(), -1, L"ADMIN$", -1, TRUE) == CSTR_EQUAL)
        return SystemFolder(::GetWindowsDirectoryW) + rest;
    return path;
}

std::wstring KnownFolder(REFKNOWNFOLDERID id)
{
    CoTaskMem<PWSTR> path;
    if (FAILED(::SHGetKnownFolderPath(id, 0, nullptr, path.put())))
        return {};
    return path.get();
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

namespace {

bool IsSeparator(wchar_t c)
{
    return c == L'\\' || c == L'/';
}

// Where the names of a full path begin: after "C:\" or "\\server\share\";
// npos for a path that is not full.
size_t FirstNameAt(const std::wstring& path)
{
    if (path.size() >= 3 && path[1] == L':' && IsSeparator(path[2]))
        return 3;
    if (path.size() > 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        size_t share = path.find_first_of(L"\\/", 2);
        size_t names = share == std::wstring::npos ? share : path.find_first_of(L"\\/", share + 1);
        return names == std::wstring::npos ? path.size() : names + 1;
    }
    return std::wstring::npos;
}

// A full path that means just what it says: backslashes only, and no empty,
// "." or ".." name, so it may be taken literally.
bool IsLiteral(const std::wstring& path)
{
    size_t start = FirstNameAt(path);
    if (start == std::wstring::npos || path.find(L'/') != std::wstring::npos)
        return false;
    while (start < path.size()) {
        size_t end = std::min(path.find(L'\\', start), path.size());
        std::wstring_view name(path.data() + start, end - start);
        if (name.empty() || name == L"." || name == L"..")
            return false;
        start = end + 1;
    }
    return true;
}

bool EndsInDotOrSpace(const std::wstring& path)
{
    size_t start = FirstNameAt(path);
    for (size_t i = start; i != std::wstring::npos && i < path.size(); ++i) {
        bool nameEnds = i + 1 == path.size() || IsSeparator(path[i + 1]);
        if (nameEnds && (path[i] == L'.' || path[i] == L' '))
            return true;
    }
    return false;
}

std::wstring LiteralForm(const std::wstring& full)
{
    if (full.starts_with(L"\\\\"))
        return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

// The wide path in the form the wide-character calls need (see WidePath).
std::wstring CallableForm(std::wstring wide)
{
    if (wide.starts_with(L"\\\\?\\") || wide.starts_with(L"\\\\.\\"))
        return wide;
    // The plain form drops a trailing dot or space from every name, so only
    // the literal form reaches the true "victim." and not "victim".
    if (IsLiteral(wide) && (wide.size() >= MAX_PATH || EndsInDotOrSpace(wide)))
        return LiteralForm(wide);
    if (wide.size() < MAX_PATH)
        return wide;
    // The \\?\ form is taken literally: resolve "/", "." and ".." first.
    DWORD size = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    std::wstring full(size, L'\0');
    DWORD length = ::GetFullPathNameW(wide.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size)
        return wide;
    full.resize(length);
    return LiteralForm(full);
}

}  // namespace

std::wstring WidePath(const std::string& path)
{
    return CallableForm(WideText(path));
}

bool HasNameTheShellWouldChange(const std::string& path)
{
    return EndsInDotOrSpace(WideText(path));
}

size_t WideLength(const std::string& text)
{
    return static_cast<size_t>(
        ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0));
}

std::string NarrowText(const wchar_t* text)
{
    std::string narrow;
    AppendNarrowText(text, narrow);
    return narrow;
}

void AppendNarrowText(std::wstring_view text, std::string& out)
{
    UINT codePage = ::GetACP();
    // UTF-8 takes no best-fit flag: it holds every character anyway.
    DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    int units = static_cast<int>(text.size());
    int length = ::WideCharToMultiByte(codePage, flags, text.data(), units, nullptr, 0, nullptr, nullptr);
    if (length <= 0)
        return;
    size_t at = out.size();
    out.resize(at + static_cast<size_t>(length));
    ::WideCharToMultiByte(codePage, flags, text.data(), units, out.data() + at, length, nullptr, nullptr);
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

bool ExistsExactly(const std::string& path)
{
    std::wstring wide = WidePath(path);
    std::wstring name = wide.substr(wide.find_last_of(L'\\') + 1);
    WIN32_FIND_DATAW found;
    FindHandle find(::FindFirstFileW(wide.c_str(), &found));
    for (bool more = static_cast<bool>(find); more; more = ::FindNextFileW(find.get(), &found)) {
        if (name == found.cFileName)
            return true;
    }
    return false;
}

bool ReachesElsewhere(const std::string& path)
{
    std::wstring wide = WidePath(path);
    size_t slash = wide.find_last_of(L'\\');
    // The folder keeps its backslash, so that "C:\" stays the drive's root.
    std::wstring folder = slash == std::wstring::npos ? std::wstring() : OpenedName(wide.substr(0, slash + 1), 0);
    std::wstring reached = OpenedName(wide, FILE_FLAG_OPEN_REPARSE_POINT);
    size_t reachedSlash = reached.find_last_of(L'\\');
    if (folder.empty() || reachedSlash != folder.size() || !SameText(reached, folder.size(), folder))
        return true;
    // Wine names "victim." without its dot here, though it opened the true file.
    auto trimmed = [](std::wstring name) {
        while (!name.empty() && (name.back() == L'.' || name.back() == L' '))
            name.pop_back();
        return name;
    };
    std::wstring reachedName = trimmed(reached.substr(reachedSlash + 1));
    return !SameText(reachedName, reachedName.size(), trimmed(wide.substr(slash + 1)));
}

bool IsProtectedFolder(const std::string& folder)
{
    // A mapped drive resolves to its share, which may be an administrative one.
    std::wstring resolved = WithoutAdminShare(FinalPath(CallableForm(WithoutAdminShare(WideText(folder)))));
    if (resolved.empty() || IsRoot(resolved))
        return true;
    wchar_t programFiles64[MAX_PATH] = L"";
    ::GetEnvironmentVariableW(L"ProgramW6432", programFiles64, MAX_PATH);
    std::wstring profiles = FinalPath(KnownFolder(FOLDERID_UserProfiles));
    std::vector<std::wstring> kept = {
        SystemFolder(::GetWindowsDirectoryW),
        SystemFolder(::GetSystemWindowsDirectoryW),
        SystemFolder(::GetSystemDirectoryW),
        SystemFolder(::GetSystemWow64DirectoryW),
        KnownFolder(FOLDERID_ProgramFiles),
        KnownFolder(FOLDERID_ProgramFilesX86),
        programFiles64,
        KnownFolder(FOLDERID_ProgramData),
        KnownFolder(FOLDERID_Profile),
        KnownFolder(FOLDERID_RoamingAppData),
        KnownFolder(FOLDERID_LocalAppData),
        KnownFolder(FOLDERID_LocalAppDataLow),
    };
    if (HoldsAnyOf(resolved, kept))
        return true;
    if (profiles.empty())
        return false;
    // Every folder right below the profiles' root is a user's profile.
    size_t parent = resolved.find_last_of(L'\\');
    return Holds(resolved, profiles) || (parent != std::wstring::npos && SameText(resolved, parent, profiles));
}

std::string ResolvedFolder(const std::string& folder)
{
    std::wstring resolved = FinalPath(WidePath(folder));
    return resolved.empty() ? std::string() : NarrowText(resolved.c_str());
}

bool HoldsUserFolder(const std::string& folder)
{
    std::wstring resolved = FinalPath(WidePath(folder));
    if (resolved.empty())
        return true;
    std::vector<std::wstring> userFolders;
    for (REFKNOWNFOLDERID id :
         {FOLDERID_Profile, FOLDERID_Documents, FOLDERID_Desktop, FOLDERID_Downloads, FOLDERID_Pictures, FOLDERID_Music,
          FOLDERID_Videos, FOLDERID_RoamingAppData, FOLDERID_LocalAppData, FOLDERID_LocalAppDataLow})
        userFolders.push_back(KnownFolder(id));
    return HoldsAnyOf(resolved, userFolders);
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
