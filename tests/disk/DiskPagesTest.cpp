#include "disk/DiskPages.h"

#include "app/Tabs.h"
#include "disk/History.h"
#include "framework/Handle.h"
#include "framework/Seams.h"
#include "framework/Text.h"
#include "resources/resource.h"

#include "support/Messages.h"
#include "support/Override.h"
#include "support/Program.h"
#include "support/UserActions.h"

#include <commctrl.h>

#include <climits>

namespace {

std::string Text(HWND page, int id)
{
    return framework::GetWindowTextString(::GetDlgItem(page, id));
}

class DiskPagesTest : public ProgramTest {
protected:
    void Open(int tab)
    {
        m_store.WriteProfileInt("Settings", "SkipDiskInfoPage1", 1);
        m_store.WriteProfileInt("Settings", "SkipHistoryPage1", 1);
        StartOn(tab, 1);
        m_page = Page(tab, 1);
        ::UpdateWindow(m_page);
        PumpPending();
    }

    HWND m_page = nullptr;
};

}  // namespace

TEST(DiskSummary, FiguresAsTheyAreShown)
{
    DriveSummary summary = SummarizeDrive(45.678, 100, 50, 4096, 0x1A2B3C4D);
    EXPECT_EQ(summary.percentText, "45.68% full");
    EXPECT_EQ(summary.barPosition, 456);
    EXPECT_EQ(summary.clusterText, "4096 bytes");
    EXPECT_EQ(summary.serialText, "439041101");
    summary = SummarizeDrive(75, 2048, 512, 512, 0xF00D1234);
    EXPECT_EQ(summary.freeText, "512.00 megabytes");
    EXPECT_EQ(summary.usedText, "1536.00 megabytes");
    EXPECT_EQ(summary.totalText, "2048.00 megabytes");
    EXPECT_EQ(summary.percentText, "75.00% full");
    EXPECT_EQ(summary.serialText, "4027388468");
}

TEST(HistoryChart, PointsStandWhereTheirDayAndPercentPutThem)
{
    ChartHistory single = ParseHistory({"40,10228"});
    ASSERT_EQ(single.points.size(), 1u);
    POINT at = PlotPoint(single.points[0], ChartSpan(single.points));
    EXPECT_EQ(at.x, 50);
    EXPECT_EQ(at.y, 113);

    ChartHistory days = ParseHistory({"55", "10,10228", "20,10230", "30,10229", "100,10240", "5,10100"});
    EXPECT_EQ(days.baseDay, 10228);
    ASSERT_EQ(days.points.size(), 3u);
    int span = ChartSpan(days.points);
    EXPECT_EQ(PlotPoint(days.points[0], span).x, 50);
    EXPECT_EQ(PlotPoint(days.points[1], span).x, 121);
    EXPECT_EQ(PlotPoint(days.points[2], span).x, 476);
    EXPECT_EQ(PlotPoint(days.points[2], span).y, 17);
    EXPECT_EQ(PlotPoint(ChartPoint{0, 0}, span).y, 176);

    EXPECT_EQ(HitPoint(days.points, POINT{476 - 4, 17 + 4}), 2);
    EXPECT_EQ(HitPoint(days.points, POINT{476 - 5, 17}), -1);
    EXPECT_EQ(HitPoint(days.points, POINT{476, 17 + 5}), -1);

    // The stored day's own date, in every zone.
    EXPECT_EQ(HistoryDate(10228), "January 01, 1998");
    EXPECT_EQ(HistoryDate(1), "January 01, 1970");
}

TEST(HistoryChart, TheBackgroundHasItsAxesAndBands)
{
    framework::GdiObject<HBITMAP> picture(static_cast<HBITMAP>(
        ::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_HISTORY_BACKGROUND), IMAGE_BITMAP, 0, 0, 0)));
    ASSERT_TRUE(picture);
    framework::OwnedDc dc(::CreateCompatibleDC(nullptr));
    framework::SelectObjectGuard selected(dc.get(), picture.get());
    BITMAP size{};
    ::GetObjectA(picture.get(), sizeof size, &size);
    EXPECT_EQ(size.bmWidth, 515);
    EXPECT_EQ(size.bmHeight, 194);
    auto at = [&](int x, int y) { return ::GetPixel(dc.get(), x, y); };
    EXPECT_EQ(at(0, 0), RGB(128, 128, 128));
    EXPECT_EQ(at(39, 100), RGB(0, 0, 0));
    EXPECT_EQ(at(100, 178), RGB(0, 0, 0));
    EXPECT_EQ(at(41, 19), RGB(255, 0, 0));
    EXPECT_EQ(at(40, 19), RGB(255, 255, 255));
    EXPECT_EQ(at(40, 30), RGB(255, 255, 0));
    EXPECT_EQ(at(41, 61), RGB(0, 255, 0));
    EXPECT_EQ(at(498, 100), RGB(255, 255, 255));
}

TEST_F(DiskPagesTest, SummaryOfEachFixedDrive)
{
    Open(kDiskInfoTab);
    HWND drives = ::GetDlgItem(m_page, IDC_DRIVE_ICONS);
    ASSERT_EQ(::SendMessageA(drives, LVM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_EQ(Text(m_page, IDC_TITLE), "Summary of Drive C:");
    EXPECT_NE(Text(m_page, IDC_FULL_TEXT).find("% full"), std::string::npos);

    LVITEMA select{};
    select.stateMask = LVIS_SELECTED;
    ::SendMessageA(drives, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&select));
    select.state = LVIS_SELECTED;
    ::SendMessageA(drives, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&select));
    EXPECT_EQ(Text(m_page, IDC_TITLE), "Summary of Drive E:");
    EXPECT_EQ(Text(m_page, IDC_SERIAL_TEXT), "4027388468");
    EXPECT_EQ(Text(m_page, IDC_LABEL_TEXT), "TESTDATA");

    // The page owns the drive pictures: the list leaves them alone.
    auto images = reinterpret_cast<HIMAGELIST>(::SendMessageA(drives, LVM_GETIMAGELIST, LVSIL_NORMAL, 0));
    ::DestroyWindow(drives);
    EXPECT_EQ(ImageList_GetImageCount(images), 1);
}

TEST_F(DiskPagesTest, ChartLegendAndResetAfterTheQuestion)
{
    Open(kHistoryTab);
    EXPECT_EQ(Text(m_page, IDC_LEGEND),
              "The history graph will give a good picture of your disk usage after you have used Corvane for a few "
              "weeks.");
    int answer = IDNO;
    ScopedOverride<decltype(framework::Seams::messageBox)> box(framework::GetSeams().messageBox,
                                                               [&](HWND, const char* text, const char*, UINT) {
                                                                   EXPECT_STREQ(text, "Are you sure you want to reset "
                                                                                      "the history counters?");
                                                                   return answer;
                                                               });
    for (int i = 0; i < 14; ++i)
        m_store.WriteProfileString("History-C:\\", ("Snapshot" + std::to_string(i)).c_str(),
                                   (std::to_string(i * 5) + "," + std::to_string(10228 + i)).c_str());
    // A damaged count reads no more slots than are stored: Snapshot20 lies beyond them.
    m_store.WriteProfileString("History-C:\\", "Snapshot20", "50,10300");
    m_store.WriteProfileInt("History-C:\\", "Count", INT_MAX);
    ::InvalidateRect(m_page, nullptr, TRUE);
    ::UpdateWindow(m_page);
    EXPECT_EQ(Text(m_page, IDC_LEGEND), "This chart shows a history of disk space usage.  The chart covers the period "
                                        "from January 01, 1998 to January 14, 1998.");
    m_store.WriteProfileInt("History-C:\\", "Count", 14);

    Press(m_page, IDC_RESET);
    EXPECT_EQ(m_store.GetProfileInt("History-C:\\", "Count", 0), 14);
    answer = IDYES;
    Press(m_page, IDC_RESET);
    EXPECT_EQ(m_store.GetProfileInt("History-E:\\", "Count", -1), 0);
    ::UpdateWindow(m_page);
    // The repaint found no history and took today's snapshot.
    EXPECT_EQ(m_store.GetProfileInt("History-C:\\", "Count", 0), 1);
}
