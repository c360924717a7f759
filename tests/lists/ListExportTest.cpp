#include "lists/ListExport.h"

#include "support/TempFolder.h"
#include "support/TestList.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

using Records = std::vector<std::vector<std::string>>;

// RFC 4180 as a spreadsheet reads it: quoted fields may hold commas, doubled
// quotes and line breaks.
Records ReadCsv(const std::string& text)
{
    Records records(1, std::vector<std::string>(1));
    bool quoted = false;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        std::string& field = records.back().back();
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"')
                field += text[++i];
            else if (c == '"')
                quoted = false;
            else
                field += c;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            records.back().emplace_back();
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            ++i;
            records.emplace_back(1);
        } else {
            field += c;
        }
    }
    records.pop_back();  // after the last line break
    return records;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

class ListExportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* captions[] = {"FileName", "Folder", "Size", "Last Modified"};
        for (int i = 0; i < 4; ++i) {
            LVCOLUMNA column{};
            column.mask = LVCF_TEXT;
            column.pszText = const_cast<char*>(captions[i]);
            ::SendMessageA(m_rows.List().GetSafeHwnd(), LVM_SETCOLUMNA, static_cast<WPARAM>(i),
                           reinterpret_cast<LPARAM>(&column));
        }
    }

    TestList m_rows{{100, 100, 60, 60}, 2};
};

}  // namespace

TEST_F(ListExportTest, ASpreadsheetReadsBackTheRowsAsShownWithExactBytes)
{
    const std::string odd = "a, \"quoted\" Főtanúsítvány 日本.txt";
    m_rows.AddRow({odd, "C:\\x", "", "1998/07/04"}, false, (5ull << 30) + 3);
    m_rows.AddRow({"plain.txt", "C:\\y", "", "00/00/00"}, false, 10);
    m_rows.List().Sort(2, SortKind::Size, false);

    TempFolder temp;
    const std::string path = temp.Path() + "out.csv";
    ASSERT_EQ(ExportList(m_rows.List(), path), DWORD(ERROR_SUCCESS));
    std::string text = ReadFile(path);
    ASSERT_EQ(text.rfind("\xEF\xBB\xBF", 0), 0u);
    EXPECT_EQ(ReadCsv(text.substr(3)), (Records{{"FileName", "Folder", "Size", "Last Modified", "Bytes"},
                                                {"plain.txt", "C:\\y", "10 bytes", "", "10"},
                                                {odd, "C:\\x", "5120.00 M", "1998-07-04", "5368709123"}}));

    // A write that fails leaves neither half a file nor its temporary one.
    temp.MakeFolder("taken.csv");
    EXPECT_NE(ExportList(m_rows.List(), temp.Path() + "taken.csv"), DWORD(ERROR_SUCCESS));
    EXPECT_NE(ExportList(m_rows.List(), temp.Path() + "missing\\out.csv"), DWORD(ERROR_SUCCESS));
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE find = ::FindFirstFileA((temp.Path() + "*").c_str(), &found);
    do {
        names.emplace_back(found.cFileName);
    } while (::FindNextFileA(find, &found));
    ::FindClose(find);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{".", "..", "out.csv", "taken.csv"}));
}

// Names and growths can read as formulas: a leading quote keeps them text.
TEST_F(ListExportTest, NoExportedOrCopiedCellStartsAFormulaAndNumbersStayNumbers)
{
    m_rows.AddRow({"=1+2.txt", "+1.20 M", "", "-12"}, false, 3);
    m_rows.AddRow({"@cmd.txt", "-x", "", "+3.5"}, false, 4);

    TempFolder temp;
    ASSERT_EQ(ExportList(m_rows.List(), temp.Path() + "out.csv"), DWORD(ERROR_SUCCESS));
    EXPECT_EQ(ReadCsv(ReadFile(temp.Path() + "out.csv").substr(3)),
              (Records{{"FileName", "Folder", "Size", "Last Modified", "Bytes"},
                       {"'=1+2.txt", "'+1.20 M", "3 bytes", "-12", "3"},
                       {"'@cmd.txt", "'-x", "4 bytes", "+3.5", "4"}}));

    EXPECT_EQ(RowsText(m_rows.List(), {0, 1}), "FileName\tFolder\tSize\tLast Modified\r\n"
                                               "'=1+2.txt\t'+1.20 M\t3 bytes\t-12\r\n"
                                               "'@cmd.txt\t'-x\t4 bytes\t+3.5\r\n");
}

TEST_F(ListExportTest, AFileAtTheTemporaryNameIsNotTheExportsToDelete)
{
    m_rows.AddRow({"a.txt", "C:\\x", "", ""}, false, 1);
    TempFolder temp;
    const std::string target = temp.Path() + "out.csv";
    std::vector<std::string> taken;
    for (int attempt = 0; attempt < kExportTemporaryNames; ++attempt)
        taken.push_back(temp.MakeFile(ExportTemporaryName(target, attempt).substr(temp.Path().size()), 7));

    // Every name taken: the export fails and deletes none of them.
    EXPECT_NE(ExportList(m_rows.List(), target), DWORD(ERROR_SUCCESS));
    for (const std::string& path : taken)
        EXPECT_EQ(ReadFile(path).size(), 7u) << path;

    // One name free: that one is used, and the others stay.
    ::DeleteFileA(taken.back().c_str());
    taken.pop_back();
    ASSERT_EQ(ExportList(m_rows.List(), target), DWORD(ERROR_SUCCESS));
    EXPECT_NE(ReadFile(target).find("a.txt"), std::string::npos);
    for (const std::string& path : taken)
        EXPECT_EQ(ReadFile(path).size(), 7u) << path;
    EXPECT_EQ(::GetFileAttributesA(ExportTemporaryName(target, kExportTemporaryNames - 1).c_str()),
              INVALID_FILE_ATTRIBUTES);
}
