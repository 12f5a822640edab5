#include "drawing/backgrounds.h"

#include "display/sets_fixture.h"
#include "drawing/gradient.h"
#include "drawing/pen_brush.h"
#include "drawing/shape_styles.h"
#include "drawing_fixture.h"
#include "platform/graphics/canvas.h"

namespace kw {
namespace {

using BackGroundTest = WithDrawing<SetsTest>;

bool SamePixels(const TBitmap& a, const TBitmap& b) {
    for (int y = 0; y < a.Height(); ++y) {
        for (int x = 0; x < a.Width(); ++x) {
            if (a.Pixel(x, y) != b.Pixel(x, y))
                return false;
        }
    }
    return true;
}

TEST_F(BackGroundTest, SetsPaintTheirEntryOrFallBackToTheirColour) {
    TKwPkgDisplay& display = StartApplication();
    TKwPkgDisplaySetBackGround& panel = display.SetsBackGround().Add(u"Panel");
    panel.SetStyle(bgsSolid);
    panel.SetSolidColor(RGB(10, 20, 30));
    TKwSetBackGround set;
    set.SetName(u"Panel");

    BlankBitmap bitmap(6, 4);
    KwPaintBackGround(bitmap.Canvas(), TRect(1, 1, 5, 3), &set);
    EXPECT_EQ(CountPixels(bitmap, RGB(10, 20, 30)), 8);
    EXPECT_EQ(bitmap.Canvas().Brush().Color, clWhite);  // restored
    KwPaintBackGround(bitmap.Canvas(), TRect(0, 0, 6, 4), nullptr);
    EXPECT_EQ(CountPixels(bitmap, kSentinel), 16);

    // A gradient entry paints exactly what the engine paints for its values.
    panel.SetStyle(bgsVertOut);
    panel.SetStartGraColor(RGB(200, 0, 0));
    panel.SetEndGraColor(RGB(0, 0, 200));
    BlankBitmap direct(6, 4);
    KwDrawGradient(direct.Canvas(), TRect(1, 1, 5, 3), bgsVertOut, RGB(200, 0, 0), RGB(0, 0, 200),
                   RGB(10, 20, 30), nullptr, false, 0);
    KwPaintBackGround(bitmap.Canvas(), TRect(1, 1, 5, 3), &set);
    EXPECT_TRUE(SamePixels(bitmap, direct));
    // Band counts pass through: one band of the table's first entry.
    panel.SetStyle(bgsDown);
    KwPaintBackGroundEx(bitmap.Canvas(), TRect(0, 0, 6, 4), set, 1);
    EXPECT_EQ(CountPixels(bitmap, RGB(200, 0, 0)), 24);

    // A set of no entry paints the colour its default chain ends with.
    TKwSetBackGround missing;
    missing.SetName(u"Nowhere");
    KwPaintBackGround(bitmap.Canvas(), TRect(0, 0, 6, 4), &missing);
    EXPECT_EQ(CountPixels(bitmap, ColorToRGB(missing.Color())), 24);
    EXPECT_EQ(missing.Info(), nullptr);
    // Unbound pens and brushes end at the library defaults.
    TKwFullShape shape;
    EXPECT_EQ(shape.Pen().SetColor().Color(), KwSetColBox().Color());
    EXPECT_EQ(shape.Brush().SetBackGround().Color(), KwSetBackGround().Color());
}

}  // namespace
}  // namespace kw
