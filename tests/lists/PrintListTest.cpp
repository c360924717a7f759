#include "lists/PrintList.h"

#include "framework/Seams.h"
#include "lists/ListActions.h"
#include "framework/Fonts.h"

#include "support/Override.h"
#include "support/TestList.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Drawn {
    std::string what;  // the text, or "icon"
    int x, y, size;
};
using Page = std::vector<Drawn>;

std::string CellText(int row, int column)
{
    char text[32];
    std::snprintf(text, sizeof text, "r%dc%d", row, column);
    return text;
}

// Each page becomes an enhanced metafile whose records are read back.
class RecordingTarget : public PrintTarget {
public:
    ~RecordingTarget() override
    {
        for (HENHMETAFILE page : m_pages)
            ::DeleteEnhMetaFile(page);
    }
    HDC StartPage() override
    {
        m_dc = ::CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
        return m_dc;
    }
    void EndPage() override { m_pages.push_back(::CloseEnhMetaFile(m_dc)); }

    std::vector<Page> Pages() const
    {
        std::vector<Page> pages;
        for (HENHMETAFILE page : m_pages) {
            pages.emplace_back();
            ::EnumEnhMetaFile(nullptr, page, Record, &pages.back(), nullptr);
        }
        return pages;
    }

private:
    static int CALLBACK Record(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM page)
    {
        auto& drawn = *reinterpret_cast<Page*>(page);
        if (record->iType == EMR_EXTTEXTOUTW) {
            const auto* text = reinterpret_cast<const EMREXTTEXTOUTW*>(record);
            const auto* chars =
                reinterpret_cast<const wchar_t*>(reinterpret_cast<const BYTE*>(record) + text->emrtext.offString);
            std::string ascii;
            for (DWORD i = 0; i < text->emrtext.nChars; ++i)
                ascii += static_cast<char>(chars[i]);
            drawn.push_back({ascii, text->emrtext.ptlReference.x, text->emrtext.ptlReference.y, 0});
        } else if (record->iType == EMR_EXTTEXTOUTA) {
            const auto* text = reinterpret_cast<const EMREXTTEXTOUTA*>(record);
            std::string ascii(reinterpret_cast<const char*>(record) + text->emrtext.offString, text->emrtext.nChars);
            drawn.push_back({ascii, text->emrtext.ptlReference.x, text->emrtext.ptlReference.y, 0});
        } else if (record->iType == EMR_STRETCHDIBITS) {
            const auto* bits = reinterpret_cast<const EMRSTRETCHDIBITS*>(record);
            EXPECT_EQ(bits->cxDest, bits->cyDest);
            drawn.push_back({"icon", bits->xDest, bits->yDest, bits->cxDest});
        }
        return 1;
    }

    HDC m_dc = nullptr;
    std::vector<HENHMETAFILE> m_pages;
};

class PrintListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The line height the pages will use: "Ag" in 10-point Arial on the reference screen.
        HDC screen = ::GetDC(nullptr);
        framework::Font font = framework::CreatePointFont(100, "Arial", screen);
        HGDIOBJ old = ::SelectObject(screen, font.get());
        SIZE extent{};
        ::GetTextExtentPoint32A(screen, "Ag", 2, &extent);
        ::SelectObject(screen, old);
        ::ReleaseDC(nullptr, screen);
        m_line = extent.cy;
        RECT client{};
        ::GetClientRect(m_rows.List().GetSafeHwnd(), &client);
        m_clientWidth = client.right;
    }
    void AddRows(int count)
    {
        for (int row = 0; row < count; ++row)
            m_rows.AddRow({"row" + std::to_string(row), CellText(row, 1), CellText(row, 2)});
    }

    TestList m_rows{{100, 150, 200}};
    CFileList& m_list = m_rows.List();
    int m_line = 0;
    int m_clientWidth = 0;
};

}  // namespace

TEST_F(PrintListTest, CellsStandInColumnsScaledToThePageWithAnIconSquareFirst)
{
    AddRows(2);
    constexpr int kWidth = 2400;
    RecordingTarget target;
    PrintListPages(target, m_list, kWidth, 100000);
    std::vector<Page> pages = target.Pages();
    ASSERT_EQ(pages.size(), 1u);
    ASSERT_EQ(pages[0].size(), 8u);

    int second = 3 * m_line + 100 * kWidth / m_clientWidth;
    int third = second + 150 * kWidth / m_clientWidth;
    for (int row = 0; row < 2; ++row) {
        const Drawn* drawn = &pages[0][static_cast<size_t>(row) * 4];
        int y = row * m_line;
        EXPECT_EQ(drawn[0].what, "icon");
        EXPECT_EQ(drawn[0].x, 40);
        EXPECT_EQ(drawn[0].y, y);
        EXPECT_EQ(drawn[0].size, m_line - 2);
        EXPECT_EQ(drawn[1].what, "row" + std::to_string(row));
        EXPECT_EQ(drawn[1].x, 3 * m_line);
        EXPECT_EQ(drawn[1].y, y);
        EXPECT_EQ(drawn[2].x, second);
        EXPECT_EQ(drawn[3].what, CellText(row, 2));
        EXPECT_EQ(drawn[3].x, third);
    }

    // A column made wider on screen is wider on paper in the same proportion.
    ::SendMessageA(m_rows.List().GetSafeHwnd(), LVM_SETCOLUMNWIDTH, 0, 200);
    RecordingTarget wider;
    PrintListPages(wider, m_list, kWidth, 100000);
    EXPECT_EQ(wider.Pages()[0][2].x, 3 * m_line + 200 * kWidth / m_clientWidth);
}

TEST_F(PrintListTest, RowsPrintInTheirSortedOrder)
{
    AddRows(3);
    ListCtrlSortItems(m_list, 0, SortKind::Text, false);
    RecordingTarget target;
    PrintListPages(target, m_list, 2000, 100000);
    std::vector<Page> pages = target.Pages();
    ASSERT_EQ(pages.size(), 1u);
    ASSERT_EQ(pages[0].size(), 12u);
    EXPECT_EQ(pages[0][1].what, "row2");
    EXPECT_EQ(pages[0][9].what, "row0");
    EXPECT_EQ(pages[0][11].what, CellText(0, 2));
}

TEST_F(PrintListTest, PagesBreakOnlyWhenAnotherRowWouldPassTheBottom)
{
    AddRows(3);
    RecordingTarget exact;
    PrintListPages(exact, m_list, 2000, 3 * m_line);
    EXPECT_EQ(exact.Pages().size(), 1u);

    AddRows(1);
    RecordingTarget broken;
    PrintListPages(broken, m_list, 2000, 3 * m_line);
    std::vector<Page> pages = broken.Pages();
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].size(), 12u);
    ASSERT_EQ(pages[1].size(), 4u);
    EXPECT_EQ(pages[1][0].y, 0);
    EXPECT_EQ(pages[1][1].y, 0);
}

TEST_F(PrintListTest, AnEmptyListIsOneBlankPageAndACancelPrintsNothing)
{
    RecordingTarget target;
    PrintListPages(target, m_list, 2000, 3000);
    std::vector<Page> pages = target.Pages();
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_TRUE(pages[0].empty());

    DWORD flags = 0;
    ScopedOverride<decltype(framework::Seams::printDialog)> cancel(framework::GetSeams().printDialog,
                                                                   [&](PRINTDLGA& dialog) {
                                                                       flags = dialog.Flags;
                                                                       return false;
                                                                   });
    PrintList(m_list);
    EXPECT_EQ(flags & (PD_NOPAGENUMS | PD_NOSELECTION | PD_HIDEPRINTTOFILE),
              DWORD(PD_NOPAGENUMS | PD_NOSELECTION | PD_HIDEPRINTTOFILE));
}
