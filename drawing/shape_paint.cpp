#include "drawing/shape_paint.h"

#include <algorithm>
#include <cstdint>
#include <memory>

#include "display/default_sets.h"
#include "display/memory_image.h"
#include "display/set_references.h"
#include "drawing/canvas_saver.h"
#include "drawing/colors.h"
#include "drawing/decorations.h"
#include "drawing/gradient.h"
#include "drawing/rects.h"
#include "drawing/shape_styles.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/canvas.h"

namespace kw {

namespace {

// Off-screen bitmaps beyond this many pixels are not made: such a shape is never on screen
// whole, and allocating it would only fail.
bool BitmapFits(const TRect& rect) {
    const std::int64_t w = std::int64_t{rect.Right} - rect.Left;
    const std::int64_t h = std::int64_t{rect.Bottom} - rect.Top;
    return w >= 1 && h >= 1 && w <= kMaxImageSide && h <= kMaxImageSide &&
           (w + 1) * (h + 1) <= kMaxImagePixels;
}

// Copies the whole of `source` onto `dest` at `rect` with `mode`.
void Blend(TCanvas& dest, const TRect& rect, TBitmap& source, TCopyMode mode) {
    dest.SetCopyMode(mode);
    dest.CopyRect(rect, source.Canvas(), TRect(0, 0, rect.Width(), rect.Height()));
}

// Paints onto `part` (a piece of a w x h face, in face coordinates) what `paint` puts on the
// whole face. Shifted, every pixel shows the one up and to the left of it, and the first row and
// column wrap around to the last ones, as a pressed face looks; the face is then painted a second
// time one face further on for each edge of the part that touches the wrap.
template <class Paint>
void PaintPart(TCanvas& canvas, const TRect& part, int w, int h, bool shift, Paint paint) {
    const TRect face = TRect(0, 0, w, h).Offset(-part.Left, -part.Top);
    if (!shift) {
        paint(canvas, face);
        return;
    }
    for (const int dx : {1, 1 - w}) {
        for (const int dy : {1, 1 - h}) {
            const bool wrapsX = dx != 1, wrapsY = dy != 1;
            if ((wrapsX && part.Left != 0) || (wrapsY && part.Top != 0))
                continue;
            paint(canvas, face.Offset(dx, dy));
        }
    }
}

struct TEdgeColors {
    TColor light = clBlack;
    TColor dark = clBlack;
};

TEdgeColors SingleEdges(TKwSetColor* setColor, bool useColor) {
    TColor c;
    if (!useColor)
        c = KwSet3DMLight().Color();
    else if (setColor != nullptr && setColor->Defined())
        c = setColor->Color();
    else
        c = KwSetColBox().Color();
    return {c, c};
}

TEdgeColors Edges3D(bool down) {
    const TColor light = KwSet3DLight().Color();
    const TColor dark = KwSet3DShadow().Color();
    return down ? TEdgeColors{dark, light} : TEdgeColors{light, dark};
}

TRect Shrunk(const TRect& r, int by) {
    return KwMoveEdges(r, by, by, -std::int64_t{by}, -std::int64_t{by});
}

TRect Moved(const TRect& r, int dx, int dy) {
    return KwMoveEdges(r, dx, dy, dx, dy);
}

void Outline(TCanvas& canvas, const TRect& rect, TKwShapes shape, bool reflection,
             TKwShapeOrientation orientation, TColor color, int width) {
    KwDrawSolidShape(canvas, rect, dssLines, shape, reflection, orientation, brsClear, clNone,
                     pesSolid, color, width);
}

// A raised or sunk halo: the outline three times towards the top-left in the light colour and
// three times towards the bottom-right in the dark one, `by` pixels away.
void Halo(TCanvas& canvas, const TRect& rect, int by, TKwShapes shape, bool reflection,
          TKwShapeOrientation orientation, const TEdgeColors& colors) {
    const TPoint lit[] = {{-by, 0}, {-by, -by}, {0, -by}};
    for (const TPoint& d : lit)
        Outline(canvas, Moved(rect, d.X, d.Y), shape, reflection, orientation, colors.light, 1);
    for (const TPoint& d : lit)
        Outline(canvas, Moved(rect, -d.X, -d.Y), shape, reflection, orientation, colors.dark, 1);
}

// Fills the shape from a background entry when its style is not solid; true when it did.
bool GradientFill(TCanvas& canvas, const TRect& rect, TKwSetBackGround* set, TKwShapes shape,
                  bool reflection, TKwShapeOrientation orientation, int penWidth,
                  TKwPenStyle penStyle, bool down) {
    const TKwPkgDisplaySetBackGround* entry = set != nullptr ? set->Info() : nullptr;
    if (entry == nullptr || entry->Style() == bgsSolid)
        return false;
    KwDrawGradientShape(canvas, rect, entry->Style(), entry->StartGraColor(), entry->EndGraColor(),
                        entry->SolidColor(), shape, reflection, orientation, &entry->Image(),
                        entry->Transparent(), penWidth, penStyle, down, 0);
    return true;
}

}  // namespace

void KwDrawGradientShape(TCanvas& canvas, const TRect& rect, TKwBackGroundStyle style,
                         TColor startColor, TColor endColor, TColor solidColor, TKwShapes shape,
                         bool reflection, TKwShapeOrientation orientation, TKwMemoryImage* image,
                         bool transparent, int penWidth, TKwPenStyle penStyle, bool shift,
                         int colors) {
    if (style == bgsSolid || style >= kKwBackGroundStyles || !BitmapFits(rect))
        return;
    const TColor start = KwSolidColor(startColor);
    const TColor end = KwSolidColor(endColor);
    const TColor solid = KwSolidColor(solidColor);
    if (shape == shaRectangle && (penStyle == pesClear || penWidth < 2)) {
        KwDrawGradient(canvas, rect, style, start, end, solid, image, transparent, colors);
        return;
    }
    // Only the part the canvas shows is made off screen, so that a face far larger than its
    // canvas costs what is visible of it.
    const TRect visible = rect.Intersect(canvas.ClipRect());
    if (visible.IsEmpty())
        return;
    TKwCanvasSaver saver(canvas);
    const TRect part = visible.Offset(-rect.Left, -rect.Top);
    const TRect window(0, 0, part.Width(), part.Height());
    TBitmap mask(window.Right, window.Bottom);
    TBitmap gradient(window.Right, window.Bottom);
    PaintPart(mask.Canvas(), part, rect.Width(), rect.Height(), false,
              [&](TCanvas& c, const TRect& face) {
                  KwDrawSolidShape(c, face, dssMask, shape, reflection, orientation, brsSolid,
                                   clNone, penStyle, clNone, penWidth);
              });
    PaintPart(gradient.Canvas(), part, rect.Width(), rect.Height(), shift,
              [&](TCanvas& c, const TRect& face) {
                  KwDrawGradient(c, face, style, start, end, solid, image, transparent, colors);
              });
    canvas.Brush().Style = TBrushStyle::bsSolid;
    canvas.Brush().Color = clWhite;
    Blend(canvas, visible, mask, cmSrcAnd);
    Blend(mask.Canvas(), window, mask, cmNotSrcCopy);
    Blend(gradient.Canvas(), window, mask, cmSrcAnd);
    Blend(canvas, visible, gradient, cmSrcPaint);
}

void KwPaintShape(TCanvas& canvas, TRect rect, TKwBorderStyle borderStyle, int borderWidth,
                  TKwShapes shape, bool reflection, TKwShapeOrientation orientation, bool down,
                  TKwSetBackGround* setBackGround, TKwSetColor* setColor, TKwBrush* brush,
                  TKwPen* pen, bool useColor, int penWidth) {
    if (!KwPaintable(rect))
        return;
    const int width = penWidth >= 1 ? penWidth : pen != nullptr ? pen->Width() : 1;
    const TKwPenStyle penStyle = pen != nullptr ? pen->Style() : pesClear;
    const TColor penColor = pen != nullptr ? pen->SetColor().Color() : KwSetColBox().Color();
    const int border = std::min(std::max(borderWidth, 1), width);

    TKwSetBackGround* fillSet = setBackGround;
    TKwBrushStyle brushStyle = fillSet != nullptr ? brsSolid : brsClear;
    if (brush != nullptr) {
        if (fillSet == nullptr || !fillSet->Defined())
            fillSet = &brush->SetBackGround();
        brushStyle = brush->Style();
    }
    const TColor brushColor = fillSet != nullptr ? fillSet->Color() : clNone;

    if (borderStyle == bosSingle || borderStyle == bos3D) {
        const bool flat = borderStyle == bosSingle;
        const TEdgeColors edges = flat ? SingleEdges(setColor, useColor) : Edges3D(down);
        if (shape == shaRectangle && border < 2) {
            // The box swaps its colours itself when down.
            const TEdgeColors box = flat ? edges : Edges3D(false);
            KwDrawBox(canvas, rect, box.light, box.dark, flat || down);
            rect = Shrunk(rect, border);
        } else if (brushStyle == brsClear && penStyle == pesClear) {
            if (flat) {
                Outline(canvas, rect, shape, reflection, orientation, edges.light, width);
            } else {
                rect = KwMoveEdges(rect, 0, 0, -1, -1);
                Outline(canvas, rect, shape, reflection, orientation, edges.light, width);
                rect = Moved(rect, 1, 1);
                Outline(canvas, rect, shape, reflection, orientation, edges.dark, width);
            }
        } else {
            rect = Shrunk(rect, border);
            Halo(canvas, rect, border, shape, reflection, orientation, edges);
        }
    }
    if (brushStyle == brsSolid &&
        GradientFill(canvas, rect, fillSet, shape, reflection, orientation, width, penStyle, down))
        brushStyle = brsClear;
    if (brushStyle != brsClear || penStyle != pesClear) {
        KwDrawSolidShape(canvas, rect, dssSolid, shape, reflection, orientation, brushStyle,
                         brushColor, penStyle, penColor, width);
    }
}

void KwPaintShapeEx(TCanvas& canvas, TRect rect, TKwBorderStyle borderStyle, TKwShapes shape,
                    bool reflection, TKwShapeOrientation orientation, bool down,
                    TKwSetBackGround* setBackGround, TKwSetColor* setColor, int penWidth) {
    if (!KwPaintable(rect))
        return;
    int width = std::max(1, penWidth);
    TKwPenStyle penStyle = pesClear;
    TColor penColor = clNone;
    if (borderStyle == bosSingle) {
        penStyle = pesSolid;
        penColor = setColor != nullptr ? setColor->Color() : KwSetColBox().Color();
    } else {
        width = 1;
    }
    if (borderStyle == bos3D) {
        const TEdgeColors edges = Edges3D(down);
        if (shape == shaRectangle) {
            KwDrawBox(canvas, rect, edges.light, edges.dark, false);
            rect = Shrunk(rect, 1);
        } else {
            rect = Shrunk(rect, 1);
            Halo(canvas, rect, 1, shape, reflection, orientation, edges);
        }
    }
    const TKwPkgDisplaySetBackGround* entry =
        setBackGround != nullptr ? setBackGround->Info() : nullptr;
    TColor fill = clNone;
    if (entry != nullptr)
        fill = entry->SolidColor();
    else if (setBackGround != nullptr)
        fill = setBackGround->Color();
    const bool gradient = GradientFill(canvas, rect, setBackGround, shape, reflection, orientation,
                                       width, pesSolid, down);
    const TKwBrushStyle brushStyle = gradient || setBackGround == nullptr ? brsClear : brsSolid;
    KwDrawSolidShape(canvas, rect, dssSolid, shape, reflection, orientation, brushStyle, fill,
                     penStyle, penColor, width);
}

void KwPaintFullShape(TCanvas& canvas, const TRect& rect, const TKwFullShape& fullShape,
                      TKwSetBackGround* setBackGround) {
    KwPaintShape(canvas, rect, fullShape.BorderStyle(), fullShape.BorderWidth(), fullShape.Shape(),
                 fullShape.Reflection(), fullShape.Orientation(), fullShape.Down(), setBackGround,
                 nullptr, &fullShape.Brush(), &fullShape.Pen(), true, 0);
}

void KwPaintFullShapeShadow(TCanvas& canvas, const TRect& rect, const TKwFullShape& fullShape) {
    const TColor shadow = KwSetColShadow().Color();
    const TKwBrushStyle style = fullShape.Brush().Style();
    const TKwBrushStyle brush = style == brsSolid || style == brsGrid ? brsSolid : brsClear;
    KwDrawSolidShape(canvas, rect, dssSolid, fullShape.Shape(), fullShape.Reflection(),
                     fullShape.Orientation(), brush, shadow, pesSolid, shadow,
                     fullShape.Pen().Width());
}

}  // namespace kw
