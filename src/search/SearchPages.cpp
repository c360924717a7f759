#include "search/SearchPages.h"

#include "settings/SettingsStore.h"
#include "framework/DataExchange.h"
#include "framework/Seams.h"
#include "framework/Text.h"
#include "lists/FileText.h"
#include "pages/SkipField.h"
#include "resources/resource.h"
#include "working/WorkingDlg.h"

#include <commctrl.h>

#include <cstdio>

namespace {

constexpr const char* kSection = "Search";
constexpr const char* kDatePlaceholder = "YYYY/MM/DD";

void AddChoices(HWND combo, const char* first, const char* second)
{
    ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(first));
    ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(second));
}

}  // namespace

SearchCriteriaPage::SearchCriteriaPage(const SettingsStore& settings, const char* skipFlag) noexcept
    : Page(IDD_SEARCH_CRITERIA, "Search Page", {{IDC_START_OVER, 0, skipFlag}}, &settings), m_settings(settings)
{
    OnControl(IDC_SEARCH, BN_CLICKED, [this] { OnSearch(); });
    OnControl(IDC_BROWSE, BN_CLICKED, [this] { OnBrowse(); });
}

BOOL SearchCriteriaPage::OnInitDialog()
{
    m_fields.fileName = m_settings.GetProfileString(kSection, "LastFileName", "*.*");
    m_fields.folder = m_settings.GetProfileString(kSection, "LastFolder", "C:\\");
    m_fields.subFolders = m_settings.GetProfileInt(kSection, "LastSearchSubFolders", 1);
    m_fields.keywords = m_settings.GetProfileString(kSection, "LastKeywords", "");
    m_fields.dateChoice = m_settings.GetProfileInt(kSection, "LastDateSearchType", 0);
    m_fields.dateText = m_settings.GetProfileString(kSection, "LastDate", kDatePlaceholder);
    m_fields.sizeChoice = m_settings.GetProfileInt(kSection, "LastSizeSearchType", 0);
    m_fields.sizeText = m_settings.GetProfileString(kSection, "LastSize", "0 KB");
    m_fields.skip = m_settings.GetProfileString(kSection, "SkipFolders", "");
    AddChoices(::GetDlgItem(m_hWnd, IDC_DATE_CHOICE), "After", "Before");
    AddChoices(::GetDlgItem(m_hWnd, IDC_SIZE_CHOICE), "At Least", "Less Than");
    HWND spin = ::GetDlgItem(m_hWnd, IDC_SIZE_SPIN);
    ::SendMessageA(spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(::GetDlgItem(m_hWnd, IDC_SEARCH_SIZE)), 0);
    ::SendMessageA(spin, UDM_SETRANGE32, 0, 10000);
    return Page::OnInitDialog();
}

void SearchCriteriaPage::DoDataExchange(framework::DataExchange& dx)
{
    dx.Text(IDC_SEARCH_NAME, m_fields.fileName);
    dx.Text(IDC_SEARCH_FOLDER, m_fields.folder);
    dx.Check(IDC_SEARCH_SUBFOLDERS, m_fields.subFolders);
    dx.ComboIndex(IDC_DATE_CHOICE, m_fields.dateChoice);
    dx.Text(IDC_SEARCH_DATE, m_fields.dateText);
    dx.ComboIndex(IDC_SIZE_CHOICE, m_fields.sizeChoice);
    dx.Text(IDC_SEARCH_SIZE, m_fields.sizeText);
    dx.Text(IDC_SEARCH_WORDS, m_fields.keywords);
    dx.Text(IDC_SKIP_FOLDERS, m_fields.skip);
}

bool SearchCriteriaPage::OnNotify(const NMHDR& header, LRESULT& result)
{
    if (header.idFrom != IDC_SIZE_SPIN || header.code != UDN_DELTAPOS)
        return Page::OnNotify(header, result);
    StepSize(reinterpret_cast<const NMUPDOWN&>(header).iDelta);
    result = FALSE;  // the arrows' own position may change too
    return true;
}

void SearchCriteriaPage::OnSearch()
{
    UpdateData(true);
    if (!TakeSkipList(m_hWnd, m_fields.skip))
        return;
    m_settings.WriteProfileString(kSection, "LastFileName", m_fields.fileName.c_str());
    m_settings.WriteProfileString(kSection, "LastFolder", m_fields.folder.c_str());
    m_settings.WriteProfileInt(kSection, "LastSearchSubFolders", m_fields.subFolders);
    m_settings.WriteProfileString(kSection, "LastKeywords", m_fields.keywords.c_str());
    m_settings.WriteProfileInt(kSection, "LastDateSearchType", m_fields.dateChoice);
    m_settings.WriteProfileString(kSection, "LastDate", m_fields.dateText.c_str());
    m_settings.WriteProfileInt(kSection, "LastSizeSearchType", m_fields.sizeChoice);
    m_settings.WriteProfileString(kSection, "LastSize", m_fields.sizeText.c_str());
    m_settings.WriteProfileString(kSection, "SkipFolders", m_fields.skip.c_str());

    m_handedOver = m_fields;
    if (m_handedOver.dateText == kDatePlaceholder)
        m_handedOver.dateText.clear();
    // The argument only names the record, which stays ours: nothing is lost
    // when the view does not switch.
    ShowPage(2, reinterpret_cast<LPARAM>(&m_handedOver));
}

void SearchCriteriaPage::OnBrowse()
{
    std::string chosen = framework::GetSeams().browseForFolder(m_hWnd, "Select a Folder");
    if (!chosen.empty())
        ::SetDlgItemTextA(m_hWnd, IDC_SEARCH_FOLDER, chosen.c_str());
}

// The arrows step the number the size text starts with, whatever was typed.
void SearchCriteriaPage::StepSize(int delta)
{
    HWND size = ::GetDlgItem(m_hWnd, IDC_SEARCH_SIZE);
    long long stepped =
        static_cast<long long>(framework::LeadingInteger(framework::GetWindowTextString(size).c_str())) + delta;
    char text[32];
    std::snprintf(text, sizeof text, "%lld KB", stepped);
    ::SetWindowTextA(size, text);
}

SearchResultsPage::SearchResultsPage() noexcept
    : ListPage({.templateId = IDD_SEARCH_RESULTS,
                .helpKey = "Search Page",
                .listId = IDC_RESULTS_LIST,
                .columns = {{"File Name", 100}, {"Folder", 220}, {"Size", 80}, {"Date", 80}},
                .sizeColumn = 2,
                .pathColumn = 1,
                .buttons = FoundFilesButtons()},
               {{IDC_START_OVER, 1}})
{
}

void SearchResultsPage::OnPageArgument(LPARAM argument)
{
    m_parameters = TakeCriteria(*reinterpret_cast<const SearchCriteria*>(argument));
    m_hasCriteria = true;
}

void SearchResultsPage::OnPageActivated()
{
    if (!m_hasCriteria)
        return;
    WorkingSession session(m_hWnd, "Searching...");
    ClearList();
    ResetSortOrders();
    FileSearch search(m_parameters);
    search.Run(session.Sink(), [this](const std::string& folder, const framework::FileFind& file) {
        AddRow({file.GetFileName(), FolderText(folder), {}, FormatFileDate(file.GetLastWriteTime())}, file.GetLength());
    });
    if (size_t skipped = search.OnlineSkipped()) {
        FileList().AddMessage(CountOf(skipped, "file") +
                              " kept online only were not read for the words, so that they are not downloaded.");
    }
    if (size_t skipped = search.SkippedFolders())
        FileList().AddMessage(CountOf(skipped, "folder") + " skipped.");
    ShowRows();
}
