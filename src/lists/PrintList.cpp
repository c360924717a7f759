#include "lists/PrintList.h"

#include "framework/Handle.h"
#include "framework/Seams.h"
#include "lists/FileList.h"
#include "framework/Fonts.h"

#include <commctrl.h>

#include <vector>

namespace {

constexpr int kIconLeft = 40;
constexpr int kIconPixels = 32;

class PrinterTarget : public PrintTarget {
public:
    explicit PrinterTarget(HDC dc) : m_dc(dc) {}
    HDC StartPage() override
    {
        ::StartPage(m_dc);
        return m_dc;
    }
    void EndPage() override { ::EndPage(m_dc); }

private:
    HDC m_dc;
};

std::vector<int> ColumnWidths(HWND list)
{
    std::vector<int> widths;
    for (;;) {
        LVCOLUMNA column{};
        column.mask = LVCF_WIDTH;
        if (!::SendMessageA(list, LVM_GETCOLUMNA, widths.size(), reinterpret_cast<LPARAM>(&column)))
            return widths;
        widths.push_back(column.cx);
    }
}

// A 32 by 32 picture of one row's icon on white, stretched onto the page.
class IconPainter {
public:
    IconPainter() : m_dc(::CreateCompatibleDC(nullptr))
    {
        m_info.bmiHeader = {sizeof(BITMAPINFOHEADER), kIconPixels, kIconPixels, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        m_bitmap.reset(::CreateDIBSection(m_dc.get(), &m_info, DIB_RGB_COLORS, &bits, nullptr, 0));
        m_bits = bits;
    }

    void Paint(HDC target, HIMAGELIST images, int image, int x, int y, int side)
    {
        if (!m_bits)
            return;
        framework::SelectObjectGuard selected(m_dc.get(), m_bitmap.get());
        RECT all{0, 0, kIconPixels, kIconPixels};
        ::FillRect(m_dc.get(), &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        if (images && image >= 0) {
            if (HICON icon = ::ImageList_GetIcon(images, image, ILD_NORMAL)) {
                ::DrawIconEx(m_dc.get(), 0, 0, icon, kIconPixels, kIconPixels, 0, nullptr, DI_NORMAL);
                ::DestroyIcon(icon);
            }
        }
        ::GdiFlush();
        ::StretchDIBits(target, x, y, side, side, 0, 0, kIconPixels, kIconPixels, m_bits, &m_info, DIB_RGB_COLORS,
                        SRCCOPY);
    }

private:
    framework::OwnedDc m_dc;
    framework::GdiObject<HBITMAP> m_bitmap;
    BITMAPINFO m_info{};
    void* m_bits = nullptr;
};

// A result list's rows as printed.
class ListRows : public PrintedRows {
public:
    explicit ListRows(CFileList& list) noexcept : m_list(list) {}
    size_t Count() const override { return m_list.Rows().Count(); }
    std::string Text(size_t row, int column) const override { return m_list.Rows().Text(row, column); }
    int Icon(size_t row) override { return m_list.Icon(row); }

private:
    CFileList& m_list;
};

}  // namespace

void PrintListPages(PrintTarget& target, CFileList& list, int pageWidth, int pageHeight)
{
    ListRows rows(list);
    PrintRowsPages(target, list.GetSafeHwnd(), rows, pageWidth, pageHeight);
}

void PrintRowsPages(PrintTarget& target, HWND control, PrintedRows& rows, int pageWidth, int pageHeight)
{
    std::vector<int> widths = ColumnWidths(control);
    auto images = reinterpret_cast<HIMAGELIST>(::SendMessageA(control, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
    RECT client{};
    ::GetClientRect(control, &client);
    int clientWidth = client.right > 0 ? client.right : 1;

    HDC dc = target.StartPage();
    framework::Font font = framework::CreatePointFont(100, "Arial", dc);
    HGDIOBJ originalFont = ::SelectObject(dc, font.get());
    SIZE extent{};
    ::GetTextExtentPoint32A(dc, "Ag", 2, &extent);
    int lineHeight = extent.cy > 0 ? extent.cy : 1;

    IconPainter icons;
    size_t count = rows.Count();
    int y = 0;
    for (size_t row = 0; row < count; ++row) {
        int indent = rows.Indent(row) * lineHeight;
        icons.Paint(dc, images, rows.Icon(row), kIconLeft + indent, y, lineHeight - 2);
        int x = 3 * lineHeight;
        for (size_t column = 0; column < widths.size(); ++column) {
            std::string text = rows.Text(row, static_cast<int>(column));
            int at = column == 0 ? x + indent : x;
            ::TextOutA(dc, at, y, text.c_str(), static_cast<int>(text.size()));
            x += static_cast<int>(static_cast<long long>(widths[column]) * pageWidth / clientWidth);
        }
        y += lineHeight;
        if (row + 1 < count && y + lineHeight > pageHeight) {
            ::SelectObject(dc, originalFont);
            target.EndPage();
            dc = target.StartPage();
            originalFont = ::SelectObject(dc, font.get());
            y = 0;
        }
    }
    ::SelectObject(dc, originalFont);
    target.EndPage();
}

void PrintList(CFileList& list)
{
    PrintPages(list.GetSafeHwnd(),
               [&](PrintTarget& target, int width, int height) { PrintListPages(target, list, width, height); });
}

void PrintPages(HWND owner, const std::function<void(PrintTarget&, int, int)>& print)
{
    PRINTDLGA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.Flags = PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION | PD_HIDEPRINTTOFILE;
    if (!framework::GetSeams().printDialog(dialog))
        return;
    framework::OwnedDc printer(dialog.hDC);
    if (dialog.hDevMode)
        ::GlobalFree(dialog.hDevMode);
    if (dialog.hDevNames)
        ::GlobalFree(dialog.hDevNames);
    if (!printer)
        return;

    ::SetStretchBltMode(printer.get(), HALFTONE);
    int width = ::GetDeviceCaps(printer.get(), HORZRES);
    int height = ::GetDeviceCaps(printer.get(), VERTRES);
    DOCINFOA document{};
    document.cbSize = sizeof document;
    document.lpszDocName = "Corvane Print Out";
    if (::StartDocA(printer.get(), &document) <= 0)
        return;
    PrinterTarget target(printer.get());
    print(target, width, height);
    ::EndDoc(printer.get());
}
