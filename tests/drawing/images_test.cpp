#include "drawing/images.h"

#include "display/default_sets.h"
#include "display/memory_image.h"
#include "drawing/styles/image_styles.h"
#include "image_fixture.h"
#include "support/golden.h"

namespace kw {
namespace {

using enum TKwImageState;

constexpr TColor kKey = RGB(255, 0, 255);
constexpr TColor kFrameColors[4] = {RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200),
                                    RGB(200, 200, 0)};

// A strip of `frames` 16 x 16 frames, each a solid colour with a key-coloured bottom-left pixel.
std::unique_ptr<TKwPkgImagesImage> Strip(int frames, int size = 16) {
    TBitmap strip(frames * size, size);
    for (int f = 0; f < frames; ++f) {
        FillBox(strip, TRect::Bounds(f * size, 0, size, size), kFrameColors[f % 4]);
        strip.SetPixel(f * size, size - 1, kKey);
    }
    return ImageOf(strip);
}

class ImagesTest : public ImageTest {};

TEST_F(ImagesTest, StripsOfOneToFourFramesPickTheFrameOfEachState) {
    // Expected frame per state (up, disabled, down, exclusive) for 1..4 frames; -1: generated.
    const int expected[4][4] = {{0, -1, 0, 0}, {0, 1, 0, 0}, {0, 1, 2, 0}, {0, 1, 2, 3}};
    const TKwImageState states[4] = {istUp, istDisabled, istDown, istExclusive};
    for (int n = 1; n <= 4; ++n) {
        const auto image = Strip(n);
        for (int s = 0; s < 4; ++s) {
            SCOPED_TRACE(testing::Message() << n << " frames, state " << s);
            BlankBitmap target(20, 20);
            KwPaintImage(target.Canvas(), TRect(0, 0, 20, 20), image.get(), false,
                         TKwImageDraw{states[s], false});
            EXPECT_EQ(PaintedBounds(target), TRect(2, 2, 18, 18));
            const TColor centre = target.Pixel(10, 10);
            if (expected[n - 1][s] >= 0)
                EXPECT_EQ(centre, kFrameColors[expected[n - 1][s]]);
            else
                EXPECT_EQ(centre, ColorToRGB(KwSetTextDisShadow().Color()));
        }
    }
    // Five squares are one frame, as is a strip drawn whole; a given size is what is needed.
    BlankBitmap wide(100, 20);
    KwPaintImage(wide.Canvas(), TRect(0, 0, 100, 20), Strip(5).get(), false, {istDown, false});
    EXPECT_EQ(PaintedBounds(wide), TRect(10, 2, 90, 18));
    EXPECT_EQ(KwPaintImage(wide.Canvas(), {}, Strip(4).get(), true, {istAll}), TRect(0, 0, 64, 16));
    EXPECT_EQ(KwPaintImage(wide.Canvas(), {}, Strip(4).get(), true, {istUp, true, false, 7, 9}),
              TRect(0, 0, 7, 9));
}

TEST_F(ImagesTest, FittingKeepsProportionsAndRoundsHalvesToEven) {
    struct Case {
        int imageW, imageH, areaW, areaH;
        bool stretch;
        int width, height;
        TRect painted;
    };
    const Case cases[] = {
        {32, 32, 20, 10, false, -1, -1, TRect(5, 0, 15, 10)},  // shrunk to the area, centred
        {20, 5, 10, 20, false, -1, -1, TRect(0, 9, 10, 11)},   // 2.5 rounds to 2
        {20, 5, 14, 20, false, -1, -1, TRect(0, 8, 14, 12)},   // 3.5 rounds to 4
        {8, 8, 30, 20, true, -1, -1, TRect(0, 0, 30, 20)},     // stretched over the area
        {8, 8, 20, 20, true, 40, 10, TRect(0, 7, 20, 12)},     // boxed, then fitted
        {40, 1, 20, 20, false, -1, -1, TRect(0, 9, 20, 11)},   // a side below 2 becomes 2
    };
    for (const Case& c : cases) {
        BlankBitmap source(c.imageW, c.imageH);
        FillBox(source, TRect(0, 0, c.imageW, c.imageH), RGB(9, 9, 9));
        BlankBitmap target(c.areaW, c.areaH);
        KwPaintImage(target.Canvas(), TRect(0, 0, c.areaW, c.areaH), ImageOf(source).get(), false,
                     TKwImageDraw{istAll, false, c.stretch, c.width, c.height});
        EXPECT_EQ(PaintedBounds(target), c.painted) << c.imageW << "x" << c.imageH;
    }
}

TEST_F(ImagesTest, TransparencyByKeyColourAndByAlpha) {
    TBitmap source(4, 4, TPixelFormat::pf32bit);
    FillBox(source, TRect(0, 0, 4, 4), kKey);
    FillBox(source, TRect(1, 1, 3, 3), RGB(0, 0, 0));
    // An 8-bit display brush-copies around the key colour instead of blending.
    for (const int bits : {32, 8}) {
        SetScreenBitsPerPixelForTesting(bits);
        for (const bool transparent : {true, false}) {
            BlankBitmap target(4, 4);
            KwPaintImage(target.Canvas(), TRect(0, 0, 4, 4), ImageOf(source).get(), false,
                         {istUp, transparent});
            EXPECT_EQ(CountPixels(target, kSentinel), transparent ? 12 : 0) << bits;
            EXPECT_EQ(CountPixels(target, clBlack), 4);
        }
    }
    SetScreenBitsPerPixelForTesting(32);
    TBitmap alpha(4, 4, TPixelFormat::pf32bit);
    alpha.SetAlphaFormat(TAlphaFormat::afDefined);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x)
            alpha.SetPixelArgb(x, y, x < 2 ? 0xFF000000u : 0x00FFFFFFu);
    }
    BlankBitmap target(4, 4);
    KwPaintImage(target.Canvas(), TRect(0, 0, 4, 4), ImageOf(alpha, true).get(), false,
                 TKwImageDraw{});
    EXPECT_EQ(Picture(target, clBlack), (std::vector<std::string>(4, "##..")));
}

TEST_F(ImagesTest, DisabledLooksAreEmbossedOrRecoloured) {
    // One frame: the shadow colour over the shape, the light colour one pixel right and down.
    BlankBitmap single(6, 6);
    FillBox(single, TRect(0, 0, 6, 6), kKey);
    FillBox(single, TRect(1, 1, 4, 3), RGB(0, 0, 0));
    BlankBitmap target(6, 6);
    KwDrawImage(target.Canvas(), TRect(0, 0, 6, 6), ImageOf(single).get(), RGB(250, 250, 250),
                RGB(60, 60, 60), false, TKwImageDraw{istDisabled, false});
    EXPECT_EQ(CountPixels(target, RGB(60, 60, 60)), 6);
    EXPECT_EQ(CountPixels(target, RGB(250, 250, 250)), 4);
    EXPECT_EQ(target.Pixel(4, 2), RGB(250, 250, 250));
    EXPECT_EQ(target.Pixel(3, 2), RGB(60, 60, 60));
    EXPECT_EQ(CountPixels(target, ColorToRGB(clBtnFace)), 26);
    // A strip's own disabled frame: white turns light, grey shadow, the key colour button face.
    TBitmap strip(8, 4);
    FillBox(strip, TRect(0, 0, 8, 4), kKey);
    FillBox(strip, TRect(4, 0, 6, 2), clWhite);
    FillBox(strip, TRect(6, 0, 8, 2), clGray);
    strip.SetPixel(5, 3, RGB(7, 7, 7));
    BlankBitmap recoloured(4, 4);
    KwDrawImage(recoloured.Canvas(), TRect(0, 0, 4, 4), ImageOf(strip).get(), RGB(250, 250, 250),
                RGB(60, 60, 60), false, TKwImageDraw{istDisabled, false});
    EXPECT_EQ(recoloured.Pixel(0, 0), RGB(250, 250, 250));
    EXPECT_EQ(recoloured.Pixel(3, 1), RGB(60, 60, 60));
    EXPECT_EQ(recoloured.Pixel(0, 3), ColorToRGB(clBtnFace));
    EXPECT_EQ(recoloured.Pixel(1, 3), RGB(7, 7, 7));
    // A drop shadow lies under the image, which moves one pixel up and left.
    BlankBitmap shadowed(8, 8);
    KwPaintImage(shadowed.Canvas(), TRect(1, 1, 7, 7), ImageOf(single).get(), false,
                 {istUp, true, false, -1, -1, true});
    EXPECT_EQ(CountPixels(shadowed, clBlack), 6);
    EXPECT_EQ(shadowed.Pixel(4, 3), ColorToRGB(KwSetColShadow().Color()));
}

TEST_F(ImagesTest, PackageImagesPaintByNameAndNothingWithoutData) {
    StartApplication();
    TKwPkgImagesImage& image = user_->Images().Add(3);
    BlankBitmap target(16, 16);
    KwPaintImageEx(target.Canvas(), TRect(0, 0, 16, 16), u"User", 3, istUp, false, false, -1, -1);
    EXPECT_EQ(CountPixels(target, kSentinel), 256);
    image.Assign(*(Strip(2)));
    KwPaintImageEx(target.Canvas(), TRect(0, 0, 16, 16), u"User", 3, istDown, false, false, -1, -1);
    EXPECT_EQ(target.Pixel(8, 8), kFrameColors[0]);
    // The image paints itself: the first frame at its natural size, or a state's frame.
    BlankBitmap own(20, 20);
    image.Draw(own.Canvas(), 3, 2, false);
    EXPECT_EQ(PaintedBounds(own), TRect(3, 2, 19, 18));
    image.DrawRect(own.Canvas(), TRect(0, 0, 20, 20), istDisabled, true, false);
    EXPECT_EQ(own.Pixel(0, 10), kFrameColors[1]);
    // A full-image style object shows its disabled frame when not enabled.
    TKwFullImage full;
    full.Image().PkgId(u"User", 3);
    KwPaintFullImage(own.Canvas(), TRect(0, 0, 20, 20), full, false, false);
    EXPECT_EQ(own.Pixel(10, 10), kFrameColors[1]);
}

TEST_F(ImagesTest, StatesOfAStripPicture) {
    BlankBitmap strip(64, 16);
    FillBox(strip, TRect(0, 0, 64, 16), kKey);
    for (int f = 0; f < 4; ++f) {
        FillBox(strip, TRect::Bounds(f * 16 + 3, 3, 10, 10), kFrameColors[f]);
        FillBox(strip, TRect::Bounds(f * 16 + 6, 6, 4, 4), f == 1 ? clGray : clWhite);
    }
    const auto four = ImageOf(strip);
    BlankBitmap ring(16, 16);
    FillBox(ring, TRect(0, 0, 16, 16), kKey);
    FillBox(ring, TRect(2, 2, 14, 14), kFrameColors[0]);
    FillBox(ring, TRect(6, 6, 10, 10), kKey);
    const auto one = ImageOf(ring);
    // Vivid disabled colours, so that the recoloured and embossed looks show.
    const TColor light = RGB(255, 230, 120);
    const TColor dark = RGB(40, 40, 160);
    BlankBitmap picture(6 * 34, 34);
    int x = 0;
    for (const auto state : {istUp, istDisabled, istDown, istExclusive}) {
        KwDrawImage(picture.Canvas(), TRect::Bounds(x, 0, 34, 34), four.get(), light, dark, false,
                    TKwImageDraw{state, true, true, 32, 32});
        x += 34;
    }
    KwDrawImage(picture.Canvas(), TRect::Bounds(x, 0, 34, 34), one.get(), light, dark, false,
                TKwImageDraw{istDisabled, true, true, 32, 32});
    KwPaintImage(picture.Canvas(), TRect::Bounds(x + 34, 0, 34, 34), one.get(), false,
                 TKwImageDraw{istUp, true, false, -1, -1, true});
    test::ExpectMatchesGolden(picture, "drawing/golden/image_states.png");
}

}  // namespace
}  // namespace kw
