// Lines, shapes, regions and clipping of the raster device.

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "platform/graphics/device.h"
#include "platform/graphics/painter.h"

namespace kw {

// ---- Inks and the painter --------------------------------------------------------------------

namespace {

// 8 x 8 hatch cells, one byte per row, the leftmost pixel in the high bit.
std::array<Byte, 8> HatchCell(int hatch) {
    std::array<Byte, 8> rows{};
    for (int r = 0; r < 8; ++r) {
        const Byte horizontal = r == 3 ? 0xFF : 0;
        const Byte vertical = 0x08;  // column 4
        const auto forward = static_cast<Byte>(0x80 >> r);
        const auto backward = static_cast<Byte>(1 << r);
        switch (hatch) {
            case HS_HORIZONTAL:
                rows[r] = horizontal;
                break;
            case HS_VERTICAL:
                rows[r] = vertical;
                break;
            case HS_FDIAGONAL:
                rows[r] = forward;
                break;
            case HS_BDIAGONAL:
                rows[r] = backward;
                break;
            case HS_CROSS:
                rows[r] = horizontal | vertical;
                break;
            default:
                rows[r] = forward | backward;
                break;
        }
    }
    return rows;
}

// x mod n for any int x, n > 0.
int Wrap(std::int64_t x, int n) {
    const std::int64_t m = x % n;
    return static_cast<int>(m < 0 ? m + n : m);
}

}  // namespace

Ink Ink::Solid(std::uint32_t value) {
    Ink ink;
    ink.kind_ = Kind::Solid;
    ink.fore_ = value;
    return ink;
}

Ink Ink::FromBrush(const GdiDC& dc, const GdiBrush& brush) {
    const TBitmap& target = dc.Target();
    Ink ink;
    ink.origin_ = dc.state.brushOrg;
    switch (brush.log.lbStyle) {
        case BS_SOLID:
            return Solid(DeviceValue(target, brush.log.lbColor));
        case BS_HATCHED:
            ink.kind_ = Kind::Hatch;
            ink.fore_ = DeviceValue(target, brush.log.lbColor);
            ink.back_ = DeviceValue(target, dc.state.bkColor);
            ink.paintGaps_ = dc.state.bkMode == OPAQUE;
            ink.hatch_ = HatchCell(brush.log.lbHatch);
            return ink;
        case BS_PATTERN:
            ink.kind_ = Kind::Pattern;
            ink.patternWidth_ = brush.patternWidth;
            ink.patternHeight_ = brush.patternHeight;
            for (TColor c : brush.pattern) {
                const TColor colour =
                    brush.monoPattern ? (c ? dc.state.bkColor : dc.state.textColor) : c;
                ink.pattern_.push_back(DeviceValue(target, colour));
            }
            return ink;
        default:
            return ink;
    }
}

bool Ink::At(int x, int y, std::uint32_t& value) const {
    switch (kind_) {
        case Kind::Solid:
            value = fore_;
            return true;
        case Kind::Hatch: {
            const int cx = Wrap(std::int64_t{x} - origin_.X, 8);
            const int cy = Wrap(std::int64_t{y} - origin_.Y, 8);
            if ((hatch_[cy] >> (7 - cx)) & 1) {
                value = fore_;
                return true;
            }
            value = back_;
            return paintGaps_;
        }
        case Kind::Pattern:
            value = pattern_[static_cast<std::size_t>(
                                 Wrap(std::int64_t{y} - origin_.Y, patternHeight_)) *
                                 patternWidth_ +
                             Wrap(std::int64_t{x} - origin_.X, patternWidth_)];
            return true;
        default:
            return false;
    }
}

Painter::Painter(GdiDC& dc) : dc_(dc), target_(dc.Target()), mono_(target_.Monochrome()) {
    TRegion visible(TRect(0, 0, target_.Width(), target_.Height()));
    if (dc.state.clip)
        visible.Combine(visible, *dc.state.clip, TRegionCombine::rgnAnd);
    rects_ = visible.Rects();
    box_ = visible.Bounds();
}

Painter::~Painter() {
    if (changed_)
        target_.PixelsChanged();
}

std::uint32_t Painter::Get(int x, int y) const {
    if (mono_)
        return (target_.ScanLine(y)[x >> 3] >> (7 - (x & 7))) & 1 ? 0xFFFFFFu : 0u;
    return reinterpret_cast<const std::uint32_t*>(target_.ScanLine(y))[x] & 0xFFFFFFu;
}

void Painter::Put(int x, int y, std::uint32_t value) {
    changed_ = true;
    if (mono_) {
        Byte& b = target_.ScanLine(y)[x >> 3];
        const auto bit = static_cast<Byte>(0x80 >> (x & 7));
        b = (value & 1) ? (b | bit) : (b & ~bit);
        return;
    }
    reinterpret_cast<std::uint32_t*>(target_.ScanLine(y))[x] = 0xFF000000u | (value & 0xFFFFFFu);
}

void Painter::Span(int y, int x0, int x1, const Ink& ink, int rop2) {
    if (ink.Empty() || rop2 == R2_NOP)
        return;
    ForVisible(y, x0, x1, [&](int a, int b) {
        if (ink.IsSolid() && !mono_ && (rop2 == 0 || rop2 == R2_COPYPEN)) {
            changed_ = true;
            auto* row = reinterpret_cast<std::uint32_t*>(target_.ScanLine(y));
            std::fill(row + a, row + b, 0xFF000000u | ink.SolidValue());
            return;
        }
        std::uint32_t value = 0;
        for (int x = a; x < b; ++x) {
            if (ink.At(x, y, value))
                Put(x, y, rop2 == 0 ? value : Mix(rop2, value, Get(x, y)));
        }
    });
}

void Painter::Rows(int y, const RowSpans& spans, const Ink& ink, int rop2) {
    for (const auto& [a, b] : spans)
        Span(y, a, b, ink, rop2);
}

void Painter::Fill(const TRegion& region, const Ink& ink, int rop2) {
    for (const TRect& r : region.Rects()) {
        const int top = std::max(r.Top, box_.Top);
        const int bottom = std::min(r.Bottom, box_.Bottom);
        for (int y = top; y < bottom; ++y)
            Span(y, r.Left, r.Right, ink, rop2);
    }
}

void Painter::Point(int x, int y, std::uint32_t value, int rop2) {
    if (x >= box_.Right)
        return;  // also keeps x + 1 in range
    ForVisible(y, x, x + 1,
               [&](int, int) { Put(x, y, rop2 == 0 ? value : Mix(rop2, value, Get(x, y))); });
}

void FillDeviceRect(GdiDC& dc, const TRect& rect, TColor color) {
    Painter painter(dc);
    const Ink ink = Ink::Solid(DeviceValue(painter.Target(), color));
    const int top = std::max(rect.Top, painter.Box().Top);
    const int bottom = std::min(rect.Bottom, painter.Box().Bottom);
    for (int y = top; y < bottom; ++y)
        painter.Span(y, rect.Left, rect.Right, ink, 0);
}

void BlendCoverage(GdiDC& dc, int x, int y, int width, int height, const Byte* coverage,
                   TColor color) {
    Painter painter(dc);
    const std::uint32_t ink = DeviceValue(painter.Target(), color);
    const bool mono = painter.Target().Monochrome();
    for (int row = 0; row < height; ++row) {
        const std::int64_t dy = std::int64_t{y} + row;
        if (dy < painter.Box().Top || dy >= painter.Box().Bottom)
            continue;
        const int x0 = static_cast<int>(std::clamp<std::int64_t>(x, std::numeric_limits<int>::min(),
                                                                 std::numeric_limits<int>::max()));
        const int x1 = static_cast<int>(
            std::min<std::int64_t>(std::int64_t{x} + width, std::numeric_limits<int>::max()));
        painter.ForVisible(static_cast<int>(dy), x0, x1, [&](int a, int b) {
            for (int px = a; px < b; ++px) {
                const unsigned c = coverage[static_cast<std::size_t>(row) * width + (px - x)];
                if (c == 0)
                    continue;
                if (c == 255 || mono) {
                    if (c >= 128)
                        painter.Put(px, static_cast<int>(dy), ink);
                    continue;
                }
                const std::uint32_t d = painter.Get(px, static_cast<int>(dy));
                std::uint32_t out = 0;
                for (int shift = 0; shift < 24; shift += 8) {
                    const unsigned s = (ink >> shift) & 0xFF;
                    const unsigned t = (d >> shift) & 0xFF;
                    out |= ((s * c + t * (255 - c) + 127) / 255) << shift;
                }
                painter.Put(px, static_cast<int>(dy), out);
            }
        });
    }
}

// ---- Pens and lines --------------------------------------------------------------------------

namespace {

struct PenInfo {
    bool visible = false;
    int width = 1;
    bool solid = true;
    std::uint32_t value = 0;
    std::uint32_t gapValue = 0;
    bool paintGaps = false;
    std::span<const int> dashes;
};

constexpr int kDash[] = {18, 6};
constexpr int kDot[] = {3, 3};
constexpr int kDashDot[] = {9, 6, 3, 6};
constexpr int kDashDotDot[] = {9, 3, 3, 3, 3, 3};

PenInfo PenOf(const GdiDC& dc) {
    const LOGPEN& log = dc.state.pen->log;
    PenInfo pen;
    pen.visible = log.lopnStyle != PS_NULL;
    pen.width = std::max(log.lopnWidth.X, 1);
    pen.value = DeviceValue(dc.Target(), log.lopnColor);
    pen.gapValue = DeviceValue(dc.Target(), dc.state.bkColor);
    pen.paintGaps = dc.state.bkMode == OPAQUE;
    // Wide pens of a dashed style draw solid.
    if (pen.width == 1) {
        switch (log.lopnStyle) {
            case PS_DASH:
                pen.dashes = kDash;
                break;
            case PS_DOT:
                pen.dashes = kDot;
                break;
            case PS_DASHDOT:
                pen.dashes = kDashDot;
                break;
            case PS_DASHDOTDOT:
                pen.dashes = kDashDotDot;
                break;
            default:
                break;
        }
    }
    pen.solid = pen.dashes.empty();
    return pen;
}

bool DashOn(const PenInfo& pen, std::int64_t position) {
    int period = 0;
    for (int d : pen.dashes)
        period += d;
    std::int64_t at = position % period;
    for (std::size_t i = 0; i < pen.dashes.size(); ++i) {
        if (at < pen.dashes[i])
            return i % 2 == 0;
        at -= pen.dashes[i];
    }
    return false;
}

// Points of a thick segment's outline: the segment's rectangle widened to `width`.
std::array<TPoint, 4> ThickQuad(TPoint a, TPoint b, int width) {
    const double dx = static_cast<double>(std::int64_t{b.X} - a.X);
    const double dy = static_cast<double>(std::int64_t{b.Y} - a.Y);
    const double length = std::hypot(dx, dy);
    const double half = width / 2.0;
    const double nx = length > 0 ? -dy / length * half : 0;
    const double ny = length > 0 ? dx / length * half : half;
    auto at = [](double x, double y) {
        auto clamp = [](double v) {
            return static_cast<int>(std::clamp(std::lround(v) * 1.0, -2147483648.0, 2147483647.0));
        };
        return TPoint{clamp(x), clamp(y)};
    };
    return {at(a.X + nx, a.Y + ny), at(b.X + nx, b.Y + ny), at(b.X - nx, b.Y - ny),
            at(a.X - nx, a.Y - ny)};
}

TRect Disc(TPoint centre, int width) {
    const std::int64_t left = std::int64_t{centre.X} - width / 2;
    const std::int64_t top = std::int64_t{centre.Y} - width / 2;
    auto c = [](std::int64_t v) {
        return static_cast<int>(std::clamp<std::int64_t>(v, std::numeric_limits<int>::min(),
                                                         std::numeric_limits<int>::max()));
    };
    return {c(left), c(top), c(left + width), c(top + width)};
}

TRegion RowsToRegion(const std::function<void(const RowSink&)>& produce) {
    return TRegion::FromRows(produce);
}

// A wide segment: its rectangle and round ends, as one set so no pixel is painted twice.
TRegion WideSegment(TPoint a, TPoint b, int width, const TRect& box) {
    const std::array<TPoint, 4> quad = ThickQuad(a, b, width);
    TRegion shape = RowsToRegion([&](const RowSink& sink) {
        PolygonRows(quad, TPolyFillMode::pfmWinding, box.Top, box.Bottom, sink);
    });
    for (TPoint end : {a, b}) {
        TRegion disc = RowsToRegion(
            [&](const RowSink& sink) { EllipseRows(Disc(end, width), box.Top, box.Bottom, sink); });
        shape.Combine(shape, disc, TRegionCombine::rgnOr);
    }
    return shape;
}

// A one-pixel line in device units, without its end point; `position` counts the pixels of
// the dash pattern and runs on.
void ThinLine(Painter& painter, const PenInfo& pen, int rop2, TPoint a, TPoint b,
              std::int64_t& position) {
    const LineSteps steps(a, b);
    const auto [first, last] = steps.VisibleSteps(painter.Box());
    for (std::int64_t i = first; i < last; ++i) {
        const TPoint p = steps.At(i);
        const bool on = pen.solid || DashOn(pen, position + i);
        if (on)
            painter.Point(p.X, p.Y, pen.value, rop2);
        else if (pen.paintGaps)
            painter.Point(p.X, p.Y, pen.gapValue, rop2);
    }
    position += steps.count;
}

// Draws the device-unit path `points` with the selected pen.
void StrokePath(GdiDC& dc, std::span<const TPoint> points) {
    const PenInfo pen = PenOf(dc);
    if (!pen.visible || points.size() < 2)
        return;
    Painter painter(dc);
    if (painter.Box().IsEmpty())
        return;
    const int rop2 = dc.state.rop2;
    if (pen.width == 1) {
        std::int64_t position = 0;
        for (std::size_t i = 1; i < points.size(); ++i)
            ThinLine(painter, pen, rop2, points[i - 1], points[i], position);
        return;
    }
    TRegion path;
    for (std::size_t i = 1; i < points.size(); ++i)
        path.Combine(path, WideSegment(points[i - 1], points[i], pen.width, painter.Box()),
                     TRegionCombine::rgnOr);
    painter.Fill(path, Ink::Solid(pen.value), rop2);
}

std::vector<TPoint> ToDevice(const GdiDC& dc, std::span<const TPoint> points) {
    std::vector<TPoint> out;
    out.reserve(points.size());
    for (const TPoint& p : points)
        out.push_back(dc.ToDevice(p.X, p.Y));
    return out;
}

TRect Ordered(int left, int top, int right, int bottom) {
    return {std::min(left, right), std::min(top, bottom), std::max(left, right),
            std::max(top, bottom)};
}

TRect Shrunk(const TRect& r, int by) {
    auto move = [](int v, std::int64_t d) {
        return static_cast<int>(std::clamp<std::int64_t>(
            std::int64_t{v} + d, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
    };
    return {move(r.Left, by), move(r.Top, by), move(r.Right, -by), move(r.Bottom, -by)};
}

// The box one pixel narrower and shorter: what a shape without its pen or a region covers.
TRect LessRightBottom(const TRect& r) {
    return {r.Left, r.Top, std::max(r.Left, r.Right - (r.Right > r.Left ? 1 : 0)),
            std::max(r.Top, r.Bottom - (r.Bottom > r.Top ? 1 : 0))};
}

Ink BrushInk(const GdiDC& dc) {
    return Ink::FromBrush(dc, *dc.state.brush);
}

using ShapeRows = std::function<void(int yFrom, int yTo, const RowSink&)>;

// A filled shape with its outline: the fill covers `fill`, then the pen paints `outline`.
void PaintShape(GdiDC& dc, const ShapeRows& fill, const ShapeRows& outline) {
    Painter painter(dc);
    if (painter.Box().IsEmpty())
        return;
    const TRect& box = painter.Box();
    const int rop2 = dc.state.rop2;
    const Ink brush = BrushInk(dc);
    if (!brush.Empty() && fill) {
        fill(box.Top, box.Bottom,
             [&](int y, const RowSpans& spans) { painter.Rows(y, spans, brush, rop2); });
    }
    const PenInfo pen = PenOf(dc);
    if (pen.visible && outline) {
        const Ink ink = Ink::Solid(pen.value);
        outline(box.Top, box.Bottom,
                [&](int y, const RowSpans& spans) { painter.Rows(y, spans, ink, rop2); });
    }
}

// The ring between two shapes given by their rows (outer minus inner).
ShapeRows Ring(ShapeRows outer, ShapeRows inner) {
    return [outer, inner](int yFrom, int yTo, const RowSink& sink) {
        TRegion a = TRegion::FromRows([&](const RowSink& s) { outer(yFrom, yTo, s); });
        const TRegion b = TRegion::FromRows([&](const RowSink& s) { inner(yFrom, yTo, s); });
        a.Combine(a, b, TRegionCombine::rgnDiff);
        for (const TRect& r : a.Rects()) {
            const RowSpans spans{{r.Left, r.Right}};
            for (int y = r.Top; y < r.Bottom; ++y)
                sink(y, spans);
        }
    };
}

ShapeRows EllipseShape(TRect box) {
    return [box](int yFrom, int yTo, const RowSink& sink) { EllipseRows(box, yFrom, yTo, sink); };
}

ShapeRows RoundRectShape(TRect box, int w, int h) {
    return [box, w, h](int yFrom, int yTo, const RowSink& sink) {
        RoundRectRows(box, w, h, yFrom, yTo, sink);
    };
}

ShapeRows RectShape(TRect box) {
    return [box](int yFrom, int yTo, const RowSink& sink) {
        RoundRectRows(box, 0, 0, yFrom, yTo, sink);
    };
}

// The outline of a shape drawn with the pen: one pixel thick along its edge, or for a wide pen
// `width` pixels centred on it.
ShapeRows PenOutline(const GdiDC& dc, const std::function<ShapeRows(TRect)>& shape,
                     const TRect& box) {
    const int width = std::max(dc.state.pen->log.lopnWidth.X, 1);
    if (width == 1) {
        const ShapeRows filled = shape(box);
        return [filled](int yFrom, int yTo, const RowSink& sink) {
            OutlineRows(filled, yFrom, yTo, sink);
        };
    }
    const TRect outer = Shrunk(box, -(width / 2));
    return Ring(shape(outer), shape(Shrunk(outer, width)));
}

// Shapes wider plus taller than this walk only the outline pixels that can be seen; their dash
// pattern then starts where the visible part does.
constexpr std::int64_t kMaxOutlineWalk = std::int64_t{1} << 20;

// The pixels of a thin outline in the order the pen goes round it: clockwise about the shape's
// centre, starting straight above it. Ellipses and rounded rectangles are convex, so each
// direction from the centre meets the outline in one short run, taken from the centre outwards.
std::vector<TPoint> OutlineWalk(const ShapeRows& outline, const TRect& box, const TRect& visible) {
    // In 64 bits: a box from one end of the coordinate range to the other overflows an int.
    const std::int64_t span =
        std::int64_t{box.Right} - box.Left + std::int64_t{box.Bottom} - box.Top;
    const bool huge = span > kMaxOutlineWalk;
    const TRect area = huge ? box.Intersect(visible) : box;
    std::vector<TPoint> pixels;
    outline(area.Top, area.Bottom, [&](int y, const RowSpans& spans) {
        for (const auto& [x0, x1] : spans) {
            for (int x = std::max(x0, area.Left); x < std::min(x1, area.Right); ++x)
                pixels.push_back({x, y});
        }
    });
    const double cx = (static_cast<double>(box.Left) + box.Right - 1) / 2;
    const double cy = (static_cast<double>(box.Top) + box.Bottom - 1) / 2;
    struct Step {
        double angle;
        double distance;
        TPoint p;
    };
    std::vector<Step> steps;
    steps.reserve(pixels.size());
    for (const TPoint& p : pixels) {
        const double dx = p.X - cx, dy = p.Y - cy;
        double angle = std::atan2(dx, -dy);
        if (angle < 0)
            angle += 2 * std::numbers::pi;
        steps.push_back({angle, dx * dx + dy * dy, p});
    }
    std::sort(steps.begin(), steps.end(), [](const Step& a, const Step& b) {
        return a.angle != b.angle ? a.angle < b.angle : a.distance < b.distance;
    });
    for (std::size_t i = 0; i < steps.size(); ++i)
        pixels[i] = steps[i].p;
    return pixels;
}

// A shape with a thin dashed or dotted pen: the brush fills inside the outline, then the pen
// walks the outline with its dash pattern; the gaps show what was there, or the background
// colour in opaque mode.
void PaintDashedShape(GdiDC& dc, const ShapeRows& shape, const TRect& box) {
    const ShapeRows outline = [shape](int yFrom, int yTo, const RowSink& sink) {
        OutlineRows(shape, yFrom, yTo, sink);
    };
    PaintShape(dc, Ring(shape, outline), nullptr);
    Painter painter(dc);
    if (painter.Box().IsEmpty())
        return;
    const PenInfo pen = PenOf(dc);
    const int rop2 = dc.state.rop2;
    const std::vector<TPoint> walk = OutlineWalk(outline, box, painter.Box());
    for (std::size_t i = 0; i < walk.size(); ++i) {
        if (DashOn(pen, static_cast<std::int64_t>(i)))
            painter.Point(walk[i].X, walk[i].Y, pen.value, rop2);
        else if (pen.paintGaps)
            painter.Point(walk[i].X, walk[i].Y, pen.gapValue, rop2);
    }
}

bool InsideFrame(const GdiDC& dc) {
    return dc.state.pen->log.lopnStyle == PS_INSIDEFRAME;
}

}  // namespace

bool MoveToEx(HDC dc, int x, int y, TPoint* previous) {
    const auto device = FindDC(dc);
    if (!device)
        return false;
    if (previous)
        *previous = device->state.position;
    device->state.position = {x, y};
    return true;
}

bool GetCurrentPositionEx(HDC dc, TPoint* position) {
    const auto device = FindDC(dc);
    if (!device)
        return false;
    if (position)
        *position = device->state.position;
    return true;
}

bool LineTo(HDC dc, int x, int y) {
    const auto device = FindDC(dc);
    if (!device)
        return false;
    const TPoint path[] = {device->ToDevice(device->state.position.X, device->state.position.Y),
                           device->ToDevice(x, y)};
    StrokePath(*device, path);
    device->state.position = {x, y};
    return true;
}

bool Polyline(HDC dc, std::span<const TPoint> points) {
    const auto device = FindDC(dc);
    if (!device)
        return false;
    StrokePath(*device, ToDevice(*device, points));
    return true;
}

bool Polygon(HDC dc, std::span<const TPoint> points) {
    const auto device = FindDC(dc);
    if (!device || points.size() < 2)
        return false;
    const std::vector<TPoint> path = ToDevice(*device, points);
    const auto mode = device->state.polyFillMode == WINDING ? TPolyFillMode::pfmWinding
                                                            : TPolyFillMode::pfmAlternate;
    PaintShape(
        *device,
        [&](int yFrom, int yTo, const RowSink& sink) { PolygonRows(path, mode, yFrom, yTo, sink); },
        nullptr);
    std::vector<TPoint> closed = path;
    closed.push_back(path.front());
    StrokePath(*device, closed);
    return true;
}

bool Rectangle(HDC dc, int left, int top, int right, int bottom) {
    const auto device = FindDC(dc);
    if (!device)
        return false;
    const TRect box = Ordered(device->ToDevice(left, top).X, device->ToDevice(left, top).Y,
                              device->ToDevice(right, bottom).X, device->ToDevice(right, bottom).Y);
    const PenInfo pen = PenOf(*device);
    if (!pen.visible) {
        // Without a pen the fill stops a pixel short on the right and at the bottom.
        PaintShape(*device, RectShape(LessRightBottom(box)), nullptr);
        return true;
    }
    const TRect frame = InsideFrame(*device) ? Shrunk(box, pen.width / 2) : box;
    if (pen.width == 1 && !pen.solid) {
        PaintShape(*device, RectShape(Shrunk(frame, 1)), nullptr);
        const TRect last = LessRightBottom(frame);
        const TPoint corners[] = {{frame.Left, frame.Top},
                                  {last.Right, frame.Top},
                                  {last.Right, last.Bottom},
                                  {frame.Left, last.Bottom},
                                  {frame.Left, frame.Top}};
        StrokePath(*device, corners);
        return true;
    }
    const TRect outer = Shrunk(frame, -(pen.width / 2));
    const TRect inner = Shrunk(outer, pen.width);
    PaintShape(*device, RectShape(inner), Ring(RectShape(outer), RectShape(inner)));
    return true;
}

bool RoundRect(HDC dc, int left, int top, int right, int bottom, int ellipseW, int ellipseH) {
    const auto device = FindDC(dc);
    if (!device)
        return false;
    const TPoint a = device->ToDevice(left, top);
    const TPoint b = device->ToDevice(right, bottom);
    const TRect box = Ordered(a.X, a.Y, b.X, b.Y);
    auto shape = [ellipseW, ellipseH](TRect r) { return RoundRectShape(r, ellipseW, ellipseH); };
    const PenInfo pen = PenOf(*device);
    if (!pen.visible) {
        PaintShape(*device, shape(LessRightBottom(box)), nullptr);
        return true;
    }
    if (!pen.solid) {
        PaintDashedShape(*device, shape(box), box);
        return true;
    }
    PaintShape(*device, shape(box), PenOutline(*device, shape, box));
    return true;
}

bool Ellipse(HDC dc, int left, int top, int right, int bottom) {
    const auto device = FindDC(dc);
    if (!device)
        return false;
    const TPoint a = device->ToDevice(left, top);
    const TPoint b = device->ToDevice(right, bottom);
    const TRect box = Ordered(a.X, a.Y, b.X, b.Y);
    const PenInfo pen = PenOf(*device);
    if (!pen.visible) {
        PaintShape(*device, EllipseShape(LessRightBottom(box)), nullptr);
        return true;
    }
    if (!pen.solid) {
        PaintDashedShape(*device, EllipseShape(box), box);
        return true;
    }
    // The fill covers the outline too: a pen mode such as XOR shows both.
    PaintShape(*device, EllipseShape(box), PenOutline(*device, EllipseShape, box));
    return true;
}

bool Arc(HDC dc, int left, int top, int right, int bottom, int x3, int y3, int x4, int y4) {
    const auto device = FindDC(dc);
    if (!device)
        return false;
    const TPoint a = device->ToDevice(left, top);
    const TPoint b = device->ToDevice(right, bottom);
    const TRect box = Ordered(a.X, a.Y, b.X, b.Y);
    const TPoint from = device->ToDevice(x3, y3);
    const TPoint to = device->ToDevice(x4, y4);
    const double cx = (static_cast<double>(box.Left) + box.Right) / 2;
    const double cy = (static_cast<double>(box.Top) + box.Bottom) / 2;
    auto angle = [&](double x, double y) {
        const double t = std::atan2(-(y - cy), x - cx);
        return t < 0 ? t + 2 * std::numbers::pi : t;
    };
    const double start = angle(from.X, from.Y);
    double sweep = angle(to.X, to.Y) - start;
    if (sweep <= 0)
        sweep += 2 * std::numbers::pi;
    const ShapeRows outline = PenOutline(*device, EllipseShape, box);
    // Only the visible columns are worth an angle test.
    const TRect visible = Painter(*device).Box();
    const ShapeRows part = [&](int yFrom, int yTo, const RowSink& sink) {
        outline(yFrom, yTo, [&](int y, const RowSpans& spans) {
            RowSpans kept;
            for (const auto& [x0, x1] : spans) {
                for (int x = std::max(x0, visible.Left); x < std::min(x1, visible.Right); ++x) {
                    double d = angle(x + 0.5, y + 0.5) - start;
                    if (d < 0)
                        d += 2 * std::numbers::pi;
                    if (d <= sweep)
                        kept.emplace_back(x, x + 1);
                }
            }
            if (!kept.empty())
                sink(y, kept);
        });
    };
    PaintShape(*device, nullptr, part);
    return true;
}

int FillRect(HDC dc, const TRect& rect, HBRUSH brush) {
    const auto device = FindDC(dc);
    const auto object = FindGdi<GdiBrush>(brush, TGdiKind::Brush);
    if (!device || !object)
        return 0;
    const TRect r = device->ToDevice(rect);
    if (r.IsEmpty())
        return 1;
    Painter painter(*device);
    const Ink ink = Ink::FromBrush(*device, *object);
    const int top = std::max(r.Top, painter.Box().Top);
    const int bottom = std::min(r.Bottom, painter.Box().Bottom);
    for (int y = top; y < bottom; ++y)
        painter.Span(y, r.Left, r.Right, ink, 0);
    return 1;
}

int FrameRect(HDC dc, const TRect& rect, HBRUSH brush) {
    const auto device = FindDC(dc);
    const auto object = FindGdi<GdiBrush>(brush, TGdiKind::Brush);
    if (!device || !object)
        return 0;
    const TRect r = device->ToDevice(rect);
    if (r.IsEmpty())
        return 1;
    TRegion frame(r);
    frame.Combine(frame, TRegion(Shrunk(r, 1)), TRegionCombine::rgnDiff);
    Painter(*device).Fill(frame, Ink::FromBrush(*device, *object), 0);
    return 1;
}

bool InvertRect(HDC dc, const TRect& rect) {
    const auto device = FindDC(dc);
    if (!device)
        return false;
    Painter(*device).Fill(TRegion(device->ToDevice(rect)), Ink::Solid(0), R2_NOT);
    return true;
}

TColor GetPixel(HDC dc, int x, int y) {
    const auto device = FindDC(dc);
    if (!device)
        return clNone;
    const TPoint p = device->ToDevice(x, y);
    const TBitmap& target = device->Target();
    if (device->state.clip && !device->state.clip->Contains(p.X, p.Y))
        return clNone;
    return target.Pixel(p.X, p.Y);
}

TColor SetPixel(HDC dc, int x, int y, TColor color) {
    const auto device = FindDC(dc);
    if (!device)
        return clNone;
    const TPoint p = device->ToDevice(x, y);
    Painter painter(*device);
    painter.Point(p.X, p.Y, DeviceValue(painter.Target(), color), 0);
    return device->Target().Pixel(p.X, p.Y);
}

// ---- Regions ---------------------------------------------------------------------------------

namespace {

HRGN AddRegion(TRegion region) {
    auto object = std::make_shared<GdiRegion>();
    object->region = std::move(region);
    return HRGN(AddGdiObject(object));
}

std::shared_ptr<GdiRegion> FindRegion(HRGN region) {
    return FindGdi<GdiRegion>(region, TGdiKind::Region);
}

int KindOf(const TRegion& region) {
    return static_cast<int>(region.Kind());
}

// The region of a shape within `box`, or a null handle when it is too tall for a region.
HRGN ShapeRegion(const TRect& box, const ShapeRows& rows) {
    if (std::int64_t{box.Bottom} - box.Top > kMaxRegionRows)
        return HRGN();
    return AddRegion(TRegion::FromRows([&](const RowSink& sink) {
        rows(std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), sink);
    }));
}

}  // namespace

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
    return AddRegion(TRegion(Ordered(left, top, right, bottom)));
}

HRGN CreateRectRgnIndirect(const TRect& rect) {
    return CreateRectRgn(rect.Left, rect.Top, rect.Right, rect.Bottom);
}

HRGN CreateEllipticRgn(int left, int top, int right, int bottom) {
    const TRect box = Ordered(left, top, right, bottom);
    return ShapeRegion(box, EllipseShape(LessRightBottom(box)));
}

HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int ellipseW, int ellipseH) {
    const TRect box = Ordered(left, top, right, bottom);
    return ShapeRegion(box, RoundRectShape(LessRightBottom(box), ellipseW, ellipseH));
}

HRGN CreatePolygonRgn(std::span<const TPoint> points, int fillMode) {
    try {
        return AddRegion(TRegion::FromPolygon(
            points, fillMode == WINDING ? TPolyFillMode::pfmWinding : TPolyFillMode::pfmAlternate));
    } catch (const ERegionError&) {
        return HRGN();  // too tall for a region
    }
}

HRGN CreateRegionFrom(const TRegion& region) {
    return AddRegion(region);
}

const TRegion* RegionOf(HRGN region) {
    const auto object = FindRegion(region);
    return object ? &object->region : nullptr;
}

int CombineRgn(HRGN dest, HRGN a, HRGN b, int mode) {
    const auto target = FindRegion(dest);
    const auto first = FindRegion(a);
    if (!target || !first || mode < RGN_AND || mode > RGN_COPY)
        return ERROR;
    const auto second = mode == RGN_COPY ? first : FindRegion(b);
    if (!second)
        return ERROR;
    target->region.Combine(first->region, second->region, static_cast<TRegionCombine>(mode));
    return KindOf(target->region);
}

int OffsetRgn(HRGN region, int dx, int dy) {
    const auto object = FindRegion(region);
    if (!object)
        return ERROR;
    object->region.Offset(dx, dy);
    return KindOf(object->region);
}

int GetRgnBox(HRGN region, TRect* box) {
    const auto object = FindRegion(region);
    if (!object)
        return ERROR;
    if (box)
        *box = object->region.Bounds();
    return KindOf(object->region);
}

bool PtInRegion(HRGN region, int x, int y) {
    const auto object = FindRegion(region);
    return object && object->region.Contains(x, y);
}

bool EqualRgn(HRGN a, HRGN b) {
    const auto first = FindRegion(a);
    const auto second = FindRegion(b);
    return first && second && first->region == second->region;
}

namespace {

int ClipKind(const GdiDC& dc) {
    if (!dc.state.clip)
        return SIMPLEREGION;
    return KindOf(*dc.state.clip);
}

// The clip as it stands, or the whole bitmap when there is none.
TRegion CurrentClip(const GdiDC& dc) {
    if (dc.state.clip)
        return *dc.state.clip;
    return TRegion(TRect(0, 0, dc.Target().Width(), dc.Target().Height()));
}

}  // namespace

int SelectClipRgn(HDC dc, HRGN region) {
    const auto device = FindDC(dc);
    if (!device)
        return ERROR;
    if (!region) {
        device->state.clip.reset();
        return SIMPLEREGION;
    }
    const auto object = FindRegion(region);
    if (!object)
        return ERROR;
    device->state.clip = object->region;
    return ClipKind(*device);
}

namespace {

// The clip rectangles take logical units and are fixed in device space from then on.
int CombineClipRect(HDC dc, int left, int top, int right, int bottom, TRegionCombine mode) {
    const auto device = FindDC(dc);
    if (!device)
        return ERROR;
    TRegion clip = CurrentClip(*device);
    const TPoint a = device->ToDevice(left, top);
    const TPoint b = device->ToDevice(right, bottom);
    clip.Combine(clip, TRegion(Ordered(a.X, a.Y, b.X, b.Y)), mode);
    device->state.clip = std::move(clip);
    return ClipKind(*device);
}

}  // namespace

int IntersectClipRect(HDC dc, int left, int top, int right, int bottom) {
    return CombineClipRect(dc, left, top, right, bottom, TRegionCombine::rgnAnd);
}

int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom) {
    return CombineClipRect(dc, left, top, right, bottom, TRegionCombine::rgnDiff);
}

int OffsetClipRgn(HDC dc, int dx, int dy) {
    const auto device = FindDC(dc);
    if (!device)
        return ERROR;
    if (device->state.clip)
        device->state.clip->Offset(dx, dy);
    return ClipKind(*device);
}

int GetClipBox(HDC dc, TRect* box) {
    const auto device = FindDC(dc);
    if (!device)
        return ERROR;
    TRegion visible(TRect(0, 0, device->Target().Width(), device->Target().Height()));
    if (device->state.clip)
        visible.Combine(visible, *device->state.clip, TRegionCombine::rgnAnd);
    if (box) {
        const TRect r = visible.Bounds();
        const TPoint shift = device->ToDevice(0, 0);
        auto back = [](int v, int by) {
            return static_cast<int>(std::clamp<std::int64_t>(std::int64_t{v} - by,
                                                             std::numeric_limits<int>::min(),
                                                             std::numeric_limits<int>::max()));
        };
        *box = visible.IsEmpty() ? TRect()
                                 : TRect(back(r.Left, shift.X), back(r.Top, shift.Y),
                                         back(r.Right, shift.X), back(r.Bottom, shift.Y));
    }
    return KindOf(visible);
}

int GetClipRgn(HDC dc, HRGN region) {
    const auto device = FindDC(dc);
    const auto object = FindRegion(region);
    if (!device || !object)
        return -1;
    if (!device->state.clip)
        return 0;
    object->region = *device->state.clip;
    return 1;
}

namespace {

TRegion DeviceRegion(const GdiDC& dc, const TRegion& region) {
    TRegion moved = region;
    const TPoint shift = dc.ToDevice(0, 0);
    moved.Offset(shift.X, shift.Y);
    return moved;
}

bool PaintRegion(HDC dc, HRGN region, const std::shared_ptr<GdiBrush>& brush, int rop2Override) {
    const auto device = FindDC(dc);
    const auto object = FindRegion(region);
    if (!device || !object || !brush)
        return false;
    const int rop2 = rop2Override ? rop2Override : device->state.rop2;
    Painter(*device).Fill(DeviceRegion(*device, object->region), Ink::FromBrush(*device, *brush),
                          rop2);
    return true;
}

}  // namespace

bool FillRgn(HDC dc, HRGN region, HBRUSH brush) {
    return PaintRegion(dc, region, FindGdi<GdiBrush>(brush, TGdiKind::Brush), 0);
}

bool PaintRgn(HDC dc, HRGN region) {
    const auto device = FindDC(dc);
    return device && PaintRegion(dc, region, device->state.brush, 0);
}

bool InvertRgn(HDC dc, HRGN region) {
    const auto device = FindDC(dc);
    if (!device)
        return false;
    const auto object = FindRegion(region);
    if (!object)
        return false;
    Painter(*device).Fill(DeviceRegion(*device, object->region), Ink::Solid(0), R2_NOT);
    return true;
}

bool FrameRgn(HDC dc, HRGN region, HBRUSH brush, int width, int height) {
    const auto device = FindDC(dc);
    const auto object = FindRegion(region);
    const auto ink = FindGdi<GdiBrush>(brush, TGdiKind::Brush);
    if (!device || !object || !ink || width < 0 || height < 0)
        return false;
    // The frame is what erosion by width x height removes from the region.
    const TRegion& whole = object->region;
    TRegion inner = whole;
    const int reach = std::min(std::max(width, height), 4096);
    for (int k = 1; k <= reach; ++k) {
        for (const auto& [dx, dy] :
             {std::pair{k, 0}, std::pair{-k, 0}, std::pair{0, k}, std::pair{0, -k}}) {
            if ((dx != 0 && k > width) || (dy != 0 && k > height))
                continue;
            TRegion moved = whole;
            moved.Offset(dx, dy);
            inner.Combine(inner, moved, TRegionCombine::rgnAnd);
        }
    }
    TRegion frame = whole;
    frame.Combine(frame, inner, TRegionCombine::rgnDiff);
    Painter(*device).Fill(DeviceRegion(*device, frame), Ink::FromBrush(*device, *ink),
                          device->state.rop2);
    return true;
}

}  // namespace kw
