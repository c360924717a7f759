// Fonts of the pages, sized in tenths of a point for the screen.
#pragma once

#include "framework/Handle.h"

namespace framework {

using Font = GdiObject<HFONT>;

// A font of the given point size (in tenths) and face, nothing else set,
// sized for the device (the screen when none is given).
Font CreatePointFont(int tenthsOfPoint, const char* face, HDC device = nullptr);
// A screen font at the given DPI, with weight 700 when bold and the italic
// flag when asked.
Font MakeFont(int tenthsOfPoint, const char* face, bool bold, bool italic, UINT dpi);
// A stock font (ANSI_VAR_FONT, ...), sized in pixels for 96 DPI, at the given DPI.
Font ScaledStockFont(int stockFont, UINT dpi);

// Every page's title: "Arial Bold", 14 points.
Font MakeTitleFont(UINT dpi);
// The introduction pages' "The Problem:" and "How Corvane Helps:".
Font MakeHeadingFont(UINT dpi);

}  // namespace framework
