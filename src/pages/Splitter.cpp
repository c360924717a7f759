#include "pages/Splitter.h"

#include <windowsx.h>

#include <algorithm>

namespace {

constexpr int kBarHeight = 5;
constexpr int kLeast = 40;  // of either pane, in pixels
constexpr double kLeastShare = 0.1;

}  // namespace

bool CSplitter::Create(HWND parent, UINT id)
{
    WNDCLASSEXA wc{};
    wc.lpszClassName = "CorvaneSplitter";
    wc.hCursor = ::LoadCursorA(nullptr, IDC_SIZENS);
    wc.hbrBackground = ::GetSysColorBrush(COLOR_BTNFACE);
    RegisterWindowClass(wc);
    return CreateEx(0, wc.lpszClassName, "", WS_CHILD, RECT{}, parent,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)));
}

void CSplitter::Arrange(const RECT& area, HWND upper, HWND lower)
{
    m_area = area;
    m_upper = upper;
    m_lower = lower;
    int width = area.right - area.left, room = area.bottom - area.top - kBarHeight;
    int top =
        std::clamp(static_cast<int>(room * m_share), std::min(kLeast, room / 2), std::max(room - kLeast, room / 2));
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    ::SetWindowPos(upper, nullptr, area.left, area.top, width, top, flags);
    ::SetWindowPos(m_hWnd, nullptr, area.left, area.top + top, width, kBarHeight, flags);
    ::SetWindowPos(lower, nullptr, area.left, area.top + top + kBarHeight, width, std::max(0, room - top), flags);
}

// The bar's top follows the mouse, where the mouse took hold of it.
void CSplitter::OnDrag(int y)
{
    POINT point{0, y};
    ::MapWindowPoints(m_hWnd, ::GetParent(m_hWnd), &point, 1);
    int room = m_area.bottom - m_area.top - kBarHeight;
    if (room <= 0)
        return;
    m_share = std::clamp(static_cast<double>(point.y - m_grip - m_area.top) / room, kLeastShare, 1 - kLeastShare);
    Arrange(m_area, m_upper, m_lower);
}

LRESULT CSplitter::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_LBUTTONDOWN:
        m_grip = GET_Y_LPARAM(lParam);
        ::SetCapture(m_hWnd);
        return 0;
    case WM_MOUSEMOVE:
        if (m_grip >= 0)
            OnDrag(GET_Y_LPARAM(lParam));
        return 0;
    case WM_LBUTTONUP:
        if (m_grip >= 0)
            OnDrag(GET_Y_LPARAM(lParam));
        ::ReleaseCapture();
        return 0;
    case WM_CAPTURECHANGED:
        m_grip = -1;
        return 0;
    }
    return Window::HandleMessage(msg, wParam, lParam);
}
