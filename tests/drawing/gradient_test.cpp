#include "drawing/gradient.h"

#include <random>

#include "display/display_fixture.h"
#include "display/memory_image.h"
#include "display/package_image.h"
#include "drawing/colors.h"
#include "drawing_fixture.h"
#include "platform/core/numbers.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/device.h"

namespace kw {
namespace {

constexpr TKwBackGroundStyle kGradients[] = {bgsUp,     bgsDown,    bgsLeft,   bgsRight,
                                             bgsHorzIn, bgsHorzOut, bgsVertIn, bgsVertOut};
constexpr TColor kRed = RGB(255, 0, 0);
constexpr TColor kBlue = RGB(0, 0, 255);

bool Across(TKwBackGroundStyle s) {
    return s == bgsLeft || s == bgsRight || s == bgsHorzIn || s == bgsHorzOut;
}
bool Mirror(TKwBackGroundStyle s) {
    return s >= bgsHorzIn && s <= bgsVertOut;
}

using GradientTest = DrawingTest;

TEST_F(GradientTest, TablesFollowTheStepFormulaWithHalvesToEven) {
    std::mt19937 random(1234);
    for (int round = 0; round < 200; ++round) {
        const TColor start = random() & 0xFFFFFF;
        const TColor end = random() & 0xFFFFFF;
        const int count = 1 + static_cast<int>(random() % 100);
        for (const TKwBackGroundStyle style : kGradients) {
            const bool fromStart =
                style == bgsDown || style == bgsRight || style == bgsHorzOut || style == bgsVertOut;
            const TColor a = fromStart ? start : end;
            const TColor b = fromStart ? end : start;
            const auto table = KwGradientTable(style, start, end, count);
            ASSERT_EQ(static_cast<int>(table.size()), count);
            for (int i = 0; i < count; ++i) {
                for (int shift : {0, 8, 16}) {
                    const int ca = (a >> shift) & 0xFF;
                    const int cb = (b >> shift) & 0xFF;
                    const double step = (cb - ca) / static_cast<double>(count);
                    const auto want = static_cast<TColor>(Round(ca + i * step));
                    ASSERT_EQ((table[i] >> shift) & 0xFF, want) << i << " of " << count;
                }
                ASSERT_EQ(table[i] >> 24, 0x02u);
            }
        }
    }
    // Halves: 0 -> 5 in 2 steps gives 0, 2.5 -> 2 (even); 0 -> 7 in 2 gives 3.5 -> 4.
    EXPECT_EQ(KwGradientTable(bgsDown, 0, RGB(5, 7, 0), 2)[1], KwSolidColor(RGB(2, 4, 0)));
}

TEST_F(GradientTest, BandCountFollowsTheExtentTheRequestAndTheCap) {
    const TRect tall(0, 0, 4, 30);
    EXPECT_EQ(KwGradientColorCount(bgsDown, tall, 0), 30);
    EXPECT_EQ(KwGradientColorCount(bgsDown, tall, 500), 30);
    EXPECT_EQ(KwGradientColorCount(bgsDown, tall, 7), 7);
    EXPECT_EQ(KwGradientColorCount(bgsLeft, tall, 0), 4);
    EXPECT_EQ(KwGradientColorCount(bgsDown, TRect(0, 0, 4, 300), 0), 100);
    EXPECT_EQ(KwGradientColorCount(bgsDown, tall, -1), 0);
    EXPECT_EQ(KwGradientColorCount(bgsSolid, tall, 0), 0);
    EXPECT_EQ(KwGradientColorCount(bgsDown, TRect(0, 30, 4, 0), 0), 0);
    EXPECT_EQ(KwGradientColorCount(bgsDown, TRect(INT32_MIN, 0, INT32_MAX, 10), 0), 0);
}

TEST_F(GradientTest, MirroredStylesSampleEverySecondEntry) {
    const auto bands = KwGradientBands(bgsVertOut, TRect(0, 0, 3, 7), 7);
    std::vector<int> entries;
    for (const auto& band : bands)
        entries.push_back(band.Entry);
    EXPECT_EQ(entries, (std::vector<int>{0, 2, 4, 4, 2, 0}));
    // Six bands over seven rows laid with MulDiv: 7/6 = 1.17 -> 1, 2.33 -> 2, 3.5 -> 4 ...
    EXPECT_EQ(bands[2].Rect, TRect(0, 2, 3, 4));
    EXPECT_EQ(bands[3].Rect, TRect(0, 4, 3, 5));
    EXPECT_TRUE(KwGradientBands(bgsHorzIn, TRect(0, 0, 1, 1), 1).empty());
}

TEST_F(GradientTest, SmallGradientsArePixelExact) {
    BlankBitmap down(2, 3);
    KwDrawGradient(down.Canvas(), TRect(0, 0, 2, 3), bgsDown, kRed, kBlue, 0, nullptr, false, 0);
    for (int x = 0; x < 2; ++x) {
        EXPECT_EQ(down.Pixel(x, 0), RGB(255, 0, 0));
        EXPECT_EQ(down.Pixel(x, 1), RGB(170, 0, 85));
        EXPECT_EQ(down.Pixel(x, 2), RGB(85, 0, 170));
    }
    // Five rows, two colours asked, mirrored: M = 1, two bands of the start colour's entry.
    BlankBitmap out(7, 5);
    KwDrawGradient(out.Canvas(), TRect(0, 0, 7, 5), bgsVertOut, kRed, kBlue, 0, nullptr, false, 2);
    EXPECT_EQ(CountPixels(out, kRed), 35);
}

// Every gradient style at every size and band count covers its rectangle exactly, stays
// constant across the bands, starts with the table's first colour and changes colour exactly
// at the band edges.
TEST_F(GradientTest, EveryStyleCoversItsRectangleInBands) {
    const TSize sizes[] = {{1, 1}, {2, 3}, {7, 5}, {100, 37}};
    for (const TKwBackGroundStyle style : kGradients) {
        for (const TSize size : sizes) {
            const int extent = Across(style) ? size.cx : size.cy;
            for (const int colors : {0, 1, 2, extent, extent + 1}) {
                SCOPED_TRACE(testing::Message() << int(style) << " " << size.cx << "x" << size.cy
                                                << " colors " << colors);
                BlankBitmap bitmap(size.cx + 2, size.cy + 2);
                const TRect rect(1, 1, size.cx + 1, size.cy + 1);
                KwDrawGradient(bitmap.Canvas(), rect, style, kRed, RGB(0, 200, 40), 0, nullptr,
                               false, colors);
                const int n = KwGradientColorCount(style, rect, colors);
                const bool nothing = Mirror(style) && n < 2;
                EXPECT_EQ(CountPixels(bitmap, kSentinel),
                          (size.cx + 2) * (size.cy + 2) - (nothing ? 0 : size.cx * size.cy));
                if (nothing)
                    continue;
                const auto table = KwGradientTable(style, kRed, RGB(0, 200, 40), n);
                EXPECT_EQ(bitmap.Pixel(1, 1), table[0] & 0xFFFFFF);
                int changes = 0;
                for (int i = 1; i < extent; ++i) {
                    const TColor prev = Across(style) ? bitmap.Pixel(i, 1) : bitmap.Pixel(1, i);
                    const TColor here =
                        Across(style) ? bitmap.Pixel(i + 1, size.cy) : bitmap.Pixel(size.cx, i + 1);
                    changes += prev != here;
                }
                const int parts = Mirror(style) ? 2 * (n / 2) : n;
                // Mirrored halves meet in one band colour; equal neighbouring entries of a
                // short table may also repeat.
                EXPECT_LE(changes, parts - 1);
                EXPECT_GE(changes, Mirror(style) ? 0 : (n > 1 ? 1 : 0));
            }
        }
    }
}

// Vertical bands painted under a clip and a moved viewport are the same pixels, where they may
// go, as on a plain canvas.
TEST_F(GradientTest, VerticalBandsKeepToTheClipAndTheViewport) {
    for (const TKwBackGroundStyle style : {bgsRight, bgsHorzIn}) {
        BlankBitmap plain(40, 20);
        KwDrawGradient(plain.Canvas(), TRect(5, 2, 37, 18), style, kRed, kBlue, 0, nullptr, false,
                       0);
        BlankBitmap moved(40, 20);
        TCanvas canvas(moved);
        const TRegion clip(TRect(10, 0, 30, 12));
        canvas.SetClipRegion(&clip);
        SetViewportOrgEx(canvas.Handle(), 5, 2, nullptr);
        KwDrawGradient(canvas, TRect(0, 0, 32, 16), style, kRed, kBlue, 0, nullptr, false, 0);
        for (int y = 0; y < 20; ++y) {
            for (int x = 0; x < 40; ++x) {
                const bool inside = clip.Contains(x, y);
                EXPECT_EQ(moved.Pixel(x, y), inside ? plain.Pixel(x, y) : kSentinel)
                    << int(style) << " " << x << "," << y;
            }
        }
    }
}

TEST_F(GradientTest, EightBitDisplaysPaintPaletteColours) {
    SetScreenBitsPerPixelForTesting(8);
    BlankBitmap bitmap(1, 40);
    KwDrawGradient(bitmap.Canvas(), TRect(0, 0, 1, 40), bgsDown, RGB(255, 0, 0), RGB(0, 0, 255), 0,
                   nullptr, false, 0);
    for (int y = 0; y < 40; ++y) {
        const TColor c = bitmap.Pixel(0, y);
        const bool cube =
            GetRValue(c) % 51 == 0 && GetGValue(c) % 51 == 0 && GetBValue(c) % 51 == 0;
        EXPECT_TRUE(cube || c == RGB(128, 0, 0) || c == RGB(0, 0, 128) || c == RGB(128, 0, 128))
            << y << " " << std::hex << c;
    }
    EXPECT_EQ(bitmap.Pixel(0, 0), RGB(255, 0, 0));
}

TEST_F(GradientTest, SolidGridAndBadArguments) {
    BlankBitmap bitmap(4, 3);
    KwDrawGradient(bitmap.Canvas(), TRect(1, 0, 3, 2), bgsSolid, 0, 0, kBlue, nullptr, false, 0);
    EXPECT_EQ(Picture(bitmap, kBlue), (std::vector<std::string>{".##.", ".##.", "...."}));

    KwDrawGradient(bitmap.Canvas(), TRect(0, 0, 4, 3), bgsGrid, 0, 0, kRed, nullptr, false, 0);
    EXPECT_EQ(Picture(bitmap, kRed), (std::vector<std::string>{"?#?#", "#?#?", "?#?#"}));
    EXPECT_EQ(bitmap.Pixel(0, 0), clWhite);
    const TBitmap& grid = KwCreateBrushGrid(kBlue);
    EXPECT_EQ(grid.Width(), 8);
    EXPECT_EQ(grid.Pixel(0, 0), clWhite);
    EXPECT_EQ(grid.Pixel(1, 0), kBlue);
    EXPECT_EQ(grid.Pixel(7, 7), clWhite);
    EXPECT_EQ(&KwCreateBrushGrid(kRed), &grid);

    BlankBitmap untouched(3, 3);
    const TRect bad[] = {{2, 2, 1, 1}, {0, 0, 0, 3}, {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}};
    for (const TRect& rect : bad) {
        for (int style = 0; style < kKwBackGroundStyles + 2; ++style)
            KwDrawGradient(untouched.Canvas(), rect, static_cast<TKwBackGroundStyle>(style), kRed,
                           kBlue, kRed, nullptr, false, -5);
    }
    EXPECT_EQ(CountPixels(untouched, kSentinel), 9);
    KwDrawGradient(untouched.Canvas(), TRect(0, 0, 3, 3), bgsDown, kRed, kBlue, 0, nullptr, false,
                   -1);
    EXPECT_EQ(CountPixels(untouched, kSentinel), 9);
    // Extreme but representable coordinates clip to the bitmap.
    KwDrawGradient(untouched.Canvas(), TRect(INT32_MIN + 5, -3, 2, INT32_MAX - 10), bgsRight, kRed,
                   kBlue, 0, nullptr, false, 0);
    EXPECT_EQ(CountPixels(untouched, kSentinel), 3);
}

// Image styles read a package image; the fixture owns an application object and one package.
class GradientImageTest : public WithDrawing<DisplayTest> {
protected:
    void SetUp() override {
        WithDrawing::SetUp();
        StartApplication();
        images_ = std::make_unique<TKwPkgImages>();
        images_->SetPkgName(u"Main");
    }
    void TearDown() override {
        images_.reset();
        WithDrawing::TearDown();
    }
    // An image whose pixel (x, y) is RGB(10 + x, 20 + y, 30); the bottom-left one is see-through
    // in transparent mode.
    std::unique_ptr<TKwMemoryImage> Image(int w, int h) {
        TBitmap pixels(w, h);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x)
                pixels.SetPixel(x, y, RGB(10 + x, 20 + y, 30));
        }
        TMemoryStream stream;
        pixels.SaveToStream(stream);
        TKwPkgImagesImage& image = images_->Images().Add(id_);
        LoadNative(image, stream.Bytes(), TBitmap::StaticClass());
        return TKwMemoryImage::CreatePtr(*images_->Images().FindId(id_++));
    }
    static TColor At(int x, int y) { return RGB(10 + x, 20 + y, 30); }
    // An image style over the whole bitmap, or over `rect` when given.
    static void Paint(TBitmap& b, TKwBackGroundStyle style, TColor solid, TKwMemoryImage* image,
                      bool transparent = false, TRect rect = {}) {
        if (rect.IsEmpty())
            rect = TRect(0, 0, b.Width(), b.Height());
        KwDrawGradient(b.Canvas(), rect, style, 0, 0, solid, image, transparent, 0);
    }

    std::unique_ptr<TKwPkgImages> images_;
    int id_ = 0;
};

TEST_F(GradientImageTest, TilesAreCutNeverScaled) {
    auto image = Image(4, 3);
    BlankBitmap bitmap(12, 9);
    Paint(bitmap, bgsTileImage, kRed, image.get(), false, TRect(1, 1, 11, 6));
    EXPECT_EQ(bitmap.Pixel(1, 1), At(0, 0));
    EXPECT_EQ(bitmap.Pixel(5, 1), At(0, 0));
    EXPECT_EQ(bitmap.Pixel(10, 5), At(1, 1));  // third tile cut to 2 x 2
    EXPECT_EQ(bitmap.Pixel(8, 3), At(3, 2));
    EXPECT_EQ(CountPixels(bitmap, kSentinel), 12 * 9 - 10 * 5);
}

TEST_F(GradientImageTest, AnchorsCropLargeImagesAndSurroundSmallOnesWithTheSolidColour) {
    auto big = Image(9, 7);
    BlankBitmap bitmap(5, 3);
    Paint(bitmap, bgsCenter, kRed, big.get());
    EXPECT_EQ(bitmap.Pixel(0, 0), At(2, 2));  // (9 - 5) div 2, (7 - 3) div 2
    EXPECT_EQ(bitmap.Pixel(4, 2), At(6, 4));
    Paint(bitmap, bgsRightBottom, kRed, big.get());
    EXPECT_EQ(bitmap.Pixel(4, 2), At(8, 6));

    auto dot = Image(1, 1);
    for (int anchor = bgsLeftTop; anchor <= bgsRightBottom; ++anchor) {
        BlankBitmap small(5, 3);
        Paint(small, static_cast<TKwBackGroundStyle>(anchor), kRed, dot.get());
        const int h = (anchor - bgsLeftTop) / 3;
        const int v = (anchor - bgsLeftTop) % 3;
        const int x = h == 0 ? 0 : h == 1 ? 2 : 4;
        const int y = v == 0 ? 0 : v == 1 ? 1 : 2;
        EXPECT_EQ(small.Pixel(x, y), At(0, 0)) << anchor;
        EXPECT_EQ(CountPixels(small, kRed), 14) << anchor;
    }
}

TEST_F(GradientImageTest, StretchTransparencyAndMissingImages) {
    auto dot = Image(1, 1);
    BlankBitmap bitmap(4, 2);
    Paint(bitmap, bgsStretchImage, kRed, dot.get());
    EXPECT_EQ(CountPixels(bitmap, At(0, 0)), 8);
    // The single pixel is the bottom-left one, so transparency shows the solid colour.
    Paint(bitmap, bgsStretchImage, kBlue, dot.get(), true);
    EXPECT_EQ(CountPixels(bitmap, kBlue), 8);

    auto big = Image(6, 4);
    Paint(bitmap, bgsTileImage, kBlue, big.get(), true);
    EXPECT_EQ(bitmap.Pixel(0, 0), At(0, 0));
    EXPECT_EQ(bitmap.Pixel(3, 1), At(3, 1));

    TKwMemoryImage none;
    for (TKwMemoryImage* missing : {static_cast<TKwMemoryImage*>(nullptr), &none}) {
        Paint(bitmap, bgsCenter, kRed, missing);
        EXPECT_EQ(CountPixels(bitmap, kRed), 8);
        Paint(bitmap, bgsTileImage, kBlue, missing);
        EXPECT_EQ(CountPixels(bitmap, kBlue), 8);
    }
}

}  // namespace
}  // namespace kw
