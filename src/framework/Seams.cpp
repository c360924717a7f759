#include "framework/Seams.h"

#include "framework/Handle.h"

#include <shlobj.h>

#include <vector>

namespace framework {

namespace {

std::string BrowseForFolder(HWND owner, const char* title)
{
    char path[MAX_PATH] = "";
    BROWSEINFOA info{};
    info.hwndOwner = owner;
    info.pszDisplayName = path;
    info.lpszTitle = title;
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    CoTaskMem<PIDLIST_ABSOLUTE> list(::SHBrowseForFolderA(&info));
    if (!list || !::SHGetPathFromIDListA(list.get(), path))
        return {};
    return path;
}

// The common file dialog for a CSV file, starting at name; empty when cancelled.
std::string ChooseCsvFile(HWND owner, const char* name, bool save)
{
    std::vector<char> path(32768, '\0');
    lstrcpynA(path.data(), name, static_cast<int>(path.size()));
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = "CSV files (*.csv)\0*.csv\0All files (*.*)\0*.*\0";
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = static_cast<DWORD>(path.size());
    dialog.lpstrDefExt = "csv";
    dialog.Flags =
        OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    if (!(save ? ::GetSaveFileNameA(&dialog) : ::GetOpenFileNameA(&dialog)))
        return {};
    return path.data();
}

Seams MakeDefaultSeams()
{
    Seams seams;
    seams.messageBox = [](HWND owner, const char* text, const char* caption, UINT type) {
        return ::MessageBoxA(owner, text, caption, type);
    };
    seams.shellExecute = [](HWND owner, const char* verb, const char* file, const char* parameters,
                            const char* directory, int show) {
        return reinterpret_cast<INT_PTR>(::ShellExecuteA(owner, verb, file, parameters, directory, show));
    };
    seams.fileOperation = [](SHFILEOPSTRUCTA& operation) { return ::SHFileOperationA(&operation); };
    seams.browseForFolder = BrowseForFolder;
    seams.saveFileName = [](HWND owner, const char* defaultName) { return ChooseCsvFile(owner, defaultName, true); };
    seams.openFileName = [](HWND owner) { return ChooseCsvFile(owner, "", false); };
    seams.printDialog = [](PRINTDLGA& dialog) { return ::PrintDlgA(&dialog) != FALSE; };
    seams.winHelp = [](HWND owner, const char* helpFile, UINT command, ULONG_PTR data) {
        return ::WinHelpA(owner, helpFile, command, data) != FALSE;
    };
    seams.fileInfo = [](const char* path, DWORD attributes, SHFILEINFOA& info, UINT flags) {
        return ::SHGetFileInfoA(path, attributes, &info, sizeof info, flags);
    };
    seams.resolveShellLink = [](IShellLinkA& link, HWND owner, DWORD flags) {
        return SUCCEEDED(link.Resolve(owner, flags));
    };
    return seams;
}

}  // namespace

Seams& GetSeams()
{
    static Seams seams = MakeDefaultSeams();
    return seams;
}

std::string HelpFilePath()
{
    char path[MAX_PATH] = "";
    DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string help(path, length);
    size_t dot = help.find_last_of('.');
    if (dot != std::string::npos && help.find_first_of("\\/", dot) == std::string::npos)
        help.resize(dot);
    return help + ".HLP";
}

}  // namespace framework
