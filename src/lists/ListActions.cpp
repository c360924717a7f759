#include "lists/ListActions.h"

#include "framework/Application.h"
#include "framework/Path.h"
#include "framework/Seams.h"

#include <shellapi.h>

#include <algorithm>

namespace {

constexpr INT_PTR kNoAssociation = 31;

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
    return path.size() >= MAX_PATH;
}

// Files too deep for the shell are deleted here, after a question of our own.
// False when the user said no.
bool DeleteLongPaths(HWND owner, const std::vector<std::string>& paths)
{
    if (paths.empty())
        return true;
    std::string question = "These files lie too deep for the shell.  Delete them permanently?\n";
    for (const std::string& path : paths)
        question += "\n" + path;
    if (framework::GetSeams().messageBox(owner, question.c_str(), "Corvane", MB_YESNO | MB_ICONWARNING) != IDYES)
        return false;
    for (const std::string& path : paths)
        ::DeleteFileW(framework::WidePath(path).c_str());
    return true;
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
    if (!why && IsLongPath(path))
        why = "its path is too long for the shell";
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
        seams.shellExecute(page, "open", "notepad.exe", path.c_str(), nullptr, SW_SHOWNORMAL);
}

RemovedPaths RemovePaths(HWND owner, const std::vector<RemovalRequest>& requests, bool permanent)
{
    std::vector<std::string> taken;
    std::vector<std::string> shellPaths;
    std::vector<std::string> deep;
    std::vector<std::string> folderPaths;
    Refusals refused;
    for (const RemovalRequest& request : requests) {
        const std::string& path = request.path;
        const char* why = RefusalOf(path, request.folder, true);
        bool folder = !why && IsFolder(path);
        if (!why && IsLongPath(path)) {
            // Never deleted for good when the user asked for the Recycle Bin.
            if (!permanent)
                why = "its path is too long for the Recycle Bin";
            else if (folder)
                why = "it is a folder too deep for the shell";
        }
        if (why) {
            refused.Add(path, why);
            continue;
        }
        taken.push_back(path);
        if (folder)
            folderPaths.push_back(path);
        (IsLongPath(path) ? deep : shellPaths).push_back(path);
    }
    // What lies in a folder that goes goes with it: the shell is not asked twice.
    std::string sources;
    for (const std::string& path : shellPaths) {
        if (!IsInAnyFolder(path, folderPaths)) {
            sources += path;
            sources += '\0';
        }
    }
    refused.Show(owner);
    if (taken.empty())
        return {};
    bool deepAgreed = DeleteLongPaths(owner, deep);
    bool shellAgreed = sources.empty() || RunShellDelete(sources, permanent);

    // Whatever the shell answered, some files may be gone (a cancel half-way,
    // one locked file): exactly those that no longer exist count. One still
    // there after work the user did not cancel is in use or ours not to
    // delete: that is said, never passed over as done.
    framework::WaitCursor wait;
    RemovedPaths removed;
    Refusals kept;
    for (std::string& path : taken) {
        if (framework::GetPathAttributes(path) != INVALID_FILE_ATTRIBUTES) {
            if (IsLongPath(path) ? deepAgreed : shellAgreed)
                kept.Add(path, "it could not be deleted: it may be in use, or you may lack the rights");
            continue;
        }
        if (std::find(folderPaths.begin(), folderPaths.end(), path) != folderPaths.end())
            removed.folders.push_back(path);
        removed.paths.push_back(std::move(path));
    }
    kept.Show(owner);
    return removed;
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
    RemovedPaths removed = RemovePaths(::GetParent(list.Handle()), requests, permanent);

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
