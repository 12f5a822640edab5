#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/graphics/bitmap.h"
#include "platform/graphics/device.h"
#include "platform/graphics/region.h"

namespace kw {
namespace {

// A white bitmap with a device on it, and the process-wide object table emptied around it.
class DeviceTest : public ::testing::Test {
protected:
    void SetUp() override { Open(24, 16); }
    void TearDown() override {
        DeleteDC(dc);
        ResetGdiForTesting();
    }
    void Open(int width, int height) {
        if (dc)
            DeleteDC(dc);
        ResetGdiForTesting();
        bitmap = std::make_unique<TBitmap>(width, height, TPixelFormat::pf32bit);
        Clear(clWhite);
        dc = CreateBitmapDC(*bitmap);
    }
    void Clear(TColor color) {
        for (int y = 0; y < bitmap->Height(); ++y)
            for (int x = 0; x < bitmap->Width(); ++x)
                bitmap->SetPixel(x, y, color);
    }
    bool Ink(int x, int y) const { return bitmap->Pixel(x, y) != clWhite; }
    // The painted pixels as a region, to compare with shape regions.
    TRegion Painted() const {
        std::vector<TRect> rects;
        for (int y = 0; y < bitmap->Height(); ++y)
            for (int x = 0; x < bitmap->Width(); ++x)
                if (Ink(x, y))
                    rects.emplace_back(x, y, x + 1, y + 1);
        return TRegion::FromRects(rects);
    }
    std::string Row(int y) const {
        std::string row;
        for (int x = 0; x < bitmap->Width(); ++x) {
            const TColor c = bitmap->Pixel(x, y);
            row += c == clWhite ? '.' : c == clBlack ? '#' : c == clRed ? 'r' : '?';
        }
        return row;
    }
    void UsePen(int style, int width, TColor color) {
        pens.push_back(CreatePen(style, width, color));
        SelectObject(dc, pens.back());
    }
    void UseBrush(HBRUSH brush) { SelectObject(dc, brush); }

    std::unique_ptr<TBitmap> bitmap;
    HDC dc;
    std::vector<HPEN> pens;
};

TEST_F(DeviceTest, LinesStopBeforeTheirEndPointAndStepLikeBresenham) {
    MoveToEx(dc, 1, 1, nullptr);
    LineTo(dc, 6, 1);
    EXPECT_EQ(Row(1), ".#####..................");
    TPoint at;
    GetCurrentPositionEx(dc, &at);
    EXPECT_EQ(at, (TPoint{6, 1}));
    // Gentle slope: one row change half way, every column once.
    MoveToEx(dc, 0, 4, nullptr);
    LineTo(dc, 8, 6);
    int painted = 0;
    for (int x = 0; x < 10; ++x) {
        int rows = 0;
        for (int y = 3; y < 8; ++y)
            rows += Ink(x, y);
        EXPECT_EQ(rows, x < 8 ? 1 : 0) << "column " << x;
        painted += rows;
    }
    EXPECT_EQ(painted, 8);
    EXPECT_TRUE(Ink(0, 4));
    EXPECT_TRUE(Ink(7, 6) || Ink(7, 5));
    // Backwards lines cover the same count and leave their end point too.
    MoveToEx(dc, 20, 15, nullptr);
    LineTo(dc, 20, 9);
    for (int y = 9; y <= 15; ++y)
        EXPECT_EQ(Ink(20, y), y > 9) << y;
}

TEST_F(DeviceTest, StyledPensFollowTheirDashLengthsAndRestartPerLine) {
    Open(64, 6);
    struct Case {
        int style;
        std::vector<int> runs;
    };
    const Case cases[] = {{PS_DASH, {18, 6}},
                          {PS_DOT, {3, 3}},
                          {PS_DASHDOT, {9, 6, 3, 6}},
                          {PS_DASHDOTDOT, {9, 3, 3, 3, 3, 3}}};
    SetBkMode(dc, TRANSPARENT);
    int y = 0;
    for (const Case& c : cases) {
        UsePen(c.style, 1, clBlack);
        MoveToEx(dc, 0, y, nullptr);
        LineTo(dc, 64, y);
        std::string expected;
        for (std::size_t i = 0; expected.size() < 64; i = (i + 1) % c.runs.size())
            expected += std::string(c.runs[i], i % 2 == 0 ? '#' : '.');
        EXPECT_EQ(Row(y), expected.substr(0, 64)) << "style " << c.style;
        ++y;
    }
    // Opaque mode paints the gaps in the background colour.
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, clRed);
    UsePen(PS_DOT, 1, clBlack);
    MoveToEx(dc, 0, 4, nullptr);
    LineTo(dc, 12, 4);
    EXPECT_EQ(Row(4).substr(0, 13), "###rrr###rrr.");
    // Each LineTo restarts the pattern; a polyline carries it across its vertices.
    SetBkMode(dc, TRANSPARENT);
    MoveToEx(dc, 0, 5, nullptr);
    LineTo(dc, 4, 5);
    LineTo(dc, 8, 5);
    EXPECT_EQ(Row(5).substr(0, 9), "###.###..");
    Clear(clWhite);
    const TPoint path[] = {{0, 5}, {4, 5}, {8, 5}};
    Polyline(dc, path);
    EXPECT_EQ(Row(5).substr(0, 9), "###...##.");
}

TEST_F(DeviceTest, WidePensAreCentredAndDrawDashedStylesSolid) {
    UsePen(PS_DASH, 3, clBlack);
    MoveToEx(dc, 2, 6, nullptr);
    LineTo(dc, 20, 6);
    for (int x = 4; x < 19; ++x) {
        EXPECT_FALSE(Ink(x, 4));
        EXPECT_TRUE(Ink(x, 5) && Ink(x, 6) && Ink(x, 7)) << x;
        EXPECT_FALSE(Ink(x, 8));
    }
}

TEST_F(DeviceTest, PenModesFollowTheirTruthTables) {
    Open(16, 16);
    std::mt19937 rng(5);
    for (int mode = R2_BLACK; mode <= R2_WHITE; ++mode) {
        const TColor pen = rng() & 0xFFFFFF;
        const TColor dest = rng() & 0xFFFFFF;
        bitmap->SetPixel(3, 3, dest);
        UsePen(PS_SOLID, 1, pen);
        SetROP2(dc, mode);
        MoveToEx(dc, 3, 3, nullptr);
        LineTo(dc, 4, 3);
        // Code - 1 is the table: bit (pen << 1 | dest) of it gives the result bit.
        TColor expected = 0;
        for (int bit = 0; bit < 24; ++bit) {
            const int p = (pen >> bit) & 1, d = (dest >> bit) & 1;
            expected |= static_cast<TColor>(((mode - 1) >> (p * 2 + d)) & 1) << bit;
        }
        EXPECT_EQ(bitmap->Pixel(3, 3), expected) << "mode " << mode;
    }
}

TEST_F(DeviceTest, HatchesSitOnTheDeviceGridPlusTheBrushOrigin) {
    Open(16, 16);
    const HBRUSH horizontal = CreateHatchBrush(HS_HORIZONTAL, clBlack);
    const HBRUSH vertical = CreateHatchBrush(HS_VERTICAL, clBlack);
    SetBkMode(dc, TRANSPARENT);
    FillRect(dc, TRect(0, 0, 16, 16), horizontal);
    for (int y = 0; y < 16; ++y)
        EXPECT_EQ(Row(y), y % 8 == 3 ? std::string(16, '#') : std::string(16, '.')) << y;
    // The window origin moves the drawing, not the hatch.
    Clear(clWhite);
    SetWindowOrgEx(dc, 2, 0, nullptr);
    FillRect(dc, TRect(2, 0, 18, 16), vertical);
    EXPECT_EQ(Row(0), "....#.......#...");
    // The brush origin does move it; opaque gaps take the background colour.
    Clear(clWhite);
    SetBrushOrgEx(dc, 1, 0, nullptr);
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, clRed);
    FillRect(dc, TRect(2, 0, 18, 1), vertical);
    EXPECT_EQ(Row(0), "rrrrr#rrrrrrr#rr");
    // Diagonals: forward runs down-right, backward down-left, both in the diagonal cross.
    SetWindowOrgEx(dc, 0, 0, nullptr);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    SetBkMode(dc, TRANSPARENT);
    for (int hatch : {HS_FDIAGONAL, HS_BDIAGONAL, HS_CROSS, HS_DIAGCROSS}) {
        Clear(clWhite);
        FillRect(dc, TRect(0, 0, 8, 8), CreateHatchBrush(hatch, clBlack));
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 8; ++x) {
                const bool f = x == y, b = x + y == 7, h = y == 3, v = x == 4;
                const bool expected = hatch == HS_FDIAGONAL   ? f
                                      : hatch == HS_BDIAGONAL ? b
                                      : hatch == HS_CROSS     ? (h || v)
                                                              : (f || b);
                EXPECT_EQ(Ink(x, y), expected) << hatch << " at " << x << "," << y;
            }
        }
    }
}

TEST_F(DeviceTest, PatternBrushesTileFromTheBrushOrigin) {
    Open(16, 4);
    TBitmap pattern(8, 8, TPixelFormat::pf32bit);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            pattern.SetPixel(x, y, x == 0 ? clRed : clWhite);
    const HBRUSH brush = CreatePatternBrush(pattern);
    SetBrushOrgEx(dc, 3, 0, nullptr);
    FillRect(dc, TRect(0, 0, 16, 1), brush);
    EXPECT_EQ(Row(0), "...r.......r....");
    // A monochrome pattern paints 0 bits in the text colour and 1 bits in the background one.
    TBitmap mono(2, 1, TPixelFormat::pf1bit);
    mono.SetPixel(0, 0, clBlack);
    mono.SetPixel(1, 0, clWhite);
    SetTextColor(dc, clRed);
    SetBkColor(dc, clBlack);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    FillRect(dc, TRect(0, 1, 6, 2), CreatePatternBrush(mono));
    EXPECT_EQ(Row(1).substr(0, 6), "r#r#r#");
}

// Shapes against the regions of the same coordinates, size by size.
TEST_F(DeviceTest, ShapesAndRegionsKeepThePlatformRelations) {
    Open(40, 40);
    const int objects = LiveGdiObjectCount();
    const HBRUSH black = HBRUSH(GetStockObject(BLACK_BRUSH));
    for (int w = 1; w <= 14; ++w) {
        for (int h = 1; h <= 14; ++h) {
            const int l = 3, t = 4, r = l + w, b = t + h;
            SelectObject(dc, black);
            SelectObject(dc, HPEN(GetStockObject(NULL_PEN)));
            Clear(clWhite);
            Rectangle(dc, l, t, r, b);
            const HRGN rect = CreateRectRgn(l, t, r - 1, b - 1);
            EXPECT_TRUE(Painted() == *RegionOf(rect)) << "rectangle " << w << "x" << h;
            Clear(clWhite);
            Ellipse(dc, l, t, r, b);
            const HRGN plain = CreateEllipticRgn(l, t, r, b);
            EXPECT_TRUE(Painted() == *RegionOf(plain)) << "ellipse without pen " << w << "x" << h;
            SelectObject(dc, HPEN(GetStockObject(BLACK_PEN)));
            Clear(clWhite);
            Ellipse(dc, l, t, r, b);
            const HRGN grown = CreateEllipticRgn(l, t, r + 1, b + 1);
            EXPECT_TRUE(Painted() == *RegionOf(grown)) << "ellipse " << w << "x" << h;
            Clear(clWhite);
            RoundRect(dc, l, t, r, b, 6, 6);
            const HRGN round = CreateRoundRectRgn(l, t, r + 1, b + 1, 6, 6);
            EXPECT_TRUE(Painted() == *RegionOf(round)) << "round rect " << w << "x" << h;
            Clear(clWhite);
            Rectangle(dc, l, t, r, b);
            EXPECT_TRUE(Painted() == TRegion(TRect(l, t, r, b))) << "framed " << w << "x" << h;
            for (HRGN region : {rect, plain, grown, round})
                DeleteObject(region);
        }
    }
    EXPECT_EQ(LiveGdiObjectCount(), objects);
}

TEST_F(DeviceTest, PolygonsFillTheirRegionsPixels) {
    Open(48, 48);
    std::mt19937 rng(9);
    std::uniform_int_distribution<int> coord(-3, 50), count(3, 8);
    SelectObject(dc, HBRUSH(GetStockObject(BLACK_BRUSH)));
    SelectObject(dc, HPEN(GetStockObject(NULL_PEN)));
    for (int round = 0; round < 80; ++round) {
        std::vector<TPoint> points(count(rng));
        for (TPoint& p : points)
            p = {coord(rng), coord(rng)};
        for (int mode : {ALTERNATE, WINDING}) {
            Clear(clWhite);
            SetPolyFillMode(dc, mode);
            Polygon(dc, points);
            TRegion expected = *RegionOf(CreatePolygonRgn(points, mode));
            expected.Combine(expected, TRegion(TRect(0, 0, 48, 48)), TRegionCombine::rgnAnd);
            ASSERT_TRUE(Painted() == expected) << "round " << round << " mode " << mode;
        }
    }
}

TEST_F(DeviceTest, DashedPensWalkRoundEllipseAndRoundRectOutlines) {
    Open(60, 40);
    SelectObject(dc, HBRUSH(GetStockObject(NULL_BRUSH)));
    SetBkMode(dc, TRANSPARENT);
    auto count = [&](TColor color) {
        int n = 0;
        for (int y = 0; y < bitmap->Height(); ++y)
            for (int x = 0; x < bitmap->Width(); ++x)
                n += bitmap->Pixel(x, y) == color ? 1 : 0;
        return n;
    };
    for (const bool round : {false, true}) {
        auto shape = [&] {
            if (round)
                RoundRect(dc, 2, 2, 58, 38, 20, 16);
            else
                Ellipse(dc, 2, 2, 58, 38);
        };
        Clear(clWhite);
        UsePen(PS_SOLID, 1, clBlack);
        shape();
        const TRegion outline = Painted();
        const int solid = count(clBlack);
        Clear(clWhite);
        UsePen(PS_DOT, 1, clBlack);
        shape();
        const int dotted = count(clBlack);
        // Every dot lies on the solid outline, and three on, three off leaves about half.
        TRegion dots = Painted();
        dots.Combine(dots, outline, TRegionCombine::rgnDiff);
        EXPECT_TRUE(dots.IsEmpty()) << round;
        EXPECT_NEAR(dotted, solid / 2, solid / 10) << round;
        // In opaque mode the gaps take the background colour and the outline is whole.
        SetBkMode(dc, OPAQUE);
        SetBkColor(dc, clRed);
        UsePen(PS_DASH, 1, clBlack);
        shape();
        EXPECT_EQ(count(clBlack) + count(clRed), solid) << round;
        EXPECT_NEAR(count(clBlack), solid * 18 / 24, solid / 10) << round;
        SetBkMode(dc, TRANSPARENT);
    }
    // The dashes do not move when a clip hides part of the shape.
    Clear(clWhite);
    UsePen(PS_DASHDOT, 1, clBlack);
    Ellipse(dc, 2, 2, 58, 38);
    const std::string whole = Row(20) + Row(3);
    Clear(clWhite);
    const HRGN half = CreateRectRgn(0, 0, 30, 40);
    SelectClipRgn(dc, half);
    Ellipse(dc, 2, 2, 58, 38);
    EXPECT_EQ((Row(20) + Row(3)).substr(0, 30), whole.substr(0, 30));
    EXPECT_EQ(Row(3).substr(0, 30), whole.substr(60, 30));
}

TEST_F(DeviceTest, XorShowsThatEllipsesPaintTheirOutlineTwiceAndRectanglesOnce) {
    SelectObject(dc, HBRUSH(GetStockObject(WHITE_BRUSH)));
    SelectObject(dc, HPEN(GetStockObject(WHITE_PEN)));
    SetROP2(dc, R2_XORPEN);
    // White pen and brush xor white to black; painted twice the pixel is white again.
    Rectangle(dc, 1, 1, 8, 6);
    for (int y = 1; y < 6; ++y)
        for (int x = 1; x < 8; ++x)
            EXPECT_TRUE(Ink(x, y)) << x << "," << y;
    Ellipse(dc, 10, 1, 20, 11);
    EXPECT_FALSE(Ink(10, 6));  // outline: fill and pen
    EXPECT_TRUE(Ink(15, 6));   // inside: the fill only
    // FillRect ignores the pen mode.
    FillRect(dc, TRect(1, 12, 4, 14), HBRUSH(GetStockObject(BLACK_BRUSH)));
    FillRect(dc, TRect(1, 12, 4, 14), HBRUSH(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(Row(12).substr(0, 5), ".###.");
    EXPECT_EQ(Row(14).substr(0, 5), ".....");
}

TEST_F(DeviceTest, RegionCallsCombineByNameAndPaintThroughThePenMode) {
    const HRGN a = CreateRectRgn(10, 10, 0, 0);  // inverted corners are ordered
    EXPECT_TRUE(*RegionOf(a) == TRegion(TRect(0, 0, 10, 10)));
    const HRGN b = CreateRectRgn(5, 0, 15, 10);
    const HRGN out = CreateRectRgn(0, 0, 0, 0);
    struct Case {
        int mode;
        std::vector<TRect> expected;
    };
    const Case cases[] = {{RGN_AND, {{5, 0, 10, 10}}},
                          {RGN_OR, {{0, 0, 15, 10}}},
                          {RGN_XOR, {{0, 0, 5, 10}, {10, 0, 15, 10}}},
                          {RGN_DIFF, {{0, 0, 5, 10}}},
                          {RGN_COPY, {{0, 0, 10, 10}}}};
    for (const Case& c : cases) {
        const int kind = CombineRgn(out, a, b, c.mode);
        EXPECT_TRUE(*RegionOf(out) == TRegion::FromRects(c.expected)) << c.mode;
        EXPECT_EQ(kind, c.expected.size() == 1 ? SIMPLEREGION : COMPLEXREGION);
    }
    EXPECT_EQ(CombineRgn(out, a, b, 9), ERROR);
    // FillRgn honours the pen mode, FrameRgn paints the inner border, InvertRgn inverts.
    SetROP2(dc, R2_NOTCOPYPEN);
    FillRgn(dc, a, HBRUSH(GetStockObject(WHITE_BRUSH)));
    EXPECT_EQ(bitmap->Pixel(0, 0), clBlack);
    EXPECT_EQ(bitmap->Pixel(10, 0), clWhite);
    SetROP2(dc, R2_COPYPEN);
    InvertRgn(dc, a);
    EXPECT_EQ(bitmap->Pixel(9, 9), clWhite);
    const HRGN frame = CreateRectRgn(12, 2, 20, 8);
    FrameRgn(dc, frame, HBRUSH(GetStockObject(BLACK_BRUSH)), 2, 1);
    EXPECT_EQ(Row(2).substr(12, 8), "########");
    EXPECT_EQ(Row(3).substr(12, 8), "##....##");
    EXPECT_EQ(Row(7).substr(12, 8), "########");
    OffsetRgn(frame, 1, 1);
    TRect box;
    EXPECT_EQ(GetRgnBox(frame, &box), SIMPLEREGION);
    EXPECT_EQ(box, TRect(13, 3, 21, 9));
}

TEST_F(DeviceTest, ClippingAndOriginsApplyToEveryCall) {
    // The clip region is copied in device units.
    const HRGN clip = CreateRectRgn(2, 2, 10, 10);
    SelectClipRgn(dc, clip);
    DeleteObject(clip);
    SetWindowOrgEx(dc, -5, 0, nullptr);  // logical x 0 is device x 5
    // IntersectClipRect takes logical units and stays in device space.
    IntersectClipRect(dc, 0, 0, 3, 20);  // device 5..8
    SetWindowOrgEx(dc, 0, 0, nullptr);
    TRect box;
    GetClipBox(dc, &box);
    EXPECT_EQ(box, TRect(5, 2, 8, 10));
    FillRect(dc, TRect(0, 0, 24, 16), HBRUSH(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(Row(5), ".....###................");
    ExcludeClipRect(dc, 6, 0, 7, 16);
    Clear(clWhite);
    SelectObject(dc, HBRUSH(GetStockObject(BLACK_BRUSH)));
    PatBlt(dc, 0, 0, 24, 16, PATCOPY);
    EXPECT_EQ(Row(5), ".....#.#................");
    MoveToEx(dc, 0, 6, nullptr);
    LineTo(dc, 24, 6);
    EXPECT_EQ(Row(6), ".....#.#................");
    const HRGN copy = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetClipRgn(dc, copy), 1);
    EXPECT_FALSE(PtInRegion(copy, 6, 5));
    EXPECT_TRUE(PtInRegion(copy, 7, 5));
    // Saved states bring back the clip and the selected objects.
    const int level = SaveDC(dc);
    SelectClipRgn(dc, HRGN());
    const HPEN red = CreatePen(PS_SOLID, 1, clRed);
    SelectObject(dc, red);
    EXPECT_EQ(GetClipRgn(dc, copy), 0);
    RestoreDC(dc, level);
    EXPECT_EQ(GetClipRgn(dc, copy), 1);
    EXPECT_EQ(GetCurrentObject(dc, TGdiKind::Pen), HGDIOBJ(GetStockObject(BLACK_PEN)));
    // Viewport origins add, window origins subtract.
    SelectClipRgn(dc, HRGN());
    Clear(clWhite);
    SetViewportOrgEx(dc, 4, 0, nullptr);
    SetWindowOrgEx(dc, 1, 0, nullptr);
    SetPixel(dc, 0, 0, clRed);
    EXPECT_EQ(bitmap->Pixel(3, 0), clRed);
    EXPECT_EQ(GetPixel(dc, 0, 0), clRed);
}

TEST_F(DeviceTest, HandlesStayValidWhileSelectedAndStockObjectsStay) {
    const int before = LiveGdiObjectCount();
    const HPEN red = CreatePen(PS_SOLID, 1, clRed);
    const HPEN previous = SelectObject(dc, red);
    EXPECT_EQ(HGDIOBJ(previous), GetStockObject(BLACK_PEN));
    EXPECT_TRUE(DeleteObject(red));  // still selected: the device keeps drawing with it
    EXPECT_FALSE(DeleteObject(red));
    MoveToEx(dc, 0, 0, nullptr);
    LineTo(dc, 3, 0);
    EXPECT_EQ(Row(0).substr(0, 4), "rrr.");
    EXPECT_FALSE(SelectObject(dc, red));  // a deleted handle finds nothing
    EXPECT_FALSE(DeleteObject(GetStockObject(BLACK_PEN)));
    EXPECT_EQ(LiveGdiObjectCount(), before);
    LOGPEN log;
    EXPECT_FALSE(GetObject(red, log));
    EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL), 32);
    EXPECT_EQ(GetDeviceCaps(dc, PLANES), 1);
    EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSY), 96);
}

TEST_F(DeviceTest, ExtremeCoordinatesAreClippedWithoutWalkingThem) {
    const int big = std::numeric_limits<int>::max();
    const int small = std::numeric_limits<int>::min();
    SelectObject(dc, HBRUSH(GetStockObject(BLACK_BRUSH)));
    MoveToEx(dc, small, 5, nullptr);
    LineTo(dc, big, 5);
    EXPECT_EQ(Row(5), std::string(24, '#'));
    Ellipse(dc, small, small, big, big);
    Polygon(dc, std::vector<TPoint>{{small, small}, {big, 0}, {0, big}});
    RoundRect(dc, small, small, big, big, big, big);
    const HPEN dashed = CreatePen(PS_DASH, 1, clRed);
    const HGDIOBJ solid = SelectObject(dc, dashed);
    Ellipse(dc, small, small, big, big);
    RoundRect(dc, small, small, big, big, 9, 9);
    DeleteObject(SelectObject(dc, solid));
    PatBlt(dc, big, big, small, small, PATCOPY);
    // Regions that tall are refused rather than built row by row.
    EXPECT_FALSE(CreateEllipticRgn(small, small, big, big));
    EXPECT_FALSE(CreatePolygonRgn(std::vector<TPoint>{{0, small}, {5, big}, {9, 0}}, ALTERNATE));
    EXPECT_TRUE(CreateRectRgn(small, small, big, big));
    SetWindowOrgEx(dc, small, small, nullptr);
    Rectangle(dc, small, small, big, big);
    EXPECT_TRUE(Ink(0, 0));
}

TEST_F(DeviceTest, MonochromeTargetsDrawInPaletteIndices) {
    TBitmap mono(10, 3, TPixelFormat::pf1bit);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 10; ++x)
            mono.SetPixel(x, y, clWhite);
    const HDC m = CreateBitmapDC(mono);
    EXPECT_EQ(GetDeviceCaps(m, BITSPIXEL), 1);
    // Colours go to the nearer palette entry; raster operations work on the index bits.
    FillRect(m, TRect(1, 0, 4, 1), CreateSolidBrush(RGB(40, 40, 40)));
    SetROP2(m, R2_NOT);
    MoveToEx(m, 0, 0, nullptr);
    LineTo(m, 6, 0);
    for (int x = 0; x < 10; ++x)
        EXPECT_EQ(mono.Pixel(x, 0), (x >= 1 && x < 4) || x >= 6 ? clWhite : clBlack) << x;
    SetROP2(m, R2_COPYPEN);
    SelectObject(m, CreateHatchBrush(HS_VERTICAL, clBlack));
    SetBkMode(m, TRANSPARENT);
    PatBlt(m, 0, 2, 10, 1, PATCOPY);
    for (int x = 0; x < 10; ++x)
        EXPECT_EQ(mono.Pixel(x, 2), x == 4 ? clBlack : clWhite) << x;
    DeleteDC(m);
}

}  // namespace
}  // namespace kw
