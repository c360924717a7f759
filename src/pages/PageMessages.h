// The four posted messages between the tab view and its pages.
#pragma once

#include <windows.h>

// To the view: wParam = page index within the current tab, lParam = argument
// or 0. An argument only names data its sender keeps alive: the view may
// refuse the switch, and the page shown copies what it needs.
constexpr UINT UM_SHOWPAGE = WM_USER;
// To a page that has just been shown by UM_SHOWPAGE.
constexpr UINT UM_PAGEACTIVATED = WM_USER + 100;
// To a page before UM_PAGEACTIVATED: wParam = the argument of UM_SHOWPAGE.
constexpr UINT UM_PAGEARGUMENT = WM_USER + 101;
// To every page when the window changes size: wParam = width, lParam = height in pixels.
constexpr UINT UM_PAGERESIZE = WM_USER + 102;
