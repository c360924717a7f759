#include "disk/DiskPages.h"

#include "settings/SettingsStore.h"
#include "disk/History.h"
#include "framework/Dpi.h"
#include "framework/Handle.h"
#include "framework/Seams.h"
#include "pages/Picture.h"
#include "framework/Text.h"
#include "framework/Win32.h"
#include "resources/resource.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>

namespace {

std::string Format(const char* format, double value)
{
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

}  // namespace

DriveSummary SummarizeDrive(double percentFull, double totalMegabytes, double freeMegabytes, DWORD clusterBytes,
                            DWORD serialNumber)
{
    DriveSummary summary;
    summary.percentText = Format("%.2f%% full", percentFull);
    summary.barPosition = static_cast<int>(percentFull * 10);
    summary.freeText = Format("%.2f megabytes", freeMegabytes);
    summary.usedText = Format("%.2f megabytes", totalMegabytes - freeMegabytes);
    summary.totalText = Format("%.2f megabytes", totalMegabytes);
    summary.clusterText = std::to_string(clusterBytes) + " bytes";
    summary.serialText = std::to_string(serialNumber);
    return summary;
}

DiskInfoPage::DiskInfoPage(const SettingsStore& settings, const char* skipFlag) noexcept
    : Page(IDD_DISKINFO_SUMMARY, "Disk Info Page", {{IDC_INTRO, 0, skipFlag}}, &settings)
{
}

BOOL DiskInfoPage::OnInitDialog()
{
    Page::OnInitDialog();
    HWND drives = ::GetDlgItem(m_hWnd, IDC_DRIVE_ICONS);
    UINT dpi = framework::WindowDpi(m_hWnd);
    m_images.reset(::ImageList_LoadImageA(::GetModuleHandleA(nullptr),
                                          MAKEINTRESOURCEA(framework::ScaledBitmapId(IDB_DRIVE, dpi)),
                                          32 * framework::PictureScale(dpi) / 100, 0, RGB(0, 0, 255), IMAGE_BITMAP, 0));
    ::SendMessageA(drives, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(m_images.get()));
    for (const std::string& root : framework::GetFixedDriveRoots()) {
        std::string label = framework::DriveLabel(root);
        LVITEMA item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = static_cast<int>(::SendMessageA(drives, LVM_GETITEMCOUNT, 0, 0));
        item.pszText = label.data();
        ::SendMessageA(drives, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
    ::SendDlgItemMessageA(m_hWnd, IDC_FULL_BAR, PBM_SETRANGE32, 0, 1000);
    // Selecting the first drive fills the summary through the change notification.
    framework::SelectListRow(drives, 0);
    return TRUE;
}

LRESULT DiskInfoPage::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_SHOWWINDOW && wParam) {
        int selected = static_cast<int>(
            ::SendDlgItemMessageA(m_hWnd, IDC_DRIVE_ICONS, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
        if (selected >= 0)
            ShowSummary(selected);
    }
    return Page::HandleMessage(msg, wParam, lParam);
}

bool DiskInfoPage::OnNotify(const NMHDR& header, LRESULT& result)
{
    if (header.idFrom != IDC_DRIVE_ICONS || header.code != LVN_ITEMCHANGED)
        return Page::OnNotify(header, result);
    // The drive being deselected reports first; the selected one last.
    ShowSummary(reinterpret_cast<const NMLISTVIEW&>(header).iItem);
    return true;
}

void DiskInfoPage::ShowSummary(int item)
{
    char label[64] = "";
    LVITEMA text{};
    text.pszText = label;
    text.cchTextMax = sizeof label;
    ::SendDlgItemMessageA(m_hWnd, IDC_DRIVE_ICONS, LVM_GETITEMTEXTA, static_cast<WPARAM>(item),
                          reinterpret_cast<LPARAM>(&text));
    std::string root = framework::RootFromDriveLabel(label);
    if (root.empty())
        return;
    double percent = 0, total = 0, free = 0;
    DWORD cluster = 0;
    framework::GetDriveSpace(root.c_str(), &percent, &total, &free, &cluster);
    framework::VolumeDetails volume = framework::GetVolumeDetails(root.c_str());
    DriveSummary summary = SummarizeDrive(percent, total, free, cluster, volume.serialNumber);

    ::SetDlgItemTextA(m_hWnd, IDC_TITLE, ("Summary of Drive " + root.substr(0, root.size() - 1)).c_str());
    ::SetDlgItemTextA(m_hWnd, IDC_FULL_TEXT, summary.percentText.c_str());
    ::SetDlgItemTextA(m_hWnd, IDC_FREE_TEXT, summary.freeText.c_str());
    ::SetDlgItemTextA(m_hWnd, IDC_TOTAL_TEXT, summary.totalText.c_str());
    ::SetDlgItemTextA(m_hWnd, IDC_USED_TEXT, summary.usedText.c_str());
    ::SetDlgItemTextA(m_hWnd, IDC_CLUSTER_TEXT, summary.clusterText.c_str());
    ::SetDlgItemTextA(m_hWnd, IDC_FS_TEXT, volume.fileSystemName.c_str());
    ::SetDlgItemTextA(m_hWnd, IDC_LABEL_TEXT, volume.label.c_str());
    ::SetDlgItemTextA(m_hWnd, IDC_SERIAL_TEXT, summary.serialText.c_str());
    ::SendDlgItemMessageA(m_hWnd, IDC_FULL_BAR, PBM_SETPOS, static_cast<WPARAM>(summary.barPosition), 0);
}

namespace {

constexpr const char* kHoverHint = "Move the cursor over chart points to see values at specific dates.";

// The hover line's text, kept for the process so that it is rewritten only on a change.
std::string& LastHoverText()
{
    static std::string text;
    return text;
}

}  // namespace

HistoryPage::HistoryPage(const SettingsStore& settings, const char* skipFlag) noexcept
    : Page(IDD_HISTORY_CHART, "History Page", {{IDC_INTRO, 0, skipFlag}}, &settings), m_settings(settings)
{
    OnControl(IDC_HISTORY_DRIVE, CBN_SELCHANGE, [this] { RedrawChart(); });
    OnControl(IDC_RESET, BN_CLICKED, [this] { OnReset(); });
}

BOOL HistoryPage::OnInitDialog()
{
    Page::OnInitDialog();
    HWND drives = ::GetDlgItem(m_hWnd, IDC_HISTORY_DRIVE);
    for (const std::string& root : framework::GetFixedDriveRoots())
        ::SendMessageA(drives, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(framework::DriveLabel(root).c_str()));
    ::SendMessageA(drives, CB_SETCURSEL, 0, 0);
    return TRUE;
}

LRESULT HistoryPage::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_PAINT:
        OnPaint();
        return TRUE;
    case WM_MOUSEMOVE:
        OnMouseMove(POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
        break;
    }
    return Page::HandleMessage(msg, wParam, lParam);
}

RECT HistoryPage::ChartRect() const
{
    HWND frame = ::GetDlgItem(m_hWnd, IDC_CHART_FRAME);
    RECT rect{};
    ::GetClientRect(frame, &rect);
    ::MapWindowPoints(frame, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

int HistoryPage::ChartScale() const
{
    return framework::PictureScale(framework::WindowDpi(m_hWnd));
}

void HistoryPage::LoadHistory()
{
    std::string label = framework::GetWindowTextString(::GetDlgItem(m_hWnd, IDC_HISTORY_DRIVE));
    std::string root = framework::RootFromDriveLabel(label);
    if (root.empty()) {
        m_history = {};
        return;
    }
    std::string section = HistorySection(root);
    int count = m_settings.GetProfileInt(section.c_str(), "Count", 0);
    if (count <= 0) {
        TakeSnapshot(m_settings);
        count = 1;
    }
    // A damaged count costs no more reads than the snapshots stored beside it.
    count = std::min(count, m_settings.GetValueCount(section.c_str()) - 1);
    std::vector<std::string> values;
    for (int i = 0; i < count; ++i)
        values.push_back(m_settings.GetProfileString(section.c_str(), ("Snapshot" + std::to_string(i)).c_str(), ""));
    m_history = ParseHistory(values);
}

void HistoryPage::OnPaint()
{
    framework::PaintDc dc(m_hWnd);
    RECT chart = ChartRect();
    LoadHistory();
    const std::vector<ChartPoint>& points = m_history.points;
    if (points.empty())
        return;
    {
        // The picture is drawn no larger than the chart.
        int saved = ::SaveDC(dc.get());
        ::IntersectClipRect(dc.get(), chart.left, chart.top, chart.right, chart.bottom);
        DrawDIBPicture(dc.get(), chart.left, chart.top,
                       framework::ScaledBitmapId(IDB_HISTORY_BACKGROUND, framework::WindowDpi(m_hWnd)));
        ::RestoreDC(dc.get(), saved);
    }
    // The line and its points at the picture's scale, one pixel wide at 100%.
    int scale = ChartScale();
    framework::GdiObject<HPEN> pen(::CreatePen(PS_SOLID, (scale + 50) / 100, RGB(0, 0, 0)));
    framework::SelectObjectGuard selected(dc.get(), pen.get());
    int span = ChartSpan(points);
    std::vector<POINT> places;
    for (const ChartPoint& point : points) {
        POINT at = PlotPoint(point, span, scale);
        places.push_back(POINT{chart.left + at.x, chart.top + at.y});
    }
    ::Polyline(dc.get(), places.data(), static_cast<int>(places.size()));
    int radius = 3 * scale / 100;
    for (const POINT& at : places)
        ::Ellipse(dc.get(), at.x - radius, at.y - radius, at.x + radius, at.y + radius);

    std::string legend =
        points.size() >= 14
            ? "This chart shows a history of disk space usage.  The chart covers the period from " +
                  HistoryDate(m_history.baseDay + points.front().offset) + " to " +
                  HistoryDate(m_history.baseDay + points.back().offset) + "."
            : "The history graph will give a good picture of your disk usage after you have used Corvane for a few "
              "weeks.";
    ::SetDlgItemTextA(m_hWnd, IDC_LEGEND, legend.c_str());
}

void HistoryPage::OnMouseMove(POINT place)
{
    if (m_history.points.empty())
        return;
    RECT chart = ChartRect();
    std::string text = kHoverHint;
    if (::PtInRect(&chart, place)) {
        int hit = HitPoint(m_history.points, POINT{place.x - chart.left, place.y - chart.top}, ChartScale());
        if (hit >= 0) {
            const ChartPoint& point = m_history.points[static_cast<size_t>(hit)];
            text = HistoryDate(m_history.baseDay + point.offset) + " " + std::to_string(point.percent) + "%";
        }
    }
    if (text != LastHoverText()) {
        ::SetDlgItemTextA(m_hWnd, IDC_HOVER, text.c_str());
        LastHoverText() = text;
    }
}

void HistoryPage::OnReset()
{
    if (framework::GetSeams().messageBox(m_hWnd, "Are you sure you want to reset the history counters?", "Corvane",
                                         MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    ResetHistory(m_settings);
    RedrawChart();
}

void HistoryPage::RedrawChart()
{
    RECT chart = ChartRect();
    ::InvalidateRect(m_hWnd, &chart, TRUE);
}
