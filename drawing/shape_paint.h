#pragma once

#include <cstdint>

#include "display/display_sets.h"
#include "drawing/pen_brush.h"
#include "drawing/shapes.h"
#include "platform/graphics/graphics_types.h"

namespace kw {

class TCanvas;
class TKwFullShape;
class TKwMemoryImage;
class TKwSetBackGround;
class TKwSetColor;

// What KwDrawSolidShape puts down: the shape black on white, only its outline, or filled.
enum TKwDrawShapeStyle : std::uint8_t { dssMask, dssLines, dssSolid };

// Draws the shape with a pen and brush of its own; the canvas's pen, brush and pen mode are
// left as they were. Hatched brushes leave their gaps untouched.
void KwDrawSolidShape(TCanvas& canvas, const TRect& rect, TKwDrawShapeStyle drawStyle,
                      TKwShapes shape, bool reflection, TKwShapeOrientation orientation,
                      TKwBrushStyle brushStyle, TColor brushColor, TKwPenStyle penStyle,
                      TColor penColor, int penWidth);

// Fills the shape with a background style; the canvas outside the shape stays untouched.
// `shift` moves the gradient by one pixel down and right, wrapping its last row and column.
void KwDrawGradientShape(TCanvas& canvas, const TRect& rect, TKwBackGroundStyle style,
                         TColor startColor, TColor endColor, TColor solidColor, TKwShapes shape,
                         bool reflection, TKwShapeOrientation orientation, TKwMemoryImage* image,
                         bool transparent, int penWidth, TKwPenStyle penStyle, bool shift,
                         int colors);

// The shape of a control: border, fill from a background set (gradient styles included) and
// outline. Pointers may be none; `useColor` takes the border colour from `setColor`.
void KwPaintShape(TCanvas& canvas, TRect rect, TKwBorderStyle borderStyle, int borderWidth,
                  TKwShapes shape, bool reflection, TKwShapeOrientation orientation, bool down,
                  TKwSetBackGround* setBackGround, TKwSetColor* setColor, TKwBrush* brush,
                  TKwPen* pen, bool useColor, int penWidth);
// The simpler form with a pen colour set and a width.
void KwPaintShapeEx(TCanvas& canvas, TRect rect, TKwBorderStyle borderStyle, TKwShapes shape,
                    bool reflection, TKwShapeOrientation orientation, bool down,
                    TKwSetBackGround* setBackGround, TKwSetColor* setColor, int penWidth);
void KwPaintFullShape(TCanvas& canvas, const TRect& rect, const TKwFullShape& fullShape,
                      TKwSetBackGround* setBackGround);
// The shape's silhouette in the shadow colour; the caller offsets `rect`.
void KwPaintFullShapeShadow(TCanvas& canvas, const TRect& rect, const TKwFullShape& fullShape);

}  // namespace kw
