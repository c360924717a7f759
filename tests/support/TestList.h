// A result list in a window of its own, for list actions to work on.
#pragma once

#include "framework/Window.h"
#include "lists/FileList.h"

#include <cstdint>
#include <string>
#include <vector>

class TestList : public framework::Window {
public:
    explicit TestList(const std::vector<int>& columnWidths, int sizeColumn = -1);

    CFileList& List() { return m_list; }
    // Appends a file row; its item data is its number in order of adding (1, 2, ...).
    void AddRow(const std::vector<std::string>& cells, bool selected = false, std::uint64_t size = 0);

protected:
    bool OnNotify(const NMHDR& header, LRESULT& result) override;

private:
    CFileList m_list;
};

void SelectRow(HWND list, int row, bool selected = true);
// The text of one cell as the control shows it, however long.
std::string ShownText(HWND list, int row, int column);
// Every row's text in one column, top to bottom, as the control shows it.
std::vector<std::string> ColumnTexts(HWND list, int column);
