#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/graphics/bitmap.h"

namespace kwsysimages {

// Glyph coordinates are pixels of the target image with y pointing down; a pixel's centre is at
// (x + 0.5, y + 0.5). Angles are degrees, counter-clockwise as seen on screen.
struct TPoint2 {
    double x = 0;
    double y = 0;
};
using TPolygon = std::vector<TPoint2>;

// A region: the union of the solids less the union of the holes. Each polygon is tested on its
// own with the even-odd rule, so neither orientation nor overlaps matter.
struct TShape {
    std::vector<TPolygon> solids;
    std::vector<TPolygon> holes;

    TShape& Add(const TShape& other);
};

// One colour (0xAARRGGBB, straight alpha) painted over everything below it.
struct TLayer {
    TShape shape;
    std::uint32_t argb = 0;
};
using TGlyph = std::vector<TLayer>;

TPoint2 OnCircle(TPoint2 centre, double radius, double degrees);

TShape Polygon(TPolygon points);
TShape Rect(double left, double top, double right, double bottom);
TShape Disc(TPoint2 centre, double radius);
TShape Ring(TPoint2 centre, double outerRadius, double innerRadius);
// A regular polygon whose first corner lies at `startDegrees`.
TShape RegularPolygon(TPoint2 centre, double radius, int corners, double startDegrees);
// A pen of `width` drawn along the points, with round ends and joints.
TShape Stroke(const TPolygon& points, double width);
// Points along an arc, from `fromDegrees` to `toDegrees` in either direction.
TPolygon ArcPoints(TPoint2 centre, double radius, double fromDegrees, double toDegrees);
// A stroked arc with an arrow head at its `toDegrees` end pointing along the arc.
TShape CircularArrow(TPoint2 centre, double radius, double width, double fromDegrees,
                     double toDegrees, double headSize);

// Every layer in one colour, its coverage kept: the single-colour variants of a glyph.
TGlyph Recoloured(TGlyph glyph, std::uint32_t rgb);

// Paints the layers onto a transparent square of `size` pixels, each pixel sampled on an 8 x 8
// grid; the result is a 32-bit bitmap with straight alpha.
std::unique_ptr<kw::TBitmap> Render(const TGlyph& glyph, int size);

}  // namespace kwsysimages
