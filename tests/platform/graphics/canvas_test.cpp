#include <gtest/gtest.h>

#include <vector>

#include "platform/graphics/bitmap.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/device.h"
#include "platform/graphics/region.h"

namespace kw {
namespace {

// The bitmap's pixels as rows of characters, one per colour in `legend` ('?' for others).
std::vector<std::string> Picture(const TBitmap& bitmap,
                                 const std::vector<std::pair<char, TColor>>& legend) {
    std::vector<std::string> rows;
    for (int y = 0; y < bitmap.Height(); ++y) {
        std::string row;
        for (int x = 0; x < bitmap.Width(); ++x) {
            char c = '?';
            for (const auto& [key, colour] : legend) {
                if (bitmap.Pixel(x, y) == colour)
                    c = key;
            }
            row += c;
        }
        rows.push_back(row);
    }
    return rows;
}

const std::vector<std::pair<char, TColor>> kLegend = {
    {'.', clWhite}, {'r', clRed}, {'b', clBlue}, {'g', clLime}, {'k', clBlack}};

TEST(CanvasTest, FillRectExcludesRightAndBottomEdgesAndHonoursTheClip) {
    TBitmap bitmap(5, 4);
    bitmap.Canvas().Brush().Color = clRed;
    bitmap.Canvas().FillRect(TRect(1, 1, 3, 3));
    bitmap.Canvas().FillRect(TRect(4, 2, 3, 9));  // inverted: nothing
    EXPECT_EQ(Picture(bitmap, kLegend),
              (std::vector<std::string>{".....", ".rr..", ".rr..", "....."}));

    const TRegion clip = TRegion::FromRects(std::vector<TRect>{{0, 0, 2, 4}, {4, 3, 5, 4}});
    bitmap.Canvas().SetClipRegion(&clip);
    bitmap.Canvas().Brush().Color = clBlue;
    bitmap.Canvas().FillRect(TRect(-10, -10, 10, 10));
    bitmap.Canvas().SetPixel(3, 0, clLime);
    EXPECT_EQ(Picture(bitmap, kLegend),
              (std::vector<std::string>{"bb...", "bbr..", "bbr..", "bb..b"}));
    bitmap.Canvas().SetClipRegion(nullptr);
    bitmap.Canvas().Brush().Style = TBrushStyle::bsClear;
    bitmap.Canvas().FillRect(TRect(0, 0, 5, 4));
    EXPECT_EQ(bitmap.Pixel(4, 0), clWhite);
}

TEST(CanvasTest, DrawSkipsTheTransparentColourAndBlendsAlpha) {
    TBitmap sprite(3, 1);
    sprite.SetPixel(0, 0, clRed);
    sprite.SetPixel(1, 0, clLime);
    sprite.SetPixel(2, 0, clBlue);
    sprite.SetTransparent(true);
    sprite.SetTransparentColor(clLime);
    TBitmap target(4, 2);
    target.Canvas().Brush().Color = clBlack;
    target.Canvas().FillRect(TRect(0, 0, 4, 2));
    target.Canvas().Draw(1, 1, sprite);
    EXPECT_EQ(Picture(target, kLegend), (std::vector<std::string>{"kkkk", "krkb"}));

    TBitmap glass(2, 1, TPixelFormat::pf32bit);
    glass.SetPixelArgb(0, 0, 0x80FF0000);  // half red
    glass.SetPixelArgb(1, 0, 0x000000FF);  // see-through blue
    glass.SetAlphaFormat(TAlphaFormat::afDefined);
    TBitmap white(2, 1);
    white.Canvas().Draw(0, 0, glass);
    EXPECT_EQ(white.Pixel(0, 0), RGB(255, 127, 127));
    EXPECT_EQ(white.Pixel(1, 0), clWhite);
}

TEST(CanvasTest, StretchDrawPicksTheNearestSourcePixel) {
    TBitmap source(2, 2);
    source.SetPixel(0, 0, clRed);
    source.SetPixel(1, 1, clBlue);
    TBitmap target(6, 6);
    target.Canvas().StretchDraw(TRect(0, 0, 6, 6), source);
    EXPECT_EQ(Picture(target, kLegend), (std::vector<std::string>{"rrr...", "rrr...", "rrr...",
                                                                  "...bbb", "...bbb", "...bbb"}));
    // Halving lands each sample between two source pixels; either is the nearest.
    TBitmap small(3, 3);
    small.Canvas().StretchDraw(TRect(0, 0, 3, 3), target);
    EXPECT_EQ(small.Pixel(0, 0), clRed);
    EXPECT_EQ(small.Pixel(2, 2), clBlue);
}

// A one-row source stretched far down reaches the last row, and a plain copy from another
// bitmap keeps to the clip and the viewport and makes the copied pixels opaque.
TEST(CanvasTest, StretchedAndPlainCopiesReachEveryPixelTheyShould) {
    TBitmap row(3, 1, TPixelFormat::pf32bit);
    row.SetPixel(0, 0, clRed);
    row.SetPixel(1, 0, clLime);
    row.SetPixel(2, 0, clBlue);
    TBitmap tall(3, 1500, TPixelFormat::pf24bit);
    tall.Canvas().DrawBitmap(TRect(0, 0, 3, 1500), row, TRect(0, 0, 3, 1), TBlendMode::bmCopy);
    for (int y : {0, 749, 1495, 1499})
        EXPECT_EQ(tall.Pixel(2, y), clBlue) << y;

    TBitmap see(2, 2, TPixelFormat::pf32bit);
    reinterpret_cast<std::uint32_t*>(see.ScanLine(0))[0] = 0x00123456;  // no alpha
    TBitmap target(6, 4, TPixelFormat::pf24bit);
    TCanvas canvas(target);
    const TRegion clip(TRect(0, 0, 4, 4));
    canvas.SetClipRegion(&clip);
    SetViewportOrgEx(canvas.Handle(), 3, 1, nullptr);
    canvas.DrawBitmap(TRect(0, 0, 2, 2), see, TRect(0, 0, 2, 2), TBlendMode::bmCopy);
    EXPECT_EQ(reinterpret_cast<const std::uint32_t*>(target.ScanLine(1))[3], 0xFF123456u);
    EXPECT_EQ(target.Pixel(4, 1), clWhite);  // outside the clip
    EXPECT_EQ(target.Pixel(3, 3), clWhite);  // below the copy
}

TEST(CanvasTest, CopyRectAppliesTheCopyModeAndCopiesOverlappingAreas) {
    TBitmap bitmap(4, 1);
    bitmap.SetPixel(0, 0, clRed);
    bitmap.SetPixel(1, 0, clBlue);
    TCanvas& canvas = bitmap.Canvas();
    canvas.CopyRect(TRect(1, 0, 3, 1), canvas, TRect(0, 0, 2, 1));
    EXPECT_EQ(Picture(bitmap, kLegend), (std::vector<std::string>{"rrb."}));

    canvas.SetCopyMode(cmDstInvert);
    canvas.CopyRect(TRect(2, 0, 4, 1), canvas, TRect(0, 0, 2, 1));
    EXPECT_EQ(bitmap.Pixel(2, 0), RGB(255, 255, 0));
    EXPECT_EQ(bitmap.Pixel(3, 0), clBlack);

    canvas.SetCopyMode(cmSrcAnd);
    TBitmap green(1, 1);
    green.SetPixel(0, 0, RGB(0, 255, 255));
    canvas.CopyRect(TRect(2, 0, 3, 1), green.Canvas(), TRect(0, 0, 1, 1));
    EXPECT_EQ(bitmap.Pixel(2, 0), RGB(0, 255, 0));
}

TEST(CanvasTest, MonochromeTargetsTakeTheNearerPaletteColour) {
    TBitmap mask(4, 1, TPixelFormat::pf1bit);
    mask.Canvas().Brush().Color = RGB(30, 30, 30);
    mask.Canvas().FillRect(TRect(1, 0, 3, 1));
    EXPECT_EQ(Picture(mask, kLegend), (std::vector<std::string>{".kk."}));

    TBitmap colour(4, 1);
    colour.Canvas().Draw(0, 0, mask);
    EXPECT_EQ(Picture(colour, kLegend), (std::vector<std::string>{".kk."}));
    mask.Canvas().SetCopyMode(cmDstInvert);
    mask.Canvas().CopyRect(TRect(0, 0, 4, 1), colour.Canvas(), TRect(0, 0, 4, 1));
    EXPECT_EQ(Picture(mask, kLegend), (std::vector<std::string>{"k..k"}));
}

TEST(CanvasTest, DrawsWithItsOwnToolsWhateverWasSelectedThroughTheHandle) {
    TBitmap bitmap(8, 3);
    TCanvas& canvas = bitmap.Canvas();
    canvas.Pen().Color = clRed;
    canvas.MoveTo(0, 0);
    canvas.LineTo(4, 0);
    // Library code selects its own pen and brush with the raw calls and leaves them there.
    const HPEN blue = CreatePen(PS_SOLID, 1, clBlue);
    SelectObject(canvas.Handle(), blue);
    SelectObject(canvas.Handle(), GetStockObject(NULL_BRUSH));
    canvas.MoveTo(0, 1);
    canvas.LineTo(4, 1);
    canvas.Brush().Color = clLime;
    canvas.FillRect(TRect(5, 0, 7, 2));
    EXPECT_EQ(Picture(bitmap, kLegend),
              (std::vector<std::string>{"rrrr.gg.", "rrrr.gg.", "........"}));
    DeleteObject(blue);
    // The pen mode is part of the pen: xor twice restores.
    canvas.Pen().Mode = TPenMode::pmXor;
    canvas.Pen().Color = clWhite;
    canvas.MoveTo(0, 2);
    canvas.LineTo(3, 2);
    EXPECT_EQ(Picture(bitmap, kLegend)[2], "kkk.....");
    canvas.MoveTo(0, 2);
    canvas.LineTo(3, 2);
    EXPECT_EQ(Picture(bitmap, kLegend)[2], "........");
}

TEST(CanvasTest, ShapesUsePenAndBrushAndBrushCopyReplacesOneColour) {
    TBitmap bitmap(6, 4);
    TCanvas& canvas = bitmap.Canvas();
    canvas.Brush().Color = clRed;
    canvas.Pen().Color = clBlue;
    canvas.Rectangle(TRect(0, 0, 4, 4));
    EXPECT_EQ(Picture(bitmap, kLegend),
              (std::vector<std::string>{"bbbb..", "brrb..", "brrb..", "bbbb.."}));
    canvas.Pen().Style = TPenStyle::psClear;
    canvas.Brush().Color = clLime;
    canvas.Rectangle(TRect(0, 0, 4, 4));  // without a pen: one pixel short
    EXPECT_EQ(Picture(bitmap, kLegend)[2], "gggb..");
    EXPECT_EQ(Picture(bitmap, kLegend)[3], "bbbb..");

    TBitmap sprite(3, 1);
    sprite.SetPixel(0, 0, clRed);
    sprite.SetPixel(1, 0, clFuchsia);  // the colour to replace
    sprite.SetPixel(2, 0, clBlue);
    TBitmap target(3, 2);
    target.Canvas().Brush().Color = clBlack;
    target.Canvas().FillRect(TRect(0, 0, 3, 2));
    target.Canvas().Brush().Color = clLime;
    target.Canvas().BrushCopy(TRect(0, 0, 3, 1), sprite, TRect(0, 0, 3, 1), clFuchsia);
    target.Canvas().Brush().Style = TBrushStyle::bsClear;
    target.Canvas().BrushCopy(TRect(0, 1, 3, 2), sprite, TRect(0, 0, 3, 1), clFuchsia);
    EXPECT_EQ(Picture(target, kLegend), (std::vector<std::string>{"rgb", "rkb"}));
}

TEST(CanvasTest, TextUsesTheCanvasFontAndShowsTheBrushBehind) {
    TBitmap bitmap(30, 12);
    TCanvas& canvas = bitmap.Canvas();
    canvas.Font().SetName(u"Kw Fixed");
    canvas.Font().SetHeight(-8);
    canvas.Font().SetColor(clBlue);
    EXPECT_EQ(canvas.TextWidth(u"abcd"), 24);
    EXPECT_EQ(canvas.TextHeight(u"x"), 10);
    canvas.Brush().Color = clRed;
    canvas.TextOut(1, 1, u"I");
    EXPECT_EQ(bitmap.Pixel(1, 1), clRed);
    EXPECT_EQ(bitmap.Pixel(3, 5), clBlue);
    canvas.Brush().Style = TBrushStyle::bsClear;
    canvas.TextRect(TRect(10, 0, 13, 12), 10, 1, u"MM");
    EXPECT_EQ(bitmap.Pixel(10, 5), clBlue);
    EXPECT_EQ(bitmap.Pixel(16, 5), clWhite);  // clipped away
}

}  // namespace
}  // namespace kw
