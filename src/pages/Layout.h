// Button placement for the pages that follow the window's size.
#pragma once

#include <windows.h>

// 96-DPI pixels, scaled to the control's DPI.
constexpr int kControlGap = 6;

// Right edge 6 pixels left of the anchor's left edge, tops level; size kept.
void PlaceLeftOf(HWND control, HWND anchor);
// Right edges level, top 6 pixels below the anchor's bottom; size kept.
void PlaceBelowRight(HWND control, HWND anchor);
