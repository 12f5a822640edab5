#include "drawing/palette.h"

#include "drawing/colors.h"
#include "drawing_fixture.h"
#include "platform/graphics/canvas.h"

namespace kw {
namespace {

using PaletteTest = DrawingTest;

std::array<PALETTEENTRY, 256> EntriesOf(HPALETTE palette) {
    std::array<PALETTEENTRY, 256> entries{};
    EXPECT_EQ(GetPaletteEntries(palette, 0, entries), 256u);
    return entries;
}

TEST_F(PaletteTest, HoldsTheStaticColoursTheCubeAndTheGreyRamp) {
    for (const int bits : {32, 8}) {
        SetScreenBitsPerPixelForTesting(bits);
        const HPALETTE palette = KwCreatePalette();
        const auto e = EntriesOf(palette);
        DeleteObject(palette);
        EXPECT_EQ(e[0], (PALETTEENTRY{0, 0, 0, 0}));
        EXPECT_EQ(e[8], (PALETTEENTRY{192, 220, 192, 0}));
        EXPECT_EQ(e[246], (PALETTEENTRY{255, 251, 240, 0}));
        EXPECT_EQ(e[255], (PALETTEENTRY{255, 255, 255, 0}));
        // Red runs fastest through the cube.
        EXPECT_EQ(e[10], (PALETTEENTRY{0, 0, 0, PC_NOCOLLAPSE}));
        EXPECT_EQ(e[11], (PALETTEENTRY{51, 0, 0, PC_NOCOLLAPSE}));
        EXPECT_EQ(e[10 + 5 + 6 * 4 + 36 * 3], (PALETTEENTRY{255, 204, 153, PC_NOCOLLAPSE}));
        EXPECT_EQ(e[225], (PALETTEENTRY{255, 255, 255, PC_NOCOLLAPSE}));
        for (int k = 0; k < 20; ++k) {
            const auto grey = static_cast<Byte>(13 * k);
            EXPECT_EQ(e[226 + k], (PALETTEENTRY{grey, grey, grey, PC_NOCOLLAPSE})) << k;
        }
    }
}

TEST_F(PaletteTest, ExistsOnlyOnTheEightBitPathAndSnapsPaletteRelativeColours) {
    TBitmap bitmap(2, 2);
    const HDC dc = bitmap.Canvas().Handle();
    EXPECT_FALSE(Kw8BitPalette());
    EXPECT_FALSE(KwInitPalette(dc));
    EXPECT_FALSE(KwGetPalette());
    EXPECT_EQ(KwRealizedColor(KwSolidColor(RGB(100, 101, 102))), RGB(100, 101, 102));

    SetScreenBitsPerPixelForTesting(8);
    ASSERT_TRUE(Kw8BitPalette());
    const HPALETTE previous = KwInitPalette(dc);
    EXPECT_TRUE(previous);
    const HPALETTE shared = KwGetPalette();
    ASSERT_TRUE(shared);
    EXPECT_EQ(HPALETTE(GetCurrentObject(dc, TGdiKind::Palette)), shared);
    // (100, 101, 102) is nearest the cube's (102, 102, 102); (10, 10, 10) nearest grey 13.
    EXPECT_EQ(KwRealizedColor(KwSolidColor(RGB(100, 101, 102))), RGB(102, 102, 102));
    EXPECT_EQ(KwRealizedColor(KwSolidColor(RGB(10, 10, 10))), RGB(13, 13, 13));
    EXPECT_EQ(KwRealizedColor(KwSolidColor(RGB(190, 218, 190))), RGB(192, 220, 192));
    // Only palette-relative colours snap; system colours resolve.
    EXPECT_EQ(KwRealizedColor(RGB(100, 101, 102)), RGB(100, 101, 102));
    EXPECT_EQ(KwRealizedColor(clBtnFace), ColorToRGB(clBtnFace));
    KwEndPalette(dc, previous);
    EXPECT_EQ(HPALETTE(GetCurrentObject(dc, TGdiKind::Palette)), previous);

    const PALETTEENTRY black[1] = {};
    const HPALETTE dark = CreatePalette(black);
    KwSetPalette(dark);
    EXPECT_NE(KwGetPalette(), dark);  // a copy
    EXPECT_EQ(KwRealizedColor(KwSolidColor(clWhite)), clBlack);

    // Painting snaps too: a gradient on the 8-bit display shows palette colours only.
    KwSetPalette(shared);
    BlankBitmap painted(1, 1);
    painted.Canvas().Brush().Color = KwRealizedColor(KwSolidColor(RGB(100, 101, 102)));
    painted.Canvas().FillRect(TRect(0, 0, 1, 1));
    EXPECT_EQ(painted.Pixel(0, 0), RGB(102, 102, 102));

    SetScreenBitsPerPixelForTesting(32);
    EXPECT_FALSE(KwInitPalette(dc));
    EXPECT_FALSE(KwGetPalette());
    KwSetPalette(dark);
    EXPECT_FALSE(KwGetPalette());
    DeleteObject(dark);
}

}  // namespace
}  // namespace kw
