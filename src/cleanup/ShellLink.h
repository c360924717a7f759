// A shortcut (.lnk) file through the shell's own link object.
#pragma once

#include <windows.h>

#include <shlobj.h>

#include "framework/Handle.h"

#include <string>

class ShellLink {
public:
    ShellLink() noexcept;

    // False when the shortcut cannot be read.
    bool Load(const std::string& path);
    // The stored target, long or 8.3 form; empty when there is none.
    std::string GetPath(DWORD flags = 0) const;
    bool SetPath(const std::string& target);
    // Writes the shortcut back to the file it was loaded from.
    bool Save();
    IShellLinkA* Get() const noexcept { return m_link.get(); }

private:
    framework::ComPtr<IShellLinkA> m_link;
    framework::ComPtr<IPersistFile> m_file;
};
