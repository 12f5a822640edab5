#include "drawing/marks.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "drawing/canvas_saver.h"
#include "drawing/colors.h"
#include "drawing/rects.h"
#include "platform/graphics/canvas.h"

namespace kw {

namespace {

void UsePen(TCanvas& canvas, TColor color, bool invert) {
    canvas.Pen().Color = KwSolidColor(color);
    canvas.Pen().Width = 1;
    canvas.Pen().Style = TPenStyle::psSolid;
    canvas.Pen().Mode = invert ? TPenMode::pmNot : TPenMode::pmCopy;
}

// A polyline with its end point drawn too.
void Stroke(TCanvas& canvas, std::span<const TPoint> points) {
    canvas.Polyline(points);
    const TPoint end = points.back();
    canvas.MoveTo(end.X, end.Y);
    canvas.LineTo(end.X + 1, end.Y);
}

constexpr int kHead = 6;
constexpr int kGap = 2;

// An arrow head whose tip is at `tip`, pointing along (dx, dy): straight directions open
// sideways, diagonal ones along the two axes.
void Head(TCanvas& canvas, TPoint tip, int dx, int dy, int size) {
    TPoint a, b;
    if (dx == 0 || dy == 0) {
        a = {tip.X - size * dx + size * dy, tip.Y - size * dy + size * dx};
        b = {tip.X - size * dx - size * dy, tip.Y - size * dy - size * dx};
    } else {
        a = {tip.X - size * dx, tip.Y};
        b = {tip.X, tip.Y - size * dy};
    }
    const std::array<TPoint, 3> points{a, tip, b};
    Stroke(canvas, points);
}

struct TStep {
    int dx, dy;
};

constexpr TStep kSteps[] = {{0, -1}, {0, 1}, {-1, 0}, {1, 0}, {-1, -1}, {1, -1}, {-1, 1}, {1, 1}};

void MoveMark(TCanvas& canvas, TPoint c, int reach) {
    const std::array<TPoint, 2> across{TPoint{c.X - reach, c.Y}, TPoint{c.X + reach, c.Y}};
    const std::array<TPoint, 2> down{TPoint{c.X, c.Y - reach}, TPoint{c.X, c.Y + reach}};
    Stroke(canvas, across);
    Stroke(canvas, down);
    const int size = std::min(kHead / 2, reach);
    for (int i = 0; i < 4; ++i)
        Head(canvas, {c.X + kSteps[i].dx * reach, c.Y + kSteps[i].dy * reach}, kSteps[i].dx,
             kSteps[i].dy, size);
}

}  // namespace

void KwDrawGridLines(TCanvas& canvas, const TRect& rect, TColor lineColor, TColor frameColor,
                     int spacing, bool lines, bool frame, bool invertLines, bool invertFrame) {
    if (!KwPaintable(rect))
        return;
    TKwCanvasSaver saver(canvas);
    if (lines) {
        UsePen(canvas, lineColor, invertLines);
        IntersectClipRect(canvas.Handle(), rect.Left, rect.Top, rect.Right, rect.Bottom);
        const std::int64_t w = std::int64_t{rect.Right} - rect.Left;
        const std::int64_t h = std::int64_t{rect.Bottom} - rect.Top;
        const std::int64_t step = std::max(1, spacing);
        for (std::int64_t x = rect.Left; x < rect.Left + w + h + 1; x += step) {
            canvas.MoveTo(KwClampToInt(x), rect.Bottom);
            canvas.LineTo(KwClampToInt(x - h - 1), KwClampToInt(std::int64_t{rect.Top} - 1));
        }
    }
    if (frame) {
        canvas.Brush().Style = TBrushStyle::bsClear;
        UsePen(canvas, frameColor, invertFrame);
        canvas.Rectangle(rect);
    }
}

void KwDrawDirection(const TRect& rect, TCanvas& canvas, TKwMoveDirection direction, TColor color) {
    const TRect r = KwMoveEdges(rect, 2, 2, -3, -3);
    if (direction >= mvdNone || r.IsEmpty())
        return;
    TKwCanvasSaver saver(canvas);
    UsePen(canvas, color, false);
    const TPoint c{static_cast<int>((std::int64_t{r.Left} + r.Right) / 2),
                   static_cast<int>((std::int64_t{r.Top} + r.Bottom) / 2)};
    if (direction == mvdMove) {
        MoveMark(canvas, c, std::min(r.Width(), r.Height()) / 2);
        return;
    }
    const TStep s = kSteps[direction];
    // The second head sits kGap pixels further along, so the pair reads as a double chevron.
    Head(canvas, {c.X - s.dx, c.Y - s.dy}, s.dx, s.dy, kHead);
    Head(canvas, {c.X - s.dx + kGap * s.dx, c.Y - s.dy + kGap * s.dy}, s.dx, s.dy, kHead);
}

}  // namespace kw
