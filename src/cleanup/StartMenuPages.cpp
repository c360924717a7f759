#include "cleanup/StartMenuPages.h"

#include "cleanup/ShellLink.h"
#include "framework/Handle.h"
#include "framework/Path.h"
#include "framework/Seams.h"
#include "lists/FileText.h"
#include "resources/resource.h"
#include "working/WorkingDlg.h"

#include <shlobj.h>

#include <vector>

namespace {

constexpr const char* kNoProblems = "No problems detected!";
constexpr int kMessageWidth = 256;

std::string SpecialFolder(int folder)
{
    framework::CoTaskMem<LPITEMIDLIST> list;
    char path[MAX_PATH] = "";
    if (SUCCEEDED(::SHGetSpecialFolderLocation(nullptr, folder, list.put())) && list)
        ::SHGetPathFromIDListA(list.get(), path);
    return path;
}

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to)
{
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

}  // namespace

ShortcutOptions& StartMenuOptions()
{
    static ShortcutOptions options;
    return options;
}

StartMenuIntroPage::StartMenuIntroPage(const SettingsStore& settings) noexcept
    : IntroPage(IDD_STARTMENU_INTRO, "Start Menu Page", settings)
{
}

BOOL StartMenuIntroPage::OnInitDialog()
{
    ::CheckDlgButton(m_hWnd, IDC_SKIP_CDROM, BST_CHECKED);
    ::CheckDlgButton(m_hWnd, IDC_CHECK_DESKTOP, BST_CHECKED);
    return IntroPage::OnInitDialog();
}

void StartMenuIntroPage::OnNext()
{
    StartMenuOptions().skipRemovableTargets = ::IsDlgButtonChecked(m_hWnd, IDC_SKIP_CDROM) == BST_CHECKED;
    StartMenuOptions().checkDesktop = ::IsDlgButtonChecked(m_hWnd, IDC_CHECK_DESKTOP) == BST_CHECKED;
    ShowPage(1);
}

StartMenuResultsPage::StartMenuResultsPage() noexcept
    : ListPage({.templateId = IDD_STARTMENU_RESULTS,
                .helpKey = "Start Menu Page",
                .listId = IDC_RESULTS_LIST,
                .columns = {{"FileName", 110}, {"Folder", 200}, {"Shortcut To", 200}},
                .sizeColumn = -1,
                .pathColumn = 2,
                .buttons = {{IDC_PRINT, ButtonNeeds::Nothing},
                            {IDC_AUTOFIX, ButtonNeeds::OneSelectedFile},
                            {IDC_DELETE, ButtonNeeds::SelectedFiles},
                            {IDC_RECYCLE, ButtonNeeds::SelectedFiles},
                            {IDC_START_OVER, ButtonNeeds::Nothing}},
                .newRows = RowPlace::Top},
               {{IDC_START_OVER, 0}})
{
    OnControl(IDC_AUTOFIX, BN_CLICKED, [this] { AutoFix(); });
}

void StartMenuResultsPage::OnPageActivated()
{
    WorkingSession session(m_hWnd, "Initializing...");
    std::string startMenu = SpecialFolder(CSIDL_STARTMENU);
    std::string desktop = SpecialFolder(CSIDL_DESKTOP);
    ClearList();
    const ShortcutOptions& options = StartMenuOptions();
    // Most installers put their shortcuts where every user sees them.
    std::vector<std::string> folders{startMenu};
    std::string allUsersMenu = framework::KnownFolder(CSIDL_COMMON_STARTMENU);
    if (!allUsersMenu.empty())
        folders.push_back(allUsersMenu);
    if (options.checkDesktop) {
        folders.push_back(desktop);
        std::string publicDesktop = framework::KnownFolder(CSIDL_COMMON_DESKTOPDIRECTORY);
        if (!publicDesktop.empty())
            folders.push_back(publicDesktop);
    }
    {
        framework::ComScope com;
        ShortcutCheck check(
            options.skipRemovableTargets,
            [this](const BrokenShortcut& shortcut) {
                // The newest find on top.
                AddRow({shortcut.name, FolderText(shortcut.folder), shortcut.target});
            },
            [this] {
                framework::GetSeams().messageBox(m_hWnd,
                                                 "Corvane was unable to locate your Start Menu folder.  Please "
                                                 "contact Technical Support via Internet e-mail at "
                                                 "support@halvett.example",
                                                 "Corvane", MB_OK | MB_ICONERROR);
            });
        for (const std::string& folder : folders) {
            if (!check.Walk(folder, session.Sink()))
                break;
        }
    }
    if (Rows().Count() > 0) {
        FileList().Show();
        FileList().Select(0);
    } else {
        SetColumnWidth(0, kMessageWidth);
        ShowPlaceholder(kNoProblems);
    }
    UpdateButtons();
}

void AutoFixShortcut(HWND owner, const std::string& path)
{
    ShellLink link;
    if (!link.Get() || !link.Load(path))
        return;
    std::string oldTarget = link.GetPath(SLGP_SHORTPATH);
    // Without SLR_UPDATE: the file must not change before the user agrees.
    if (!framework::GetSeams().resolveShellLink(*link.Get(), owner, SLR_ANY_MATCH))
        return;
    std::string newTarget = link.GetPath(SLGP_SHORTPATH);
    std::string question = ReplaceAll(ReplaceAll("It looks like: \n%1\nhas moved to:\n%2\nDo you want to update "
                                                 "the selected shortcut to point to the new location?",
                                                 "%1", oldTarget),
                                      "%2", newTarget);
    if (framework::GetSeams().messageBox(owner, question.c_str(), "Corvane", MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    // A shortcut for all users needs rights a standard user lacks.
    if (!link.SetPath(newTarget) || !link.Save()) {
        std::string text =
            "Corvane could not update the shortcut:\n" + path + "\nYou may not have the rights to change it.";
        framework::GetSeams().messageBox(owner, text.c_str(), "Corvane", MB_OK | MB_ICONERROR);
    }
}

void StartMenuResultsPage::AutoFix()
{
    framework::ComScope com;
    for (size_t row : FileList().Selected())
        AutoFixShortcut(m_hWnd, FileList().Path(row));
}
