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

// Moves the gradient painted at (1, 1) one pixel back, wrapping its last row and column to
// the front, as a pressed face looks.
void WrapShifted(TBitmap& gradient, int w, int h) {
    for (int y = 1; y <= h; ++y)
        gradient.SetPixel(0, y, gradient.Pixel(w, y));
    for (int x = 1; x <= w; ++x)
        gradient.SetPixel(x, 0, gradient.Pixel(x, h));
    gradient.SetPixel(0, 0, gradient.Pixel(w, h));
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
    TKwCanvasSaver saver(canvas);
    const int w = rect.Width();
    const int h = rect.Height();
    TBitmap mask(w, h);
    TBitmap gradient(w + 1, h + 1);
    KwDrawSolidShape(mask.Canvas(), TRect(0, 0, w, h), dssMask, shape, reflection, orientation,
                     brsSolid, clNone, penStyle, clNone, penWidth);
    if (shift) {
        KwDrawGradient(gradient.Canvas(), TRect(1, 1, w + 1, h + 1), style, start, end, solid,
                       image, transparent, colors);
        WrapShifted(gradient, w, h);
    } else {
        KwDrawGradient(gradient.Canvas(), TRect(0, 0, w, h), style, start, end, solid, image,
                       transparent, colors);
    }
    canvas.Brush().Style = TBrushStyle::bsSolid;
    canvas.Brush().Color = clWhite;
    Blend(canvas, rect, mask, cmSrcAnd);
    Blend(mask.Canvas(), TRect(0, 0, w, h), mask, cmNotSrcCopy);
    Blend(gradient.Canvas(), TRect(0, 0, w, h), mask, cmSrcAnd);
    Blend(canvas, rect, gradient, cmSrcPaint);
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
