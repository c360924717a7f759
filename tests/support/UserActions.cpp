#include "support/UserActions.h"

#include "framework/Text.h"

#include <gtest/gtest.h>

#include <commctrl.h>

bool ClickTab(HWND tabControl, int tab)
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

void Press(HWND button)
{
    if (!::IsWindow(button)) {
        ADD_FAILURE() << "no such button";
        return;
    }
    std::string name =
        "button " + std::to_string(::GetDlgCtrlID(button)) + " \"" + framework::GetWindowTextString(button) + "\"";
    if (!::IsWindowVisible(button)) {
        ADD_FAILURE() << name << " is not on show, so no user could press it";
        return;
    }
    for (HWND window = button; window && window != ::GetDesktopWindow(); window = ::GetAncestor(window, GA_PARENT)) {
        if (!::IsWindowEnabled(window)) {
            ADD_FAILURE() << name << " is disabled, so no user could press it";
            return;
        }
    }
    ::SendMessageA(button, BM_CLICK, 0, 0);
}
