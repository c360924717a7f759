// A shortcut (.lnk) file through the shell's own link object.
#pragma once

#include <windows.h>

#include <shlobj.h>

#include <string>

// COM for the current thread while it lives.
class ComScope {
public:
    ComScope() noexcept : m_initialized(SUCCEEDED(::CoInitialize(nullptr))) {}
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    ~ComScope()
    {
        if (m_initialized)
            ::CoUninitialize();
    }

private:
    bool m_initialized;
};

class ShellLink {
public:
    ShellLink() noexcept;
    ShellLink(const ShellLink&) = delete;
    ShellLink& operator=(const ShellLink&) = delete;
    ~ShellLink();

    // False when the shortcut cannot be read.
    bool Load(const std::string& path);
    // The stored target, long or 8.3 form; empty when there is none.
    std::string GetPath(DWORD flags = 0) const;
    bool SetPath(const std::string& target);
    // Writes the shortcut back to the file it was loaded from.
    bool Save();
    IShellLinkA* Get() const noexcept { return m_link; }

private:
    IShellLinkA* m_link = nullptr;
    IPersistFile* m_file = nullptr;
};
