#include "cleanup/InternetPage.h"

#include "cleanup/BrowserCache.h"
#include "framework/Application.h"
#include "framework/Text.h"
#include "lists/FileText.h"
#include "resources/resource.h"
#include "working/WorkingDlg.h"

InternetPage::InternetPage(const SettingsStore& settings, const char* skipFlag) noexcept
    : ListPage({.templateId = IDD_INTERNET_RESULTS,
                .helpKey = "Internet Page",
                .listId = IDC_RESULTS_LIST,
                .columns = {{"FileName", 110}, {"Folder", 200}, {"Size", 80}, {"Last Modified", 80}},
                .sizeColumn = 2,
                .pathColumn = 1,
                .buttons = {{IDC_DELETE_ALL, ButtonNeeds::Nothing},
                            {IDC_DELETE, ButtonNeeds::SelectedFiles},
                            {IDC_PRINT, ButtonNeeds::Nothing},
                            {IDC_OPEN, ButtonNeeds::OneSelectedFile},
                            {IDC_START_OVER, ButtonNeeds::Nothing}},
                .newRows = RowPlace::NameOrder,
                .folderRows = true},
               {{IDC_START_OVER, 0, skipFlag}}, &settings)
{
    OnControl(IDC_CACHE_LIST, CBN_SELCHANGE, [this] { ListCache(); });
    OnControl(IDC_DELETE_ALL, BN_CLICKED, [this] { DeleteAll(); });
}

BOOL InternetPage::OnInitDialog()
{
    HWND caches = ::GetDlgItem(m_hWnd, IDC_CACHE_LIST);
    for (const std::string& browser : InstalledBrowsers())
        ::SendMessageA(caches, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(browser.c_str()));
    return ListPage::OnInitDialog();
}

void InternetPage::OnPageActivated()
{
    framework::WaitCursor wait;
    ::SendDlgItemMessageA(m_hWnd, IDC_CACHE_LIST, CB_SETCURSEL, 0, 0);
    ListCache();
}

void InternetPage::ListCache()
{
    WorkingSession session(m_hWnd, "Initializing...");
    ClearList();
    std::string browser = framework::GetWindowTextString(::GetDlgItem(m_hWnd, IDC_CACHE_LIST));
    CacheListing listing([this](const std::string& folder, const framework::FileFind& entry, int) {
        AddRow({entry.GetFileName(), FolderText(folder), {}, FormatFileDate(entry.GetLastWriteTime())},
               entry.GetLength());
    });
    for (const std::string& folder : CacheFolders(browser)) {
        if (!listing.List(folder, session.Sink()))
            break;
    }
    ShowRows();
}

void InternetPage::DeleteAll()
{
    FileList().Select(static_cast<size_t>(-1));
    DeleteSelectedFiles(true);
}
