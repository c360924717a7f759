#include "pages/Splitter.h"

#include <windowsx.h>

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

// The bar's top follows the mouse, where the mouse took hold of it.
void CSplitter::OnDrag(int y)
{
    POINT point{0, y};
    ::MapWindowPoints(m_hWnd, ::GetParent(m_hWnd), &point, 1);
    m_moved(point.y - m_grip);
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
