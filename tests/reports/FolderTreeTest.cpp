#include "reports/FolderTreeRows.h"

#include "framework/Win32.h"
#include "lists/FileText.h"

#include <gtest/gtest.h>

namespace {

// 2021-03-04 and 2022-05-06, at noon: whole minutes of file time.
constexpr std::int64_t kEarlier = 132'592'464'000'000'000;
constexpr std::int64_t kLater = 132'962'544'000'000'000;

std::string DateOf(std::int64_t ticks)
{
    return FormatFileDate(framework::FileTimeFromTicks(static_cast<std::uint64_t>(ticks)));
}

// C:\t holds big.bin, docs\ (a.txt, b.txt, deep\c.txt), empty.txt and a further name of big.bin.
class FolderTreeRowsTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_tree.Start("C:\\t");
        m_tree.AddFile("big.bin", 5000, 8192, kEarlier);
        m_tree.OpenFolder("docs");
        m_tree.AddFile("a.txt", 3000, 4096, kEarlier);
        m_tree.OpenFolder("deep");
        m_tree.AddFile("c.txt", 10, 4096, kLater);
        m_tree.CloseFolder(10, 4096, kLater);
        m_tree.AddFile("b.txt", 990, 4096, kEarlier);
        m_tree.CloseFolder(4000, 12288, kLater);
        m_tree.AddFile("empty.txt", 0, 0, kEarlier);
        m_tree.AddLink("copy.bin", kEarlier);
        m_tree.CloseFolder(9000, 20480, kLater);
        m_rows.Attach(&m_tree);
    }

    std::vector<std::string> Column(TreeColumn column) const
    {
        std::vector<std::string> texts;
        for (size_t row = 0; row < m_rows.Count(); ++row)
            texts.push_back(m_rows.Text(row, column));
        return texts;
    }
    std::uint32_t Node(const char* path) const { return m_tree.Find(path); }

    SpaceTree m_tree;
    FolderTreeRows m_rows;
};

}  // namespace

TEST_F(FolderTreeRowsTest, TheTargetShowsOpenWithItsChildrenLargestFirstAndExactTotals)
{
    using Texts = std::vector<std::string>;
    // By the bytes claimed: docs takes more room on the disk than big.bin, but holds fewer bytes.
    EXPECT_EQ(Column(TreeColumn::Name), (Texts{"C:\\t", "big.bin", "docs", "empty.txt", "copy.bin"}));
    EXPECT_EQ(Column(TreeColumn::Size), (Texts{"8.8 K", "4.9 K", "3.9 K", "0 bytes", "(counted once)"}));
    EXPECT_EQ(Column(TreeColumn::OnDisk), (Texts{"20.0 K", "8.0 K", "12.0 K", "0 bytes", ""}));
    EXPECT_EQ(Column(TreeColumn::Share), (Texts{"", "55.6 %", "44.4 %", "0.0 %", ""}));
    // Each file once: the further name counts nothing.
    EXPECT_EQ(Column(TreeColumn::Files), (Texts{"5", "", "3", "", ""}));
    EXPECT_EQ(Column(TreeColumn::Changed),
              (Texts{DateOf(kLater), DateOf(kEarlier), DateOf(kLater), DateOf(kEarlier), DateOf(kEarlier)}));
    EXPECT_TRUE(m_rows.IsOpen(0));
    EXPECT_TRUE(m_rows.CanOpen(2));
    EXPECT_FALSE(m_rows.CanOpen(1));
    EXPECT_EQ(m_rows.Depth(2), 1);
}

TEST_F(FolderTreeRowsTest, RowsOpenCloseSortAndRevealInPlace)
{
    using Texts = std::vector<std::string>;
    EXPECT_EQ(m_rows.Open(2), 3u);
    EXPECT_EQ(Column(TreeColumn::Name),
              (Texts{"C:\\t", "big.bin", "docs", "a.txt", "b.txt", "deep", "empty.txt", "copy.bin"}));
    EXPECT_EQ(m_rows.ParentRow(5), 2u);
    EXPECT_EQ(m_rows.Close(2), 3u);
    EXPECT_EQ(m_rows.Count(), 5u);

    // Everything below the target, each folder's children in the order of the sort.
    m_rows.Close(0);
    EXPECT_EQ(m_rows.OpenAll(0), 8u);
    m_rows.Sort(TreeColumn::Name, false);
    EXPECT_EQ(Column(TreeColumn::Name),
              (Texts{"C:\\t", "big.bin", "copy.bin", "docs", "a.txt", "b.txt", "deep", "c.txt", "empty.txt"}));
    m_rows.Sort(TreeColumn::Changed, true);
    EXPECT_EQ(m_rows.Text(1, TreeColumn::Name), "docs");
    EXPECT_EQ(m_rows.Text(2, TreeColumn::Name), "deep");

    // Found again where the folders holding it were closed.
    m_rows.Sort(TreeColumn::Size, true);
    m_rows.Close(0);
    EXPECT_EQ(m_rows.Reveal(Node("C:\\t\\docs\\deep\\c.txt")), 6u);
    EXPECT_EQ(m_rows.Count(), 9u);

    // What went leaves the rows; its folders hold less.
    m_tree.Remove(std::vector<std::uint32_t>{Node("C:\\t\\docs\\deep")});
    m_rows.Refresh();
    EXPECT_EQ(Column(TreeColumn::Name), (Texts{"C:\\t", "big.bin", "docs", "a.txt", "b.txt", "empty.txt", "copy.bin"}));
    EXPECT_EQ(m_rows.Text(0, TreeColumn::Files), "4");
    EXPECT_EQ(m_rows.Text(2, TreeColumn::Size), "3.9 K");
    EXPECT_EQ(m_tree.At(Node("C:\\t\\docs")).size, 3990u);
}
