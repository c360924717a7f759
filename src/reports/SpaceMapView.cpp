#include "reports/SpaceMapView.h"

#include "framework/Dpi.h"
#include "framework/Win32.h"
#include "lists/PrintList.h"

#include <windowsx.h>

#include <algorithm>

namespace {

// 96-DPI pixels.
constexpr int kLegendHeight = 20;
constexpr int kSwatch = 10;
constexpr int kSwatchGap = 3;

BITMAPINFO PictureInfo(int width, int height)
{
    BITMAPINFO info{};
    // A negative height: the top row first, as the map draws it.
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    return info;
}

// A frame line pixels wide inside the rectangle.
void FrameRect(HDC dc, RECT rect, int colour, int line)
{
    HBRUSH brush = static_cast<HBRUSH>(::GetStockObject(colour));
    for (int i = 0; i < line && !::IsRectEmpty(&rect); ++i) {
        ::FrameRect(dc, &rect, brush);
        ::InflateRect(&rect, -1, -1);
    }
}

}  // namespace

int CSpaceMapView::Scaled(int pixels) const noexcept
{
    return framework::ScaleToDpi(pixels, framework::WindowDpi(m_hWnd));
}

bool CSpaceMapView::Create(HWND parent, UINT id)
{
    WNDCLASSEXA wc{};
    wc.lpszClassName = "CorvaneSpaceMap";
    wc.style = CS_DBLCLKS;
    wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    RegisterWindowClass(wc);
    return CreateEx(0, wc.lpszClassName, "", WS_CHILD | WS_TABSTOP, RECT{}, parent,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)));
}

void CSpaceMapView::SetTree(const SpaceTree* tree)
{
    m_tree = tree && !tree->Empty() ? tree : nullptr;
    m_folder = m_tree ? m_tree->Root() : SpaceTree::kNone;
    m_selected = SpaceTree::kNone;
    m_hovered = SpaceTree::kNone;
    m_map.Light({});
    Invalidate();
}

void CSpaceMapView::Light(std::vector<bool> lit)
{
    m_map.Light(std::move(lit));
    Invalidate();
}

void CSpaceMapView::Refresh()
{
    if (!m_tree)
        return;
    if (m_selected != SpaceTree::kNone && m_tree->Removed(m_selected))
        m_selected = SpaceTree::kNone;
    // A folder shown that went gives way to the nearest one left.
    while (m_folder != m_tree->Root() && m_tree->Removed(m_folder))
        m_folder = m_tree->At(m_folder).parent;
    Invalidate();
}

void CSpaceMapView::Select(std::uint32_t node)
{
    if (!m_tree)
        return;
    if (node != SpaceTree::kNone && !m_tree->IsWithin(node, m_folder)) {
        m_folder = m_tree->Root();
        m_stale = true;
    }
    m_selected = node;
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CSpaceMapView::ZoomInto(std::uint32_t folder)
{
    if (!m_tree || !m_tree->At(folder).folder)
        return;
    m_folder = folder;
    if (m_selected != SpaceTree::kNone && !m_tree->IsWithin(m_selected, m_folder))
        m_selected = SpaceTree::kNone;
    Invalidate();
    m_events.changed();
}

bool CSpaceMapView::CanGoUp() const
{
    return m_tree && m_folder != m_tree->Root();
}

bool CSpaceMapView::Up()
{
    if (!CanGoUp())
        return false;
    m_folder = m_tree->At(m_folder).parent;
    Invalidate();
    m_events.changed();
    return true;
}

const SpaceMap& CSpaceMapView::Map()
{
    RECT rect = MapRect();
    if (m_stale || m_map.Width() != rect.right || m_map.Height() != rect.bottom)
        DrawPicture();
    return m_map;
}

RECT CSpaceMapView::MapRect() const
{
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    client.bottom = std::max<LONG>(0, client.bottom - Scaled(kLegendHeight));
    return client;
}

void CSpaceMapView::Invalidate()
{
    m_stale = true;
    if (m_hWnd)
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

// The picture is drawn once per layout; painting only copies it.
void CSpaceMapView::DrawPicture()
{
    m_stale = false;
    RECT rect = MapRect();
    m_picture.reset();
    m_pictureDc.reset();
    if (!m_tree) {
        m_map = SpaceMap();
        return;
    }
    m_map.Layout(*m_tree, m_folder, rect.right, rect.bottom, Scaled(1));
    if (rect.right <= 0 || rect.bottom <= 0)
        return;
    BITMAPINFO info = PictureInfo(rect.right, rect.bottom);
    void* bits = nullptr;
    m_pictureDc.reset(::CreateCompatibleDC(nullptr));
    m_picture.reset(::CreateDIBSection(m_pictureDc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bits)
        return;
    m_map.Render(static_cast<std::uint32_t*>(bits));
    ::GdiFlush();
}

void CSpaceMapView::OnPaint()
{
    const SpaceMap& map = Map();
    framework::PaintDc paint(m_hWnd);
    HDC dc = paint.get();
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    RECT rect = MapRect();
    if (m_picture) {
        framework::SelectObjectGuard picture(m_pictureDc.get(), m_picture.get());
        ::BitBlt(dc, 0, 0, rect.right, rect.bottom, m_pictureDc.get(), 0, 0, SRCCOPY);
    } else {
        ::FillRect(dc, &rect, ::GetSysColorBrush(COLOR_BTNFACE));
    }
    if (m_selected != SpaceTree::kNone) {
        RECT selected = map.RectOf(m_selected);
        if (!::IsRectEmpty(&selected)) {
            int line = Scaled(1);
            FrameRect(dc, selected, BLACK_BRUSH, line);
            ::InflateRect(&selected, -line, -line);
            FrameRect(dc, selected, WHITE_BRUSH, line);
        }
    }
    if (::GetFocus() == m_hWnd)
        ::DrawFocusRect(dc, &rect);
    RECT band{0, rect.bottom, client.right, client.bottom};
    DrawLegend(dc, band);
}

// One swatch and name per file class, spread over the band.
void CSpaceMapView::DrawLegend(HDC dc, const RECT& band) const
{
    ::FillRect(dc, &band, ::GetSysColorBrush(COLOR_BTNFACE));
    auto font = reinterpret_cast<HFONT>(::SendMessageA(::GetParent(m_hWnd), WM_GETFONT, 0, 0));
    framework::SelectObjectGuard selected(dc, font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(DEFAULT_GUI_FONT));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
    int width = band.right - band.left;
    for (int i = 0; i < kFileClassCount; ++i) {
        int left = band.left + width * i / kFileClassCount;
        int right = band.left + width * (i + 1) / kFileClassCount;
        int swatchSize = Scaled(kSwatch);
        int top = band.top + (Scaled(kLegendHeight) - swatchSize) / 2;
        RECT swatch{left + Scaled(2), top, left + Scaled(2) + swatchSize, top + swatchSize};
        framework::GdiObject<HBRUSH> brush(::CreateSolidBrush(FileClassColour(static_cast<FileClass>(i))));
        ::FillRect(dc, &swatch, brush.get());
        FrameRect(dc, swatch, BLACK_BRUSH, Scaled(1));
        RECT text{swatch.right + Scaled(kSwatchGap), band.top, right, band.bottom};
        ::DrawTextA(dc, kFileClassNames[i], -1, &text, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    }
}

void CSpaceMapView::OnMouseMove(POINT point)
{
    if (!m_tracking) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, m_hWnd, 0};
        m_tracking = ::TrackMouseEvent(&track) != FALSE;
    }
    std::uint32_t node = Map().NodeAt(point);
    if (node == m_hovered)
        return;
    m_hovered = node;
    m_events.hover(node);
}

// A click on what is selected already selects the folder holding it.
void CSpaceMapView::OnClick(POINT point)
{
    ::SetFocus(m_hWnd);
    std::uint32_t node = Map().NodeAt(point);
    if (node == SpaceTree::kNone)
        return;
    if (node == m_selected && node != m_folder)
        node = m_tree->At(node).parent;
    m_selected = node;
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
    m_events.changed();
}

// Into the folder, of those the map shows, that holds the point: one level a time.
void CSpaceMapView::OnDoubleClick(POINT point)
{
    std::uint32_t node = Map().NodeAt(point);
    while (node != SpaceTree::kNone && m_tree->At(node).parent != m_folder)
        node = m_tree->At(node).parent;
    if (node != SpaceTree::kNone && m_tree->At(node).folder)
        ZoomInto(node);
}

void CSpaceMapView::Print(PrintTarget& target, int pageWidth, int pageHeight)
{
    const SpaceMap& map = Map();
    int width = map.Width(), height = map.Height();
    HDC dc = target.StartPage();
    if (width > 0 && height > 0 && pageWidth > 0 && pageHeight > 0) {
        std::vector<std::uint32_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
        map.Render(pixels.data());
        // As large as the page allows, the picture's shape kept.
        auto across = static_cast<long long>(pageWidth), down = static_cast<long long>(pageHeight);
        if (across * height <= down * width)
            down = across * height / width;
        else
            across = down * width / height;
        BITMAPINFO info = PictureInfo(width, height);
        ::StretchDIBits(dc, 0, 0, static_cast<int>(across), static_cast<int>(down), 0, 0, width, height, pixels.data(),
                        &info, DIB_RGB_COLORS, SRCCOPY);
    }
    target.EndPage();
}

LRESULT CSpaceMapView::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (msg) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SIZE:
        Invalidate();
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(point);
        return 0;
    case WM_MOUSELEAVE:
        m_tracking = false;
        m_hovered = SpaceTree::kNone;
        m_events.hover(SpaceTree::kNone);
        return 0;
    case WM_LBUTTONDOWN:
        OnClick(point);
        return 0;
    case WM_LBUTTONDBLCLK:
        OnDoubleClick(point);
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_BACK) {
            Up();
            return 0;
        }
        break;
    }
    return Window::HandleMessage(msg, wParam, lParam);
}
