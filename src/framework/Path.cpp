#include "framework/Path.h"

namespace framework {

namespace {

std::wstring Widen(const std::string& text)
{
    int length = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

}  // namespace

std::wstring WidePath(const std::string& path)
{
    std::wstring wide = Widen(path);
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

}  // namespace framework
