// Prints a result list as it stands on screen: every row in its current
// order, the small icon and every column, no headings.
#pragma once

#include <windows.h>

#include <functional>

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
