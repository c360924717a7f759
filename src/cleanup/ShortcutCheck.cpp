#include "cleanup/ShortcutCheck.h"

#include "cleanup/ShellLink.h"
#include "framework/FileFind.h"
#include "framework/Path.h"

#include <cstring>
#include <vector>

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

// A sub-folder is walked where the listing meets it. The listings still
// open wait on a stack of their own, not the thread's, so that no depth of
// Start Menu exhausts it.
bool ShortcutCheck::Walk(const std::string& top, ProgressSink& progress)
{
    struct Listing {
        framework::FileFind find;
        size_t holderLength = 0;  // of the path of the folder holding this one
    };
    std::string folder = top;
    std::vector<Listing> open(1);
    if (folder.empty() || !open.back().find.FindFile(folder + "\\*.*")) {
        m_notLocated();
        return true;
    }
    while (!open.empty()) {
        framework::FileFind& find = open.back().find;
        if (!find.IsDirectory()) {
            size_t length = std::strlen(find.GetFileName());
            if (length >= 4 && lstrcmpiA(find.GetFileName() + length - 4, ".lnk") == 0)
                Examine(folder, find.GetFileName());
        } else if (!find.IsDots() && !find.IsReparsePoint()) {
            // Junctions and symbolic links may loop: they are not walked.
            if (!progress.Step(("Checking " + find.GetFileTitle() + "...").c_str()))
                return false;
            size_t length = folder.size();
            folder += '\\';
            folder += find.GetFileName();
            Listing inner;
            if (inner.find.FindFile(folder + "\\*.*")) {
                inner.holderLength = length;
                open.push_back(std::move(inner));
                continue;
            }
            m_notLocated();
            folder.resize(length);
        }
        // The listing moves on; one at its end closes, and so on outwards.
        while (!open.empty() && !open.back().find.FindNextFile()) {
            folder.resize(open.back().holderLength);
            open.pop_back();
        }
    }
    return true;
}

void ShortcutCheck::Examine(const std::string& folder, const std::string& name)
{
    ShellLink link;
    std::string target = link.Load(folder + "\\" + name) ? link.GetPath() : std::string();
    if (IsBrokenTarget(target, m_skipRemovable))
        m_found(BrokenShortcut{name, folder, target});
}
