#include "lists/ListActions.h"

#include "framework/Application.h"
#include "framework/Seams.h"
#include "lists/FileText.h"

#include <shellapi.h>

#include <algorithm>
#include <cctype>
#include <unordered_map>
#include <vector>

namespace {

HIMAGELIST g_systemImageList = nullptr;

constexpr INT_PTR kNoAssociation = 31;

struct SortKey {
    std::string text;
    std::uint64_t size = 0;
};

// The sort column of every row, by the row's item data.
struct SortRequest {
    std::unordered_map<LPARAM, SortKey> keys;
    SortKind kind;
    bool ascending;
};

// Byte by byte, the letters A to Z taken as a to z.
int CompareText(const std::string& a, const std::string& b)
{
    auto fold = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; };
    size_t length = std::min(a.size(), b.size());
    for (size_t i = 0; i < length; ++i) {
        int difference = fold(static_cast<unsigned char>(a[i])) - fold(static_cast<unsigned char>(b[i]));
        if (difference != 0)
            return difference;
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

int CALLBACK CompareRows(LPARAM first, LPARAM second, LPARAM request) noexcept
{
    const auto& sort = *reinterpret_cast<const SortRequest*>(request);
    auto a = sort.keys.find(first), b = sort.keys.find(second);
    if (a == sort.keys.end() || b == sort.keys.end())
        return 0;
    if (sort.kind == SortKind::Text)
        return sort.ascending ? CompareText(a->second.text, b->second.text)
                              : CompareText(b->second.text, a->second.text);
    std::uint64_t sizeA = a->second.size, sizeB = b->second.size;
    if (sizeA == sizeB)
        return 0;
    bool aFirst = sort.ascending ? sizeA > sizeB : sizeA < sizeB;
    return aFirst ? -1 : 1;
}

std::string RowPath(HWND list, int row, const std::string& folderPrefix)
{
    if (!folderPrefix.empty())
        return folderPrefix + ListCtrlGetItemText(list, row, 0);
    return ListCtrlGetItemText(list, row, 1) + "\\" + ListCtrlGetItemText(list, row, 0);
}

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

HIMAGELIST GetSysImageList()
{
    if (!g_systemImageList) {
        SHFILEINFOA info{};
        g_systemImageList = reinterpret_cast<HIMAGELIST>(
            ::SHGetFileInfoA("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    }
    return g_systemImageList;
}

void ReleaseSysImageList()
{
    g_systemImageList = nullptr;
}

int GetFileIconIndex(const std::string& path)
{
    SHFILEINFOA info{};
    ::SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
    return info.iIcon;
}

int ListCtrlNextSelected(HWND list, int after)
{
    return static_cast<int>(
        ::SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(after), MAKELPARAM(LVNI_SELECTED, 0)));
}

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

void ListCtrlSortItems(HWND list, int column, SortKind kind, bool ascending)
{
    framework::WaitCursor wait;
    // Every key is read before the sort: while the control sorts, its rows
    // are in flux, and looking each one up per comparison would be slow.
    SortRequest request{{}, kind, ascending};
    int rows = static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < rows; ++row) {
        LVITEMA item{};
        item.mask = LVIF_PARAM;
        item.iItem = row;
        ::SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        SortKey key{ListCtrlGetItemText(list, row, column)};
        if (kind == SortKind::Size)
            key.size = ParseFileSize(key.text.c_str());
        request.keys.emplace(item.lParam, std::move(key));
    }
    ::SendMessageA(list, LVM_SORTITEMS, reinterpret_cast<WPARAM>(&request), reinterpret_cast<LPARAM>(&CompareRows));
}

void ListCtrlOpenSelectedFile(HWND page, HWND list)
{
    framework::WaitCursor wait;
    int row = ListCtrlNextSelected(list, -1);
    if (row < 0)
        return;
    std::string path = RowPath(list, row, "");
    framework::Seams& seams = framework::GetSeams();
    if (seams.shellExecute(page, "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL) != kNoAssociation)
        return;
    if (seams.messageBox(page,
                         "There is no program configured to view this file type.  Would you like to view it using "
                         "Notepad?",
                         "Corvane", MB_YESNO | MB_ICONQUESTION) == IDYES)
        seams.shellExecute(page, "open", "notepad.exe", path.c_str(), nullptr, SW_SHOWNORMAL);
}

void ListCtrlDeleteSelectedFiles(HWND list, bool permanent, const std::string& folderPrefix)
{
    std::string sources;
    for (int row = ListCtrlNextSelected(list, -1); row >= 0; row = ListCtrlNextSelected(list, row)) {
        std::string path = RowPath(list, row, folderPrefix);
        if (!IsRemovableFile(path))
            continue;
        sources += path;
        sources += '\0';
    }
    if (sources.empty())
        return;
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
    for (int row = ListCtrlNextSelected(list, -1); row >= 0; row = ListCtrlNextSelected(list, row)) {
        std::string path = RowPath(list, row, folderPrefix);
        if (!IsRemovableFile(path) || ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES)
            continue;
        ::SendMessageA(list, LVM_DELETEITEM, static_cast<WPARAM>(row), 0);
        --row;
    }
}
