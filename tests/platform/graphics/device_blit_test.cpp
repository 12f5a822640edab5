#include <gtest/gtest.h>

#include <random>

#include "platform/graphics/bitmap.h"
#include "platform/graphics/device.h"

namespace kw {
namespace {

class BlitTest : public ::testing::Test {
protected:
    void SetUp() override { ResetGdiForTesting(); }
    void TearDown() override { ResetGdiForTesting(); }

    static void Fill(TBitmap& bitmap, std::mt19937& rng) {
        for (int y = 0; y < bitmap.Height(); ++y)
            for (int x = 0; x < bitmap.Width(); ++x)
                bitmap.SetPixel(x, y, rng() & 0xFFFFFF);
    }
};

// The result bit of a ternary operation read straight off its code: bit (p << 2 | s << 1 | d).
TColor Expected(int code, TColor p, TColor s, TColor d) {
    TColor out = 0;
    for (int bit = 0; bit < 24; ++bit) {
        const int index = (((p >> bit) & 1) << 2) | (((s >> bit) & 1) << 1) | ((d >> bit) & 1);
        out |= static_cast<TColor>((code >> index) & 1) << bit;
    }
    return out;
}

TEST_F(BlitTest, EveryTernaryOperationFollowsItsTruthTable) {
    std::mt19937 rng(21);
    TBitmap source(6, 3, TPixelFormat::pf32bit), dest(6, 3, TPixelFormat::pf32bit);
    Fill(source, rng);
    const HDC from = CreateBitmapDC(source);
    const HDC to = CreateBitmapDC(dest);
    for (int code = 0; code < 256; ++code) {
        Fill(dest, rng);
        TBitmap before;
        before.Assign(&dest);
        const TColor brush = rng() & 0xFFFFFF;
        SelectObject(to, CreateSolidBrush(brush));
        // Codes are looked up by their middle byte; the low word does not matter.
        ASSERT_TRUE(BitBlt(to, 0, 0, 6, 3, from, 0, 0, static_cast<std::uint32_t>(code) << 16));
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 6; ++x)
                ASSERT_EQ(dest.Pixel(x, y),
                          Expected(code, brush, source.Pixel(x, y), before.Pixel(x, y)))
                    << "code " << code << " at " << x << "," << y;
    }
}

TEST_F(BlitTest, OverlappingCopiesInOneBitmapBehaveLikeMemmove) {
    std::mt19937 rng(2);
    for (auto [dx, dy] : {std::pair{3, 0}, std::pair{-3, 0}, std::pair{0, 2}, std::pair{2, -2}}) {
        TBitmap bitmap(12, 8, TPixelFormat::pf32bit);
        Fill(bitmap, rng);
        TBitmap before;
        before.Assign(&bitmap);
        const HDC dc = CreateBitmapDC(bitmap);
        BitBlt(dc, 4 + dx, 3 + dy, 5, 4, dc, 4, 3, SRCCOPY);
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 12; ++x) {
                const bool moved = x >= 4 + dx && x < 9 + dx && y >= 3 + dy && y < 7 + dy;
                const TColor expected = moved ? before.Pixel(x - dx, y - dy) : before.Pixel(x, y);
                ASSERT_EQ(bitmap.Pixel(x, y), expected)
                    << dx << "," << dy << " at " << x << "," << y;
            }
        }
        DeleteDC(dc);
    }
}

TEST_F(BlitTest, ColourAndMonochromeConvertThroughTheDeviceColours) {
    TBitmap colour(4, 1, TPixelFormat::pf32bit);
    colour.SetPixel(0, 0, RGB(10, 20, 30));
    colour.SetPixel(1, 0, RGB(10, 20, 31));  // one unit off: not the background
    colour.SetPixel(2, 0, RGB(11, 20, 30));
    colour.SetPixel(3, 0, RGB(10, 20, 30));
    TBitmap mono(4, 1, TPixelFormat::pf1bit);
    const HDC from = CreateBitmapDC(colour);
    const HDC to = CreateBitmapDC(mono);
    SetBkColor(from, RGB(10, 20, 30));
    BitBlt(to, 0, 0, 4, 1, from, 0, 0, SRCCOPY);
    EXPECT_EQ(mono.Pixel(0, 0), clWhite);
    EXPECT_EQ(mono.Pixel(1, 0), clBlack);
    EXPECT_EQ(mono.Pixel(2, 0), clBlack);
    EXPECT_EQ(mono.Pixel(3, 0), clWhite);
    // Back to colour: 1 takes the destination's background colour, 0 its text colour.
    TBitmap back(4, 1, TPixelFormat::pf32bit);
    const HDC target = CreateBitmapDC(back);
    SetBkColor(target, clRed);
    SetTextColor(target, clBlue);
    BitBlt(target, 0, 0, 4, 1, to, 0, 0, SRCCOPY);
    EXPECT_EQ(back.Pixel(0, 0), clRed);
    EXPECT_EQ(back.Pixel(1, 0), clBlue);
    // The operation that paints the brush where a monochrome source is set.
    TBitmap canvas(4, 1, TPixelFormat::pf32bit);
    const HDC paint = CreateBitmapDC(canvas);
    SetBkColor(paint, clWhite);
    SetTextColor(paint, clBlack);
    SelectObject(paint, CreateSolidBrush(clLime));
    BitBlt(paint, 0, 0, 4, 1, to, 0, 0, 0x00E20746);
    EXPECT_EQ(canvas.Pixel(0, 0), clLime);
    EXPECT_EQ(canvas.Pixel(1, 0), clWhite);
}

TEST_F(BlitTest, NegativeExtentsShiftBlitsAndStretchingMirrors) {
    TBitmap bitmap(8, 4, TPixelFormat::pf32bit);
    for (int x = 0; x < 8; ++x)
        bitmap.SetPixel(x, 0, RGB(x * 30, 0, 0));
    const HDC dc = CreateBitmapDC(bitmap);
    SelectObject(dc, HBRUSH(GetStockObject(BLACK_BRUSH)));
    // PatBlt(x, y, -w, h) covers x - w + 1 .. x.
    PatBlt(dc, 5, 1, -3, 1, PATCOPY);
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(bitmap.Pixel(x, 1), x >= 3 && x <= 5 ? clBlack : clWhite) << x;
    // PatBlt ignores the pen mode.
    SetROP2(dc, R2_NOP);
    PatBlt(dc, 0, 3, 2, 1, PATCOPY);
    EXPECT_EQ(bitmap.Pixel(1, 3), clBlack);
    // BitBlt with negative extents shifts both rectangles: no mirroring.
    BitBlt(dc, 5, 2, -3, 1, dc, 5, 0, SRCCOPY);
    for (int x = 3; x <= 5; ++x)
        EXPECT_EQ(bitmap.Pixel(x, 2), RGB(x * 30, 0, 0));
    // StretchBlt doubles by nearest neighbour, and mirrors when one extent is negative.
    TBitmap wide(8, 2, TPixelFormat::pf32bit);
    const HDC out = CreateBitmapDC(wide);
    StretchBlt(out, 0, 0, 8, 1, dc, 0, 0, 4, 1, SRCCOPY);
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(wide.Pixel(x, 0), RGB(x / 2 * 30, 0, 0)) << x;
    StretchBlt(out, 0, 1, 4, 1, dc, 3, 0, -4, 1, SRCCOPY);
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(wide.Pixel(x, 1), RGB((3 - x) * 30, 0, 0)) << x;
}

TEST_F(BlitTest, PalettesRealiseOnAnEightBitScreen) {
    const HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetDeviceCaps(screen, BITSPIXEL), 32);
    std::array<PALETTEENTRY, 256> system{};
    EXPECT_EQ(GetSystemPaletteEntries(screen, 0, system), 0u);
    SetScreenBitsPerPixelForTesting(8);
    EXPECT_EQ(GetDeviceCaps(screen, BITSPIXEL), 8);
    EXPECT_EQ(GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE, RC_PALETTE);
    const PALETTEENTRY entries[] = {{1, 2, 3, 0}, {200, 100, 50, 0}};
    const HPALETTE palette = CreatePalette(entries);
    const HPALETTE copy = CopyPalette(palette);
    DeleteObject(palette);
    std::array<PALETTEENTRY, 2> read{};
    EXPECT_EQ(GetPaletteEntries(copy, 0, read), 2u);
    EXPECT_EQ(read[1], entries[1]);
    EXPECT_EQ(GetNearestPaletteIndex(copy, RGB(190, 110, 40)), 1u);
    SelectPalette(screen, copy, false);
    EXPECT_EQ(RealizePalette(screen), 2u);
    EXPECT_EQ(GetSystemPaletteEntries(screen, 0, system), 256u);
    EXPECT_EQ(system[0], (PALETTEENTRY{0, 0, 0, 0}));
    EXPECT_EQ(system[255], (PALETTEENTRY{255, 255, 255, 0}));
    EXPECT_EQ(system[11], entries[1]);
    // System colours: the table behind 0xFF000000 plus the index.
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), ColorToRGB(clBtnFace));
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), ColorToRGB(clWindow));
    EXPECT_NE(GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNSHADOW));
}

}  // namespace
}  // namespace kw
