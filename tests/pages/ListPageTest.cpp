#include "pages/ListPage.h"

#include "pages/PageMessages.h"
#include "pages/TestPages.h"

#include "framework/Seams.h"

#include "lists/ListActions.h"

#include "support/Messages.h"
#include "support/Override.h"
#include "support/TempFolder.h"
#include "support/TestList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace {

class TestListPage : public ListPage {
public:
    TestListPage()
        : ListPage({.templateId = IDD_TEST_LIST_PAGE,
                    .helpKey = "Test Page",
                    .listId = IDC_TEST_LIST,
                    .columns = {{"FileName", 100}, {"Folder", 100}, {"Size", 60}},
                    .sizeColumn = 2,
                    .buttons = {{IDC_TEST_PRINT, ButtonNeeds::Rows},
                                {IDC_TEST_DELETE, ButtonNeeds::SelectedFiles},
                                {IDC_TEST_OPEN, ButtonNeeds::OneSelectedFile},
                                {IDC_TEST_START_OVER, ButtonNeeds::Nothing}}})
    {
    }
    using ListPage::AddRow;
    using ListPage::ClearList;
    using ListPage::FileList;
    using ListPage::ShowPlaceholder;
    using ListPage::ShowRows;
    void DeleteSelected() { DeleteSelectedFiles(false); }
};

class ListPageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::vector<TabEntry> tabs;
        tabs.push_back({"List", {[this] {
                            auto page = std::make_unique<TestListPage>();
                            m_page = page.get();
                            return page;
                        }}});
        m_host = std::make_unique<TestHost>(std::move(tabs));
        PumpPending();
    }

    HWND Page() { return m_page->GetSafeHwnd(); }
    HWND List() { return m_page->Results().GetSafeHwnd(); }
    bool Enabled(int id) { return ::IsWindowEnabled(::GetDlgItem(Page(), id)) != FALSE; }
    void Select(int row, bool selected)
    {
        SelectRow(List(), row, selected);
        PumpPending();
    }
    void ClickColumn(int column)
    {
        NMLISTVIEW click{};
        click.hdr = {List(), IDC_TEST_LIST, LVN_COLUMNCLICK};
        click.iItem = -1;
        click.iSubItem = column;
        ::SendMessageA(Page(), WM_NOTIFY, IDC_TEST_LIST, reinterpret_cast<LPARAM>(&click));
    }
    std::vector<std::string> Column(int column) { return ColumnTexts(List(), column); }
    RECT ChildRect(int id)
    {
        RECT rect{};
        ::GetWindowRect(::GetDlgItem(Page(), id), &rect);
        ::MapWindowPoints(nullptr, Page(), reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }

    TestListPage* m_page = nullptr;
    std::unique_ptr<TestHost> m_host;
};

using Texts = std::vector<std::string>;

}  // namespace

TEST_F(ListPageTest, ListShowsFilesWithTheShellsIconsAndFullRows)
{
    EXPECT_TRUE(::SendMessageA(List(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_FULLROWSELECT);
    EXPECT_EQ(reinterpret_cast<HIMAGELIST>(::SendMessageA(List(), LVM_GETIMAGELIST, LVSIL_SMALL, 0)),
              GetSysImageList());
    EXPECT_EQ(Column(0), Texts{});
    char heading[32] = "";
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = heading;
    column.cchTextMax = sizeof heading;
    ::SendMessageA(List(), LVM_GETCOLUMNA, 2, reinterpret_cast<LPARAM>(&column));
    EXPECT_STREQ(heading, "Size");
    EXPECT_EQ(column.cx, 60);
}

TEST_F(ListPageTest, ButtonsFollowTheSelectionAndThePlaceholderDisablesFileActions)
{
    EXPECT_FALSE(Enabled(IDC_TEST_PRINT));
    EXPECT_FALSE(Enabled(IDC_TEST_DELETE));
    EXPECT_FALSE(Enabled(IDC_TEST_OPEN));
    EXPECT_TRUE(Enabled(IDC_TEST_START_OVER));

    m_page->AddRow({"a.txt", "C:\\x"}, 1024);
    m_page->AddRow({"b.txt", "C:\\x"}, 2048);
    PumpPending();
    EXPECT_TRUE(Enabled(IDC_TEST_PRINT));
    EXPECT_FALSE(Enabled(IDC_TEST_DELETE));
    Select(0, true);
    EXPECT_TRUE(Enabled(IDC_TEST_DELETE));
    EXPECT_TRUE(Enabled(IDC_TEST_OPEN));
    Select(1, true);
    EXPECT_TRUE(Enabled(IDC_TEST_DELETE));
    EXPECT_FALSE(Enabled(IDC_TEST_OPEN));

    m_page->ShowPlaceholder("No matching files found.");
    Select(0, true);
    EXPECT_EQ(Column(0), Texts{"No matching files found."});
    EXPECT_TRUE(m_page->HasPlaceholder());
    LVITEMA image{};
    image.mask = LVIF_IMAGE;
    ::SendMessageA(List(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&image));
    EXPECT_EQ(image.iImage, I_IMAGENONE);
    EXPECT_FALSE(Enabled(IDC_TEST_PRINT));
    EXPECT_FALSE(Enabled(IDC_TEST_DELETE));
    EXPECT_FALSE(Enabled(IDC_TEST_OPEN));
    EXPECT_TRUE(Enabled(IDC_TEST_START_OVER));
}

TEST_F(ListPageTest, ColumnClicksSortOneWayThenTheOther)
{
    m_page->AddRow({"beta", "C:\\b"}, 900);
    m_page->AddRow({"Alpha", "C:\\a"}, 2 * 1024 * 1024);
    m_page->AddRow({"gamma", "C:\\c"}, 1024);

    ClickColumn(0);
    EXPECT_EQ(Column(0), (Texts{"Alpha", "beta", "gamma"}));
    ClickColumn(0);
    EXPECT_EQ(Column(0), (Texts{"gamma", "beta", "Alpha"}));
    ClickColumn(2);
    EXPECT_EQ(Column(2), (Texts{"2.00 M", "1.0 K", "900 bytes"}));
    ClickColumn(2);
    EXPECT_EQ(Column(2), (Texts{"900 bytes", "1.0 K", "2.00 M"}));
    ClickColumn(1);
    EXPECT_EQ(Column(1), (Texts{"C:\\a", "C:\\b", "C:\\c"}));
}

TEST_F(ListPageTest, ResizeStretchesTheListAndLinesUpTheButtonRow)
{
    ::PostMessageA(Page(), UM_PAGERESIZE, 700, 420);
    PumpPending();
    RECT page{};
    ::GetClientRect(Page(), &page);
    EXPECT_EQ(page.right, 700);
    EXPECT_EQ(page.bottom, 420);

    RECT list = ChildRect(IDC_TEST_LIST);
    EXPECT_EQ(list.right, 700);
    EXPECT_EQ(list.bottom, 420 - 30);
    RECT print = ChildRect(IDC_TEST_PRINT), remove = ChildRect(IDC_TEST_DELETE), start = ChildRect(IDC_TEST_START_OVER);
    EXPECT_EQ(print.right, list.right);
    EXPECT_EQ(print.top, list.bottom + 6);
    EXPECT_EQ(remove.right, print.left - 6);
    EXPECT_EQ(remove.top, print.top);
    EXPECT_EQ(start.right, ChildRect(IDC_TEST_OPEN).left - 6);

    // The view's size before the window has one changes nothing.
    ::PostMessageA(Page(), UM_PAGERESIZE, static_cast<WPARAM>(-24), -48);
    PumpPending();
    ::GetClientRect(Page(), &page);
    EXPECT_EQ(page.right, 700);
}

TEST_F(ListPageTest, DeletingTheSelectedFilesUpdatesTheButtons)
{
    TempFolder temp;
    temp.MakeFile("gone.tmp");
    m_page->AddRow({"gone.tmp", temp.Path().substr(0, temp.Path().size() - 1)});
    m_page->AddRow({"kept.tmp", "C:\\nowhere"});
    Select(0, true);
    ASSERT_TRUE(Enabled(IDC_TEST_DELETE));
    ScopedOverride<decltype(framework::Seams::fileOperation)> shell(framework::GetSeams().fileOperation,
                                                                    [](SHFILEOPSTRUCTA& operation) {
                                                                        ::DeleteFileA(operation.pFrom);
                                                                        return 0;
                                                                    });
    m_page->DeleteSelected();
    EXPECT_EQ(Column(0), Texts{"kept.tmp"});
    EXPECT_FALSE(Enabled(IDC_TEST_DELETE));
    EXPECT_TRUE(Enabled(IDC_TEST_PRINT));
}

TEST_F(ListPageTest, TwentyThousandRowsSortSelectDeleteAndOpenThroughTheModel)
{
    TempFolder temp;
    const std::string folder = temp.Path().substr(0, temp.Path().size() - 1);
    constexpr int kRows = 20000;
    for (int i = 0; i < kRows; ++i)
        m_page->AddRow({"file" + std::to_string(i) + ".dat", folder}, static_cast<std::uint64_t>(i) * 7919 % 100003);
    m_page->ShowRows();
    ASSERT_EQ(::SendMessageA(List(), LVM_GETITEMCOUNT, 0, 0), kRows);

    const ListModel& rows = m_page->Rows();
    auto bytes = [&] {
        std::vector<std::uint64_t> sizes;
        for (size_t row = 0; row < rows.Count(); ++row)
            sizes.push_back(rows.Size(row));
        return sizes;
    };
    ClickColumn(2);
    std::vector<std::uint64_t> largestFirst = bytes();
    EXPECT_TRUE(std::is_sorted(largestFirst.rbegin(), largestFirst.rend()));
    ClickColumn(2);
    std::vector<std::uint64_t> smallestFirst = bytes();
    EXPECT_TRUE(std::is_sorted(smallestFirst.begin(), smallestFirst.end()));

    // Only the two selected rows' files exist; the shell is handed exactly those.
    const std::string third = rows.Text(3, 0), last = rows.Text(kRows - 1, 0);
    temp.MakeFile(third);
    temp.MakeFile(last);
    Select(3, true);
    Select(kRows - 1, true);
    std::vector<std::string> handed;
    ScopedOverride<decltype(framework::Seams::fileOperation)> shell(
        framework::GetSeams().fileOperation, [&](SHFILEOPSTRUCTA& operation) {
            for (const char* path = operation.pFrom; *path; path += std::strlen(path) + 1) {
                handed.push_back(path);
                ::DeleteFileA(path);
            }
            return 0;
        });
    const std::string before = rows.Text(2, 0), after = rows.Text(4, 0);
    m_page->DeleteSelected();
    EXPECT_EQ(handed, (Texts{temp.Path() + third, temp.Path() + last}));
    ASSERT_EQ(rows.Count(), size_t{kRows - 2});
    EXPECT_EQ(::SendMessageA(List(), LVM_GETITEMCOUNT, 0, 0), kRows - 2);
    EXPECT_EQ(rows.Text(2, 0), before);
    EXPECT_EQ(rows.Text(3, 0), after);
    EXPECT_EQ(::SendMessageA(List(), LVM_GETSELECTEDCOUNT, 0, 0), 0);

    Select(17000, true);
    temp.MakeFile(rows.Text(17000, 0));
    std::string opened;
    ScopedOverride<decltype(framework::Seams::shellExecute)> open(
        framework::GetSeams().shellExecute, [&](HWND, const char*, const char* file, const char*, const char*, int) {
            opened = file;
            return INT_PTR{42};
        });
    ListCtrlOpenSelectedFile(Page(), m_page->FileList());
    EXPECT_EQ(opened, temp.Path() + rows.Text(17000, 0));
    EXPECT_EQ(ShownText(List(), 17000, 0), rows.Text(17000, 0));
}

TEST_F(ListPageTest, IconsAreAskedForOnlyForTheRowsDrawnAndOncePerTypeThatSharesOne)
{
    std::vector<std::string> asked;
    ScopedOverride<decltype(framework::Seams::fileInfo)> icons(framework::GetSeams().fileInfo,
                                                               [&](const char* path, DWORD, SHFILEINFOA& info, UINT) {
                                                                   asked.push_back(path);
                                                                   info.iIcon = 7;
                                                                   return DWORD_PTR{1};
                                                               });
    for (int i = 0; i < 1000; ++i)
        m_page->AddRow({"program" + std::to_string(i) + ".exe", "C:\\apps"}, 1);
    m_page->ShowRows();
    ::UpdateWindow(List());
    PumpPending();
    size_t drawn = asked.size();
    EXPECT_GT(drawn, 0u);
    EXPECT_LT(drawn, 60u);
    EXPECT_EQ(asked.front(), "C:\\apps\\program0.exe");
    ::InvalidateRect(List(), nullptr, TRUE);
    ::UpdateWindow(List());
    EXPECT_EQ(asked.size(), drawn);  // kept, not asked again

    m_page->ClearList();
    asked.clear();
    for (int i = 0; i < 1000; ++i)
        m_page->AddRow({"notes" + std::to_string(i) + ".TXT", "C:\\docs"}, 1);
    m_page->ShowRows();
    ::UpdateWindow(List());
    PumpPending();
    EXPECT_EQ(asked, Texts{"C:\\docs\\notes0.TXT"});
}

TEST_F(ListPageTest, CtrlCCopiesTheSelectedRowsInTheOrderShown)
{
    m_page->AddRow({"a.txt", "C:\\x"}, 300);
    m_page->AddRow({"b.txt", "C:\\y"}, 100);
    m_page->AddRow({"c.txt", "C:\\z"}, 200);
    m_page->ShowRows();
    ClickColumn(2);  // the largest first
    Select(0, true);
    Select(2, true);
    ASSERT_TRUE(::OpenClipboard(Page()));
    ::EmptyClipboard();
    ::CloseClipboard();

    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    BYTE pressed[256];
    std::copy(std::begin(keys), std::end(keys), pressed);
    pressed[VK_CONTROL] = 0x80;
    ::SetKeyboardState(pressed);
    ::SendMessageA(List(), WM_KEYDOWN, 'C', 0);
    ::SetKeyboardState(keys);

    ASSERT_TRUE(::OpenClipboard(Page()));
    HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
    std::wstring text = data ? static_cast<const wchar_t*>(::GlobalLock(data)) : L"";
    if (data)
        ::GlobalUnlock(data);
    ::CloseClipboard();
    EXPECT_EQ(text, L"FileName\tFolder\tSize\r\na.txt\tC:\\x\t300 bytes\r\nb.txt\tC:\\y\t100 bytes\r\n");
}
