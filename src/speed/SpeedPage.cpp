#include "speed/SpeedPage.h"

#include "framework/Dpi.h"
#include "framework/Drives.h"
#include "resources/resource.h"
#include "speed/SpeedTest.h"
#include "working/WorkingDlg.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <iterator>

const ReferenceDrive kReferenceDrives[10] = {
    {"Maxtor 8400D8, (8.2G) IDE", {15546.83, 17248.25, 13272.72, 60.52, 60.32, 48.72}},
    {"Quantum Bigfoot (1.2G) IDE", {677.35, 280.71, 29.2, 8.85, 254.24, 28.56}},
    {"Quantum Fireball 3200A (3.2G) IDE", {1583.9, 17366.81, 13120.23, 37.85, 37.17, 31.83}},
    {"Quantum Sirocco (2.5G) IDE", {9976.4, 11013.2, 8344.7, 35.88, 36.97, 23.66}},
    {"Samsung PLS-31274A (1.18G) IDE", {2152.6, 3620.04, 1951.13, 37.48, 386.25, 22.68}},
    {"Seagate Barracuda (4.0G) Fast-Wide SCSI", {5803.71, 10735.09, 4860.86, 59.92, 657.5, 92.31}},
    {"Western Digital AC2850F (812M) IDE", {2170.16, 3693.5, 1960.1, 230.25, 471.0, 47.55}},
    {"Western Digital AC3400L (3.8G) IDE", {13917.03, 15946.97, 12290.79, 42.85, 43.13, 37.07}},
    {"Western Digital Caviar (1.08G) IDE", {7998.04, 8611.94, 7076.39, 37.22, 39.69, 31.54}},
    {"Western Digital (516M) IDE", {889.16, 623.73, 36.37, 266.33, 403.44, 43.65}},
};

namespace {

// 96-DPI pixels.
constexpr int kDriveColumnWidth = 80;
constexpr int kCompareColumnWidth = 220;
// Room the header leaves round its text.
constexpr int kHeadingPadding = 12;

}  // namespace

SpeedResultsPage::SpeedResultsPage(DWORD testMilliseconds) noexcept
    : Page(IDD_SPEED_RESULTS, "Speed Page", {{IDC_START_OVER, 0}}), m_testMilliseconds(testMilliseconds)
{
    // The comparison follows a choice the list has closed on.
    OnControl(IDC_COMPARE_LIST, CBN_SELENDOK, [this] { UpdateCompare(); });
}

BOOL SpeedResultsPage::OnInitDialog()
{
    HWND grid = ::GetDlgItem(m_hWnd, IDC_SPEED_GRID);
    ::SendMessageA(grid, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_GRIDLINES, LVS_EX_GRIDLINES);
    InsertColumn(0, "Test", 140);
    for (int row = 0; row < kSpeedTestCount; ++row) {
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = row;
        item.pszText = const_cast<char*>(kSpeedTestCaptions[row]);
        ::SendMessageA(grid, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
    m_columns = 1;
    HWND models = ::GetDlgItem(m_hWnd, IDC_COMPARE_LIST);
    for (const ReferenceDrive& drive : kReferenceDrives)
        ::SendMessageA(models, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(drive.name));
    ::SendMessageA(models, CB_SETCURSEL, 0, 0);
    return Page::OnInitDialog();
}

bool SpeedResultsPage::OnNotify(const NMHDR& header, LRESULT& result)
{
    if (header.idFrom != IDC_SPEED_GRID || header.code != NM_RCLICK)
        return Page::OnNotify(header, result);
    result = TRUE;  // the grid's own right-click handling is left out
    return true;
}

void SpeedResultsPage::RunSpeedTest()
{
    WorkingSession session(m_hWnd, "Initializing...");
    HWND grid = ::GetDlgItem(m_hWnd, IDC_SPEED_GRID);
    while (::SendMessageA(grid, LVM_DELETECOLUMN, 1, 0))
        ;
    m_columns = 1;
    int column = 1;
    for (const std::string& root : framework::GetFixedDriveRoots()) {
        InsertColumn(column, root.c_str(), kDriveColumnWidth);
        int driveColumn = column++;
        DriveRun run = RunDriveTests(
            root, session.Sink(), [&](int row, const std::string& text) { SetCell(row, driveColumn, text); },
            m_testMilliseconds);
        FitColumn(driveColumn, root.c_str(), kDriveColumnWidth);
        // A drive we may not write is passed over; a stop ends the run.
        if (run == DriveRun::Stopped)
            break;
    }
    InsertColumn(column, "Compare", kCompareColumnWidth);
    UpdateCompare();
}

void SpeedResultsPage::UpdateCompare()
{
    int index = static_cast<int>(::SendDlgItemMessageA(m_hWnd, IDC_COMPARE_LIST, CB_GETCURSEL, 0, 0));
    if (index < 0 || index >= static_cast<int>(std::size(kReferenceDrives)) || m_columns < 2)
        return;
    const ReferenceDrive& drive = kReferenceDrives[index];
    LVCOLUMNA heading{};
    heading.mask = LVCF_TEXT;
    heading.pszText = const_cast<char*>(drive.name);
    ::SendDlgItemMessageA(m_hWnd, IDC_SPEED_GRID, LVM_SETCOLUMNA, static_cast<WPARAM>(m_columns - 1),
                          reinterpret_cast<LPARAM>(&heading));
    for (int row = 0; row < kSpeedTestCount; ++row) {
        char text[64];
        std::snprintf(text, sizeof text, "%.0f KB/sec", drive.kilobytesPerSecond[row]);
        SetCell(row, m_columns - 1, text);
    }
    FitColumn(m_columns - 1, drive.name, kCompareColumnWidth);
}

// Today's disks and the longer model names need more than the usual width.
void SpeedResultsPage::FitColumn(int column, const char* heading, int minimum)
{
    HWND grid = ::GetDlgItem(m_hWnd, IDC_SPEED_GRID);
    ::SendMessageA(grid, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), LVSCW_AUTOSIZE);
    int cells = static_cast<int>(::SendMessageA(grid, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
    int title = static_cast<int>(::SendMessageA(grid, LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(heading))) +
                Scaled(kHeadingPadding);
    ::SendMessageA(grid, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), std::max({Scaled(minimum), cells, title}));
}

int SpeedResultsPage::Scaled(int pixels) const noexcept
{
    return framework::ScaleToDpi(pixels, framework::WindowDpi(m_hWnd));
}

void SpeedResultsPage::InsertColumn(int position, const char* heading, int width)
{
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    column.fmt = LVCFMT_LEFT;
    column.cx = Scaled(width);
    column.pszText = const_cast<char*>(heading);
    ::SendDlgItemMessageA(m_hWnd, IDC_SPEED_GRID, LVM_INSERTCOLUMNA, static_cast<WPARAM>(position),
                          reinterpret_cast<LPARAM>(&column));
    ++m_columns;
}

void SpeedResultsPage::SetCell(int row, int column, const std::string& text)
{
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text.c_str());
    ::SendDlgItemMessageA(m_hWnd, IDC_SPEED_GRID, LVM_SETITEMTEXTA, static_cast<WPARAM>(row),
                          reinterpret_cast<LPARAM>(&item));
}
