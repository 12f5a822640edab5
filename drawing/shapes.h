#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "drawing/enum_names.h"
#include "platform/graphics/graphics_types.h"

namespace kw {

class TCanvas;
class TRegion;

KW_ENUM(TKwShapes, shaEllipse, shaTriangle, shaRectangle, shaRoundRect, shaTrianEx1, shaPoliRect,
        shaArrow, shaPyramid, shaKite, shaArrowDouble, shaRhombus, shaRhombusLine, shaOctagon,
        shaTriangleBorder1, shaTriangleRect, shaArc, shaArcHorseShoe, shaPlus, shaArrowBig,
        shaArrowStyle, shaArrowRect, shaArrowBar1, shaArrowBar2, shaMushroom, shaArcRect, shaMinus,
        shaLetterH, shaTriangleBorder2, shaTriangleBorder4, shaLetterY, shaParallel, shaHexagon,
        shaPentagon, shaStar, shaCilinder, shaCone, shaHammer, shaLetterT, shaLetterC, shaOk,
        shaCancel, shaCircleLine, shaCircleCross, shaDonut)
inline constexpr int kKwShapeCount = shaDonut + 1;

KW_ENUM(TKwShapeOrientation, sorDefault, sorUp, sorLeft, sorRight, sorDown)
inline constexpr int kKwShapeOrientations = sorDown + 1;

// What a shape is made of over a given rectangle: polygons drawn one after another, or one of
// the three primitives drawn over the rectangle itself.
enum class TKwOutlineKind { okNone, okPolygons, okEllipse, okRectangle, okRoundRect };

struct TKwShapeOutline {
    TKwOutlineKind Kind = TKwOutlineKind::okNone;
    std::vector<std::vector<TPoint>> Polygons;
    TRect Rect;
    // The round rectangle's corner ellipse is Corner x Corner.
    int Corner = 0;
};

// The direction a shape points to when no orientation is chosen.
TKwShapeOrientation KwDefaultOrientation(TKwShapes shape);
// The shape laid over `rect`: its 15 x 15 design grid stretched over the rectangle, mirrored
// left-right with `reflection`, then turned to `orientation`. None for an empty rectangle or an
// unknown shape.
TKwShapeOutline KwShapeOutline(const TRect& rect, TKwShapes shape, bool reflection,
                               TKwShapeOrientation orientation);

// Turns `points` by `angle` degrees about (centerX, centerY), counter-clockwise on screen, and
// then moves them by (offsetX, offsetY). Coordinates round halves to even.
void KwRotatePoints(int offsetX, int offsetY, int centerX, int centerY, std::span<TPoint> points,
                    double angle);

// Draws the shape with the canvas's current pen and brush.
void KwDrawShapeEx(TCanvas& canvas, const TRect& rect, TKwShapes shape, bool reflection,
                   TKwShapeOrientation orientation);
// The pixels the shape covers when filled, as a region. Empty for an empty rectangle, and for a
// shape taller than kMaxRegionRows, which no region holds.
TRegion KwShapeRegion(const TRect& rect, TKwShapes shape, bool reflection,
                      TKwShapeOrientation orientation);

}  // namespace kw
