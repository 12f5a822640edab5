#include "drawing/shapes.h"

#include <algorithm>
#include <set>

#include "drawing/decorations.h"
#include "drawing_fixture.h"
#include "platform/graphics/region.h"

namespace kw {
namespace {

constexpr TKwShapeOrientation kTurns[] = {sorDefault, sorUp, sorLeft, sorRight, sorDown};

std::vector<TPoint> Points(const TKwShapeOutline& outline, std::size_t polygon = 0) {
    return polygon < outline.Polygons.size() ? outline.Polygons[polygon] : std::vector<TPoint>{};
}

// The first polygon of a shape in a 15 x 15 box.
std::vector<TPoint> Square(TKwShapes shape, TKwShapeOrientation turn, bool mirror = false) {
    return Points(KwShapeOutline(TRect(0, 0, 15, 15), shape, mirror, turn));
}

// Every polygon as a sorted vertex list, the polygons sorted: the shape's vertices without
// their order.
std::vector<std::vector<std::pair<int, int>>> VertexSets(const TKwShapeOutline& outline) {
    std::vector<std::vector<std::pair<int, int>>> sets;
    for (const auto& polygon : outline.Polygons) {
        std::vector<std::pair<int, int>> set;
        for (const TPoint& p : polygon)
            set.emplace_back(p.X, p.Y);
        std::sort(set.begin(), set.end());
        sets.push_back(set);
    }
    std::sort(sets.begin(), sets.end());
    return sets;
}

TEST(ShapeGeometryTest, GridIndicesLandOnTheDesignBox) {
    EXPECT_EQ(Square(shaTriangle, sorUp), (std::vector<TPoint>{{7, 0}, {0, 14}, {14, 14}}));
    // 29 wide: X(8) = 14. Turned right, the design box is 15 wide and 29 high.
    const auto wide = KwShapeOutline(TRect(0, 0, 29, 15), shaTriangle, false, sorUp);
    EXPECT_EQ(Points(wide), (std::vector<TPoint>{{14, 0}, {0, 14}, {28, 14}}));
    const auto right = KwShapeOutline(TRect(0, 0, 29, 15), shaTriangle, false, sorRight);
    EXPECT_EQ(Points(right), (std::vector<TPoint>{{28, 7}, {0, 0}, {0, 14}}));
    // Defaults: the triangle points right, the pentagon up.
    EXPECT_EQ(Square(shaTriangle, sorDefault), (std::vector<TPoint>{{14, 7}, {0, 0}, {0, 14}}));
    EXPECT_EQ(Square(shaPentagon, sorDefault)[0], (TPoint{7, 0}));
    EXPECT_EQ(Square(shaTriangle, sorLeft), (std::vector<TPoint>{{0, 7}, {14, 14}, {14, 0}}));
    EXPECT_EQ(Square(shaTriangle, sorDown), (std::vector<TPoint>{{7, 14}, {14, 0}, {0, 0}}));
    // The bar is cut at 45 degrees over the smaller side.
    EXPECT_EQ(Points(KwShapeOutline(TRect(10, 20, 16, 40), shaPoliRect, false, sorUp)),
              (std::vector<TPoint>{{10, 20}, {15, 25}, {15, 39}, {10, 39}}));
    // Reflection mirrors before the turn.
    EXPECT_EQ(Square(shaArrowRect, sorUp, true),
              (std::vector<TPoint>{{14, 0}, {0, 0}, {0, 14}, {4, 10}, {8, 14}, {14, 8}, {10, 4}}));
    EXPECT_EQ(Square(shaArrowRect, sorDown, true)[1], (TPoint{14, 14}));
    const auto round = KwShapeOutline(TRect(0, 0, 9, 20), shaRoundRect, false, sorLeft);
    EXPECT_EQ(round.Kind, TKwOutlineKind::okRoundRect);
    EXPECT_EQ(round.Corner, 4);
    EXPECT_EQ(round.Rect, TRect(0, 0, 9, 20));
}

TEST(ShapeGeometryTest, EveryShapeStaysInsideItsRectangleInEveryTurn) {
    const TRect rects[] = {{3, 4, 4, 5}, {-7, 2, 30, 13}, {100, 50, 143, 150}};
    for (int s = 0; s < kKwShapeCount; ++s) {
        const auto shape = static_cast<TKwShapes>(s);
        for (const TRect& rect : rects) {
            for (const auto turn : kTurns) {
                for (const bool mirror : {false, true}) {
                    const auto outline = KwShapeOutline(rect, shape, mirror, turn);
                    ASSERT_NE(outline.Kind, TKwOutlineKind::okNone) << s;
                    for (const auto& polygon : outline.Polygons) {
                        ASSERT_GE(polygon.size(), 3u) << s;
                        for (const TPoint& p : polygon) {
                            ASSERT_TRUE(rect.Contains(p.X, p.Y))
                                << s << " turn " << int(turn) << " (" << p.X << "," << p.Y << ")";
                        }
                    }
                }
            }
        }
    }
    EXPECT_EQ(KwShapeOutline(TRect(0, 0, 0, 5), shaStar, false, sorUp).Kind,
              TKwOutlineKind::okNone);
    EXPECT_EQ(KwShapeOutline(TRect(5, 5, 0, 0), shaEllipse, false, sorUp).Kind,
              TKwOutlineKind::okNone);
    EXPECT_EQ(KwShapeOutline(TRect(0, 0, 5, 5), static_cast<TKwShapes>(44), false, sorUp).Kind,
              TKwOutlineKind::okNone);
    EXPECT_EQ(KwShapeOutline(TRect(INT32_MIN, 0, INT32_MAX, 5), shaStar, false, sorUp).Kind,
              TKwOutlineKind::okNone);
    EXPECT_TRUE(KwShapeRegion(TRect(0, 0, 0, 5), shaStar, false, sorUp).IsEmpty());
    // Too tall for a region: polygon and curved shapes alike are refused, not raised.
    const int tallest = static_cast<int>(kMaxRegionRows);
    EXPECT_FALSE(KwShapeRegion(TRect(0, 0, 9, tallest), shaStar, false, sorUp).IsEmpty());
    for (const TKwShapes shape : {shaStar, shaEllipse, shaTriangle})
        EXPECT_TRUE(KwShapeRegion(TRect(0, -9, 9, tallest), shape, false, sorUp).IsEmpty());
}

// On squares whose grid is exact, turning a shape equals rotating its upright vertices about
// the centre, and mirror-symmetric designs keep their vertices under reflection. This checks
// the turn rules against the rotation routine and the vertex table against its symmetry.
TEST(ShapeGeometryTest, TurnsMatchRotationAndSymmetricDesignsMirrorOntoThemselves) {
    const std::set<int> symmetric = {
        shaTriangle,    shaTrianEx1,    shaArrow,     shaArrowDouble,
        shaRhombus,     shaRhombusLine, shaOctagon,   shaPlus,
        shaArrowBig,    shaArrowStyle,  shaArrowBar1, shaArrowBar2,
        shaMushroom,    shaMinus,       shaLetterH,   shaTriangleBorder4,
        shaLetterY,     shaParallel,    shaHexagon,   shaPentagon,
        shaStar,        shaCilinder,    shaCone,      shaLetterT,
        shaCircleLine,  shaCircleCross, shaDonut,     shaKite,
        shaArcHorseShoe};
    for (const int side : {15, 29, 43}) {
        const TRect rect(0, 0, side, side);
        const int c = (side - 1) / 2;
        for (int s = 0; s < kKwShapeCount; ++s) {
            const auto shape = static_cast<TKwShapes>(s);
            const auto up = KwShapeOutline(rect, shape, false, sorUp);
            if (up.Kind != TKwOutlineKind::okPolygons)
                continue;
            const std::pair<TKwShapeOrientation, double> turns[] = {
                {sorLeft, 90}, {sorDown, 180}, {sorRight, -90}};
            for (const auto& [turn, angle] : turns) {
                const auto turned = KwShapeOutline(rect, shape, false, turn);
                ASSERT_EQ(turned.Polygons.size(), up.Polygons.size());
                for (std::size_t i = 0; i < up.Polygons.size(); ++i) {
                    std::vector<TPoint> rotated = up.Polygons[i];
                    KwRotatePoints(0, 0, c, c, rotated, angle);
                    EXPECT_EQ(rotated, turned.Polygons[i]) << s << " turn " << int(turn);
                }
            }
            const auto mirrored = KwShapeOutline(rect, shape, true, sorUp);
            EXPECT_EQ(VertexSets(mirrored) == VertexSets(up), symmetric.count(s) == 1)
                << "shape " << s;
        }
    }
}

TEST(ShapeGeometryTest, RegionsFollowTheFillRulesAndTheDonutHasAHole) {
    const TRect rect(0, 0, 43, 43);
    const TRegion donut = KwShapeRegion(rect, shaDonut, false, sorUp);
    EXPECT_FALSE(donut.Contains(21, 21));
    EXPECT_TRUE(donut.Contains(21, 40));
    EXPECT_TRUE(donut.Contains(1, 21));
    EXPECT_EQ(KwShapeRegion(TRect(2, 3, 7, 9), shaRectangle, false, sorUp),
              TRegion(TRect(2, 3, 7, 9)));
    // The primitives take the device's regions: an ellipse misses the box's corners.
    const TRegion ellipse = KwShapeRegion(TRect(0, 0, 20, 10), shaEllipse, false, sorLeft);
    EXPECT_TRUE(ellipse.Contains(10, 5));
    EXPECT_FALSE(ellipse.Contains(0, 0));
    EXPECT_FALSE(ellipse.Contains(19, 9));
    EXPECT_LE(ellipse.Bounds().Right, 20);
    const TRegion round = KwShapeRegion(TRect(0, 0, 20, 10), shaRoundRect, false, sorUp);
    EXPECT_TRUE(round.Contains(10, 0));
    EXPECT_TRUE(round.Contains(0, 5));
    EXPECT_FALSE(round.Contains(0, 0));
    // Several polygons unite: the four kite triangles leave the cross between them empty.
    const TRegion kite = KwShapeRegion(TRect(0, 0, 15, 15), shaKite, false, sorUp);
    EXPECT_TRUE(kite.Contains(5, 5));
    EXPECT_FALSE(kite.Contains(7, 7));
    EXPECT_TRUE(kite.Contains(10, 10));
}

TEST(RotationTest, TurnsCounterClockwiseOnScreen) {
    std::vector<TPoint> points = {{10, 0}, {0, 0}};
    KwRotatePoints(100, 200, 0, 0, points, 90);
    // (10, 0) turned a quarter counter-clockwise on a y-down screen goes up to (0, -10).
    EXPECT_EQ(points, (std::vector<TPoint>{{100, 190}, {100, 200}}));
    std::vector<TPoint> still = {{5, 5}};
    KwRotatePoints(0, 0, 0, 0, still, std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(still[0], (TPoint{5, 5}));
}

TEST(RectExtTest, RightAnglesSwapAndDiagonalsStepBack) {
    EXPECT_EQ(KwRectExt(100, 50, 0), (TSize{100, 50}));
    EXPECT_EQ(KwRectExt(100, 50, 180), (TSize{100, 50}));
    EXPECT_EQ(KwRectExt(100, 50, 90), (TSize{50, 100}));
    EXPECT_EQ(KwRectExt(100, 50, -270), (TSize{50, 100}));
    EXPECT_EQ(KwRectExt(100, 50, 45), KwRectExt(100, 50, 44));
    EXPECT_EQ(KwRectExt(100, 50, 44), (TSize{107, 105}));
    EXPECT_EQ(KwRectExt(100, 50, 30), (TSize{112, 93}));
    EXPECT_EQ(KwRectExt(INT32_MAX, INT32_MAX, 30).cx, INT32_MAX);
    EXPECT_EQ(KwRectExt(1, 1, INT32_MAX), KwRectExt(1, 1, INT32_MAX));
}

}  // namespace
}  // namespace kw
