// Thin, non-owning wrappers over common controls: each call is one message.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "framework/Handle.h"

namespace framework {

// An image list of the program's own (never the shell's).
using ImageList = UniqueHandle<NullIsEmpty<HIMAGELIST, ::ImageList_Destroy>>;

class StatusBar {
public:
    // A status bar along the bottom of parent, showing one stretching pane.
    bool Create(HWND parent, UINT id) noexcept
    {
        m_hWnd =
            ::CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, parent,
                              reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), ::GetModuleHandleA(nullptr), nullptr);
        int rightEdges[] = {-1};
        if (m_hWnd)
            ::SendMessageA(m_hWnd, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(rightEdges));
        return m_hWnd != nullptr;
    }
    HWND GetSafeHwnd() const noexcept { return m_hWnd; }
    void SetText(const char* text) noexcept { ::SendMessageA(m_hWnd, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text)); }
    // Follows the parent's new size.
    void Reposition() noexcept { ::SendMessageA(m_hWnd, WM_SIZE, 0, 0); }
    int Height() const noexcept
    {
        RECT rect{};
        ::GetWindowRect(m_hWnd, &rect);
        return rect.bottom - rect.top;
    }

private:
    HWND m_hWnd = nullptr;
};

}  // namespace framework
