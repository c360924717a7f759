#include "pages/Layout.h"

namespace {

// A child's rectangle in its parent's client coordinates.
RECT ChildRect(HWND control)
{
    RECT rect{};
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void MoveTo(HWND control, int left, int top)
{
    ::SetWindowPos(control, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

void PlaceLeftOf(HWND control, HWND anchor)
{
    RECT own = ChildRect(control), target = ChildRect(anchor);
    MoveTo(control, target.left - kControlGap - (own.right - own.left), target.top);
}

void PlaceBelowRight(HWND control, HWND anchor)
{
    RECT own = ChildRect(control), target = ChildRect(anchor);
    MoveTo(control, target.right - (own.right - own.left), target.bottom + kControlGap);
}
