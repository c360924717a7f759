#include "pages/Picture.h"

#include "framework/Handle.h"

#include <cstdlib>
#include <vector>

using framework::GdiObject;

namespace {

DWORD ColourCount(const BITMAPINFOHEADER& header)
{
    return header.biBitCount <= 8 ? 1u << header.biBitCount : 0;
}

GdiObject<HPALETTE> CreatePicturePalette(const BITMAPINFOHEADER& header, DWORD colours)
{
    if (colours == 0)
        return {};
    const auto* table = reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const BYTE*>(&header) + header.biSize);
    std::vector<BYTE> storage(sizeof(LOGPALETTE) + colours * sizeof(PALETTEENTRY));
    auto* palette = reinterpret_cast<LOGPALETTE*>(storage.data());
    palette->palVersion = 0x300;
    palette->palNumEntries = static_cast<WORD>(colours);
    for (DWORD i = 0; i < colours; ++i)
        palette->palPalEntry[i] = PALETTEENTRY{table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue, 0};
    return GdiObject<HPALETTE>(::CreatePalette(palette));
}

// The resource must hold its header, colour table and every row of pixels.
bool IsWholeBitmap(const BITMAPINFOHEADER& header, DWORD resourceSize, DWORD colours)
{
    if (resourceSize < sizeof(BITMAPINFOHEADER) || header.biSize < sizeof(BITMAPINFOHEADER) ||
        header.biSize > resourceSize || header.biWidth <= 0 || header.biHeight == 0 || header.biPlanes != 1 ||
        header.biCompression != BI_RGB)
        return false;
    unsigned long long stride = ((static_cast<unsigned long long>(header.biWidth) * header.biBitCount + 31) / 32) * 4;
    unsigned long long needed = header.biSize + colours * 4ull + stride * std::llabs(header.biHeight);
    return needed <= resourceSize;
}

}  // namespace

void DrawDIBPicture(HDC dc, int x, int y, UINT bitmapId)
{
    HMODULE module = ::GetModuleHandleA(nullptr);
    HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(bitmapId), MAKEINTRESOURCEA(2));
    HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
    const auto* header = loaded ? static_cast<const BITMAPINFOHEADER*>(::LockResource(loaded)) : nullptr;
    if (!header)
        return;
    DWORD colours = ColourCount(*header);
    if (!IsWholeBitmap(*header, ::SizeofResource(module, found), colours))
        return;

    GdiObject<HPALETTE> palette = CreatePicturePalette(*header, colours);
    const BYTE* bits = reinterpret_cast<const BYTE*>(header) + header->biSize + colours * 4;
    GdiObject<HBITMAP> bitmap;
    {
        framework::WindowDc screen(nullptr);
        framework::SelectPaletteGuard screenPalette(screen.get(), palette.get(), FALSE);
        bitmap.reset(::CreateDIBitmap(screen.get(), header, CBM_INIT, bits, reinterpret_cast<const BITMAPINFO*>(header),
                                      DIB_RGB_COLORS));
    }
    framework::OwnedDc memory(::CreateCompatibleDC(dc));
    if (!bitmap || !memory)
        return;
    framework::SelectPaletteGuard targetPalette(dc, palette.get(), FALSE);
    framework::SelectPaletteGuard memoryPalette(memory.get(), palette.get(), FALSE);
    framework::SelectObjectGuard selected(memory.get(), bitmap.get());
    ::BitBlt(dc, x, y, header->biWidth, std::abs(header->biHeight), memory.get(), 0, 0, SRCCOPY);
}
