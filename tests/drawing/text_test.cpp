#include <gtest/gtest.h>

#include <functional>

#include "display/default_sets.h"
#include "display/state.h"
#include "drawing/decorations.h"
#include "drawing/text_draw.h"
#include "drawing/text_paint.h"
#include "drawing_fixture.h"
#include "golden.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/font.h"

namespace kw {
namespace {

// "Kw Fixed" at character height 8: cells of 6 x 10 pixels, lines 10 apart.
constexpr TColor kInk = RGB(0, 0, 0);
constexpr TColor kAccel = RGB(220, 0, 0);

class TextTest : public DrawingTest {
protected:
    void SetUp() override {
        DrawingTest::SetUp();
        KwResetDisplayState();
        font.SetName(u"Kw Fixed");
        font.SetHeight(-8);
    }
    void TearDown() override {
        KwResetDisplayState();
        DrawingTest::TearDown();
    }
    TRect Measure(StringView text, TKwTextLook look, const TFont& f, TRect rect = {5, 7, 5, 7}) {
        BlankBitmap b(1, 1);
        look.CalcRect = true;
        return KwDrawText(b.Canvas(), rect, text, f, kInk, kAccel, look);
    }
    TRect Measure(StringView text, TKwTextLook look = {}) { return Measure(text, look, font); }
    std::vector<std::string> Draw(StringView text, const TKwTextLook& look, int w = 60,
                                  int h = 30) {
        BlankBitmap b(w, h);
        KwDrawText(b.Canvas(), {0, 0, w, h}, text, font, kInk, kAccel, look);
        return Accents(b);
    }
    TRect InkBounds(StringView text, const TKwTextLook& look, int w = 60, int h = 30) {
        BlankBitmap b(w, h);
        KwDrawText(b.Canvas(), {0, 0, w, h}, text, font, kInk, kAccel, look);
        return PaintedBounds(b);
    }
    // '#' text ink, 'a' accelerator ink, '.' untouched, '?' anything else.
    static std::vector<std::string> Accents(const TBitmap& b) {
        std::vector<std::string> rows = Picture(b, kInk);
        for (int y = 0; y < b.Height(); ++y)
            for (int x = 0; x < b.Width(); ++x)
                if (b.Pixel(x, y) == kAccel)
                    rows[y][x] = 'a';
        return rows;
    }

    TFont font;
};

TEST_F(TextTest, MeasuresLinesBreaksTabsAndWrapping) {
    EXPECT_EQ(Measure(u"Hello"), TRect(5, 7, 35, 17));
    EXPECT_EQ(Measure(u"ab\r\ncd\ref\ng"), TRect(5, 7, 17, 47));  // CR LF is one break
    EXPECT_EQ(Measure(u"a\tb"), TRect(5, 7, 65, 17));             // a tab is eight spaces
    EXPECT_EQ(Measure(u""), TRect(5, 7, 5, 7));
    TKwTextLook wrap{.Width = 42, .WordWrap = true};
    EXPECT_EQ(Measure(u"aaa bbb ccc", wrap), TRect(5, 7, 47, 27));
    wrap.Width = 41;
    EXPECT_EQ(Measure(u"aaa bbb ccc", wrap), TRect(5, 7, 46, 37));
    // A word wider than the wrap width stays whole on its own line.
    wrap.Width = 12;
    EXPECT_EQ(Measure(u"abcdef gh", wrap), TRect(5, 7, 17, 27));
    // Without a wrap width the rectangle's width wraps; without WordWrap nothing does.
    EXPECT_EQ(Measure(u"aaa bbb", {.WordWrap = true}, font, {0, 0, 30, 0}), TRect(0, 0, 18, 20));
    EXPECT_EQ(Measure(u"aaa bbb", {}, font, {0, 0, 30, 0}), TRect(0, 0, 42, 10));
    // Accelerator prefixes take no room; "&&" is one character.
    EXPECT_EQ(Measure(u"&File", {.ShowAccelChar = true}), TRect(5, 7, 29, 17));
    EXPECT_EQ(Measure(u"A&&B", {.ShowAccelChar = true}), TRect(5, 7, 23, 17));
    EXPECT_EQ(Measure(u"&File"), TRect(5, 7, 35, 17));
    EXPECT_EQ(Measure(u"ab\ncd", {.CalcOrigin = true}), TRect(0, 0, 12, 20));
}

TEST_F(TextTest, RotatedBoundsFollowTheTurnedBlock) {
    // A bitmap face cannot turn: any angle draws in "Courier New", whose size sets the block.
    TFont courier = font;
    courier.SetName(u"Courier New");
    const TRect plain = Measure(u"Turn me\nround", {}, courier, {0, 0, 0, 0});
    ASSERT_GT(plain.Right, 0);
    ASSERT_NE(plain, Measure(u"Turn me\nround", {}, font, {0, 0, 0, 0}));
    for (int angle : {0, 90, 180, 270, 45, -90, 405}) {
        SCOPED_TRACE(angle);
        const TFont& f = angle == 0 ? courier : font;
        const TSize ext = KwRectExt(plain.Right, plain.Bottom, angle);
        EXPECT_EQ(Measure(u"Turn me\nround", {.Angle = angle}, f),
                  TRect(5, 7, 5 + ext.cx, 7 + ext.cy));
    }
    // Drawn text stays inside its rectangle at every angle.
    for (int angle : {0, 90, 180, 270, 45, 135, 225, 315}) {
        SCOPED_TRACE(angle);
        BlankBitmap b(90, 90);
        const TRect box = Measure(u"Turn me\nround", {.Angle = angle}, font, {0, 0, 0, 0});
        const TRect at = box.Offset((90 - box.Width()) / 2, (90 - box.Height()) / 2);
        KwDrawText(b.Canvas(), at, u"Turn me\nround", font, kInk, kAccel, {.Angle = angle});
        const TRect ink = PaintedBounds(b);
        ASSERT_FALSE(ink.IsEmpty());
        EXPECT_GE(ink.Left, at.Left - 1);
        EXPECT_GE(ink.Top, at.Top - 1);
        EXPECT_LE(ink.Right, at.Right + 1);
        EXPECT_LE(ink.Bottom, at.Bottom + 1);
    }
}

TEST_F(TextTest, TheCanvasGetsItsOwnFontAndColoursBack) {
    BlankBitmap b(60, 60);
    TCanvas& canvas = b.Canvas();
    canvas.Font().Assign(font);
    canvas.Font().SetColor(clBlue);
    canvas.Brush().Style = TBrushStyle::bsClear;
    const int before = canvas.TextWidth(u"abc");
    KwDrawText(canvas, {0, 0, 60, 60}, u"x", font, kInk, kAccel, {.Angle = 90, .Bold = true});
    KwDrawSpeedText(canvas, {0, 0, 60, 60}, u"x", font, kInk, {});
    EXPECT_EQ(canvas.TextWidth(u"abc"), before);
    BlankBitmap ref(60, 20), after(60, 20);
    for (TBitmap* b : {&ref, &after}) {
        b->Canvas().Font().Assign(canvas.Font());
        b->Canvas().Brush().Style = TBrushStyle::bsClear;
    }
    ref.Canvas().TextOut(0, 0, u"abc");
    KwDrawText(after.Canvas(), {0, 0, 60, 20}, u"zz", font, kAccel, kAccel,
               {.Layout = layBottom, .Bold = true});
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 60; ++x)
            if (after.Pixel(x, y) == kAccel)
                after.SetPixel(x, y, kSentinel);
    after.Canvas().TextOut(0, 0, u"abc");
    EXPECT_EQ(Picture(after, clBlue), Picture(ref, clBlue));
}

TEST_F(TextTest, VerticalTextRunsAlongTheHeight) {
    const TRect up = InkBounds(u"abc", {.Angle = 90}, 20, 60);
    const TRect down = InkBounds(u"abc", {.Angle = 270}, 20, 60);
    // Read upwards from the bottom-left corner, and downwards from the top-right one.
    EXPECT_GE(up.Bottom, 55);
    EXPECT_LE(up.Right, 11);
    EXPECT_LE(down.Top, 5);
    EXPECT_GE(down.Left, 9);
}

TEST_F(TextTest, AcceleratorIsUnderlinedInItsColourAndDoubleAmpersandStays) {
    const TKwTextLook accel{.ShowAccelChar = true};
    const auto marked = Draw(u"Edit&Xyz", accel);
    const auto plain = Draw(u"EditXyz", {});
    int underline = 0;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 60; ++x) {
            const bool cell = x >= 24 && x < 30 && y < 10;
            if (!cell) {
                EXPECT_EQ(marked[y][x], plain[y][x]) << x << "," << y;
                continue;
            }
            if (plain[y][x] == '#')
                EXPECT_EQ(marked[y][x], 'a') << x << "," << y;
            underline += plain[y][x] == '.' && marked[y][x] == 'a';
        }
    }
    EXPECT_GE(underline, 4);
    // Only the first marked character of a line is treated so.
    EXPECT_EQ(Draw(u"&A&B", accel), Draw(u"&AB", accel));
    EXPECT_EQ(Draw(u"A&&B", accel), Draw(u"A&B", {}));
    EXPECT_EQ(Draw(u"&&", accel), Draw(u"&", {}));
}

TEST_F(TextTest, AlignmentAndLayoutPlaceTheBlock) {
    const TRect base = InkBounds(u"ab", {});
    const TKwAlignment aligns[] = {aliLeft, aliCenter, aliRight};
    const TKwLayout layouts[] = {layTop, layCenter, layBottom};
    for (int a = 0; a < 3; ++a) {
        for (int l = 0; l < 3; ++l) {
            SCOPED_TRACE(testing::Message() << a << " " << l);
            TKwTextLook look{.Alignment = aligns[a], .Layout = layouts[l]};
            EXPECT_EQ(InkBounds(u"ab", look), base.Offset(a * 24, l * 10));
            look.RightToLeft = true;
            EXPECT_EQ(InkBounds(u"ab", look), base.Offset((2 - a) * 24, l * 10));
        }
    }
    // A fixed width centres the block and aligns inside it.
    EXPECT_EQ(InkBounds(u"ab", {.Width = 20, .Alignment = aliRight}), base.Offset(20 + 8, 0));
}

TEST_F(TextTest, TextThatDoesNotFitEndsWithEllipsis) {
    EXPECT_EQ(Draw(u"aaa\nbbb\nccc", {}, 60, 20), Draw(u"aaa\nbbb...", {}, 60, 20));
    EXPECT_EQ(Draw(u"abcdefghij", {}, 36, 10), Draw(u"abc...", {}, 36, 10));
    // Two lines in a box that holds two: nothing is cut.
    auto roomy = Draw(u"aaa\nbbb", {}, 60, 30);
    roomy.resize(20);
    EXPECT_EQ(Draw(u"aaa\nbbb", {}, 60, 20), roomy);
    BlankBitmap b(10, 10);
    KwDrawText(b.Canvas(), {0, 0, 0, 10}, u"x", font, kInk, kAccel, {});
    EXPECT_EQ(CountPixels(b, kSentinel), 100);
}

TEST_F(TextTest, EffectsAndDisabledLooksLayCopiesAroundTheText) {
    const TColor text = ColorToRGB(KwSetColText().Color());
    const TColor shadow = ColorToRGB(KwSetColShadow().Color());
    const TColor light = ColorToRGB(KwSetTextDisLight().Color());
    const TColor disShadow = ColorToRGB(KwSetTextDisShadow().Color());
    KwSetFont().Font().Assign(font);
    const TRect rect(10, 10, 70, 40);
    BlankBitmap plain(80, 50);
    KwDrawText(plain.Canvas(), rect, u"Hi&x", font, kInk, kInk, {});
    const auto ink = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < 80 && y < 50 && plain.Pixel(x, y) == kInk;
    };
    struct Case {
        TKwFontStyle style;
        bool enabled, flat;
        std::function<TColor(int, int)> expect;
    };
    const Case cases[] = {
        {fosNormal, true, false, [&](int x, int y) { return ink(x, y) ? text : kSentinel; }},
        {fos3D, true, false,
         [&](int x, int y) { return ink(x, y)           ? text
                                    : ink(x - 2, y - 2) ? shadow
                                                        : kSentinel; }},
        {fos3DLight, true, false,
         [&](int x, int y) {
             return ink(x, y) ? text : ink(x - 1, y - 1) || ink(x + 1, y + 1) ? shadow : kSentinel;
         }},
        {fosNormal, false, false,
         [&](int x, int y) {
             return ink(x, y) ? disShadow : ink(x - 1, y - 1) ? light : kSentinel;
         }},
        {fos3D, false, true, [&](int x, int y) { return ink(x, y) ? disShadow : kSentinel; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.style) * 10 + c.enabled * 2 + c.flat);
        BlankBitmap b(80, 50);
        // The drop shadow comes off the face: keep the face where the plain text is.
        const TRect at = c.style == fos3D && c.enabled ? TRect(10, 10, 72, 42) : rect;
        KwPaintText(b.Canvas(), at, c.style, u"Hi&x", nullptr, nullptr, nullptr, nullptr, 2,
                    c.enabled, c.flat, {});
        int wrong = 0;
        for (int y = 0; y < 50; ++y)
            for (int x = 0; x < 80; ++x)
                wrong += b.Pixel(x, y) != c.expect(x, y);
        EXPECT_EQ(wrong, 0);
    }
    // Measuring adds the drop shadow's offset.
    EXPECT_EQ(KwPaintText(plain.Canvas(), {0, 0, 0, 0}, fos3D, u"ab", nullptr, nullptr, nullptr,
                          nullptr, 3, true, false, {.CalcRect = true}),
              TRect(0, 0, 15, 13));
}

TEST_F(TextTest, SelectedItemsTakeTheirOwnSets) {
    TKwSetColor text, accel, light, selected, shadow;
    struct Row {
        TKwFontStyle style;
        TKwSetColor *text, *shadow, *accel;
        TKwFontStyle after;
    };
    const Row rows[] = {
        {fosNormal, &selected, &shadow, &selected, fosNormal},
        {fosLight, &light, &shadow, &light, fosLight},
        {fos3DLight, &text, &light, &accel, fos3DLight},
        {fos3D, &selected, &light, &selected, fosNormal},
        {fos3DLight1, &light, &shadow, &light, fos3DLight1},
    };
    for (const Row& row : rows) {
        TKwFontStyle style = row.style;
        const TKwTextSets unselected =
            KwSelectSetText(style, &text, &accel, &light, &selected, &shadow, false);
        EXPECT_EQ(unselected.text, &text);
        EXPECT_EQ(unselected.accel, &accel);
        EXPECT_EQ(unselected.shadow, &shadow);
        EXPECT_EQ(style, row.style);
        const TKwTextSets chosen =
            KwSelectSetText(style, &text, &accel, &light, &selected, &shadow, true);
        EXPECT_EQ(chosen.text, row.text) << int(row.style);
        EXPECT_EQ(chosen.shadow, row.shadow) << int(row.style);
        EXPECT_EQ(chosen.accel, row.accel) << int(row.style);
        EXPECT_EQ(style, row.after);
    }
}

TEST_F(TextTest, SpeedTextMovesMultiLineBlocksItselfAndScalesSetFonts) {
    BlankBitmap top(40, 40), centre(40, 40), bottom(40, 40);
    KwDrawSpeedText(top.Canvas(), {0, 0, 40, 40}, u"ab\ncd", font, kInk, {});
    KwDrawSpeedText(centre.Canvas(), {0, 0, 40, 40}, u"ab\ncd", font, kInk,
                    {.Alignment = aliCenter, .Layout = layCenter});
    KwDrawSpeedText(bottom.Canvas(), {0, 0, 40, 40}, u"ab\ncd", font, kInk,
                    {.Alignment = aliRight, .Layout = layBottom});
    EXPECT_EQ(PaintedBounds(centre), PaintedBounds(top).Offset(14, 10));
    EXPECT_EQ(PaintedBounds(bottom), PaintedBounds(top).Offset(28, 20));
    EXPECT_EQ(KwDrawSpeedText(top.Canvas(), {3, 4, 30, 50}, u"aaa bbb\nc", font, kInk,
                              {.CalcRect = true, .WordWrap = true}),
              TRect(3, 4, 21, 34));
    // Set fonts scale their size with MulDiv, halves away from zero.
    TKwSetFont set;
    KwSetFont().Font().Assign(font);
    KwSetFont().Font().SetSize(9);
    TFont scratch;
    EXPECT_EQ(&KwScaledSetFont(set, scratch), &set.Font());
    set.SetScaleMul(1);
    set.SetScaleDiv(2);
    EXPECT_EQ(KwScaledSetFont(set, scratch).Size(), 5);
    EXPECT_EQ(set.Font().Size(), 9);
    set.SetScaleMul(3);
    EXPECT_EQ(KwScaledSetFont(set, scratch).Size(), 14);
}

TEST_F(TextTest, CaptionLooks) {
    KwSetFont().Font().Assign(font);
    BlankBitmap picture(4 * 64 + 4, 3 * 24 + 4, clBtnFace);
    const TKwFontStyle styles[] = {fosNormal, fosLight, fos3DLight, fos3D};
    for (int i = 0; i < 4; ++i) {
        const TRect r = TRect::Bounds(4 + i * 64, 4, 60, 20);
        KwPaintText(picture.Canvas(), r, styles[i], u"&Save", nullptr, nullptr, nullptr, nullptr, 1,
                    true, false,
                    {.Alignment = aliCenter, .Layout = layCenter, .ShowAccelChar = true});
    }
    for (int i = 0; i < 2; ++i)
        KwPaintText(picture.Canvas(), TRect::Bounds(4 + i * 64, 28, 60, 20), fosNormal, u"&Off",
                    nullptr, nullptr, nullptr, nullptr, 1, false, i == 1,
                    {.Alignment = aliCenter, .Layout = layCenter, .ShowAccelChar = true});
    KwPaintText(picture.Canvas(), TRect::Bounds(132, 28, 124, 44), fosNormal,
                u"Wrapped words run on and on", nullptr, nullptr, nullptr, nullptr, 1, true, false,
                {.Alignment = aliRight, .WordWrap = true, .ShowCorners = true, .LimitChars = 10});
    KwDrawSpeedText(picture.Canvas(), TRect::Bounds(4, 52, 124, 20), u"Speed &text", font, clNavy,
                    {.Alignment = aliCenter, .Layout = layBottom, .ShowAccelChar = true});
    test::ExpectMatchesGolden(picture, "drawing/golden/caption_looks.png");
}

}  // namespace
}  // namespace kw
