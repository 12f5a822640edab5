#include <gtest/gtest.h>

#include "platform/graphics/bitmap.h"
#include "platform/graphics/device.h"
#include "platform/graphics/font_face.h"

namespace kw {
namespace {

// Text on the built-in font: cells of 6 x 10 pixels per unit of scale, ascent 9, descent 1,
// internal leading 2; a character height of 8 per unit.
class TextTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetGdiForTesting();
        bitmap = std::make_unique<TBitmap>(80, 40, TPixelFormat::pf32bit);
        Clear();
        dc = CreateBitmapDC(*bitmap);
        UseFont(-8);
    }
    void TearDown() override { ResetGdiForTesting(); }
    void Clear() {
        for (int y = 0; y < bitmap->Height(); ++y)
            for (int x = 0; x < bitmap->Width(); ++x)
                bitmap->SetPixel(x, y, clWhite);
    }
    void UseFont(int height, int escapement = 0) {
        LOGFONT log;
        log.lfHeight = height;
        log.lfEscapement = escapement;
        SetFaceName(log, u"Kw Fixed");
        SelectObject(dc, CreateFontIndirect(log));
    }
    // Bounds of the pixels that are not white.
    TRect InkBounds() const {
        TRect r(bitmap->Width(), bitmap->Height(), 0, 0);
        for (int y = 0; y < bitmap->Height(); ++y)
            for (int x = 0; x < bitmap->Width(); ++x)
                if (bitmap->Pixel(x, y) != clWhite)
                    r = {std::min(r.Left, x), std::min(r.Top, y), std::max(r.Right, x + 1),
                         std::max(r.Bottom, y + 1)};
        return r;
    }

    std::unique_ptr<TBitmap> bitmap;
    HDC dc;
};

TEST_F(TextTest, BuiltInMetricsAndExtentsAreExact) {
    TEXTMETRIC tm;
    ASSERT_TRUE(GetTextMetrics(dc, tm));
    EXPECT_EQ(tm.tmHeight, 10);
    EXPECT_EQ(tm.tmAscent, 9);
    EXPECT_EQ(tm.tmDescent, 1);
    EXPECT_EQ(tm.tmInternalLeading, 2);
    EXPECT_EQ(tm.tmAveCharWidth, 6);
    EXPECT_EQ(tm.tmPitchAndFamily & TMPF_TRUETYPE, 0);
    TSize size;
    GetTextExtentPoint32(dc, u"Abc d", &size);
    EXPECT_EQ(size, (TSize{30, 10}));
    // Negative heights are character heights, positive ones cell heights.
    UseFont(-16);
    GetTextMetrics(dc, tm);
    EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 16);
    UseFont(20);
    GetTextMetrics(dc, tm);
    EXPECT_EQ(tm.tmHeight, 20);
    LOGFONT back;
    EXPECT_TRUE(GetObject(HFONT(GetCurrentObject(dc, TGdiKind::Font)), back));
    EXPECT_EQ(back.lfHeight, 20);
    EXPECT_EQ(FaceName(back), u"Kw Fixed");
}

TEST_F(TextTest, TextOutPaintsGlyphsAndTheOpaqueBackground) {
    SetBkMode(dc, TRANSPARENT);
    TextOut(dc, 4, 3, u"I");
    // "I": a bar in the middle column with serifs, rows 2..8 of the cell (7 rows).
    EXPECT_EQ(InkBounds(), TRect(5, 5, 8, 12));
    EXPECT_EQ(bitmap->Pixel(6, 8), clBlack);
    EXPECT_EQ(bitmap->Pixel(5, 8), clWhite);
    Clear();
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, clRed);
    TextOut(dc, 4, 3, u"I ");
    EXPECT_EQ(InkBounds(), TRect(4, 3, 16, 13));
    EXPECT_EQ(bitmap->Pixel(15, 12), clRed);
    // Alignment moves the reference point: right and baseline.
    Clear();
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_RIGHT | TA_BASELINE);
    TextOut(dc, 30, 20, u"II");
    EXPECT_EQ(InkBounds(), TRect(19, 13, 28, 20));
}

TEST_F(TextTest, ExtTextOutClipsAndFillsItsRectangle) {
    SetBkColor(dc, clRed);
    const TRect box(2, 2, 9, 14);
    ExtTextOut(dc, 2, 2, ETO_OPAQUE | ETO_CLIPPED, &box, u"MMMM");
    EXPECT_EQ(InkBounds(), box);
    EXPECT_EQ(bitmap->Pixel(8, 13), clRed);
    EXPECT_EQ(bitmap->Pixel(2, 4), clBlack);  // "M" starts with a full column
}

TEST_F(TextTest, DrawTextLaysOutLinesByItsFlags) {
    TRect r(0, 0, 40, 0);
    EXPECT_EQ(DrawText(dc, u"ab\ncdef", &r, DT_CALCRECT), 20);
    EXPECT_EQ(r, TRect(0, 0, 24, 20));
    // Word breaks at spaces; a word longer than the width keeps its own line.
    r = TRect(0, 0, 40, 0);
    DrawText(dc, u"one two three fourfivesix", &r, DT_CALCRECT | DT_WORDBREAK);
    // Six cells fit: "one" / "two" / "three" / "fourfivesix".
    EXPECT_EQ(r, TRect(0, 0, 66, 40));
    // Tabs expand to stops every eight average widths; without the flag they are one cell.
    r = TRect(0, 0, 200, 0);
    DrawText(dc, u"a\tb", &r, DT_CALCRECT | DT_EXPANDTABS | DT_SINGLELINE);
    EXPECT_EQ(r.Right, 54);
    r = TRect(0, 0, 200, 0);
    DrawText(dc, u"a\tb", &r, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(r.Right, 18);
}

TEST_F(TextTest, DrawTextAlignsInsideItsRectangle) {
    SetBkMode(dc, TRANSPARENT);
    TRect r(10, 5, 70, 35);
    DrawText(dc, u"II", &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    // 12 pixels centred in 60 start at 34; 10 rows centred in 30 start at 15.
    EXPECT_EQ(InkBounds(), TRect(35, 17, 44, 24));
    Clear();
    DrawText(dc, u"II", &r, DT_RIGHT | DT_BOTTOM | DT_SINGLELINE);
    EXPECT_EQ(InkBounds(), TRect(59, 27, 68, 34));
    // Vertical placement needs a single line: otherwise the text stays at the top.
    Clear();
    DrawText(dc, u"II", &r, DT_RIGHT | DT_BOTTOM);
    EXPECT_EQ(InkBounds(), TRect(59, 7, 68, 14));
    // Drawing is clipped to the rectangle unless told otherwise.
    Clear();
    TRect small(0, 0, 8, 10);
    DrawText(dc, u"MMM", &small, DT_LEFT);
    EXPECT_EQ(InkBounds().Right, 8);
    Clear();
    DrawText(dc, u"MMM", &small, DT_LEFT | DT_NOCLIP);
    EXPECT_EQ(InkBounds().Right, 17);
}

TEST_F(TextTest, PrefixesUnderlineAndEllipsesShorten) {
    SetBkMode(dc, TRANSPARENT);
    TRect r(0, 0, 80, 10);
    // "&I" underlines the I's cell on the row under the baseline; "&&" is one "&".
    DrawText(dc, u"&I", &r, DT_LEFT);
    EXPECT_EQ(InkBounds(), TRect(0, 2, 6, 10));
    EXPECT_EQ(bitmap->Pixel(0, 9), clBlack);
    TRect measure(0, 0, 80, 0);
    DrawText(dc, u"a&&b", &measure, DT_CALCRECT);
    EXPECT_EQ(measure.Right, 18);
    measure = TRect(0, 0, 80, 0);
    DrawText(dc, u"a&&b", &measure, DT_CALCRECT | DT_NOPREFIX);
    EXPECT_EQ(measure.Right, 24);
    Clear();
    DrawText(dc, u"&I", &r, DT_LEFT | DT_NOPREFIX);
    EXPECT_EQ(bitmap->Pixel(0, 9), clWhite);
    // End ellipsis: as many characters as fit beside "...".
    measure = TRect(0, 0, 40, 0);
    DrawText(dc, u"abcdefghij", &measure, DT_CALCRECT | DT_END_ELLIPSIS | DT_SINGLELINE);
    EXPECT_EQ(measure.Right, 36);  // "abc..."
    // Path ellipsis keeps the last component.
    measure = TRect(0, 0, 60, 0);
    DrawText(dc, u"c:\\long\\path\\file", &measure, DT_CALCRECT | DT_PATH_ELLIPSIS | DT_SINGLELINE);
    EXPECT_EQ(measure.Right, 60);  // "c:...\\file" = 10 cells
}

TEST_F(TextTest, EscapementRotatesTextAboutItsReferencePoint) {
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, clRed);
    UseFont(-8, 900);
    // Up the page: the 18 x 10 cell box turns into 10 x 18 standing on (20, 30).
    TextOut(dc, 20, 30, u"abc");
    EXPECT_EQ(InkBounds(), TRect(20, 12, 30, 30));
    Clear();
    UseFont(-8, 1800);
    TextOut(dc, 40, 20, u"abc");
    EXPECT_EQ(InkBounds(), TRect(22, 10, 40, 20));
    // Any other angle stays within the rotated box's bounds.
    Clear();
    UseFont(-8, 450);
    TextOut(dc, 20, 30, u"abc");
    const TRect bounds = InkBounds();
    EXPECT_GE(bounds.Left, 20);
    EXPECT_LE(bounds.Right, 20 + 20);
    EXPECT_GE(bounds.Top, 30 - 20);
    EXPECT_LE(bounds.Bottom, 30 + 8);
    EXPECT_GT(bounds.Width(), 14);
}

// DrawText lays its lines out upright and turns each about its start, as TextOut does.
TEST_F(TextTest, DrawTextTurnsItsLinesWithTheFontsEscapement) {
    LOGFONT scalable;
    scalable.lfHeight = -12;
    SetFaceName(scalable, u"DejaVu Sans");
    const bool haveScalable = FreeTypeFontFace(scalable) != nullptr;
    for (const bool builtIn : {true, false}) {
        if (!builtIn && !haveScalable)
            continue;
        auto use = [&](int escapement) {
            if (builtIn) {
                UseFont(-8, escapement);
                return;
            }
            LOGFONT log = scalable;
            log.lfEscapement = escapement;
            SelectObject(dc, CreateFontIndirect(log));
        };
        use(900);
        Clear();
        TextOut(dc, 20, 36, u"abc");
        const TRect byTextOut = InkBounds();
        std::vector<TColor> expected;
        for (int y = 0; y < bitmap->Height(); ++y)
            for (int x = 0; x < bitmap->Width(); ++x)
                expected.push_back(bitmap->Pixel(x, y));
        Clear();
        TRect r(20, 36, 60, 40);
        DrawText(dc, u"abc", &r, DT_SINGLELINE | DT_NOCLIP);
        std::vector<TColor> drawn;
        for (int y = 0; y < bitmap->Height(); ++y)
            for (int x = 0; x < bitmap->Width(); ++x)
                drawn.push_back(bitmap->Pixel(x, y));
        EXPECT_EQ(drawn, expected) << builtIn;
        EXPECT_LT(byTextOut.Top, 30) << builtIn;  // up the page from the start point
        // Clipped to the rectangle unless told otherwise.
        Clear();
        r = TRect(20, 20, 70, 40);
        DrawText(dc, u"abc", &r, DT_SINGLELINE | DT_BOTTOM);
        const TRect clipped = InkBounds();
        EXPECT_GE(clipped.Top, 20) << builtIn;
        EXPECT_LE(clipped.Bottom, 40) << builtIn;
        use(0);
    }
}

// Real faces through the scalable back-end: anti-aliased, TrueType, cached per size.
TEST_F(TextTest, ScalableFacesRenderAntiAliasedAndRotate) {
    LOGFONT log;
    log.lfHeight = -14;
    SetFaceName(log, u"DejaVu Sans");
    if (!FreeTypeFontFace(log))
        GTEST_SKIP() << "no scalable font installed";
    const HFONT font = CreateFontIndirect(log);
    SelectObject(dc, font);
    TEXTMETRIC tm;
    GetTextMetrics(dc, tm);
    EXPECT_NE(tm.tmPitchAndFamily & TMPF_TRUETYPE, 0);
    EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 14);
    EXPECT_EQ(tm.tmAscent + tm.tmDescent, tm.tmHeight);
    TSize wide, narrow;
    GetTextExtentPoint32(dc, u"WWW", &wide);
    GetTextExtentPoint32(dc, u"iii", &narrow);
    EXPECT_GT(wide.cx, narrow.cx);  // proportional
    SetBkMode(dc, TRANSPARENT);
    TextOut(dc, 2, 2, u"Wag");
    int partial = 0;
    for (int y = 0; y < bitmap->Height(); ++y)
        for (int x = 0; x < bitmap->Width(); ++x) {
            const TColor c = bitmap->Pixel(x, y);
            partial += c != clWhite && c != clBlack;
        }
    EXPECT_GT(partial, 0);  // edges are blended
    const TRect flat = InkBounds();
    EXPECT_LE(flat.Right, 2 + wide.cx + 2);
    // Turned a quarter: the ink's width and height swap, within a pixel of rounding.
    Clear();
    log.lfEscapement = 900;
    SelectObject(dc, CreateFontIndirect(log));
    TextOut(dc, 10, 38, u"Wag");
    const TRect turned = InkBounds();
    EXPECT_NEAR(turned.Width(), flat.Height(), 1);
    EXPECT_NEAR(turned.Height(), flat.Width(), 1);
    EXPECT_LE(turned.Bottom, 38);
    // Same description, same face: the glyphs are rasterised once.
    EXPECT_EQ(FreeTypeFontFace(log), FreeTypeFontFace(log));
    EXPECT_GE(FreeTypeFontFace(log)->CachedGlyphs(), 3u);
}

}  // namespace
}  // namespace kw
