// What a user does with the mouse, done as the controls themselves do it.
#pragma once

#include <windows.h>

#include <commctrl.h>

// Clicks a tab: the parent hears TCN_SELCHANGING and may refuse, then the
// selection moves and it hears TCN_SELCHANGE. False when it refused. Inline
// for the benchmarks, which click tabs without the test harness.
inline bool ClickTab(HWND tabControl, int tab)
{
    if (::SendMessageA(tabControl, TCM_GETCURSEL, 0, 0) == tab)
        return true;  // a click on the selected tab tells nobody
    HWND parent = ::GetParent(tabControl);
    NMHDR header{tabControl, static_cast<UINT_PTR>(::GetDlgCtrlID(tabControl)), TCN_SELCHANGING};
    if (::SendMessageA(parent, WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header)))
        return false;
    ::SendMessageA(tabControl, TCM_SETCURSEL, static_cast<WPARAM>(tab), 0);
    header.code = TCN_SELCHANGE;
    ::SendMessageA(parent, WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
    return true;
}

// Presses a button by BM_CLICK. BM_CLICK reaches a disabled or hidden button
// too, which no user can press, so that fails the test instead.
void Press(HWND button);
inline void Press(HWND dialog, int id)
{
    Press(::GetDlgItem(dialog, id));
}
