#include "drawing/palette.h"

#include "drawing/colors.h"
#include "drawing_fixture.h"

namespace kw {
namespace {

using PaletteTest = DrawingTest;

TEST_F(PaletteTest, HoldsTheStaticColoursTheCubeAndTheGreyRamp) {
    const auto palette = KwCreatePalette();
    const auto& e = palette->Entries;
    const auto& system = KwSystemPaletteEntries();
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(e[i], system[i]) << i;
        EXPECT_EQ(e[246 + i], system[10 + i]) << i;
    }
    EXPECT_EQ(e[0], (TKwPaletteEntry{0, 0, 0, 0}));
    EXPECT_EQ(e[255], (TKwPaletteEntry{255, 255, 255, 0}));
    // Red runs fastest through the cube.
    EXPECT_EQ(e[10], (TKwPaletteEntry{0, 0, 0, kPcNoCollapse}));
    EXPECT_EQ(e[11], (TKwPaletteEntry{51, 0, 0, kPcNoCollapse}));
    EXPECT_EQ(e[16], (TKwPaletteEntry{0, 51, 0, kPcNoCollapse}));
    EXPECT_EQ(e[46], (TKwPaletteEntry{0, 0, 51, kPcNoCollapse}));
    EXPECT_EQ(e[10 + 5 + 6 * 4 + 36 * 3], (TKwPaletteEntry{255, 204, 153, kPcNoCollapse}));
    EXPECT_EQ(e[225], (TKwPaletteEntry{255, 255, 255, kPcNoCollapse}));
    for (int k = 0; k < 20; ++k) {
        const auto grey = static_cast<Byte>(13 * k);
        EXPECT_EQ(e[226 + k], (TKwPaletteEntry{grey, grey, grey, kPcNoCollapse})) << k;
    }
    EXPECT_EQ(TKwPalette::kVersion, 0x0300);
}

TEST_F(PaletteTest, ExistsOnlyOnTheEightBitPathAndSnapsPaletteRelativeColours) {
    EXPECT_FALSE(Kw8BitPalette());
    EXPECT_EQ(KwInitPalette(), nullptr);
    EXPECT_EQ(KwRealizedColor(KwSolidColor(RGB(100, 101, 102))), RGB(100, 101, 102));

    KwSetDisplayBitsForTest(8);
    ASSERT_TRUE(Kw8BitPalette());
    const TKwPalette* shared = KwInitPalette();
    ASSERT_NE(shared, nullptr);
    EXPECT_EQ(KwGetPalette(), shared);
    // (100, 101, 102) is nearest the cube's (102, 102, 102); (10, 10, 10) nearest grey 13.
    EXPECT_EQ(KwRealizedColor(KwSolidColor(RGB(100, 101, 102))), RGB(102, 102, 102));
    EXPECT_EQ(KwRealizedColor(KwSolidColor(RGB(10, 10, 10))), RGB(13, 13, 13));
    EXPECT_EQ(KwRealizedColor(KwSolidColor(RGB(190, 218, 190))), RGB(192, 220, 192));
    // Only palette-relative colours snap; system colours resolve.
    EXPECT_EQ(KwRealizedColor(RGB(100, 101, 102)), RGB(100, 101, 102));
    EXPECT_EQ(KwRealizedColor(clBtnFace), ColorToRGB(clBtnFace));

    TKwPalette grey;
    KwSetPalette(grey);  // all black
    EXPECT_EQ(KwRealizedColor(KwSolidColor(clWhite)), clBlack);

    KwSetDisplayBitsForTest(32);
    EXPECT_EQ(KwInitPalette(), nullptr);
    EXPECT_EQ(KwGetPalette(), nullptr);
    KwSetPalette(grey);
    EXPECT_EQ(KwGetPalette(), nullptr);
}

}  // namespace
}  // namespace kw
