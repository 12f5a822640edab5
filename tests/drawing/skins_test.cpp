#include "drawing/skins.h"

#include "display/set_references.h"
#include "image_fixture.h"
#include "support/golden.h"

namespace kw {
namespace {

// A 30 x 30 skin with 10-pixel corners whose every pixel tells where it came from.
TColor SkinPixel(int x, int y) {
    return RGB(static_cast<Byte>(x * 8), static_cast<Byte>(y * 8), 100);
}

std::unique_ptr<TKwPkgImagesImage> Skin(bool sliced = true, bool sync = true) {
    TBitmap pixels(30, 30);
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 30; ++x)
            pixels.SetPixel(x, y, SkinPixel(x, y));
    }
    auto image = ImageOf(pixels);
    TKwImageSkin& skin = image->Skin();
    skin.adjusts = sliced;
    skin.syncHor = skin.syncVer = sync;
    skin.up1 = skin.up2 = skin.down1 = skin.down2 = 10;
    skin.left1 = skin.left2 = skin.right1 = skin.right2 = 10;
    return image;
}

// Where a target coordinate takes its source from along one axis of extent `size`: the far
// corner (drawn last), the near corner, or the tiled middle.
int SourceAlong(int at, int size) {
    if (at >= size - 10)
        return at - size + 30;
    return at < 10 ? at : 10 + (at - 10) % 10;
}

class SkinsTest : public ImageTest {};

TEST_F(SkinsTest, SlicedSkinsKeepCornersAndTileEdgesAtEverySize) {
    for (const bool sync : {true, false}) {
        const auto skin = Skin(true, sync);
        for (const TSize size : {TSize{16, 12}, TSize{30, 30}, TSize{100, 50}, TSize{257, 31}}) {
            SCOPED_TRACE(testing::Message() << size.cx << "x" << size.cy << " sync " << sync);
            BlankBitmap target(size.cx + 4, size.cy + 4);
            KwPaintSkin(TRect::Bounds(2, 2, size.cx, size.cy), target.Canvas(), skin.get(), nullptr,
                        nullptr);
            int wrong = 0;
            for (int y = 0; y < size.cy; ++y) {
                for (int x = 0; x < size.cx; ++x) {
                    const bool centreX = x >= 10 && x < size.cx - 10;
                    const bool centreY = y >= 10 && y < size.cy - 10;
                    // The centre repeats its first row.
                    const int sy = centreX && centreY ? 10 : SourceAlong(y, size.cy);
                    wrong += target.Pixel(x + 2, y + 2) != SkinPixel(SourceAlong(x, size.cx), sy);
                }
            }
            EXPECT_EQ(wrong, 0);
            EXPECT_EQ(CountPixels(target, kSentinel),
                      (size.cx + 4) * (size.cy + 4) - size.cx * size.cy);
        }
    }
}

TEST_F(SkinsTest, UnslicedSkinsSitAtTheTopLeftAndNothingPaintsWithoutData) {
    const auto skin = Skin(false);
    BlankBitmap target(50, 20);
    KwPaintSkin(TRect(5, 0, 50, 20), target.Canvas(), skin.get(), nullptr, nullptr);
    EXPECT_EQ(target.Pixel(5, 0), SkinPixel(0, 0));
    EXPECT_EQ(target.Pixel(34, 19), SkinPixel(29, 19));
    EXPECT_EQ(CountPixels(target, kSentinel), 50 * 20 - 30 * 20);
    TKwPkgImagesImage empty(nullptr);
    BlankBitmap untouched(10, 10);
    KwPaintSkin(TRect(0, 0, 10, 10), untouched.Canvas(), &empty, nullptr, nullptr);
    EXPECT_EQ(CountPixels(untouched, kSentinel), 100);
    EXPECT_FALSE(KwRgnSkin(TRect(0, 0, 10, 10), &empty, true));
    EXPECT_FALSE(KwRgnSkin(TRect(4, 4, 4, 9), skin.get(), true));
}

// The shape of the skin: the image less a 3 x 3 notch at each corner, with a hole in the middle.
void GiveMasks(TKwPkgImagesImage& image) {
    TRegion outer(TRect(0, 0, 30, 30));
    for (const TRect notch :
         {TRect(0, 0, 3, 3), TRect(27, 0, 30, 3), TRect(0, 27, 3, 30), TRect(27, 27, 30, 30)})
        outer.Combine(outer, TRegion(notch), TRegionCombine::rgnDiff);
    image.CreateExternalMask(&outer);
    const TRegion inner(TRect(5, 5, 25, 25));
    image.CreateInternalMask(&inner);
}

TEST_F(SkinsTest, SkinRegionsFollowMasksCornersAndSolidity) {
    const auto sliced = Skin(true);
    GiveMasks(*sliced);
    const TRect rect(10, 20, 110, 70);
    // Solid: the whole rectangle less the corner notches.
    TRegion solid(rect);
    for (const TRect notch : {TRect(10, 20, 13, 23), TRect(107, 20, 110, 23), TRect(10, 67, 13, 70),
                              TRect(107, 67, 110, 70)})
        solid.Combine(solid, TRegion(notch), TRegionCombine::rgnDiff);
    EXPECT_EQ(*KwRgnSkin(rect, sliced.get(), true), solid);
    // Not solid: only the corner pieces of the shape less its hole.
    const TRegion ring = [] {
        TRegion r(TRect(0, 0, 10, 10));
        r.Combine(r, TRegion(TRect(0, 0, 3, 3)), TRegionCombine::rgnDiff);
        r.Combine(r, TRegion(TRect(5, 5, 10, 10)), TRegionCombine::rgnDiff);
        return r;
    }();
    const TRegion pieces = *KwRgnSkin(rect, sliced.get(), false);
    EXPECT_EQ(pieces.Bounds(), rect);
    TRegion topLeft = pieces;
    topLeft.Combine(topLeft, TRegion(TRect(10, 20, 20, 30)), TRegionCombine::rgnAnd);
    topLeft.Offset(-10, -20);
    EXPECT_EQ(topLeft, ring);
    EXPECT_FALSE(pieces.Contains(60, 20));
    // Unsliced: the outer shape at the image's size, less the hole unless solid.
    const auto plain = Skin(false);
    GiveMasks(*plain);
    TRegion shape(*plain->CreateExternalRgn());
    shape.Offset(10, 20);
    EXPECT_EQ(*KwRgnSkin(rect, plain.get(), true), shape);
    shape.Combine(shape, TRegion(TRect(15, 25, 35, 45)), TRegionCombine::rgnDiff);
    EXPECT_EQ(*KwRgnSkin(rect, plain.get(), false), shape);
}

TEST_F(SkinsTest, BackgroundFillsWhatTheSkinLeavesAndShadeDarkensItsEdge) {
    StartApplication();
    const auto skin = Skin(true);
    GiveMasks(*skin);
    TKwSetBackGround background;
    background.SetName(u"Panel");  // not in any package: the default background's colour
    const TColor face = ColorToRGB(clBtnFace);
    BlankBitmap target(60, 40);
    KwPaintSkin(TRect(0, 0, 60, 40), target.Canvas(), skin.get(), nullptr, &background);
    // Corner pieces show the skin; notches, hole, edges and centre the background.
    EXPECT_EQ(target.Pixel(8, 2), SkinPixel(8, 2));
    EXPECT_EQ(target.Pixel(52, 38), SkinPixel(22, 28));
    EXPECT_EQ(target.Pixel(9, 9), face);
    EXPECT_EQ(target.Pixel(30, 0), face);
    EXPECT_EQ(target.Pixel(0, 0), face);
    EXPECT_EQ(CountPixels(target, kSentinel), 0);

    BlankBitmap shaded(60, 40);
    KwPaintSkin(TRect(0, 0, 60, 40), shaded.Canvas(), skin.get(), nullptr, &background, true, 40,
                4);
    const auto channel = [](TColor c) { return static_cast<int>(c & 0xFF); };
    // The edge is the darkest band; the colour climbs back towards the background inwards.
    EXPECT_EQ(channel(shaded.Pixel(30, 0)), std::max(0, channel(face) - 60));
    EXPECT_LT(channel(shaded.Pixel(30, 1)), channel(shaded.Pixel(30, 2)));
    EXPECT_EQ(shaded.Pixel(30, 4), face);
    EXPECT_EQ(shaded.Pixel(8, 2), SkinPixel(8, 2));
}

TEST_F(SkinsTest, BitmapRegionsHoldExactlyTheOpaquePixels) {
    TBitmap bitmap(37, 23);
    TBitmap mask(37, 23, TPixelFormat::pf1bit);
    const TColor key = RGB(0, 128, 0);
    for (int y = 0; y < 23; ++y) {
        for (int x = 0; x < 37; ++x) {
            const bool border = x == 0 || y == 0 || x == 36 || y == 22;
            const bool opaque = !border && ((x * 7 + y * 13) % 5 != 0);
            bitmap.SetPixel(x, y, opaque ? RGB(static_cast<Byte>(x), 0, 0) : key);
            mask.SetPixel(x, y, opaque ? clWhite : clBlack);
        }
    }
    std::vector<std::int64_t> reports;
    const TRegion region =
        KwCreateBitmapRgn(&bitmap, nullptr, [&](TObject*, std::int64_t done, std::int64_t total) {
            EXPECT_EQ(total, 37 * 23);
            reports.push_back(done);
        });
    EXPECT_EQ(region, TRegion::FromMask(mask));
    ASSERT_EQ(reports.size(), 2u + 37 * 23 / 20);
    EXPECT_EQ(reports.front(), 0);
    EXPECT_EQ(reports[1], 20);
    EXPECT_EQ(reports.back(), 37 * 23);
    EXPECT_TRUE(KwCreateBitmapRgn(nullptr).IsEmpty());
    EXPECT_EQ(KwCreateBitmapRgn(&mask), TRegion::FromMask(mask));
    // A bitmap of one colour is all key.
    TBitmap plain(5, 5);
    EXPECT_TRUE(KwCreateBitmapRgn(&plain).IsEmpty());
}

TEST_F(SkinsTest, SkinPicture) {
    StartApplication();
    const auto skin = Skin(true);
    GiveMasks(*skin);
    TKwSetBackGround background;
    background.SetName(u"Panel");
    BlankBitmap picture(250, 64);
    KwPaintSkin(TRect(2, 2, 18, 14), picture.Canvas(), skin.get(), nullptr, nullptr);
    KwPaintSkin(TRect(22, 2, 52, 32), picture.Canvas(), skin.get(), nullptr, nullptr);
    KwPaintSkin(TRect(56, 2, 146, 62), picture.Canvas(), skin.get(), nullptr, nullptr);
    KwPaintSkin(TRect(150, 2, 248, 62), picture.Canvas(), skin.get(), nullptr, &background, true,
                30, 6);
    test::ExpectMatchesGolden(picture, "drawing/golden/skin_sizes.png");
}

}  // namespace
}  // namespace kw
