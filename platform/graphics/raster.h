#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <utility>
#include <vector>

#include "platform/graphics/graphics_types.h"

namespace kw {

enum class TPolyFillMode;

// The pixels of one row as half-open runs [first, second), left to right, not touching.
using RowSpans = std::vector<std::pair<int, int>>;
using RowSink = std::function<void(int y, const RowSpans& spans)>;

// The one scan converter behind filled shapes and shape regions. Every routine visits only the
// rows in [yFrom, yTo), so callers bound the work by what they can see; coordinates anywhere in
// the 32-bit range are safe.

// The ellipse inscribed in `box` (half-open), sampled at pixel centres.
void EllipseRows(const TRect& box, int yFrom, int yTo, const RowSink& sink);
// `box` with its corners rounded by quarters of an ellipse `ellipseW` x `ellipseH` wide.
void RoundRectRows(const TRect& box, int ellipseW, int ellipseH, int yFrom, int yTo,
                   const RowSink& sink);
// The polygon sampled at integer points: pixel (x, y) is inside when the point (x, y) is, left
// and top edges included, right and bottom edges excluded.
void PolygonRows(std::span<const TPoint> points, TPolyFillMode mode, int yFrom, int yTo,
                 const RowSink& sink);
// The thin outline of a filled shape: its pixels that have a 4-neighbour outside it.
void OutlineRows(const std::function<void(int yFrom, int yTo, const RowSink&)>& shape, int yFrom,
                 int yTo, const RowSink& sink);

// The rows a shape spans, clamped to [yFrom, yTo).
std::pair<int, int> RowRange(std::int64_t top, std::int64_t bottom, int yFrom, int yTo);

// One-pixel line from `from` towards `to` without the end point: step i of n (n the longer
// extent) lies at from + i along the major axis and at the rounded share along the minor one.
struct LineSteps {
    TPoint from;
    std::int64_t dx = 0;
    std::int64_t dy = 0;
    std::int64_t count = 0;  // pixels, the end point excluded

    LineSteps(TPoint a, TPoint b);
    TPoint At(std::int64_t i) const;
    // The step range whose major coordinate lies inside [low, high] (both inclusive).
    std::pair<std::int64_t, std::int64_t> VisibleSteps(const TRect& clip) const;
};

}  // namespace kw
