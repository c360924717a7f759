// A report-style list in a window of its own, for list actions to work on.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class TestList {
public:
    explicit TestList(const std::vector<int>& columnWidths, DWORD extraStyle = 0);
    TestList(const TestList&) = delete;
    TestList& operator=(const TestList&) = delete;
    ~TestList();

    HWND Handle() const { return m_list; }
    // Appends a row whose item data is its number in order of adding (1, 2, ...).
    int AddRow(const std::vector<std::string>& cells, bool selected = false);

private:
    HWND m_window;
    HWND m_list;
};

void SelectRow(HWND list, int row, bool selected = true);
// Every row's text in one column, top to bottom.
std::vector<std::string> ColumnTexts(HWND list, int column);
