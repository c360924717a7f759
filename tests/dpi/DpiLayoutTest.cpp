// The whole program at the screen DPI its test prefix gives it (96, 144 or
// 192; CORVANE_TEST_DPI says which): every page fits, nothing overlaps,
// headings show whole, and the lengths in pixels follow the DPI.
#include "app/MainFrame.h"
#include "app/Tabs.h"
#include "framework/Dpi.h"
#include "reports/ReportsPages.h"
#include "resources/resource.h"

#include "support/Program.h"

#include <commctrl.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

RECT ScreenRect(HWND window)
{
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return rect;
}

std::vector<HWND> VisibleChildren(HWND page)
{
    std::vector<HWND> children;
    for (HWND child = ::GetWindow(page, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (::GetWindowLongA(child, GWL_STYLE) & WS_VISIBLE)
            children.push_back(child);
    }
    return children;
}

// A group box frames other controls, and an up-down control sits on its
// edit field's edge.
bool MayOverlap(HWND control)
{
    char name[32] = "";
    ::GetClassNameA(control, name, sizeof name);
    bool groupBox = ::lstrcmpiA(name, "Button") == 0 && (::GetWindowLongA(control, GWL_STYLE) & 0xF) == BS_GROUPBOX;
    return groupBox || ::lstrcmpiA(name, UPDOWN_CLASSA) == 0;
}

std::string Name(HWND control)
{
    return std::to_string(::GetDlgCtrlID(control));
}

class DpiLayoutTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        Start();
        const char* expected = std::getenv("CORVANE_TEST_DPI");
        m_dpi = framework::WindowDpi(m_app->GetMainFrame()->GetSafeHwnd());
        ASSERT_EQ(m_dpi, expected ? static_cast<UINT>(std::atoi(expected)) : framework::kDefaultDpi);
    }

    int Scaled(int pixels) const { return framework::ScaleToDpi(pixels, m_dpi); }

    // The page's controls within it and clear of one another.
    void ExpectLaidOut(HWND page, const std::string& where)
    {
        RECT inside = ScreenRect(page);
        std::vector<HWND> children = VisibleChildren(page);
        for (size_t i = 0; i < children.size(); ++i) {
            RECT own = ScreenRect(children[i]), common{};
            EXPECT_TRUE(::IntersectRect(&common, &own, &inside) && ::EqualRect(&common, &own))
                << where << ": control " << Name(children[i]) << " leaves the page";
            for (size_t j = i + 1; j < children.size(); ++j) {
                RECT other = ScreenRect(children[j]);
                if (!MayOverlap(children[i]) && !MayOverlap(children[j])) {
                    EXPECT_FALSE(::IntersectRect(&common, &own, &other))
                        << where << ": controls " << Name(children[i]) << " and " << Name(children[j]) << " overlap";
                }
            }
        }
    }

    UINT m_dpi = 0;
};

}  // namespace

TEST_F(DpiLayoutTest, EveryPageFitsTheDisplayAreaAndNoControlsOverlap)
{
    RECT frame = ScreenRect(m_app->GetMainFrame()->GetSafeHwnd());
    EXPECT_GE(frame.right - frame.left, Scaled(CMainFrame::kWidth));
    EXPECT_GE(frame.bottom - frame.top, Scaled(CMainFrame::kHeight));
    HWND tabs = View().GetTabControl();
    for (int tab = 0; tab < View().GetTabCount(); ++tab) {
        ShowTab(View(), tab);
        RECT area{};
        ::GetClientRect(tabs, &area);
        ::SendMessageA(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
        ::MapWindowPoints(tabs, nullptr, reinterpret_cast<POINT*>(&area), 2);
        RECT shown = ScreenRect(View().GetCurrentPage()->GetSafeHwnd()), common{};
        EXPECT_TRUE(::IntersectRect(&common, &shown, &area) && ::EqualRect(&common, &shown)) << "tab " << tab;
        for (int index = 0; index < static_cast<int>(kMaxPages); ++index) {
            if (::Page* page = View().GetPage(tab, index)) {
                RECT own = ScreenRect(page->GetSafeHwnd());
                EXPECT_LE(own.right - own.left, area.right - area.left) << "tab " << tab << " page " << index;
                EXPECT_LE(own.bottom - own.top, area.bottom - area.top) << "tab " << tab << " page " << index;
                ExpectLaidOut(page->GetSafeHwnd(), "tab " + std::to_string(tab) + " page " + std::to_string(index));
            }
        }
    }
}

TEST_F(DpiLayoutTest, ListColumnsAndTheChartScaleAndHeadingsShowWhole)
{
    HWND list = static_cast<ReportsResultsPage*>(View().GetPage(kReportsTab, 2))->Results().GetSafeHwnd();
    HWND header = ListView_GetHeader(list);
    auto width = [&](int column) {
        RECT item{};
        ::SendMessageA(header, HDM_GETITEMRECT, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item));
        return static_cast<int>(item.right - item.left);
    };
    EXPECT_EQ(width(0), Scaled(130));
    EXPECT_GE(width(1), Scaled(200));
    EXPECT_EQ(width(2), Scaled(80));

    framework::WindowDc dc(header);
    framework::SelectObjectGuard font(dc.get(), reinterpret_cast<HGDIOBJ>(::SendMessageA(header, WM_GETFONT, 0, 0)));
    auto margin = static_cast<int>(::SendMessageA(header, HDM_GETBITMAPMARGIN, 0, 0));
    const char* const headings[] = {"FileName", "Folder", "Size", "Last Modified"};
    for (int column = 0; column < 4; ++column) {
        SIZE text{};
        ::GetTextExtentPoint32A(dc.get(), headings[column], static_cast<int>(std::string(headings[column]).size()),
                                &text);
        EXPECT_GE(width(column), text.cx + 2 * margin) << headings[column];
    }

    // The chart's frame holds its picture at the scale drawn.
    RECT chart{};
    ::GetClientRect(::GetDlgItem(View().GetPage(kHistoryTab, 1)->GetSafeHwnd(), IDC_CHART_FRAME), &chart);
    int scale = framework::PictureScale(m_dpi);
    EXPECT_GE(chart.right, 515 * scale / 100);
    EXPECT_GE(chart.bottom, 194 * scale / 100);
}
