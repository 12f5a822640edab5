#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <vector>

#include "platform/graphics/bitmap.h"
#include "platform/graphics/region.h"

namespace kw {
namespace {

using ::testing::HasSubstr;

// Every test region lies inside this field, with a margin that must stay empty.
constexpr TRect kField(-12, -12, 52, 52);

using PixelTest = std::function<bool(int, int)>;

void ExpectPixels(const TRegion& region, const PixelTest& expected, const char* what) {
    int left = kField.Right, top = kField.Bottom, right = kField.Left, bottom = kField.Top;
    for (int y = kField.Top; y < kField.Bottom; ++y) {
        for (int x = kField.Left; x < kField.Right; ++x) {
            const bool in = expected(x, y);
            ASSERT_EQ(region.Contains(x, y), in) << what << " at " << x << ", " << y;
            if (in) {
                left = std::min(left, x);
                top = std::min(top, y);
                right = std::max(right, x + 1);
                bottom = std::max(bottom, y + 1);
            }
        }
    }
    const TRect bounds = left < right ? TRect(left, top, right, bottom) : TRect();
    EXPECT_EQ(region.Bounds(), bounds) << what;
    EXPECT_EQ(region.IsEmpty(), left >= right) << what;
}

struct Shape {
    std::vector<TRect> rects;
    bool Contains(int x, int y) const {
        for (const TRect& r : rects) {
            if (r.Contains(x, y))
                return true;
        }
        return false;
    }
};

Shape RandomShape(std::mt19937& rng) {
    std::uniform_int_distribution<int> coord(-5, 40), count(0, 8);
    Shape shape;
    for (int n = count(rng); n > 0; --n) {
        const int x1 = coord(rng), x2 = coord(rng), y1 = coord(rng), y2 = coord(rng);
        shape.rects.emplace_back(std::min(x1, x2), std::min(y1, y2), std::max(x1, x2),
                                 std::max(y1, y2));
    }
    return shape;
}

TEST(RegionTest, CombinationsMatchPixelSetsOnRandomShapes) {
    std::mt19937 rng(7);
    for (int round = 0; round < 100; ++round) {
        const Shape a = RandomShape(rng), b = RandomShape(rng);
        const TRegion ra = TRegion::FromRects(a.rects), rb = TRegion::FromRects(b.rects);
        ExpectPixels(
            ra, [&](int x, int y) { return a.Contains(x, y); }, "rects");

        const std::vector<std::pair<TRegionCombine, std::function<bool(bool, bool)>>> modes = {
            {TRegionCombine::rgnAnd, [](bool p, bool q) { return p && q; }},
            {TRegionCombine::rgnOr, [](bool p, bool q) { return p || q; }},
            {TRegionCombine::rgnXor, [](bool p, bool q) { return p != q; }},
            {TRegionCombine::rgnDiff, [](bool p, bool q) { return p && !q; }},
            {TRegionCombine::rgnCopy, [](bool p, bool) { return p; }},
        };
        for (const auto& [mode, rule] : modes) {
            const auto& combine = rule;  // a structured binding cannot be captured
            TRegion result;
            const TRegionKind kind = result.Combine(ra, rb, mode);
            ExpectPixels(
                result, [&](int x, int y) { return combine(a.Contains(x, y), b.Contains(x, y)); },
                "combine");
            EXPECT_EQ(kind, result.RectCount() == 0   ? TRegionKind::rkNull
                            : result.RectCount() == 1 ? TRegionKind::rkSimple
                                                      : TRegionKind::rkComplex);
        }
        TRegion self = ra;
        self.Combine(self, rb, TRegionCombine::rgnXor);
        TRegion xored;
        xored.Combine(ra, rb, TRegionCombine::rgnXor);
        EXPECT_TRUE(self == xored);

        TRegion moved = ra;
        moved.Offset(3, -4);
        ExpectPixels(
            moved, [&](int x, int y) { return a.Contains(x - 3, y + 4); }, "offset");
    }
}

// A pixel is inside when its integer point is: crossings of row y at or left of x are counted
// (odd count) or summed by direction (non-zero), in exact integers. Edges hold their top row,
// not their bottom one.
bool PointInside(const std::vector<TPoint>& poly, int x, int y, TPolyFillMode mode) {
    int crossings = 0, winding = 0;
    for (std::size_t i = 0; i < poly.size(); ++i) {
        TPoint p = poly[i], q = poly[(i + 1) % poly.size()];
        if (p.Y == q.Y)
            continue;
        const int direction = p.Y < q.Y ? 1 : -1;
        if (p.Y > q.Y)
            std::swap(p, q);
        if (y < p.Y || y >= q.Y)
            continue;
        // crossing X <= x, times (q.Y - p.Y) > 0
        const long long lhs = 1LL * p.X * (q.Y - p.Y) + (1LL * y - p.Y) * (q.X - p.X);
        if (lhs <= 1LL * x * (q.Y - p.Y)) {
            ++crossings;
            winding += direction;
        }
    }
    return mode == TPolyFillMode::pfmAlternate ? crossings % 2 == 1 : winding != 0;
}

TEST(RegionTest, PolygonsSampleIntegerPointsUnderTheFillRule) {
    const std::vector<TPoint> square = {{2, 3}, {12, 3}, {12, 9}, {2, 9}};
    EXPECT_TRUE(TRegion::FromPolygon(square, TPolyFillMode::pfmAlternate) ==
                TRegion(TRect(2, 3, 12, 9)));

    // A right triangle whose diagonal is its left edge keeps the diagonal's points; the
    // vertical right edge and the bottom row are out.
    const std::vector<TPoint> triangle = {{0, 0}, {10, 0}, {10, 10}};
    const TRegion upper = TRegion::FromPolygon(triangle, TPolyFillMode::pfmAlternate);
    for (int y = -1; y <= 10; ++y) {
        for (int x = -1; x <= 11; ++x)
            EXPECT_EQ(upper.Contains(x, y), y >= 0 && y < 10 && x >= y && x < 10) << x << "," << y;
    }
    // A slanted left edge: the crossing of row 1 is at x = 1/3, so the row starts at 1 (a
    // centre sample would start at 0).
    const std::vector<TPoint> slant = {{0, 0}, {6, 0}, {6, 3}, {1, 3}};
    const TRegion slanted = TRegion::FromPolygon(slant, TPolyFillMode::pfmAlternate);
    EXPECT_TRUE(slanted.Contains(0, 0));
    EXPECT_FALSE(slanted.Contains(0, 1));
    EXPECT_TRUE(slanted.Contains(1, 1));
    EXPECT_TRUE(slanted.Contains(1, 2));
    EXPECT_FALSE(slanted.Contains(6, 1));

    const std::vector<TPoint> star = {{20, 0}, {32, 38}, {0, 14}, {40, 14}, {8, 38}};
    const TRegion alternate = TRegion::FromPolygon(star, TPolyFillMode::pfmAlternate);
    const TRegion winding = TRegion::FromPolygon(star, TPolyFillMode::pfmWinding);
    EXPECT_FALSE(alternate.Contains(20, 20));
    EXPECT_TRUE(winding.Contains(20, 20));

    std::mt19937 rng(11);
    std::uniform_int_distribution<int> coord(-4, 40), count(3, 9);
    for (int round = 0; round < 150; ++round) {
        std::vector<TPoint> poly(count(rng));
        for (auto& p : poly)
            p = {coord(rng), coord(rng)};
        for (auto mode : {TPolyFillMode::pfmAlternate, TPolyFillMode::pfmWinding}) {
            ExpectPixels(
                TRegion::FromPolygon(poly, mode),
                [&](int x, int y) { return PointInside(poly, x, y, mode); }, "polygon");
        }
    }
}

TEST(RegionTest, MaskRegionHoldsTheSetBits) {
    std::mt19937 rng(3);
    TBitmap mask(37, 21, TPixelFormat::pf1bit);
    for (int y = 0; y < mask.Height(); ++y)
        for (int x = 0; x < mask.Width(); ++x)
            mask.SetPixel(x, y, rng() % 3 == 0 ? clWhite : clBlack);
    ExpectPixels(
        TRegion::FromMask(mask), [&](int x, int y) { return mask.Pixel(x, y) == clWhite; }, "mask");
    EXPECT_THROW(TRegion::FromMask(TBitmap(2, 2)), EInvalidGraphicOperation);
}

TEST(RegionDataTest, RoundTripsThroughTheRegionDataBlock) {
    std::mt19937 rng(5);
    for (int round = 0; round < 50; ++round) {
        const TRegion region = TRegion::FromRects(RandomShape(rng).rects);
        const std::vector<Byte> data = region.RegionData();
        ASSERT_EQ(data.size(), 32u + 16u * region.RectCount());
        auto u32 = [&](std::size_t at) {
            return data[at] | data[at + 1] << 8 | data[at + 2] << 16 | data[at + 3] << 24;
        };
        EXPECT_EQ(u32(0), 32);
        EXPECT_EQ(u32(4), 1);
        EXPECT_EQ(u32(8), region.RectCount());
        EXPECT_EQ(u32(12), 16 * region.RectCount());
        const TRect bound = region.Bounds();
        EXPECT_EQ(static_cast<int>(u32(16)), bound.Left);
        EXPECT_EQ(static_cast<int>(u32(28)), bound.Bottom);
        EXPECT_TRUE(TRegion::FromRegionData(data) == region);
    }
}

TEST(RegionDataTest, RefusesMalformedBlocks) {
    const std::vector<Byte> good =
        TRegion::FromRects(std::vector<TRect>{{0, 0, 4, 4}, {6, 1, 9, 2}}).RegionData();
    auto refusal = [](std::vector<Byte> data) -> std::string {
        try {
            TRegion::FromRegionData(data);
        } catch (const ERegionError& e) {
            return e.what();
        }
        return "accepted";
    };
    auto patched = [&](std::size_t at, Byte value) {
        std::vector<Byte> copy = good;
        copy[at] = value;
        return copy;
    };
    EXPECT_THAT(refusal(std::vector<Byte>(good.begin(), good.begin() + 20)),
                HasSubstr("shorter than the 32-byte header"));
    EXPECT_THAT(refusal(patched(0, 40)), HasSubstr("header size 40"));
    EXPECT_THAT(refusal(patched(4, 2)), HasSubstr("type 2"));
    EXPECT_THAT(refusal(patched(8, 5)), HasSubstr("5 rectangles need 80 bytes"));
    EXPECT_THAT(refusal(patched(12, 8)), HasSubstr("rectangle size 8"));
    EXPECT_THAT(refusal(patched(32, 0xF0)), HasSubstr("rectangle 0 is inverted"));
    EXPECT_THAT(refusal(std::vector<Byte>(good.begin(), good.end() - 1)),
                HasSubstr("follow the header"));

    std::vector<Byte> unsized = patched(12, 0);
    EXPECT_TRUE(TRegion::FromRegionData(unsized) == TRegion::FromRegionData(good));
    EXPECT_TRUE(TRegion::FromRegionData(TRegion().RegionData()).IsEmpty());
}

}  // namespace
}  // namespace kw
