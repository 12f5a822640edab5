#include "drawing/shapes.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <string_view>

#include "drawing/rects.h"
#include "platform/core/numbers.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/device.h"
#include "platform/graphics/region.h"

namespace kw {

namespace {

constexpr int kGridSteps = 14;  // indices 1..15

struct TShapeDesign {
    TKwShapeOrientation natural;
    // Grid vertices "i,j" as the shape looks pointing up; "+" starts the next polygon. Empty
    // for the primitives and for the bar, which is laid out in pixels.
    std::string_view vertices;
};

constexpr TKwShapeOrientation U = sorUp;
constexpr TKwShapeOrientation R = sorRight;

// Indexed by TKwShapes.
constexpr std::array<TShapeDesign, kKwShapeCount> kDesigns{{
    {U, ""},                                                                   // shaEllipse
    {R, "8,1 1,15 15,15"},                                                     // shaTriangle
    {U, ""},                                                                   // shaRectangle
    {U, ""},                                                                   // shaRoundRect
    {R, "8,1 1,15 8,8 15,15"},                                                 // shaTrianEx1
    {R, ""},                                                                   // shaPoliRect
    {R, "8,1 15,8 11,8 11,15 5,15 5,8 1,8"},                                   // shaArrow
    {U, "8,1 1,15 13,15 + 8,1 15,9 13,15"},                                    // shaPyramid
    {R, "7,1 7,7 1,7 + 9,1 9,7 15,7 + 1,9 7,9 7,15 + 9,9 15,9 9,15"},          // shaKite
    {R, "8,1 1,4 15,4 + 1,6 15,6 15,10 1,10 + 1,12 15,12 8,15"},               // shaArrowDouble
    {R, "8,1 1,8 8,15 15,8"},                                                  // shaRhombus
    {R, "8,1 1,7 15,7 + 1,9 15,9 8,15"},                                       // shaRhombusLine
    {R, "5,1 1,5 1,11 5,15 11,15 15,11 15,5 11,1"},                            // shaOctagon
    {R, "15,1 10,1 15,6"},                                                     // shaTriangleBorder1
    {R, "1,1 15,1 15,15"},                                                     // shaTriangleRect
    {R, "15,1 7,1 1,7 1,15 5,15 5,9 9,5 15,5"},                                // shaArc
    {R, "5,1 1,5 1,15 6,15 6,6 10,6 10,15 15,15 15,5 11,1"},                   // shaArcHorseShoe
    {R, "6,1 6,6 1,6 1,10 6,10 6,15 10,15 10,10 15,10 15,6 10,6 10,1"},        // shaPlus
    {R, "8,1 1,8 1,15 15,15 15,8"},                                            // shaArrowBig
    {R, "8,1 1,15 5,15 + 8,1 11,15 15,15"},                                    // shaArrowStyle
    {R, "1,1 15,1 15,15 11,11 7,15 1,9 5,5"},                                  // shaArrowRect
    {R, "1,13 15,13 15,15 1,15 + 1,11 8,1 15,11"},                             // shaArrowBar1
    {R, "1,13 15,13 15,15 1,15 + 1,9 15,9 15,11 1,11 + 1,7 8,1 15,7"},         // shaArrowBar2
    {R, "5,1 1,5 1,9 5,9 5,15 11,15 11,9 15,9 15,5 11,1"},                     // shaMushroom
    {R, "15,1 7,1 1,5 1,15 7,15 7,4 15,4"},                                    // shaArcRect
    {U, "1,6 15,6 15,10 1,10"},                                                // shaMinus
    {U, "1,1 1,15 5,15 5,10 11,10 11,15 15,15 15,1 11,1 11,6 5,6 5,1"},        // shaLetterH
    {R, "15,1 10,1 15,6 + 1,15 1,10 6,15"},                                    // shaTriangleBorder2
    {R, "15,1 10,1 15,6 + 1,15 1,10 6,15 + 1,1 6,1 1,6 + 15,10 15,15 10,15"},  // ...Border4
    {U, "1,1 5,1 8,6 11,1 15,1 10,9 10,15 6,15 6,9"},                          // shaLetterY
    {R, "1,1 15,1 15,5 1,5 + 1,11 15,11 15,15 1,15"},                          // shaParallel
    {R, "5,1 11,1 15,8 11,15 5,15 1,8"},                                       // shaHexagon
    {U, "8,1 1,8 5,15 11,15 15,8"},                                            // shaPentagon
    {R, "1,1 4,6 1,8 4,10 1,15 6,12 8,15 10,12 15,15 12,10 15,8 12,6 15,1 10,4 8,1 6,4"},
    {U,
     "15,3 12,1 4,1 1,3 4,5 12,5 + 1,5 4,7 4,15 1,13 + 12,7 15,5 15,13 12,15 + "
     "6,7 10,7 10,15 6,15"},                                          // shaCilinder
    {U, "8,1 1,13 5,15 11,15 15,13"},                                 // shaCone
    {R, "15,1 4,1 1,4 1,6 6,6 6,15 11,15 11,6 15,6"},                 // shaHammer
    {U, "1,1 15,1 15,5 10,5 10,15 6,15 6,5 1,5"},                     // shaLetterT
    {U, "1,1 15,1 15,5 5,5 5,11 15,11 15,15 1,15"},                   // shaLetterC
    {U, "15,1 7,9 4,5 1,8 8,15"},                                     // shaOk
    {R, "3,1 8,6 12,2 15,7 11,9 14,12 9,15 7,12 3,15 1,13 5,9 1,3"},  // shaCancel
    {U, "7,1 4,2 2,4 1,6 1,10 2,12 4,14 7,15 + 9,1 12,2 14,4 15,6 15,10 14,12 12,14 9,15"},
    {U,
     "7,1 4,2 2,4 1,7 7,7 + 1,9 2,12 4,14 7,15 7,9 + 9,15 12,14 14,12 15,9 9,9 + "
     "15,7 14,4 12,2 9,1 9,7"},  // shaCircleCross
    {U,
     "7,1 4,2 2,4 1,7 1,9 2,12 4,14 7,15 9,15 12,14 14,12 15,9 15,7 14,4 12,2 9,1 "
     "9,3 11,4 12,5 13,7 13,9 12,11 11,12 9,13 7,13 5,12 4,11 3,9 3,7 4,5 5,4 7,3"},
}};

// Grid vertices of one polygon list: (i, j) pairs, one vector per polygon.
using TGridPolygons = std::vector<std::vector<TPoint>>;

TGridPolygons ParseDesign(std::string_view text) {
    TGridPolygons polygons(1);
    int value = 0;
    int first = -1;
    bool inNumber = false;
    auto endNumber = [&] {
        if (!inNumber)
            return;
        inNumber = false;
        if (first < 0) {
            first = value;
        } else {
            polygons.back().push_back({first, value});
            first = -1;
        }
        value = 0;
    };
    for (const char c : text) {
        if (c >= '0' && c <= '9') {
            value = value * 10 + (c - '0');
            inNumber = true;
            continue;
        }
        endNumber();
        if (c == '+')
            polygons.emplace_back();
    }
    endNumber();
    if (polygons.back().empty())
        polygons.pop_back();
    return polygons;
}

const TGridPolygons& DesignOf(TKwShapes shape) {
    static const std::array<TGridPolygons, kKwShapeCount> parsed = [] {
        std::array<TGridPolygons, kKwShapeCount> all;
        for (int i = 0; i < kKwShapeCount; ++i)
            all[i] = ParseDesign(kDesigns[i].vertices);
        return all;
    }();
    return parsed[shape];
}

// The design box over the rectangle and the turn from design to canvas coordinates.
class TDesignBox {
public:
    TDesignBox(const TRect& rect, bool reflection, TKwShapeOrientation orientation)
        : rect_(rect), reflection_(reflection), orientation_(orientation) {
        const bool across = orientation == sorLeft || orientation == sorRight;
        x0_ = across ? rect.Top : rect.Left;
        y0_ = across ? rect.Left : rect.Top;
        sx_ = across ? rect.Height() : rect.Width();
        sy_ = across ? rect.Width() : rect.Height();
    }

    bool Empty() const { return sx_ < 1 || sy_ < 1; }
    int X(int k) const { return GridCoordinate(x0_, sx_, k); }
    int Y(int k) const { return GridCoordinate(y0_, sy_, k); }
    int SX() const { return sx_; }
    int SY() const { return sy_; }

    TPoint Place(TPoint design) const {
        int x = design.X;
        if (reflection_)
            x = X(15) - (x - X(1));
        const int dx = x - X(1);
        const int dy = design.Y - Y(1);
        switch (orientation_) {
            case sorLeft:
                return {rect_.Left + dy, rect_.Bottom - 1 - dx};
            case sorRight:
                return {rect_.Right - 1 - dy, rect_.Top + dx};
            case sorDown:
                return {rect_.Right - 1 - dx, rect_.Bottom - 1 - dy};
            default:
                return {x, design.Y};
        }
    }

private:
    static int GridCoordinate(int origin, int span, int k) {
        return origin + static_cast<int>((std::int64_t{k - 1} * (span - 1)) / kGridSteps);
    }

    TRect rect_;
    bool reflection_;
    TKwShapeOrientation orientation_;
    int x0_ = 0;
    int y0_ = 0;
    int sx_ = 0;
    int sy_ = 0;
};

// A bar whose top end is cut at 45 degrees, laid out in pixels of the design box.
std::vector<TPoint> PoliRectDesign(const TDesignBox& box) {
    const int s = std::min(box.SX(), box.SY());
    const int x1 = box.X(1);
    const int y1 = box.Y(1);
    return {{x1, y1}, {x1 + s - 1, y1 + s - 1}, {x1 + s - 1, box.Y(15)}, {x1, box.Y(15)}};
}

}  // namespace

TKwShapeOrientation KwDefaultOrientation(TKwShapes shape) {
    return shape < kKwShapeCount ? kDesigns[shape].natural : sorUp;
}

TKwShapeOutline KwShapeOutline(const TRect& rect, TKwShapes shape, bool reflection,
                               TKwShapeOrientation orientation) {
    TKwShapeOutline outline;
    if (!KwPaintable(rect) || shape >= kKwShapeCount || orientation >= kKwShapeOrientations)
        return outline;
    outline.Rect = rect;
    switch (shape) {
        case shaEllipse:
            outline.Kind = TKwOutlineKind::okEllipse;
            return outline;
        case shaRectangle:
            outline.Kind = TKwOutlineKind::okRectangle;
            return outline;
        case shaRoundRect:
            outline.Kind = TKwOutlineKind::okRoundRect;
            outline.Corner = std::min(rect.Width() / 2, rect.Height() / 2);
            return outline;
        default:
            break;
    }
    if (orientation == sorDefault)
        orientation = KwDefaultOrientation(shape);
    const TDesignBox box(rect, reflection, orientation);
    if (box.Empty())
        return outline;
    outline.Kind = TKwOutlineKind::okPolygons;
    auto place = [&](const std::vector<TPoint>& designPoints) {
        std::vector<TPoint> placed;
        placed.reserve(designPoints.size());
        for (const TPoint& p : designPoints)
            placed.push_back(box.Place(p));
        outline.Polygons.push_back(std::move(placed));
    };
    if (shape == shaPoliRect) {
        place(PoliRectDesign(box));
        return outline;
    }
    for (const std::vector<TPoint>& grid : DesignOf(shape)) {
        std::vector<TPoint> design;
        design.reserve(grid.size());
        for (const TPoint& g : grid)
            design.push_back({box.X(g.X), box.Y(g.Y)});
        place(design);
    }
    return outline;
}

void KwRotatePoints(int offsetX, int offsetY, int centerX, int centerY, std::span<TPoint> points,
                    double angle) {
    if (!std::isfinite(angle))
        return;
    const double a = angle * std::numbers::pi / 180.0;
    const double c = std::cos(a);
    const double s = std::sin(a);
    for (TPoint& p : points) {
        const double dx = static_cast<double>(p.X) - centerX;
        const double dy = static_cast<double>(p.Y) - centerY;
        const std::int64_t x = Round(dx * c + dy * s) + centerX + offsetX;
        const std::int64_t y = Round(dy * c - dx * s) + centerY + offsetY;
        p = {KwClampToInt(x), KwClampToInt(y)};
    }
}

}  // namespace kw

namespace kw {

TRegion KwShapeRegion(const TRect& rect, TKwShapes shape, bool reflection,
                      TKwShapeOrientation orientation) {
    const TKwShapeOutline outline = KwShapeOutline(rect, shape, reflection, orientation);
    TRegion region;
    switch (outline.Kind) {
        case TKwOutlineKind::okPolygons:
            try {
                for (const std::vector<TPoint>& polygon : outline.Polygons) {
                    region.Combine(region,
                                   TRegion::FromPolygon(polygon, TPolyFillMode::pfmAlternate),
                                   TRegionCombine::rgnOr);
                }
            } catch (const ERegionError&) {
                return TRegion();  // too tall for a region: refused like the ellipse below
            }
            break;
        case TKwOutlineKind::okRectangle:
            region = TRegion(outline.Rect);
            break;
        case TKwOutlineKind::okEllipse:
        case TKwOutlineKind::okRoundRect: {
            const TRect& r = outline.Rect;
            const HRGN made = outline.Kind == TKwOutlineKind::okEllipse
                                  ? CreateEllipticRgn(r.Left, r.Top, r.Right, r.Bottom)
                                  : CreateRoundRectRgn(r.Left, r.Top, r.Right, r.Bottom,
                                                       outline.Corner, outline.Corner);
            if (const TRegion* device = RegionOf(made))
                region = *device;
            DeleteObject(made);
            break;
        }
        case TKwOutlineKind::okNone:
            break;
    }
    return region;
}

}  // namespace kw
