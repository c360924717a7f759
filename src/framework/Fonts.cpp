#include "framework/Fonts.h"

#include "framework/Dpi.h"

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

// height: tenths of a point for CreatePointFontIndirect, else the font's own.
LOGFONTA PointFont(int height, const char* face)
{
    LOGFONTA font{};
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfHeight = height;
    std::strncpy(font.lfFaceName, face, LF_FACESIZE - 1);
    return font;
}

}  // namespace

Font CreatePointFont(int tenthsOfPoint, const char* face, HDC device)
{
    return CreatePointFontIndirect(PointFont(tenthsOfPoint, face), device);
}

Font MakeFont(int tenthsOfPoint, const char* face, bool bold, bool italic, UINT dpi)
{
    LOGFONTA font = PointFont(-::MulDiv(static_cast<int>(dpi), tenthsOfPoint, 720), face);
    if (bold)
        font.lfWeight = FW_BOLD;
    font.lfItalic = italic ? TRUE : FALSE;
    return Font(::CreateFontIndirectA(&font));
}

Font ScaledStockFont(int stockFont, UINT dpi)
{
    LOGFONTA font{};
    if (!::GetObjectA(::GetStockObject(stockFont), sizeof font, &font))
        return {};
    font.lfHeight = ScaleToDpi(font.lfHeight, dpi);
    font.lfWidth = ScaleToDpi(font.lfWidth, dpi);
    return Font(::CreateFontIndirectA(&font));
}

Font MakeTitleFont(UINT dpi)
{
    return MakeFont(140, "Arial Bold", false, false, dpi);
}

Font MakeHeadingFont(UINT dpi)
{
    return MakeFont(85, "MS Sans Serif", true, false, dpi);
}

}  // namespace framework
