#include "lists/ListActions.h"

#include "framework/Application.h"
#include "framework/FileFind.h"
#include "framework/Path.h"
#include "framework/Seams.h"

#include <shellapi.h>

#include <algorithm>

namespace {

constexpr INT_PTR kNoAssociation = 31;
constexpr int kListedInQuestion = 10;

// Why a row may not be handed to the shell, or null when it may: only a
// full path without wildcards that names one existing file (or, where the
// row or the page names folders on purpose, one folder) is ever acted on,
// and nothing removes a drive root, a system or a profile folder.
const char* RefusalOf(const std::string& path, bool folders, bool removing)
{
    if (!framework::IsFullPath(path))
        return "it does not name a whole path";
    if (path.find_first_of("?*") != std::string::npos)
        return "its name holds a wildcard character";
    DWORD attributes = framework::GetPathAttributes(path);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return "it no longer exists";
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return nullptr;
    if (!folders)
        return "it is a folder";
    if (removing && framework::IsProtectedFolder(path))
        return "it is a drive root, or a Windows, program or profile folder";
    return nullptr;
}

bool IsFolder(const std::string& path)
{
    DWORD attributes = framework::GetPathAttributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The shell takes paths of up to MAX_PATH characters only.
bool IsLongPath(const std::string& path)
{
    return framework::WideLength(path) >= MAX_PATH;
}

// Why the shell may not be handed the path, or null when it may: it would
// not find it, or would act on another file by a name it shortened.
const char* ShellRefusalOf(const std::string& path, const char* tooLong)
{
    if (IsLongPath(path))
        return tooLong;
    if (framework::HasNameTheShellWouldChange(path))
        return "its name ends in a dot or a space, which the shell would read as another name";
    return nullptr;
}

// Removes what is not a folder to walk: a file, or a link itself; false for a
// folder to walk.
bool RemoveUnlessFolder(const std::string& path, DWORD attributes)
{
    std::wstring wide = framework::WidePath(path);
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        if (attributes & FILE_ATTRIBUTE_DIRECTORY)
            ::RemoveDirectoryW(wide.c_str());
        else
            ::DeleteFileW(wide.c_str());
        return true;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return false;
    if (attributes & FILE_ATTRIBUTE_READONLY)
        ::SetFileAttributesW(wide.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    ::DeleteFileW(wide.c_str());
    return true;
}

// Deletes a file, or a folder with everything in it, by its true names. A
// link met on the way is removed itself, or left where the system would
// follow it; folders are listed one after another, never by recursion, so
// any depth is deleted. What cannot go stays for the caller to see.
void DeleteForGood(const std::string& path)
{
    std::vector<std::string> folders;  // each after the folder holding it
    if (!RemoveUnlessFolder(path, framework::GetPathAttributes(path)))
        folders.push_back(path);
    framework::FileFind find;
    for (size_t next = 0; next < folders.size(); ++next) {
        for (bool more = find.FindFile(folders[next] + "\\*"); more; more = find.FindNextFile()) {
            std::string entry = find.GetFilePath();
            if (find.IsDots() || framework::ReachesElsewhere(entry))
                continue;
            if (!RemoveUnlessFolder(entry, find.GetAttributes()))
                folders.push_back(std::move(entry));
        }
    }
    for (auto folder = folders.rbegin(); folder != folders.rend(); ++folder)
        ::RemoveDirectoryW(framework::WidePath(*folder).c_str());
}

// One message for every row left alone.
class Refusals {
public:
    void Add(const std::string& path, const char* why)
    {
        if (++m_count <= kShown)
            m_text += path + " (" + why + ")\n";
    }
    void Show(HWND owner) const
    {
        if (m_count == 0)
            return;
        std::string text = "Corvane left these files alone:\n\n" + m_text;
        if (m_count > kShown)
            text += "... and " + std::to_string(m_count - kShown) + " more.\n";
        framework::GetSeams().messageBox(owner, text.c_str(), "Corvane", MB_OK | MB_ICONWARNING);
    }

private:
    static constexpr int kShown = 10;
    int m_count = 0;
    std::string m_text;
};

// sources: the double-zero-ended list the shell expects, without its last zero.
// False when the user cancelled the shell's work.
bool RunShellDelete(std::string sources, bool permanent)
{
    sources += '\0';
    SHFILEOPSTRUCTA operation{};
    operation.hwnd = ::GetActiveWindow();
    operation.wFunc = FO_DELETE;
    operation.pFrom = sources.c_str();
    operation.fFlags = permanent ? 0 : FOF_ALLOWUNDO;
    int result = framework::GetSeams().fileOperation(operation);
    constexpr int kOperationCancelled = 0x75;  // DE_OPCANCELLED, of older shells
    return result != ERROR_CANCELLED && result != kOperationCancelled && !operation.fAnyOperationsAborted;
}

// One removal: what was asked for, sorted into what the shell may take and
// what is deleted here, and then what went.
struct Removal {
    struct Taken {
        std::string path;
        bool folder;
        bool ours;     // deleted here, not by the shell
        bool exactly;  // listed under exactly this name before
    };

    // The requests that may go; why the others may not is told at once.
    Removal(HWND owner, const std::vector<RemovalRequest>& requests, bool permanentDelete) : permanent(permanentDelete)
    {
        Refusals refused;
        for (const RemovalRequest& request : requests) {
            const std::string& path = request.path;
            const char* why = RefusalOf(path, request.folder, true);
            // Never deleted for good when the user asked for the Recycle Bin.
            const char* shellWhy = why ? nullptr : ShellRefusalOf(path, "its path is too long for the Recycle Bin");
            if (!permanent)
                why = why ? why : shellWhy;
            else if (!why && framework::ReachesElsewhere(path))
                why = "it is a link this system follows: deleting it would delete what it points to";
            if (why) {
                refused.Add(path, why);
                continue;
            }
            bool folder = IsFolder(path);
            // The shell may follow links inside a folder: folders go here, for good.
            taken.push_back({path, folder, permanent && (folder || shellWhy), framework::ExistsExactly(path)});
            if (folder)
                folders.push_back(path);
        }
        refused.Show(owner);
    }

    // What lies in a folder that goes goes with it: nobody is asked twice.
    bool GoesWithAFolder(const Taken& item) const { return IsInAnyFolder(item.path, folders); }

    // Our own question, when anything goes here; true when agreed.
    bool AskForOurs(HWND owner) const
    {
        std::string question = "Delete these permanently?  A folder goes with everything in it; a link inside it is "
                               "never followed.\n";
        int asked = 0;
        for (const Taken& item : taken) {
            if (item.ours && !GoesWithAFolder(item) && ++asked <= kListedInQuestion)
                question += "\n" + item.path;
        }
        if (asked > kListedInQuestion)
            question += "\n... and " + std::to_string(asked - kListedInQuestion) + " more.";
        return asked == 0 ||
               framework::GetSeams().messageBox(owner, question.c_str(), "Corvane", MB_YESNO | MB_ICONWARNING) == IDYES;
    }

    // The double-zero-ended list for the shell, without its last zero.
    std::string ShellSources() const
    {
        std::string sources;
        for (const Taken& item : taken) {
            if (!item.ours && !GoesWithAFolder(item)) {
                sources += item.path;
                sources += '\0';
            }
        }
        return sources;
    }

    void DeleteOurs(bool agreed) const
    {
        for (const Taken& item : taken) {
            if (item.ours && agreed && !GoesWithAFolder(item))
                DeleteForGood(item.path);
        }
    }

    // Whatever the shell answered, some files may be gone (a cancel half-way,
    // one locked file): exactly those that no longer exist count. One still
    // there after work the user did not cancel is in use or ours not to
    // delete: that is said, never passed over as done.
    RemovedPaths WhatWent(HWND owner, bool oursAgreed, bool shellAgreed)
    {
        RemovedPaths removed;
        Refusals kept;
        for (Taken& item : taken) {
            bool there = framework::GetPathAttributes(item.path) != INVALID_FILE_ATTRIBUTES &&
                         (!item.exactly || framework::ExistsExactly(item.path));
            // What lay in a folder deleted for good went with our question.
            bool ours = item.ours || (permanent && GoesWithAFolder(item));
            if (there) {
                if (ours ? oursAgreed : shellAgreed)
                    kept.Add(item.path, "it could not be deleted: it may be in use, hold a link that is not followed, "
                                        "or you may lack the rights");
                continue;
            }
            if (item.folder)
                removed.folders.push_back(item.path);
            removed.paths.push_back(std::move(item.path));
        }
        kept.Show(owner);
        return removed;
    }

    bool permanent;
    std::vector<Taken> taken;
    std::vector<std::string> folders;
};

}  // namespace

void ListCtrlSortItems(CFileList& list, int column, SortKind kind, bool ascending)
{
    framework::WaitCursor wait;
    list.Sort(column, kind, ascending);
}

void ListCtrlOpenSelectedFile(HWND page, const CFileList& list)
{
    int row = list.NextSelected(-1);
    if (row >= 0 && static_cast<size_t>(row) < list.Rows().Count())
        OpenPath(page, list.Path(static_cast<size_t>(row)));
}

void OpenPath(HWND page, const std::string& path)
{
    framework::WaitCursor wait;
    const char* why = RefusalOf(path, true, false);
    if (!why)
        why = ShellRefusalOf(path, "its path is too long for the shell");
    if (why) {
        Refusals refused;
        refused.Add(path, why);
        refused.Show(page);
        return;
    }
    framework::Seams& seams = framework::GetSeams();
    if (seams.shellExecute(page, "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL) != kNoAssociation)
        return;
    if (seams.messageBox(page,
                         "There is no program configured to view this file type.  Would you like to view it using "
                         "Notepad?",
                         "Corvane", MB_YESNO | MB_ICONQUESTION) == IDYES)
        seams.shellExecute(page, "open", framework::SystemProgram("notepad.exe").c_str(), path.c_str(), nullptr,
                           SW_SHOWNORMAL);
}

RemovedPaths RemovePaths(HWND owner, const std::vector<RemovalRequest>& requests, bool permanent)
{
    Removal removal(owner, requests, permanent);
    if (removal.taken.empty())
        return {};
    bool oursAgreed = removal.AskForOurs(owner);
    std::string sources = removal.ShellSources();
    bool shellAgreed = sources.empty() || RunShellDelete(sources, permanent);
    framework::WaitCursor wait;
    removal.DeleteOurs(oursAgreed);
    return removal.WhatWent(owner, oursAgreed, shellAgreed);
}

bool IsInAnyFolder(const std::string& path, const std::vector<std::string>& folders)
{
    return std::any_of(folders.begin(), folders.end(), [&](const std::string& folder) {
        return path.size() > folder.size() && path[folder.size()] == '\\' && path.starts_with(folder);
    });
}

std::vector<std::string> ListCtrlDeleteSelectedFiles(CFileList& list, bool permanent, bool folders)
{
    std::vector<size_t> rows;
    std::vector<RemovalRequest> requests;
    for (size_t row : list.Selected()) {
        if (!list.Rows().IsFile(row))
            continue;
        rows.push_back(row);
        requests.push_back({list.Path(row), folders || list.Rows().IsFolder(row)});
    }
    if (rows.empty())
        return {};
    RemovedPaths removed = RemovePaths(::GetParent(list.GetSafeHwnd()), requests, permanent);

    // The rows of what went, and of what lay in a folder that went.
    std::vector<size_t> goneRows;
    std::vector<std::string> gone;
    size_t next = 0;
    for (size_t i = 0; i < rows.size() && next < removed.paths.size(); ++i) {
        if (requests[i].path == removed.paths[next]) {
            goneRows.push_back(rows[i]);
            gone.push_back(std::move(removed.paths[next++]));
        }
    }
    if (!removed.folders.empty()) {
        for (size_t row = 0; row < list.Rows().Count(); ++row) {
            if (!list.Rows().IsFile(row) || std::binary_search(rows.begin(), rows.end(), row))
                continue;
            std::string path = list.Path(row);
            if (IsInAnyFolder(path, removed.folders)) {
                goneRows.push_back(row);
                gone.push_back(std::move(path));
            }
        }
        std::sort(goneRows.begin(), goneRows.end());
    }
    list.Remove(goneRows);
    return gone;
}
