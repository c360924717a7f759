#include "cleanup/DllPage.h"

#include "cleanup/DllInventory.h"
#include "framework/Seams.h"
#include "lists/DetailsDlg.h"
#include "lists/FileText.h"
#include "resources/resource.h"
#include "working/WorkingDlg.h"

DllPage::DllPage(const SettingsStore& settings, const char* skipFlag) noexcept
    : ListPage({.templateId = IDD_DLLS_RESULTS,
                .helpKey = "DLLs Page",
                .listId = IDC_RESULTS_LIST,
                .columns = {{"FileName", 120}, {"Size", 80}, {"Date", 80}, {"Description", 120}, {"Company", 140}},
                .sizeColumn = 1,
                .buttons = {{IDC_PRINT, ButtonNeeds::Nothing},
                            {IDC_DELETE, ButtonNeeds::SelectedFiles},
                            {IDC_RECYCLE, ButtonNeeds::SelectedFiles},
                            {IDC_DETAILS, ButtonNeeds::SelectedFiles},
                            {IDC_START_OVER, ButtonNeeds::Nothing}},
                .newRows = RowPlace::NameOrder},
               {{IDC_START_OVER, 0, skipFlag}}, &settings)
{
    OnControl(IDC_DETAILS, BN_CLICKED, [this] { ShowDetails(); });
}

void DllPage::OnPageActivated()
{
    WorkingSession session(m_hWnd, "Initializing...");
    ClearList();
    char directory[MAX_PATH] = "";
    ::GetSystemDirectoryA(directory, MAX_PATH);
    std::string systemDirectory = directory;
    FileList().SetFolderPrefix(systemDirectory + "\\");
    for (const LibraryEntry& library : ListLibraries(systemDirectory, session.Sink()))
        AddRow({library.name, {}, FormatFileDate(library.lastWrite), library.description, library.company},
               library.size);
    ShowRows();
}

bool DllPage::ConfirmRemoval()
{
    return framework::GetSeams().messageBox(
               m_hWnd,
               "WARNING: Some DLLs are crucial to the operation of your system.\nInadvertedly delete the wrong DLL can "
               "cause your system to stop working.\n\nAre you sure you want to remove the selected files?",
               "Corvane", MB_YESNO | MB_ICONSTOP) == IDYES;
}

void DllPage::ShowDetails()
{
    int row = FileList().NextSelected(-1);
    if (row < 0 || static_cast<size_t>(row) >= Rows().Count())
        return;
    CDetailsDlg details;
    // A bare name would be found by the system's search order, which may
    // prefer another library of that name.
    details.SetFileName(Rows().Text(static_cast<size_t>(row), 0), FileList().Path(static_cast<size_t>(row)));
    details.DoModal(m_hWnd);
}
