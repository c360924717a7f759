#include "pages/TestPages.h"

#include "support/Messages.h"

#include <commctrl.h>

TestHost::TestHost(std::vector<TabEntry> tabs) : m_view(std::move(tabs))
{
    WNDCLASSEXA wc{};
    wc.lpszClassName = "CorvaneTestHost";
    wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    RegisterWindowClass(wc);
    CreateEx(0, wc.lpszClassName, "Test host", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN,
             RECT{40, 40, 660, 440}, nullptr, nullptr);
    PumpPending();
}

LRESULT TestHost::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE:
        return m_view.Create(m_hWnd, 0xE900) ? 0 : -1;
    case WM_SIZE:
        ::MoveWindow(m_view.GetSafeHwnd(), 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    case WM_SETFOCUS:
        ::SetFocus(m_view.GetSafeHwnd());
        return 0;
    }
    return Window::HandleMessage(msg, wParam, lParam);
}
