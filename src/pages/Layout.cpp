#include "pages/Layout.h"

#include "framework/Dpi.h"
#include "framework/Win32.h"

namespace {

void MoveTo(HWND control, int left, int top)
{
    ::SetWindowPos(control, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int Gap(HWND control)
{
    return framework::ScaleToDpi(kControlGap, framework::WindowDpi(control));
}

}  // namespace

void PlaceLeftOf(HWND control, HWND anchor)
{
    RECT own = framework::ChildRect(control), target = framework::ChildRect(anchor);
    MoveTo(control, target.left - Gap(control) - framework::RectSize(own).cx, target.top);
}

void PlaceBelowRight(HWND control, HWND anchor)
{
    RECT own = framework::ChildRect(control), target = framework::ChildRect(anchor);
    MoveTo(control, target.right - framework::RectSize(own).cx, target.bottom + Gap(control));
}
