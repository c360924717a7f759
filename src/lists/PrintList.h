// Prints a result list as it stands on screen: every row in its current
// order, the small icon and every column, no headings.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

class CFileList;

// Where the pages go: the printer in the program, a recording in tests.
class PrintTarget {
public:
    virtual ~PrintTarget() = default;
    // Begins a page; its device context stays valid until EndPage.
    virtual HDC StartPage() = 0;
    virtual void EndPage() = 0;
};

// Asks for a printer and prints the list as "Corvane Print Out"; nothing
// happens when the user cancels.
void PrintList(CFileList& list);
// The same for any pages: print draws them on pages of width by height device pixels.
void PrintPages(HWND owner, const std::function<void(PrintTarget&, int, int)>& print);

// Draws the list's rows on pages of width by height device pixels.
void PrintListPages(PrintTarget& target, CFileList& list, int pageWidth, int pageHeight);

// Rows printed as a list control shows them: texts per column, an icon, and
// how far the first column stands in.
class PrintedRows {
public:
    virtual ~PrintedRows() = default;
    virtual size_t Count() const = 0;
    virtual std::string Text(size_t row, int column) const = 0;
    // In the control's small image list; -1: none.
    virtual int Icon(size_t row) = 0;
    // In steps of the icon's width.
    virtual int Indent(size_t) const { return 0; }
};
// Draws the rows with the columns, widths and images of the list control.
void PrintRowsPages(PrintTarget& target, HWND control, PrintedRows& rows, int pageWidth, int pageHeight);
