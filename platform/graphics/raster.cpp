#include "platform/graphics/raster.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/graphics/region.h"

namespace kw {

namespace {

using Wide = __int128;

std::int64_t CeilDiv(Wide a, Wide b) {
    if (b < 0) {
        a = -a;
        b = -b;
    }
    Wide q = a / b;
    if (a % b != 0 && a > 0)
        ++q;
    return static_cast<std::int64_t>(q);
}

int ClampToInt(std::int64_t v) {
    return static_cast<int>(std::clamp<std::int64_t>(v, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

struct Crossing {
    std::int64_t x;
    int direction;
};

void SpansOfRow(std::vector<Crossing>& crossings, TPolyFillMode mode, RowSpans& spans) {
    std::sort(crossings.begin(), crossings.end(),
              [](const Crossing& a, const Crossing& b) { return a.x < b.x; });
    spans.clear();
    int winding = 0;
    for (std::size_t i = 0; i < crossings.size(); ++i) {
        const bool wasInside = mode == TPolyFillMode::pfmAlternate ? (i % 2) == 1 : winding != 0;
        winding += crossings[i].direction;
        const bool inside = mode == TPolyFillMode::pfmAlternate ? (i % 2) == 0 : winding != 0;
        const int x = ClampToInt(crossings[i].x);
        if (!wasInside && inside) {
            spans.emplace_back(x, x);
        } else if (wasInside && !inside) {
            spans.back().second = x;
            if (spans.back().second <= spans.back().first)
                spans.pop_back();
        }
    }
    // Runs that touch merge, so identical rows stay identical whatever the edges were.
    std::size_t kept = 0;
    for (std::size_t i = 0; i < spans.size(); ++i) {
        if (kept > 0 && spans[i].first <= spans[kept - 1].second)
            spans[kept - 1].second = std::max(spans[kept - 1].second, spans[i].second);
        else
            spans[kept++] = spans[i];
    }
    spans.resize(kept);
}

// Columns of row y inside the ellipse of `box`: |2x + 1 - (l + r)| <= W * sqrt(1 - (Y / H)^2)
// with Y = 2y + 1 - (t + b).
bool EllipseRow(const TRect& box, int y, std::int64_t& first, std::int64_t& last) {
    const double w = static_cast<double>(std::int64_t{box.Right} - box.Left);
    const double h = static_cast<double>(std::int64_t{box.Bottom} - box.Top);
    const double yy = static_cast<double>(2 * std::int64_t{y} + 1 - box.Top - box.Bottom) / h;
    const double q = 1.0 - yy * yy;
    if (q < 0)
        return false;
    const double reach = w * std::sqrt(q);
    const double middle = static_cast<double>(std::int64_t{box.Left} + box.Right - 1);
    first = static_cast<std::int64_t>(std::ceil((middle - reach) / 2));
    last = static_cast<std::int64_t>(std::floor((middle + reach) / 2));
    first = std::max<std::int64_t>(first, box.Left);
    last = std::min<std::int64_t>(last, std::int64_t{box.Right} - 1);
    return first <= last;
}

}  // namespace

std::pair<int, int> RowRange(std::int64_t top, std::int64_t bottom, int yFrom, int yTo) {
    return {ClampToInt(std::max<std::int64_t>(top, yFrom)),
            ClampToInt(std::min<std::int64_t>(bottom, yTo))};
}

void EllipseRows(const TRect& box, int yFrom, int yTo, const RowSink& sink) {
    if (box.Left >= box.Right || box.Top >= box.Bottom)
        return;
    const auto [top, bottom] = RowRange(box.Top, box.Bottom, yFrom, yTo);
    RowSpans spans(1);
    for (int y = top; y < bottom; ++y) {
        std::int64_t first = 0, last = 0;
        if (!EllipseRow(box, y, first, last))
            continue;
        spans[0] = {ClampToInt(first), ClampToInt(last + 1)};
        sink(y, spans);
    }
}

void RoundRectRows(const TRect& box, int ellipseW, int ellipseH, int yFrom, int yTo,
                   const RowSink& sink) {
    if (box.Left >= box.Right || box.Top >= box.Bottom)
        return;
    const std::int64_t width = std::int64_t{box.Right} - box.Left;
    const std::int64_t height = std::int64_t{box.Bottom} - box.Top;
    const int ew =
        static_cast<int>(std::clamp<std::int64_t>(std::abs(std::int64_t{ellipseW}), 0, width));
    const int eh =
        static_cast<int>(std::clamp<std::int64_t>(std::abs(std::int64_t{ellipseH}), 0, height));
    if (ew < 2 || eh < 2) {
        const auto [top, bottom] = RowRange(box.Top, box.Bottom, yFrom, yTo);
        const RowSpans full{{box.Left, box.Right}};
        for (int y = top; y < bottom; ++y)
            sink(y, full);
        return;
    }
    // The corner ellipse's own rows: its top half serves the top corners, its bottom half the
    // bottom ones; rows between take the whole width.
    const TRect corner(box.Left, box.Top, box.Left + ew, box.Top + eh);
    const int halfH = eh / 2;
    const auto [top, bottom] = RowRange(box.Top, box.Bottom, yFrom, yTo);
    RowSpans spans(1);
    for (int y = top; y < bottom; ++y) {
        const std::int64_t fromTop = std::int64_t{y} - box.Top;
        const std::int64_t fromBottom = std::int64_t{box.Bottom} - 1 - y;
        std::int64_t cornerRow = -1;
        if (fromTop < halfH)
            cornerRow = fromTop;
        else if (fromBottom < halfH)
            cornerRow = eh - 1 - fromBottom;
        std::int64_t inset = 0;
        if (cornerRow >= 0) {
            std::int64_t first = 0, last = 0;
            if (!EllipseRow(corner, static_cast<int>(box.Top + cornerRow), first, last))
                continue;
            inset = first - box.Left;
        }
        spans[0] = {ClampToInt(box.Left + inset), ClampToInt(std::int64_t{box.Right} - inset)};
        if (spans[0].first < spans[0].second)
            sink(y, spans);
    }
}

void PolygonRows(std::span<const TPoint> points, TPolyFillMode mode, int yFrom, int yTo,
                 const RowSink& sink) {
    if (points.size() < 3)
        return;
    auto [low, high] = std::minmax_element(
        points.begin(), points.end(), [](const TPoint& a, const TPoint& b) { return a.Y < b.Y; });
    const auto [top, bottom] = RowRange(low->Y, high->Y, yFrom, yTo);
    std::vector<Crossing> crossings;
    RowSpans spans;
    for (int y = top; y < bottom; ++y) {
        crossings.clear();
        for (std::size_t i = 0; i < points.size(); ++i) {
            const TPoint& a = points[i];
            const TPoint& b = points[(i + 1) % points.size()];
            if (a.Y == b.Y)
                continue;
            const bool down = a.Y < b.Y;
            const TPoint& p = down ? a : b;
            const TPoint& q = down ? b : a;
            if (y < p.Y || y >= q.Y)
                continue;
            // ceil(p.X + (y - p.Y) * (q.X - p.X) / (q.Y - p.Y)), exact.
            const Wide dy = Wide{q.Y} - p.Y;
            const Wide num = Wide{p.X} * dy + (Wide{y} - p.Y) * (Wide{q.X} - p.X);
            crossings.push_back({CeilDiv(num, dy), down ? 1 : -1});
        }
        SpansOfRow(crossings, mode, spans);
        if (!spans.empty())
            sink(y, spans);
    }
}

void OutlineRows(const std::function<void(int yFrom, int yTo, const RowSink&)>& shape, int yFrom,
                 int yTo, const RowSink& sink) {
    // Each row of the shape is one run here (ellipses and rounded rectangles).
    const int from = yFrom == std::numeric_limits<int>::min() ? yFrom : yFrom - 1;
    const int to = yTo == std::numeric_limits<int>::max() ? yTo : yTo + 1;
    std::vector<std::pair<int, std::pair<int, int>>> rows;
    shape(from, to, [&](int y, const RowSpans& spans) { rows.push_back({y, spans.front()}); });
    RowSpans out;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const int y = rows[i].first;
        if (y < yFrom || y >= yTo)
            continue;
        const auto [a, b] = rows[i].second;
        std::int64_t inFirst = std::int64_t{a} + 1;
        std::int64_t inLast = std::int64_t{b} - 2;
        const bool hasUp = i > 0 && rows[i - 1].first == y - 1;
        const bool hasDown = i + 1 < rows.size() && rows[i + 1].first == std::int64_t{y} + 1;
        if (!hasUp || !hasDown) {
            inLast = inFirst - 1;
        } else {
            inFirst = std::max<std::int64_t>(
                {inFirst, rows[i - 1].second.first, rows[i + 1].second.first});
            inLast = std::min<std::int64_t>({inLast, std::int64_t{rows[i - 1].second.second} - 1,
                                             std::int64_t{rows[i + 1].second.second} - 1});
        }
        out.clear();
        if (inFirst > inLast) {
            out.emplace_back(a, b);
        } else {
            out.emplace_back(a, static_cast<int>(inFirst));
            out.emplace_back(static_cast<int>(inLast + 1), b);
        }
        sink(y, out);
    }
}

LineSteps::LineSteps(TPoint a, TPoint b)
    : from(a), dx(std::int64_t{b.X} - a.X), dy(std::int64_t{b.Y} - a.Y) {
    count = std::max(std::abs(dx), std::abs(dy));
}

TPoint LineSteps::At(std::int64_t i) const {
    const bool xMajor = std::abs(dx) >= std::abs(dy);
    const std::int64_t major = xMajor ? dx : dy;
    const std::int64_t minor = xMajor ? dy : dx;
    const std::int64_t n = std::abs(major);
    // Rounded share of the minor extent; ties go towards the start point's side.
    const Wide scaled = 2 * Wide{i} * std::abs(minor) + n - 1;
    const std::int64_t share = static_cast<std::int64_t>(scaled / (2 * Wide{n}));
    const std::int64_t along = major < 0 ? -i : i;
    const std::int64_t across = minor < 0 ? -share : share;
    const std::int64_t x = from.X + (xMajor ? along : across);
    const std::int64_t y = from.Y + (xMajor ? across : along);
    return {ClampToInt(x), ClampToInt(y)};
}

std::pair<std::int64_t, std::int64_t> LineSteps::VisibleSteps(const TRect& clip) const {
    if (count == 0 || clip.IsEmpty())
        return {0, 0};
    const bool xMajor = std::abs(dx) >= std::abs(dy);
    const std::int64_t start = xMajor ? from.X : from.Y;
    const std::int64_t step = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const std::int64_t low = xMajor ? clip.Left : clip.Top;
    const std::int64_t high = std::int64_t{xMajor ? clip.Right : clip.Bottom} - 1;
    std::int64_t first = step > 0 ? low - start : start - high;
    std::int64_t last = step > 0 ? high - start : start - low;
    first = std::max<std::int64_t>(first, 0);
    last = std::min<std::int64_t>(last, count - 1);
    if (first > last)
        return {0, 0};
    return {first, last + 1};
}

}  // namespace kw
