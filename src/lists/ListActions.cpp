#include "lists/ListActions.h"

#include "framework/Application.h"
#include "framework/Seams.h"

#include <shellapi.h>

#include <cctype>

namespace {

constexpr INT_PTR kNoAssociation = 31;

// Only a full path names the row's file: a row without its folder must not
// turn into a file at the root of the current drive.
bool IsFullPath(const std::string& path)
{
    bool drive =
        path.size() > 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' && path[2] == '\\';
    return drive || path.rfind("\\\\", 0) == 0;
}

// The lists' actions remove files; a folder row never takes its whole tree along.
bool IsRemovableFile(const std::string& path)
{
    DWORD attributes = ::GetFileAttributesA(path.c_str());
    return IsFullPath(path) && (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY));
}

}  // namespace

std::string ListCtrlGetItemText(HWND list, int row, int column)
{
    // The control copies at most the buffer it is given: grow until it fits.
    std::vector<char> text(260);
    for (;;) {
        LVITEMA item{};
        item.iSubItem = column;
        item.pszText = text.data();
        item.cchTextMax = static_cast<int>(text.size());
        auto length = static_cast<size_t>(
            ::SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)));
        if (length + 1 < text.size())
            return std::string(text.data(), length);
        text.resize(text.size() * 4);
    }
}

void ListCtrlSortItems(CFileList& list, int column, SortKind kind, bool ascending)
{
    framework::WaitCursor wait;
    list.Sort(column, kind, ascending);
}

void ListCtrlOpenSelectedFile(HWND page, const CFileList& list)
{
    framework::WaitCursor wait;
    int row = list.NextSelected(-1);
    if (row < 0 || static_cast<size_t>(row) >= list.Rows().Count())
        return;
    std::string path = list.Path(static_cast<size_t>(row));
    framework::Seams& seams = framework::GetSeams();
    if (seams.shellExecute(page, "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL) != kNoAssociation)
        return;
    if (seams.messageBox(page,
                         "There is no program configured to view this file type.  Would you like to view it using "
                         "Notepad?",
                         "Corvane", MB_YESNO | MB_ICONQUESTION) == IDYES)
        seams.shellExecute(page, "open", "notepad.exe", path.c_str(), nullptr, SW_SHOWNORMAL);
}

std::vector<std::string> ListCtrlDeleteSelectedFiles(CFileList& list, bool permanent)
{
    std::vector<size_t> selected = list.Selected();
    std::vector<size_t> files;
    std::string sources;
    for (size_t row : selected) {
        if (!list.Rows().IsFile(row))
            continue;
        std::string path = list.Path(row);
        if (!IsRemovableFile(path))
            continue;
        files.push_back(row);
        sources += path;
        sources += '\0';
    }
    if (sources.empty())
        return {};
    sources += '\0';

    SHFILEOPSTRUCTA operation{};
    operation.hwnd = ::GetActiveWindow();
    operation.wFunc = FO_DELETE;
    operation.pFrom = sources.c_str();
    operation.fFlags = permanent ? 0 : FOF_ALLOWUNDO;
    framework::GetSeams().fileOperation(operation);

    // Whatever the shell answered, some files may be gone (a cancel half-way,
    // one locked file): drop exactly the rows whose files no longer exist.
    framework::WaitCursor wait;
    std::vector<size_t> goneRows;
    std::vector<std::string> gone;
    for (size_t row : files) {
        std::string path = list.Path(row);
        if (::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES)
            continue;
        goneRows.push_back(row);
        gone.push_back(std::move(path));
    }
    list.Remove(goneRows);
    return gone;
}
