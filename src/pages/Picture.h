// Draws a bitmap resource with its own colour table as the palette, so that
// 256-colour pictures show their true colours on palette displays.
#pragma once

#include <windows.h>

// Draws nothing when the resource is missing or malformed.
void DrawDIBPicture(HDC dc, int x, int y, UINT bitmapId);
