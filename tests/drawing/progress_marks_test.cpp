#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "display/sets_fixture.h"
#include "drawing/backgrounds.h"
#include "drawing/marks.h"
#include "drawing/progress_bar.h"
#include "drawing_fixture.h"
#include "golden.h"
#include "platform/graphics/canvas.h"

namespace kw {
namespace {

class ElementTest : public WithDrawing<SetsTest> {
protected:
    void SetUp() override {
        WithDrawing::SetUp();
        entry = &StartApplication().SetsBackGround().Add(u"Bar");
        entry->SetStyle(bgsLeft);
        entry->SetStartGraColor(RGB(250, 0, 0));
        entry->SetEndGraColor(RGB(0, 0, 250));
        set.SetName(u"Bar");
    }
    // The whole background the bar is cut from, painted directly.
    std::unique_ptr<TBitmap> Full(int w, int h, int colors = 0) {
        auto b = std::make_unique<TBitmap>(w, h);
        KwPaintBackGroundEx(b->Canvas(), TRect(0, 0, w, h), set, colors);
        return b;
    }
    // Every pixel of `bar` is the background's pixel at `source(x, y)` when that gives true,
    // else untouched.
    static int Wrong(const TBitmap& bar, const TBitmap& full,
                     const std::function<bool(int, int, int&, int&)>& source) {
        int wrong = 0;
        for (int y = 0; y < bar.Height(); ++y) {
            for (int x = 0; x < bar.Width(); ++x) {
                int sx = x, sy = y;
                const TColor want = source(x, y, sx, sy) ? full.Pixel(sx, sy) : kSentinel;
                wrong += bar.Pixel(x, y) != want;
            }
        }
        return wrong;
    }

    TKwSetBackGround set;
    TKwPkgDisplaySetBackGround* entry = nullptr;
};

TEST_F(ElementTest, BlocksAndSolidFillsGrowFromTheStartEdge) {
    const auto full = Full(100, 6);
    struct Case {
        TKwTypeBar type;
        int position;
        TKwProgressBarOrientation orientation;
        std::function<bool(int)> filled;  // by column
    };
    const Case cases[] = {
        {tbaBlock, 100, pboRight, [](int x) { return x % 10 < 8; }},  // ten blocks
        {tbaBlock, 0, pboRight, [](int) { return false; }},
        {tbaBlock, 50, pboRight, [](int x) { return x < 50 && x % 10 < 8; }},
        {tbaBlock, 50, pboLeft, [](int x) { return x >= 50 && (99 - x) % 10 < 8; }},
        {tbaSolid, 37, pboRight, [](int x) { return x < 37; }},
        {tbaSolid, 37, pboLeft, [](int x) { return x >= 63; }},
        {tbaSolid, 250, pboRight, [](int) { return true; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.type << " " << c.position << " " << c.orientation);
        BlankBitmap bar(100, 6);
        std::unique_ptr<TBitmap> cache;
        int position = c.position;
        KwDrawProgressBar(bar.Canvas(), TRect(0, 0, 100, 6), cache, 0, 100, position, 5, c.type,
                          set, 8, 2, c.orientation);
        EXPECT_EQ(Wrong(bar, *full, [&](int x, int, int&, int&) { return c.filled(x); }), 0);
        EXPECT_EQ(position, c.position);
    }
    // Upwards: rows from the bottom.
    const auto tall = Full(6, 40);
    BlankBitmap bar(6, 40);
    std::unique_ptr<TBitmap> cache;
    int position = 25;
    KwDrawProgressBar(bar.Canvas(), TRect(0, 0, 6, 40), cache, 0, 100, position, 0, tbaSolid, set,
                      1, 0, pboUp);
    EXPECT_EQ(Wrong(bar, *tall, [](int, int y, int&, int&) { return y >= 30; }), 0);
}

TEST_F(ElementTest, TheCacheIsPaintedOncePerSize) {
    BlankBitmap bar(50, 4);
    std::unique_ptr<TBitmap> cache;
    int position = 50;
    KwDrawProgressBar(bar.Canvas(), TRect(0, 0, 50, 4), cache, 0, 50, position, 0, tbaSolid, set, 1,
                      0, pboRight);
    ASSERT_TRUE(cache);
    const TColor first = bar.Pixel(0, 0);
    entry->SetStartGraColor(RGB(0, 250, 0));
    entry->SetEndGraColor(RGB(0, 250, 0));
    KwDrawProgressBar(bar.Canvas(), TRect(0, 0, 50, 4), cache, 0, 50, position, 0, tbaSolid, set, 1,
                      0, pboRight);
    EXPECT_EQ(bar.Pixel(0, 0), first);
    KwDrawProgressBar(bar.Canvas(), TRect(0, 0, 50, 5), cache, 0, 50, position, 0, tbaSolid, set, 1,
                      0, pboRight);
    EXPECT_NE(bar.Pixel(0, 0), first);
    EXPECT_EQ(cache->Height(), 5);
}

TEST_F(ElementTest, IndeterminateBarsScrollAndWrap) {
    const auto full = Full(40, 3, 40 / 4);
    for (const TKwProgressBarOrientation o : {pboRight, pboLeft}) {
        std::unique_ptr<TBitmap> cache;
        int position = 0;
        BlankBitmap bar(40, 3);
        for (int call = 0; call < 10; ++call) {
            const int shown = position % 40;
            KwDrawProgressBar(bar.Canvas(), TRect(0, 0, 40, 3), cache, 0, 100, position, 5,
                              tbaIndeterminate, set, 4, 0, o);
            EXPECT_EQ(position, shown + 5);
            const int back = o == pboRight ? 40 - shown : shown;
            EXPECT_EQ(Wrong(bar, *full,
                            [&](int x, int, int& sx, int&) {
                                sx = (x + back) % 40;
                                return true;
                            }),
                      0)
                << call;
        }
    }
}

TEST_F(ElementTest, ProgressBarsInEveryOrientationAndKind) {
    BlankBitmap picture(4 * 44 + 4, 3 * 44 + 4, clWhite);
    const TKwProgressBarOrientation orientations[] = {pboLeft, pboRight, pboUp, pboDown};
    const TKwTypeBar types[] = {tbaBlock, tbaSolid, tbaIndeterminate};
    for (int t = 0; t < 3; ++t) {
        for (int o = 0; o < 4; ++o) {
            const bool across = o < 2;
            const TRect r =
                TRect::Bounds(4 + o * 44, 4 + t * 44, across ? 40 : 14, across ? 14 : 40);
            std::unique_ptr<TBitmap> cache;
            int position = 60;
            KwDrawProgressBar(picture.Canvas(), r, cache, 0, 100, position, 5, types[t], set, 6, 2,
                              orientations[o]);
        }
    }
    test::ExpectMatchesGolden(picture, "drawing/golden/progress_bars.png");
}

TEST_F(ElementTest, GridLinesAndDirectionMarks) {
    BlankBitmap lines(12, 8);
    KwDrawGridLines(lines.Canvas(), TRect(1, 1, 11, 7), clBlack, clRed, 4, true, false, false,
                    false);
    // Diagonals rising to the left every 4 pixels, clipped to the rectangle.
    for (int y = 1; y < 7; ++y)
        for (int x = 1; x < 11; ++x)
            EXPECT_EQ(lines.Pixel(x, y) == clBlack, (x + (7 - y)) % 4 == 1) << x << "," << y;
    EXPECT_EQ(lines.Pixel(0, 0), kSentinel);
    // Inverting lines and frame give back the picture when drawn twice.
    BlankBitmap twice(12, 8);
    for (int i = 0; i < 2; ++i)
        KwDrawGridLines(twice.Canvas(), TRect(1, 1, 11, 7), clBlack, clRed, 3, true, true, true,
                        true);
    EXPECT_EQ(CountPixels(twice, kSentinel), 96);

    BlankBitmap picture(10 * 24 + 2, 2 * 24 + 2, clWhite);
    for (int d = 0; d <= mvdNone; ++d)
        KwDrawDirection(TRect::Bounds(1 + d * 24, 1, 24, 24), picture.Canvas(),
                        static_cast<TKwMoveDirection>(d), clNavy);
    KwDrawGridLines(picture.Canvas(), TRect::Bounds(1, 25, 60, 24), clGreen, clBlack, 5, true, true,
                    false, false);
    KwDrawGridLines(picture.Canvas(), TRect::Bounds(63, 25, 60, 24), clGreen, clBlack, 3, true,
                    false, false, false);
    KwDrawGridLines(picture.Canvas(), TRect::Bounds(125, 25, 60, 24), clGreen, clBlack, 3, false,
                    true, false, false);
    test::ExpectMatchesGolden(picture, "drawing/golden/direction_marks.png");
    // Nothing for mvdNone, and the pen comes back.
    BlankBitmap none(24, 24);
    none.Canvas().Pen().Color = clRed;
    KwDrawDirection(TRect(0, 0, 24, 24), none.Canvas(), mvdNone, clNavy);
    KwDrawDirection(TRect(0, 0, 24, 24), none.Canvas(), mvdUp, clNavy);
    EXPECT_EQ(none.Canvas().Pen().Color, clRed);
    EXPECT_GT(CountPixels(none, clNavy), 0);
}

}  // namespace
}  // namespace kw
