// Fonts of the pages, sized in tenths of a point for the screen.
#pragma once

#include "framework/Handle.h"

namespace framework {

using Font = GdiObject<HFONT>;

// A font of the given point size (in tenths) and face, nothing else set,
// sized for the device (the screen when none is given).
Font CreatePointFont(int tenthsOfPoint, const char* face, HDC device = nullptr);
// The same with weight 700 when bold and the italic flag when asked.
Font MakeFont(int tenthsOfPoint, const char* face, bool bold, bool italic);

// Every page's title: "Arial Bold", 14 points.
Font MakeTitleFont();
// The introduction pages' "The Problem:" and "How Corvane Helps:".
Font MakeHeadingFont();

}  // namespace framework
