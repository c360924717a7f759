// Sizes at the screen's resolution: lengths laid out for 96 DPI, scaled to
// the DPI of the monitor a window is on, and pictures drawn at 100%, 150%
// and 200%.
#pragma once

#include "framework/Handle.h"

#include <windows.h>

namespace framework {

constexpr UINT kDefaultDpi = 96;

// The DPI of the window's monitor; the system's where the system cannot
// tell one monitor from another (or for a null window).
UINT WindowDpi(HWND window) noexcept;
UINT SystemDpi() noexcept;

// A length in 96-DPI pixels at the given DPI, rounded.
constexpr int ScaleToDpi(int pixels, UINT dpi) noexcept
{
    long long scaled = static_cast<long long>(pixels) * dpi;
    return static_cast<int>((scaled + (scaled >= 0 ? 48 : -48)) / 96);
}
// Back from the DPI to 96-DPI pixels.
constexpr int UnscaleFromDpi(int pixels, UINT dpi) noexcept
{
    long long unscaled = static_cast<long long>(pixels) * 96;
    long long half = dpi / 2;
    return dpi ? static_cast<int>((unscaled + (unscaled >= 0 ? half : -half)) / dpi) : pixels;
}

// Pictures come in three sizes: the one nearest the DPI, in percent.
int PictureScale(UINT dpi) noexcept;
// Resource ids of the larger pictures follow the 100% one's at these distances.
constexpr UINT kPicture150Offset = 100;
constexpr UINT kPicture200Offset = 200;
UINT ScaledBitmapId(UINT bitmapId, UINT dpi) noexcept;
GdiObject<HBITMAP> LoadScaledBitmap(UINT bitmapId, UINT dpi) noexcept;

// Shows the picture nearest the control's DPI in a picture control; picture
// keeps it. The picture the control loaded from its template goes.
void ShowScaledPicture(HWND control, UINT bitmapId, GdiObject<HBITMAP>& picture) noexcept;

}  // namespace framework
