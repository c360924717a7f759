#include "pages/Picture.h"

#include "framework/Handle.h"
#include "resources/resource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

// A 32-bit top-down canvas to draw on and read back.
class Canvas {
public:
    Canvas(int width, int height) : m_width(width), m_height(height), m_dc(::CreateCompatibleDC(nullptr))
    {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        m_bitmap.reset(::CreateDIBSection(m_dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        m_bits = static_cast<std::uint32_t*>(bits);
        m_old = ::SelectObject(m_dc.get(), m_bitmap.get());
        std::fill(m_bits, m_bits + width * height, 0x00123456u);
    }
    ~Canvas() { ::SelectObject(m_dc.get(), m_old); }

    HDC Dc() const { return m_dc.get(); }
    std::vector<std::uint32_t> Pixels() const
    {
        ::GdiFlush();
        return std::vector<std::uint32_t>(m_bits, m_bits + m_width * m_height);
    }

private:
    int m_width, m_height;
    framework::OwnedDc m_dc;
    framework::GdiObject<HBITMAP> m_bitmap;
    std::uint32_t* m_bits = nullptr;
    HGDIOBJ m_old = nullptr;
};

// What the picture looks like when the system loads it itself.
std::vector<std::uint32_t> Reference(UINT id, int width, int height, int x, int y)
{
    Canvas canvas(width, height);
    framework::GdiObject<HBITMAP> picture(static_cast<HBITMAP>(
        ::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    EXPECT_TRUE(picture);
    BITMAP info{};
    ::GetObjectA(picture.get(), sizeof info, &info);
    framework::OwnedDc source(::CreateCompatibleDC(canvas.Dc()));
    framework::SelectObjectGuard selected(source.get(), picture.get());
    ::BitBlt(canvas.Dc(), x, y, info.bmWidth, info.bmHeight, source.get(), 0, 0, SRCCOPY);
    return canvas.Pixels();
}

}  // namespace

TEST(DrawDIBPicture, DrawsEachPictureWithItsOwnColoursAtThePlaceGiven)
{
    struct Case {
        UINT id;
        int width, height;
    };
    for (Case picture : {Case{IDB_SPLASH256, 206, 230}, Case{IDB_SPLASH16, 180, 230}}) {
        Canvas canvas(picture.width + 20, picture.height + 20);
        DrawDIBPicture(canvas.Dc(), 8, 10, picture.id);
        std::vector<std::uint32_t> drawn = canvas.Pixels();
        EXPECT_EQ(drawn, Reference(picture.id, picture.width + 20, picture.height + 20, 8, 10)) << picture.id;
        // The margins stay untouched.
        EXPECT_EQ(drawn[0] & 0xFFFFFFu, 0x123456u);
        EXPECT_EQ(drawn.back() & 0xFFFFFFu, 0x123456u);
    }
}

TEST(DrawDIBPicture, MissingPictureDrawsNothing)
{
    Canvas canvas(16, 16);
    std::vector<std::uint32_t> before = canvas.Pixels();
    DrawDIBPicture(canvas.Dc(), 0, 0, 4242);
    EXPECT_EQ(canvas.Pixels(), before);
}
