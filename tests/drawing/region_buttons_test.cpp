#include "drawing/region_buttons.h"

#include "display/default_sets.h"
#include "display/memory_image.h"
#include "image_fixture.h"
#include "support/golden.h"

namespace kw {
namespace {

constexpr TColor kFace = RGB(90, 160, 90);
constexpr TColor kPicture = RGB(200, 40, 40);

class RgnButtonTest : public ImageTest {
protected:
    void SetUp() override {
        ImageTest::SetUp();
        StartApplication();  // references resolve only under an application object
        light = ColorToRGB(KwSet3DLight().Color());
        dark = ColorToRGB(KwSet3DShadow().Color());
        box = ColorToRGB(KwSetColBox().Color());
        face = ColorToRGB(KwSetBackGround().Color());
    }
    // A 12 x 12 picture whose bottom-left pixel is its transparent colour, optionally with an outer
    // mask that leaves out its first column.
    std::unique_ptr<TKwMemoryImage> Picture(bool masked, bool sliced = false) {
        BlankBitmap pixels(12, 12);
        FillBox(pixels, TRect(0, 0, 12, 12), kPicture);
        pixels.SetPixel(0, 11, RGB(255, 0, 255));
        images.push_back(ImageOf(pixels));
        if (masked) {
            const TRegion outer(TRect(1, 0, 12, 12));
            images.back()->CreateExternalMask(&outer);
        }
        images.back()->Skin().adjusts = sliced;
        return TKwMemoryImage::CreatePtr(*images.back());
    }

    TColor light, dark, box, face;
    std::vector<std::unique_ptr<TKwPkgImagesImage>> images;
};

TEST_F(RgnButtonTest, ShapedButtonsHaveAHaloEdgeAndAPressedShadow) {
    TKwSetBackGround back;
    struct Case {
        TKwBorderStyle border;
        bool down, pressShadow;
        TColor left, right, inside, corner;
    };
    const TColor black = clBlack;
    const Case cases[] = {
        {bos3D, false, false, 0, 0, 0, kSentinel},
        {bos3D, true, false, 0, 0, 0, kSentinel},
        {bos3D, true, true, 0, 0, black, kSentinel},
        {bosSingle, false, false, box, box, 0, kSentinel},
    };
    for (Case c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.border) << c.down << c.pressShadow);
        if (c.border == bos3D) {
            c.left = c.down ? dark : light;
            c.right = c.down ? light : dark;
        }
        BlankBitmap b(14, 12);
        KwDrawRgnButton(b.Canvas(), TRect(2, 2, 12, 10), {.BorderStyle = c.border}, c.down,
                        c.pressShadow, &back, nullptr, nullptr);
        EXPECT_EQ(b.Pixel(2, 5), c.left);
        EXPECT_EQ(b.Pixel(6, 2), c.left);
        EXPECT_EQ(b.Pixel(11, 5), c.right);
        EXPECT_EQ(b.Pixel(6, 9), c.right);
        EXPECT_EQ(b.Pixel(11, 2), c.corner);
        EXPECT_EQ(b.Pixel(1, 1), kSentinel);
        EXPECT_EQ(b.Pixel(12, 10), kSentinel);
        // The pressed shadow: black along the face's top and left, the face one pixel in.
        EXPECT_EQ(b.Pixel(3, 5), c.pressShadow ? black : face);
        EXPECT_EQ(b.Pixel(6, 3), c.pressShadow ? black : face);
        EXPECT_EQ(b.Pixel(4, 4), face);
        EXPECT_EQ(b.Pixel(10, 8), face);
    }
    // Asked for its region, the button paints nothing; the focus region is the same, moved.
    BlankBitmap b(14, 12);
    TRegion region;
    const TKwRgnButtonLook ellipse{.Shape = shaEllipse};
    KwDrawRgnButton(b.Canvas(), TRect(2, 2, 12, 10), ellipse, false, false, &back, nullptr, nullptr,
                    &region);
    EXPECT_EQ(CountPixels(b, kSentinel), 14 * 12);
    EXPECT_EQ(region, KwShapeRegion(TRect(3, 3, 11, 9), shaEllipse, false, sorDefault));
    TRegion focus = KwFocusRgn(TRect(2, 2, 12, 10), ellipse, 5, -1);
    focus.Offset(-5, 1);
    EXPECT_EQ(focus, region);
    // A pen frames the region in its colour.
    TKwPen pen;
    pen.SetStyle(pesSolid);
    KwDrawRgnButton(b.Canvas(), TRect(2, 2, 12, 10), {.BorderStyle = bosNone}, false, false, &back,
                    nullptr, &pen);
    EXPECT_EQ(b.Pixel(2, 5), box);
    EXPECT_EQ(b.Pixel(11, 9), box);
    EXPECT_EQ(b.Pixel(3, 3), face);
}

TEST_F(RgnButtonTest, ImageButtonsShiftWhenPressedAndFollowTheirMask) {
    const auto image = Picture(false);
    BlankBitmap up(20, 20), down(20, 20);
    KwDrawImageButton(up.Canvas(), TRect(2, 2, 18, 18), bos3D, false, nullptr, nullptr, image.get(),
                      nullptr, dbsButton, nullptr);
    KwDrawImageButton(down.Canvas(), TRect(2, 2, 18, 18), bos3D, true, nullptr, nullptr,
                      image.get(), nullptr, dbsButton, nullptr);
    EXPECT_EQ(PaintedBounds(up), TRect(1, 1, 15, 15));  // the image's size plus its halo
    EXPECT_EQ(PaintedBounds(down), TRect(2, 2, 16, 16));
    EXPECT_EQ(up.Pixel(2, 2), kPicture);
    EXPECT_EQ(down.Pixel(2, 2), dark);  // pressed: the lit and dark edges swap
    EXPECT_EQ(down.Pixel(3, 3), kPicture);
    EXPECT_EQ(down.Pixel(15, 15), light);
    // The outer mask shapes the region: the first column shows the halo, not the picture.
    const auto masked = Picture(true);
    BlankBitmap m(20, 20);
    KwDrawImageButton(m.Canvas(), TRect(2, 2, 18, 18), bos3D, false, nullptr, nullptr, masked.get(),
                      nullptr, dbsButton, nullptr);
    EXPECT_EQ(m.Pixel(2, 6), light);
    EXPECT_EQ(m.Pixel(3, 6), kPicture);
    // Shadow style: a shadow face in a shadow halo.
    BlankBitmap s(20, 20);
    KwDrawImageButton(s.Canvas(), TRect(2, 2, 18, 18), bos3D, false, nullptr, nullptr, image.get(),
                      nullptr, dbsShadow, nullptr);
    EXPECT_EQ(s.Pixel(6, 6), dark);
    EXPECT_EQ(s.Pixel(1, 6), ColorToRGB(KwSetColShadow().Color()));
    // Nothing without an image.
    BlankBitmap none(20, 20);
    KwDrawImageButton(none.Canvas(), TRect(2, 2, 18, 18), bos3D, false, nullptr, nullptr, nullptr,
                      nullptr, dbsButton, nullptr);
    EXPECT_EQ(CountPixels(none, kSentinel), 400);
}

TEST_F(RgnButtonTest, ButtonsInEveryState) {
    const auto image = Picture(true);
    const auto sliced = Picture(false, true);
    BlankBitmap picture(6 * 24 + 2, 4 * 24 + 2, clWhite);
    TKwSetBackGround back;
    TKwPen pen;
    pen.SetStyle(pesSolid);
    const TKwShapes shapes[] = {shaEllipse, shaTriangle, shaStar};
    struct State {
        TKwBorderStyle border;
        bool down, pressShadow;
        TKwPen* pen;
    };
    const State states[] = {{bos3D, false, false, nullptr}, {bos3D, true, false, nullptr},
                            {bos3D, true, true, nullptr},   {bosSingle, false, false, nullptr},
                            {bosNone, false, false, &pen},  {bosNone, true, true, nullptr}};
    for (int s = 0; s < 3; ++s) {
        for (int i = 0; i < 6; ++i) {
            const State& st = states[i];
            KwDrawRgnButton(picture.Canvas(), TRect::Bounds(2 + i * 24, 2 + s * 24, 22, 22),
                            {.BorderStyle = st.border, .Shape = shapes[s]}, st.down, st.pressShadow,
                            &back, nullptr, st.pen);
        }
    }
    const TKwDrawButtonStyle styles[] = {dbsButton, dbsShadow, dbsFlat, dbsBackFlat};
    for (int i = 0; i < 6; ++i) {
        const TRect r = TRect::Bounds(2 + i * 24, 2 + 3 * 24, 22, 22);
        if (i < 4)
            KwDrawImageButton(picture.Canvas(), r, bos3D, i == 3, &back, nullptr, image.get(),
                              nullptr, styles[i], nullptr);
        else
            KwDrawImageButton(picture.Canvas(), r, bosSingle, i == 5, &back, nullptr, image.get(),
                              sliced.get(), dbsButton, &pen);
    }
    test::ExpectMatchesGolden(picture, "drawing/golden/region_buttons.png");
}

}  // namespace
}  // namespace kw
