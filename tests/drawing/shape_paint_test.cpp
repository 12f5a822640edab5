#include "drawing/shape_paint.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "display/sets_fixture.h"
#include "drawing/decorations.h"
#include "drawing/gradient.h"
#include "drawing/shape_styles.h"
#include "drawing/shapes.h"
#include "drawing_fixture.h"
#include "golden.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/graphic.h"
#include "platform/graphics/region.h"
#include "platform/text/unicode.h"

namespace kw {
namespace {

constexpr TColor kInk = RGB(200, 30, 30);
constexpr TColor kLine = RGB(20, 20, 160);
constexpr TKwShapeOrientation kTurns[] = {sorUp, sorLeft, sorRight, sorDown};
const TSize kSizes[] = {{7, 7}, {15, 15}, {29, 20}};

using ShapePaintTest = DrawingTest;

// How far the pixel lies from the nearest edge of the shape's polygons (or its rectangle).
double DistanceToEdges(const TKwShapeOutline& outline, int x, int y) {
    std::vector<std::vector<TPoint>> polygons = outline.Polygons;
    if (polygons.empty()) {
        const TRect& r = outline.Rect;
        polygons.push_back({{r.Left, r.Top},
                            {r.Right - 1, r.Top},
                            {r.Right - 1, r.Bottom - 1},
                            {r.Left, r.Bottom - 1}});
    }
    double best = 1e9;
    for (const auto& polygon : polygons) {
        for (std::size_t i = 0; i < polygon.size(); ++i) {
            const TPoint a = polygon[i];
            const TPoint b = polygon[(i + 1) % polygon.size()];
            const double dx = b.X - a.X, dy = b.Y - a.Y;
            const double length = dx * dx + dy * dy;
            double t = length == 0 ? 0 : ((x - a.X) * dx + (y - a.Y) * dy) / length;
            t = std::clamp(t, 0.0, 1.0);
            best = std::min(best, std::hypot(a.X + t * dx - x, a.Y + t * dy - y));
        }
    }
    return best;
}

// A filled shape without outline covers exactly its region; with an outline, the fill stays
// inside the region and every outline pixel lies within a pixel of one of its polygon edges.
TEST_F(ShapePaintTest, FillsMatchTheRegionAndOutlinesRunOnItsBoundary) {
    for (int s = 0; s < kKwShapeCount; ++s) {
        const auto shape = static_cast<TKwShapes>(s);
        if (shape == shaEllipse || shape == shaRoundRect || shape == shaRectangle)
            continue;  // the device's own rules relate these primitives to their regions
        for (const TSize size : kSizes) {
            for (const auto turn : kTurns) {
                const TRect rect(2, 3, 2 + size.cx, 3 + size.cy);
                SCOPED_TRACE(testing::Message() << "shape " << s << " turn " << int(turn) << " "
                                                << size.cx << "x" << size.cy);
                const TRegion region = KwShapeRegion(rect, shape, false, turn);
                const TKwShapeOutline outline = KwShapeOutline(rect, shape, false, turn);
                BlankBitmap filled(size.cx + 5, size.cy + 6);
                filled.Canvas().Pen().Style = TPenStyle::psClear;
                filled.Canvas().Brush().Color = kInk;
                KwDrawShapeEx(filled.Canvas(), rect, shape, false, turn);
                for (int y = 0; y < filled.Height(); ++y) {
                    for (int x = 0; x < filled.Width(); ++x)
                        ASSERT_EQ(filled.Pixel(x, y) == kInk, region.Contains(x, y))
                            << x << "," << y;
                }
                BlankBitmap outlined(size.cx + 5, size.cy + 6);
                outlined.Canvas().Pen().Color = kLine;
                outlined.Canvas().Brush().Color = kInk;
                KwDrawShapeEx(outlined.Canvas(), rect, shape, false, turn);
                int lines = 0;
                for (int y = 0; y < outlined.Height(); ++y) {
                    for (int x = 0; x < outlined.Width(); ++x) {
                        const TColor c = outlined.Pixel(x, y);
                        if (c == kInk)
                            ASSERT_TRUE(region.Contains(x, y)) << x << "," << y;
                        if (c != kLine)
                            continue;
                        ++lines;
                        ASSERT_LE(DistanceToEdges(outline, x, y), 1.0) << x << "," << y;
                        ASSERT_TRUE(rect.Contains(x, y)) << x << "," << y;
                    }
                }
                EXPECT_GT(lines, 0);
            }
        }
    }
}

// Golden pictures of every shape: one sheet per shape with its four turns, mirrored and not,
// at three sizes, filled and outlined. KW_UPDATE_GOLDEN=1 writes them instead of comparing.
TEST_F(ShapePaintTest, EveryShapeMatchesItsGoldenPicture) {
    constexpr int kCell = 32;
    for (int s = 0; s < kKwShapeCount; ++s) {
        const auto shape = static_cast<TKwShapes>(s);
        BlankBitmap sheet(kCell * 8, kCell * 3, clWhite);
        for (int row = 0; row < 3; ++row) {
            for (int col = 0; col < 8; ++col) {
                const TRect rect =
                    TRect::Bounds(col * kCell + 2, row * kCell + 2, kSizes[row].cx, kSizes[row].cy);
                KwDrawSolidShape(sheet.Canvas(), rect, dssSolid, shape, col >= 4, kTurns[col % 4],
                                 brsSolid, kInk, pesSolid, kLine, 1);
            }
        }
        test::ExpectMatchesGolden(sheet, "drawing/golden/shape_" + std::to_string(s) + ".png");
    }
}

TEST_F(ShapePaintTest, SolidShapesInsetTheirPenAndKeepHatchGapsTransparent) {
    // Width 3 shrinks the rectangle by 1 on every side; width 2 on the left and top only.
    BlankBitmap wide(12, 12);
    KwDrawSolidShape(wide.Canvas(), TRect(1, 1, 11, 11), dssLines, shaRectangle, false, sorUp,
                     brsClear, 0, pesSolid, kLine, 3);
    EXPECT_EQ(wide.Pixel(1, 5), kLine);
    EXPECT_EQ(wide.Pixel(10, 5), kLine);
    EXPECT_EQ(wide.Pixel(0, 5), kSentinel);
    EXPECT_EQ(wide.Pixel(11, 5), kSentinel);
    EXPECT_EQ(wide.Pixel(5, 5), kSentinel);

    BlankBitmap hatched(16, 16);
    KwDrawSolidShape(hatched.Canvas(), TRect(0, 0, 16, 16), dssSolid, shaRectangle, false, sorUp,
                     brsCross, kInk, pesClear, 0, 1);
    const int ink = CountPixels(hatched, kInk);
    EXPECT_GT(ink, 16);
    EXPECT_EQ(ink + CountPixels(hatched, kSentinel), 256);  // the gaps stay untouched
    // A white brush takes black as its key colour, so white hatch lines still show.
    KwDrawSolidShape(hatched.Canvas(), TRect(0, 0, 16, 16), dssSolid, shaRectangle, false, sorUp,
                     brsHorizontal, clWhite, pesClear, 0, 1);
    EXPECT_GT(CountPixels(hatched, clWhite), 0);
    // The canvas's own pen and brush come back.
    EXPECT_EQ(hatched.Canvas().Brush().Color, clWhite);
    EXPECT_EQ(hatched.Canvas().Brush().Style, TBrushStyle::bsSolid);

    BlankBitmap mask(9, 9);
    KwDrawSolidShape(mask.Canvas(), TRect(0, 0, 9, 9), dssMask, shaTriangle, false, sorUp, brsSolid,
                     kInk, pesSolid, kLine, 1);
    EXPECT_EQ(CountPixels(mask, clBlack) + CountPixels(mask, clWhite), 81);
    EXPECT_EQ(mask.Pixel(4, 4), clBlack);
    EXPECT_EQ(mask.Pixel(0, 0), clWhite);
}

TEST_F(ShapePaintTest, GradientShapesPaintInsideTheShapeOnly) {
    BlankBitmap bitmap(20, 20);
    KwDrawGradientShape(bitmap.Canvas(), TRect(0, 0, 20, 20), bgsSolid, kInk, kLine, kInk,
                        shaEllipse, false, sorUp, nullptr, false, 1, pesSolid, false, 0);
    EXPECT_EQ(CountPixels(bitmap, kSentinel), 400);
    KwDrawGradientShape(bitmap.Canvas(), TRect(0, 0, 20, 20), bgsDown, RGB(255, 0, 0),
                        RGB(0, 0, 255), 0, shaTriangle, false, sorUp, nullptr, false, 1, pesSolid,
                        false, 0);
    EXPECT_EQ(bitmap.Pixel(0, 0), kSentinel);
    EXPECT_EQ(bitmap.Pixel(19, 0), kSentinel);
    const auto table = KwGradientTable(bgsDown, RGB(255, 0, 0), RGB(0, 0, 255), 20);
    EXPECT_EQ(bitmap.Pixel(10, 18), table[18] & 0xFFFFFF);
    EXPECT_EQ(bitmap.Pixel(9, 2), table[2] & 0xFFFFFF);
    // Shifted, each row shows the colour of the row above; the top takes the last row's.
    BlankBitmap pressed(20, 20);
    KwDrawGradientShape(pressed.Canvas(), TRect(0, 0, 20, 20), bgsDown, RGB(255, 0, 0),
                        RGB(0, 0, 255), 0, shaRectangle, false, sorUp, nullptr, false, 3, pesSolid,
                        true, 0);
    EXPECT_EQ(pressed.Pixel(10, 5), table[4] & 0xFFFFFF);
    EXPECT_EQ(pressed.Pixel(10, 0), table[19] & 0xFFFFFF);
}

// Only the visible part of a face is made off screen: cut to a small canvas anywhere, pressed or
// not, it shows exactly the pixels of the whole face.
TEST_F(ShapePaintTest, ShapesCutToTheCanvasMatchTheWholeFace) {
    struct Look {
        TKwShapes shape;
        TKwBackGroundStyle style;  // a gradient, or bgsSolid for a hatched solid shape
        bool shift;
    };
    auto paint = [](TCanvas& canvas, TPoint at, const Look& look) {
        const TRect face = TRect(0, 0, 60, 40).Offset(-at.X, -at.Y);
        if (look.style == bgsSolid) {
            KwDrawSolidShape(canvas, face, dssSolid, look.shape, false, sorUp, brsDiagCross,
                             RGB(255, 0, 0), pesSolid, RGB(0, 0, 255), 3);
            return;
        }
        KwDrawGradientShape(canvas, face, look.style, RGB(255, 0, 0), RGB(0, 0, 255), 0, look.shape,
                            false, sorUp, nullptr, false, 3, pesSolid, look.shift, 0);
    };
    for (const TKwShapes shape : {shaStar, shaRectangle}) {
        for (const Look look : {Look{shape, bgsRight, false}, Look{shape, bgsRight, true},
                                Look{shape, bgsDown, true}, Look{shape, bgsSolid, false}}) {
            BlankBitmap whole(60, 40);
            paint(whole.Canvas(), {0, 0}, look);
            for (const TPoint at : {TPoint{0, 0}, TPoint{20, 12}, TPoint{35, 25}}) {
                BlankBitmap cut(25, 15);
                paint(cut.Canvas(), at, look);
                int differing = 0;
                for (int y = 0; y < 15; ++y)
                    for (int x = 0; x < 25; ++x)
                        differing += cut.Pixel(x, y) != whole.Pixel(x + at.X, y + at.Y);
                EXPECT_EQ(differing, 0) << shape << " " << look.style << " " << look.shift << " at "
                                        << at.X << "," << at.Y;
            }
        }
    }
    // Pressed, a face shows the face moved one pixel down and right, wrapped around both ways.
    BlankBitmap flat(60, 40), pressed(60, 40);
    paint(flat.Canvas(), {0, 0}, {shaRectangle, bgsRight, false});
    paint(pressed.Canvas(), {0, 0}, {shaRectangle, bgsRight, true});
    int moved = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x)
            moved += pressed.Pixel(x, y) == flat.Pixel((x + 59) % 60, (y + 39) % 40);
    EXPECT_EQ(moved, 60 * 40);
}

using PaintShapeTest = WithDrawing<SetsTest>;

TEST_F(PaintShapeTest, BordersFillsAndShadows) {
    TKwPkgDisplay& display = StartApplication();
    display.SetsBackGround().Add(u"Face").SetSolidColor(kInk);
    TKwSetBackGround face;
    face.SetName(u"Face");

    // A single one-pixel border on a rectangle: the frame in the box colour, the face inside.
    BlankBitmap box(10, 8);
    KwPaintShape(box.Canvas(), TRect(0, 0, 10, 8), bosSingle, 1, shaRectangle, false, sorUp, false,
                 &face, nullptr, nullptr, nullptr, true, 0);
    const TColor boxColor = ColorToRGB(KwSetColBox().Color());
    EXPECT_EQ(box.Pixel(0, 0), boxColor);
    EXPECT_EQ(box.Pixel(9, 7), boxColor);
    EXPECT_EQ(box.Pixel(5, 4), kInk);
    EXPECT_EQ(CountPixels(box, boxColor), 2 * 10 + 2 * 6);

    // 3D: lit top-left, shaded bottom-right; pressed swaps them.
    const TColor light = ColorToRGB(KwSet3DLight().Color());
    const TColor shadow = ColorToRGB(KwSet3DShadow().Color());
    KwPaintShapeEx(box.Canvas(), TRect(0, 0, 10, 8), bos3D, shaRectangle, false, sorUp, false,
                   &face, nullptr, 1);
    EXPECT_EQ(box.Pixel(0, 3), light);
    EXPECT_EQ(box.Pixel(9, 3), shadow);
    KwPaintShapeEx(box.Canvas(), TRect(0, 0, 10, 8), bos3D, shaRectangle, false, sorUp, true, &face,
                   nullptr, 1);
    EXPECT_EQ(box.Pixel(0, 3), shadow);
    EXPECT_EQ(box.Pixel(9, 3), light);

    // The shadow is the silhouette in the shadow colour.
    TKwFullShape full;
    full.SetShape(shaRhombus);
    BlankBitmap silhouette(15, 15);
    KwPaintFullShapeShadow(silhouette.Canvas(), TRect(0, 0, 15, 15), full);
    const TColor shade = ColorToRGB(KwSetColShadow().Color());
    EXPECT_EQ(silhouette.Pixel(7, 7), shade);
    EXPECT_EQ(silhouette.Pixel(0, 0), kSentinel);
    EXPECT_EQ(CountPixels(silhouette, shade) + CountPixels(silhouette, kSentinel), 225);

    // A full shape fills from the given set inside its border.
    BlankBitmap filled(15, 15);
    full.Pen().SetStyle(pesSolid);
    KwPaintFullShape(filled.Canvas(), TRect(0, 0, 15, 15), full, &face);
    EXPECT_EQ(filled.Pixel(7, 7), kInk);
    EXPECT_EQ(filled.Pixel(0, 0), kSentinel);
}

TEST_F(PaintShapeTest, DecorationsAndBadArguments) {
    BlankBitmap frame(6, 5);
    KwDrawBox(frame.Canvas(), TRect(0, 0, 6, 5), kInk, kLine, false);
    EXPECT_EQ(Picture(frame, kInk),
              (std::vector<std::string>{"#####?", "#....?", "#....?", "#....?", "??????"}));
    EXPECT_EQ(frame.Pixel(5, 0), kLine);  // the dark line runs up to the top
    KwDrawBox(frame.Canvas(), TRect(0, 0, 6, 5), kInk, kLine, true);
    EXPECT_EQ(frame.Pixel(0, 2), kLine);
    EXPECT_EQ(frame.Pixel(5, 2), kInk);

    BlankBitmap corners(20, 20);
    KwPaintCorners(corners.Canvas(), TRect(0, 0, 20, 20), 20, 20, 4, 0);
    EXPECT_EQ(corners.Pixel(0, 0), clBlack);
    EXPECT_EQ(corners.Pixel(3, 0), clBlack);
    EXPECT_EQ(corners.Pixel(4, 0), kSentinel);  // lines end before their end point
    EXPECT_EQ(corners.Pixel(19, 19), clBlack);
    EXPECT_EQ(corners.Pixel(15, 19), kSentinel);
    EXPECT_EQ(corners.Pixel(10, 10), kSentinel);

    BlankBitmap limits(20, 20);
    KwPaintLimits(limits.Canvas(), TRect(0, 0, 20, 20), 20, 20, 10, 4, aliCenter, 0);
    EXPECT_EQ(limits.Pixel(6, 1), clGreen);
    EXPECT_EQ(limits.Pixel(13, 1), clGreen);
    EXPECT_EQ(limits.Pixel(10, 1), kSentinel);
    KwPaintLimits(limits.Canvas(), TRect(0, 0, 20, 20), 20, 20, 0, 4, aliLeft, 0);

    BlankBitmap untouched(8, 8);
    const TRect bad[] = {{5, 5, 1, 1}, {0, 0, 0, 0}, {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}};
    for (const TRect& rect : bad) {
        for (int s = 0; s < kKwShapeCount + 1; ++s) {
            const auto shape = static_cast<TKwShapes>(s);
            KwDrawSolidShape(untouched.Canvas(), rect, dssSolid, shape, false, sorUp, brsCross,
                             kInk, pesSolid, kLine, 2);
            KwDrawGradientShape(untouched.Canvas(), rect, bgsDown, kInk, kLine, kInk, shape, false,
                                sorUp, nullptr, false, 3, pesSolid, true, -4);
            KwPaintShapeEx(untouched.Canvas(), rect, bos3D, shape, true, sorDown, true, nullptr,
                           nullptr, 2);
        }
    }
    EXPECT_EQ(CountPixels(untouched, kSentinel), 64);
}

}  // namespace
}  // namespace kw
