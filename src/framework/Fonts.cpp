#include "framework/Fonts.h"

#include <cstdlib>
#include <cstring>

namespace framework {
namespace {

// The height is in tenths of a point; it becomes logical units of the device.
Font CreatePointFontIndirect(LOGFONTA font, HDC device)
{
    framework::WindowDc screen(nullptr);
    HDC dc = device ? device : screen.get();
    POINT size{0, ::MulDiv(::GetDeviceCaps(dc, LOGPIXELSY), font.lfHeight, 720)};
    POINT origin{0, 0};
    ::DPtoLP(dc, &size, 1);
    ::DPtoLP(dc, &origin, 1);
    font.lfHeight = -std::abs(size.y - origin.y);
    return Font(::CreateFontIndirectA(&font));
}

LOGFONTA PointFont(int tenthsOfPoint, const char* face)
{
    LOGFONTA font{};
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfHeight = tenthsOfPoint;
    std::strncpy(font.lfFaceName, face, LF_FACESIZE - 1);
    return font;
}

}  // namespace

Font CreatePointFont(int tenthsOfPoint, const char* face, HDC device)
{
    return CreatePointFontIndirect(PointFont(tenthsOfPoint, face), device);
}

Font MakeFont(int tenthsOfPoint, const char* face, bool bold, bool italic)
{
    LOGFONTA font = PointFont(tenthsOfPoint, face);
    if (bold)
        font.lfWeight = FW_BOLD;
    font.lfItalic = italic ? TRUE : FALSE;
    return CreatePointFontIndirect(font, nullptr);
}

Font MakeTitleFont()
{
    return CreatePointFont(140, "Arial Bold");
}

Font MakeHeadingFont()
{
    return MakeFont(85, "MS Sans Serif", true, false);
}

}  // namespace framework
