#include "tools/ToolsPages.h"

#include "framework/Application.h"
#include "framework/Path.h"
#include "framework/Seams.h"
#include "resources/resource.h"

#include <iterator>
#include <optional>
#include <utility>

SystemTools ToolsFor(DWORD version)
{
    // The top bit of the version is set on the Windows 95 family only.
    using framework::SystemProgram;
    if ((version & 0x80000000u) != 0)
        return {{"open", SystemProgram("backup.exe"), {}},
                {"open", SystemProgram("scandskw.exe"), {}},
                {"open", SystemProgram("defrag.exe"), {}},
                true};
    if (LOBYTE(LOWORD(version)) < 6)
        return {{"open", SystemProgram("ntbackup.exe"), {}},
                {"open", SystemProgram("chkdsk.exe"), {}},
                {"open", SystemProgram("defrag.exe"), {}},
                false};
    // A read-only check of the system drive: it needs the rights the shell
    // asks for, and the command window stays open with its report.
    char windows[MAX_PATH] = "C:";
    ::GetWindowsDirectoryA(windows, MAX_PATH);
    std::string drive(windows, 2);
    return {{"open", SystemProgram("sdclt.exe"), {}},
            {"runas", SystemProgram("cmd.exe"), "/k chkdsk " + drive},
            {"open", SystemProgram("dfrgui.exe"), {}},
            true};
}

ToolsPage::ToolsPage(DWORD version) : Page(IDD_TOOLS, "Tools Page"), m_tools(ToolsFor(version))
{
    OnControl(IDC_BACKUP, BN_CLICKED, [this] { Start(m_tools.backup, true); });
    OnControl(IDC_SCANDISK, BN_CLICKED, [this] { Start(m_tools.scanDisk, true); });
    OnControl(IDC_DEFRAG, BN_CLICKED, [this] { Start(m_tools.defrag, false); });
}

BOOL ToolsPage::OnInitDialog()
{
    Page::OnInitDialog();
    const std::pair<int, LPCSTR> icons[] = {
        {IDC_BACKUP_ICON, IDI_INFORMATION}, {IDC_SCANDISK_ICON, IDI_WARNING}, {IDC_DEFRAG_ICON, IDI_WINLOGO}};
    for (const auto& [id, icon] : icons)
        ::SendDlgItemMessageA(m_hWnd, id, STM_SETICON, reinterpret_cast<WPARAM>(::LoadIconA(nullptr, icon)), 0);
    if (!m_tools.canDefrag)
        ::EnableWindow(::GetDlgItem(m_hWnd, IDC_DEFRAG), FALSE);
    return TRUE;
}

// Whether the program started is not our concern.
void ToolsPage::Start(const ToolCommand& tool, bool waitCursor)
{
    if (tool.file.empty())
        return;
    std::optional<framework::WaitCursor> wait;
    if (waitCursor)
        wait.emplace();
    framework::GetSeams().shellExecute(m_hWnd, tool.verb, tool.file.c_str(),
                                       tool.parameters.empty() ? nullptr : tool.parameters.c_str(), nullptr,
                                       SW_SHOWNORMAL);
}

const Tip kTips[7] = {
    {"Tip #1 - Keep a Buffer Zone",
     "Never let your disk drive fill up completely.  Always keep a margin of free space on every drive.\r\n\r\n"
     "Windows creates temporary files of its own while you work: print jobs, installation files and the swap "
     "file all need room, and they need it at once.  A drive that is full to the brim can make programs fail and "
     "Windows unstable.\r\n\r\n"
     "Keep at least 10 megabytes free at all times, and more if you work with large documents or pictures."},
    {"Tip #2 - Predict and Prevent",
     "Corvane records the free space of every drive each time it starts, and the History page draws the trend "
     "as a chart.  A steady slope tells you well ahead when a drive will be full.\r\n\r\n"
     "Start Corvane about once a week, so that the chart has points to show and an unexpected drop in free "
     "space catches your eye before it becomes a problem."},
    {"Tip #3 - Keep What You Need",
     "Many files on a disk are used once and never again: old letters, finished projects, downloaded "
     "programs that are already installed.\r\n\r\n"
     "Copy the files you rarely use to diskettes or tape, keep the copies in a safe place, and remove the files "
     "from your disk.  You can always bring them back when you need them."},
    {"Tip #4 - Investigate Other Options",
     "When a disk is always full, a larger disk drive is one answer.  It is also the most costly one, and "
     "installing it takes time.\r\n\r\n"
     "Removable disk systems offer another way: the Jaz(tm) and ZIP(tm) drives from IoMega and the SparQ(tm) "
     "and SyJet(tm) drives from SyQuest store large amounts of data on cartridges that you can change.\r\n\r\n"
     "Tape drives hold even more for each cartridge and suit backups and archives well.\r\n\r\n"
     "Weigh the price of each choice against how often you need the files you would move."},
    {"Tip #5 - Tame your Web Browser",
     "Web browsers keep copies of the pages and pictures you visit, and this cache can grow to many megabytes.  "
     "Most browsers let you set its largest size in their options.\r\n\r\n"
     "Choose a modest cache size, and use the Internet page of Corvane now and then to see what the cache "
     "holds and to clear it."},
    {"Tip #6 - Empty the Recycle Bin",
     "Files that you delete in Windows are not gone at once: they move to the Recycle Bin.\r\n\r\n"
     "There they keep using disk space until the Recycle Bin is emptied.  A few large files can take up more "
     "space than you would expect.\r\n\r\n"
     "Empty the Recycle Bin now and then, and especially after deleting large files."},
    {"Tip #7 - Shop Wisely",
     "Before you buy a new disk drive or computer, ask the vendor for the performance figures of its disk.\r\n\r\n"
     "Compare the figures with those of other models.  Corvane can be run on a vendor's sample system to "
     "measure the disk there and compare it with known drives.\r\n\r\n"
     "Read the technical information that the disk makers publish before you decide."},
};

TipsPage::TipsPage() noexcept : Page(IDD_TIPS, "Tips and Techniques")
{
    OnControl(IDC_TIP_LIST, CBN_SELCHANGE, [this] { ShowTip(); });
}

BOOL TipsPage::OnInitDialog()
{
    Page::OnInitDialog();
    HWND titles = ::GetDlgItem(m_hWnd, IDC_TIP_LIST);
    for (const Tip& tip : kTips)
        ::SendMessageA(titles, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(tip.title));
    ::SendMessageA(titles, CB_SETCURSEL, 0, 0);
    ShowTip();
    return TRUE;
}

void TipsPage::ShowTip()
{
    int index = static_cast<int>(::SendDlgItemMessageA(m_hWnd, IDC_TIP_LIST, CB_GETCURSEL, 0, 0));
    if (index >= 0 && index < static_cast<int>(std::size(kTips)))
        ::SetDlgItemTextA(m_hWnd, IDC_TIP_TEXT, kTips[index].text);
}
