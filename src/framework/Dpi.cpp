#include "framework/Dpi.h"

namespace framework {

namespace {

using DpiForWindow = UINT(WINAPI*)(HWND);

// Windows before 10 have no per-window DPI.
DpiForWindow FindDpiForWindow() noexcept
{
    FARPROC found = ::GetProcAddress(::GetModuleHandleA("user32.dll"), "GetDpiForWindow");
    return reinterpret_cast<DpiForWindow>(reinterpret_cast<void*>(found));
}

}  // namespace

UINT SystemDpi() noexcept
{
    WindowDc screen(nullptr);
    int dpi = screen.get() ? ::GetDeviceCaps(screen.get(), LOGPIXELSX) : 0;
    return dpi > 0 ? static_cast<UINT>(dpi) : kDefaultDpi;
}

UINT WindowDpi(HWND window) noexcept
{
    static const DpiForWindow dpiForWindow = FindDpiForWindow();
    UINT dpi = window && dpiForWindow ? dpiForWindow(window) : 0;
    return dpi ? dpi : SystemDpi();
}

int PictureScale(UINT dpi) noexcept
{
    if (dpi < 120)
        return 100;
    return dpi < 168 ? 150 : 200;
}

UINT ScaledBitmapId(UINT bitmapId, UINT dpi) noexcept
{
    switch (PictureScale(dpi)) {
    case 150:
        return bitmapId + kPicture150Offset;
    case 200:
        return bitmapId + kPicture200Offset;
    }
    return bitmapId;
}

GdiObject<HBITMAP> LoadScaledBitmap(UINT bitmapId, UINT dpi) noexcept
{
    return GdiObject<HBITMAP>(
        static_cast<HBITMAP>(::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(ScaledBitmapId(bitmapId, dpi)),
                                          IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
}

void ShowScaledPicture(HWND control, UINT bitmapId, GdiObject<HBITMAP>& picture) noexcept
{
    GdiObject<HBITMAP> scaled = LoadScaledBitmap(bitmapId, WindowDpi(control));
    if (!control || !scaled)
        return;
    auto previous = reinterpret_cast<HGDIOBJ>(
        ::SendMessageA(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(scaled.get())));
    if (previous && previous != picture.get())
        ::DeleteObject(previous);
    picture = std::move(scaled);
}

}  // namespace framework
