#include "drawing/backgrounds.h"

#include "display/sets_fixture.h"
#include "drawing/gradient.h"
#include "drawing/pen_brush.h"
#include "drawing/shape_styles.h"
#include "drawing_fixture.h"
#include "platform/graphics/canvas.h"

namespace kw {
namespace {

class BackGroundTest : public SetsTest {
protected:
    void SetUp() override {
        SetsTest::SetUp();
        DrawingTest::ResetDrawing();
    }
    void TearDown() override {
        DrawingTest::ResetDrawing();
        SetsTest::TearDown();
    }
};

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
}

TEST_F(BackGroundTest, StyleObjectsFireOnlyForRealChangesAndOnceForAnAssign) {
    TKwFullShape shape;
    int changes = 0;
    shape.OnChange = [&](TKwStyleObject&) { ++changes; };
    EXPECT_EQ(shape.Shape(), shaRectangle);
    EXPECT_EQ(shape.BorderStyle(), bosSingle);
    EXPECT_EQ(shape.Pen().Style(), pesClear);
    EXPECT_EQ(shape.Pen().Width(), 1);
    EXPECT_EQ(shape.Brush().Style(), brsSolid);
    shape.SetShape(shaRectangle);
    EXPECT_EQ(changes, 0);
    shape.SetShape(shaStar);
    shape.Pen().SetWidth(3);  // a sub-object's change reaches the owner
    EXPECT_EQ(changes, 2);

    TKwFullShape other;
    other.SetOrientation(sorLeft);
    other.SetBorderWidth(4);
    other.Brush().SetStyle(brsGrid);
    shape.Assign(&other);
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(shape.Shape(), shaRectangle);
    EXPECT_EQ(shape.Orientation(), sorLeft);
    EXPECT_EQ(shape.Pen().Width(), 1);
    EXPECT_EQ(shape.Brush().Style(), brsGrid);
    shape.Assign(&other);
    EXPECT_EQ(changes, 3);

    // Unbound pens and brushes end at the library defaults.
    StartApplication();
    EXPECT_EQ(shape.Pen().SetColor().Color(), KwSetColBox().Color());
    EXPECT_EQ(shape.Brush().SetBackGround().Color(), KwSetBackGround().Color());
}

}  // namespace
}  // namespace kw
