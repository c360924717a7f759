// What a user does with the mouse, done as the controls themselves do it.
#pragma once

#include <windows.h>

// Clicks a tab: the parent hears TCN_SELCHANGING and may refuse, then the
// selection moves and it hears TCN_SELCHANGE. False when it refused.
bool ClickTab(HWND tabControl, int tab);

// Presses a button by BM_CLICK. BM_CLICK reaches a disabled or hidden button
// too, which no user can press, so that fails the test instead.
void Press(HWND button);
inline void Press(HWND dialog, int id)
{
    Press(::GetDlgItem(dialog, id));
}
