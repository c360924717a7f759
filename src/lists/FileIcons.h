// The small file icons of result lists, from the shell's system image list.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <unordered_map>

// The shell's small system image list, attached on first use. It belongs to
// the shell: lists share it (LVS_SHAREIMAGELISTS) and nobody destroys it.
HIMAGELIST GetSysImageList();
// Forgets the shell's list without destroying it.
void ReleaseSysImageList();
// The small-icon index of a file in the system image list.
int GetFileIconIndex(const std::string& path);

// Asking the shell for a real file's icon can take many milliseconds. Most
// types show one icon for every file, so one question serves the type; the
// types whose files carry icons of their own are asked about each file.
class FileIconCache {
public:
    int IndexOf(const std::string& path);
    // Every folder shows the shell's folder icon, whatever dots its name holds.
    int FolderIndex();

private:
    std::unordered_map<std::string, int> m_byExtension;
    int m_folder = -1;
};
