#include "cleanup/ShortcutCheck.h"

#include "cleanup/ShellLink.h"
#include "framework/FileFind.h"
#include "framework/Path.h"

#include <cstring>

bool IsBrokenTarget(const std::string& target, bool skipRemovable)
{
    char expanded[MAX_PATH] = "";
    DWORD length = ::ExpandEnvironmentStringsA(target.c_str(), expanded, MAX_PATH);
    if (length == 0 || length > MAX_PATH || expanded[0] == '\0')
        return false;
    if (framework::GetPathAttributes(expanded) != INVALID_FILE_ATTRIBUTES)
        return false;
    if (skipRemovable && std::strlen(expanded) >= 3) {
        std::string root(expanded, 3);
        UINT type = ::GetDriveTypeA(root.c_str());
        if (type == DRIVE_CDROM || type == DRIVE_REMOVABLE)
            return false;
    }
    return true;
}

bool ShortcutCheck::Walk(const std::string& folder, ProgressSink& progress)
{
    framework::FileFind find;
    if (folder.empty() || !find.FindFile(folder + "\\*.*")) {
        m_notLocated();
        return true;
    }
    do {
        if (find.IsDots())
            continue;
        if (find.IsDirectory()) {
            // Junctions and symbolic links may loop: they are not walked.
            if (find.IsReparsePoint())
                continue;
            if (!progress.Step(("Checking " + find.GetFileTitle() + "...").c_str()))
                return false;
            if (!Walk(find.GetFilePath(), progress))
                return false;
            continue;
        }
        size_t length = std::strlen(find.GetFileName());
        if (length >= 4 && lstrcmpiA(find.GetFileName() + length - 4, ".lnk") == 0)
            Examine(folder, find.GetFileName());
    } while (find.FindNextFile());
    return true;
}

void ShortcutCheck::Examine(const std::string& folder, const std::string& name)
{
    ShellLink link;
    std::string target = link.Load(folder + "\\" + name) ? link.GetPath() : std::string();
    if (IsBrokenTarget(target, m_skipRemovable))
        m_found(BrokenShortcut{name, folder, target});
}
