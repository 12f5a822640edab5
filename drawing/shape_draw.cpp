// The layer of the engine that talks to the canvas's pen and brush: shapes drawn with the
// current pen and brush, shapes drawn with a pen and brush of their own, and the decorations.
#include <algorithm>
#include <array>
#include <memory>

#include "drawing/canvas_saver.h"
#include "drawing/colors.h"
#include "drawing/decorations.h"
#include "drawing/gradient.h"
#include "drawing/palette.h"
#include "drawing/rects.h"
#include "drawing/shape_paint.h"
#include "drawing/shapes.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/region.h"

namespace kw {

namespace {

TPenStyle PlatformPenStyle(TKwPenStyle style) {
    static constexpr std::array<TPenStyle, kKwPenStyles> kStyles = {
        TPenStyle::psClear, TPenStyle::psSolid,   TPenStyle::psDash,
        TPenStyle::psDot,   TPenStyle::psDashDot, TPenStyle::psDashDotDot};
    return style < kKwPenStyles ? kStyles[style] : TPenStyle::psClear;
}

// The grid maps to a solid brush; its pattern is set apart.
TBrushStyle PlatformBrushStyle(TKwBrushStyle style) {
    static constexpr std::array<TBrushStyle, kKwBrushStyles> kStyles = {
        TBrushStyle::bsClear,      TBrushStyle::bsSolid,    TBrushStyle::bsBDiagonal,
        TBrushStyle::bsFDiagonal,  TBrushStyle::bsCross,    TBrushStyle::bsDiagCross,
        TBrushStyle::bsHorizontal, TBrushStyle::bsVertical, TBrushStyle::bsSolid};
    return style < kKwBrushStyles ? kStyles[style] : TBrushStyle::bsClear;
}

void SetPen(TCanvas& canvas, TPenStyle style, TColor color, int width) {
    canvas.Pen().Style = style;
    canvas.Pen().Color = KwRealizedColor(color);
    canvas.Pen().Width = width;
    canvas.Pen().Mode = TPenMode::pmCopy;
}

void SetBrush(TCanvas& canvas, TBrushStyle style, TColor color) {
    canvas.Brush().Bitmap = nullptr;
    canvas.Brush().Style = style;
    canvas.Brush().Color = KwRealizedColor(color);
}

// The colour that stands for "untouched" in the off-screen bitmap of a patterned fill: white,
// unless the brush or then the pen uses it.
TColor KeyColor(TColor brushColor, TColor penColor) {
    TColor key = clWhite;
    if (ColorToRGB(brushColor) == key)
        key = clBlack;
    if (ColorToRGB(penColor) == key)
        key = clRed;
    return key;
}

// The drawing rectangle for a pen `width` wide: the outline's centre runs inside the rectangle.
TRect PenInset(const TRect& rect, int width) {
    const int half = width / 2;
    const int grow = width % 2 == 0 ? 1 : 0;
    return KwMoveEdges(rect, half, half, grow - std::int64_t{half}, grow - std::int64_t{half});
}

}  // namespace

void KwDrawShapeEx(TCanvas& canvas, const TRect& rect, TKwShapes shape, bool reflection,
                   TKwShapeOrientation orientation) {
    const TKwShapeOutline outline = KwShapeOutline(rect, shape, reflection, orientation);
    const TRect& r = outline.Rect;
    switch (outline.Kind) {
        case TKwOutlineKind::okPolygons:
            for (const std::vector<TPoint>& polygon : outline.Polygons)
                canvas.Polygon(polygon);
            break;
        case TKwOutlineKind::okEllipse:
            canvas.Ellipse(r);
            break;
        case TKwOutlineKind::okRectangle:
            canvas.Rectangle(r);
            break;
        case TKwOutlineKind::okRoundRect:
            canvas.RoundRect(r, outline.Corner, outline.Corner);
            break;
        case TKwOutlineKind::okNone:
            break;
    }
}

void KwDrawSolidShape(TCanvas& canvas, const TRect& rect, TKwDrawShapeStyle drawStyle,
                      TKwShapes shape, bool reflection, TKwShapeOrientation orientation,
                      TKwBrushStyle brushStyle, TColor brushColor, TKwPenStyle penStyle,
                      TColor penColor, int penWidth) {
    if (!KwPaintable(rect))
        return;
    brushColor = KwSolidColor(brushColor);
    penColor = KwSolidColor(penColor);
    TKwCanvasSaver saver(canvas);

    const bool patterned =
        drawStyle == dssSolid && brushStyle != brsClear && brushStyle != brsSolid;
    std::unique_ptr<TBitmap> offscreen;
    TColor key = clWhite;
    TCanvas* target = &canvas;
    TRect area = rect;
    // A patterned shape is drawn off screen, only as far as the canvas shows it, and copied
    // through its key colour, so that the pattern's gaps stay transparent.
    const TRect visible = patterned ? rect.Intersect(canvas.ClipRect()) : rect;
    if (patterned) {
        if (std::int64_t{rect.Right} - rect.Left > kMaxImageSide ||
            std::int64_t{rect.Bottom} - rect.Top > kMaxImageSide || visible.IsEmpty())
            return;
        key = KeyColor(brushColor, penColor);
        offscreen = std::make_unique<TBitmap>(visible.Width(), visible.Height());
        area = rect.Offset(-visible.Left, -visible.Top);
        target = &offscreen->Canvas();
        SetBrush(*target, TBrushStyle::bsSolid, key);
        target->FillRect(TRect(0, 0, visible.Width(), visible.Height()));
        SetBkMode(target->Handle(), TRANSPARENT);
        // The pattern keeps its place on the face wherever the visible part begins.
        SetBrushOrgEx(target->Handle(), area.Left, area.Top, nullptr);
    }

    const int width = std::max(1, penWidth);
    const TRect drawRect = PenInset(area, width);
    switch (drawStyle) {
        case dssMask:
            SetBrush(*target, TBrushStyle::bsSolid, clWhite);
            target->FillRect(rect);
            SetBrush(*target, TBrushStyle::bsSolid, clBlack);
            SetPen(*target, TPenStyle::psSolid, clBlack, width);
            break;
        case dssLines:
            SetBrush(*target, TBrushStyle::bsClear, brushColor);
            SetPen(*target, PlatformPenStyle(penStyle), penColor, width);
            break;
        case dssSolid:
            SetBrush(*target, PlatformBrushStyle(brushStyle), brushColor);
            if (brushStyle == brsGrid)
                target->Brush().Bitmap = &KwCreateBrushGrid(brushColor);
            if (penStyle == pesClear)
                SetPen(*target, TPenStyle::psSolid, brushColor, width);
            else
                SetPen(*target, PlatformPenStyle(penStyle), penColor, width);
            break;
    }
    KwDrawShapeEx(*target, drawRect, shape, reflection, orientation);
    target->Brush().Bitmap = nullptr;

    if (offscreen) {
        canvas.Brush().Style = TBrushStyle::bsClear;
        canvas.BrushCopy(visible, *offscreen, TRect(0, 0, visible.Width(), visible.Height()), key);
    }
}

void KwDrawBox(TCanvas& canvas, const TRect& rect, TColor lightColor, TColor darkColor, bool down) {
    TKwCanvasSaver saver(canvas);
    const TColor lit = down ? darkColor : lightColor;
    const TColor shaded = down ? lightColor : darkColor;
    SetPen(canvas, TPenStyle::psSolid, KwSolidColor(lit), 1);
    canvas.MoveTo(rect.Left, rect.Bottom - 1);
    canvas.LineTo(rect.Left, rect.Top);
    canvas.LineTo(rect.Right - 1, rect.Top);
    SetPen(canvas, TPenStyle::psSolid, KwSolidColor(shaded), 1);
    canvas.MoveTo(rect.Left, rect.Bottom - 1);
    canvas.LineTo(rect.Right - 1, rect.Bottom - 1);
    canvas.LineTo(rect.Right - 1, rect.Top - 1);
}

namespace {

// The box of `width` x `height` centred in `rect`, the length of its marks, and the turn that
// puts a point of the box onto the canvas.
struct TTurnedBox {
    int x0, y0, w, h, length;
    int angle;

    void Place(std::span<TPoint> points) const {
        KwRotatePoints(x0, y0, w / 2, h / 2, points, angle);
    }
};

TTurnedBox TurnedBox(const TRect& rect, int width, int height, int size, int angle) {
    const int rw = rect.Width();
    const int rh = rect.Height();
    return {KwClampToInt(rect.Left + (std::int64_t{rw} - width) / 2),
            KwClampToInt(rect.Top + (std::int64_t{rh} - height) / 2),
            width,
            height,
            std::max(0, std::min({size, rw, rh})),
            angle};
}

// Marks need a paintable rectangle and a box they can be measured in.
bool MarksFit(const TRect& rect, int width, int height) {
    return KwPaintable(rect) && width >= 1 && height >= 1;
}

}  // namespace

void KwPaintCorners(TCanvas& canvas, const TRect& rect, int width, int height, int size,
                    int angle) {
    if (!MarksFit(rect, width, height))
        return;
    const TTurnedBox box = TurnedBox(rect, width, height, size, angle);
    const int w = box.w;
    const int h = box.h;
    const int l = box.length;
    std::array<TPoint, 12> points = {{{0, 0},
                                      {l, 0},
                                      {0, l},
                                      {w - 1, 0},
                                      {w - l - 1, 0},
                                      {w - 1, l},
                                      {w - 1, h - 1},
                                      {w - l - 1, h - 1},
                                      {w - 1, h - l - 1},
                                      {0, h - 1},
                                      {l, h - 1},
                                      {0, h - l - 1}}};
    box.Place(points);
    TKwCanvasSaver saver(canvas);
    SetPen(canvas, TPenStyle::psSolid, KwSolidColor(clBlack), 1);
    for (int corner = 0; corner < 4; ++corner) {
        const TPoint* p = &points[corner * 3];
        for (int arm = 1; arm <= 2; ++arm) {
            canvas.MoveTo(p[0].X, p[0].Y);
            canvas.LineTo(p[arm].X, p[arm].Y);
        }
    }
}

void KwPaintLimits(TCanvas& canvas, const TRect& rect, int width, int height, int extent, int size,
                   TKwAlignment alignment, int angle) {
    if (extent <= 0 || !MarksFit(rect, width, height))
        return;
    const TTurnedBox box = TurnedBox(rect, width, height, size, angle);
    const int w = box.w;
    const int l = box.length;
    std::int64_t a = 0;
    std::int64_t b = extent;
    if (alignment == aliCenter) {
        a = w / 2 - extent / 2;
        b = a + extent;
    } else if (alignment == aliRight) {
        b = w;
        a = std::int64_t{w} - extent;
    }
    TKwCanvasSaver saver(canvas);
    SetPen(canvas, TPenStyle::psSolid, KwSolidColor(clBlack), 1);
    SetBrush(canvas, TBrushStyle::bsSolid, KwSolidColor(clGreen));
    auto triangle = [&](std::array<TPoint, 3> points) {
        box.Place(points);
        canvas.Polygon(points);
    };
    if (a >= 0 && a + l <= w) {
        const int x = static_cast<int>(a);
        triangle({{{x, 0}, {x + l, 0}, {x, l}}});
    }
    if (b - l >= 0 && b <= w) {
        const int x = static_cast<int>(b);
        triangle({{{x, 0}, {x, l}, {x - l, 0}}});
    }
}

}  // namespace kw
