#include "support/UserActions.h"

#include "framework/Text.h"

#include <gtest/gtest.h>

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
