#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>

#include "platform/graphics/graphics_types.h"

namespace kw {

// A rectangle worth painting: not empty, not inverted, and with sides that fit in 32 bits.
constexpr bool KwPaintable(const TRect& rect) {
    constexpr std::int64_t kMax = std::numeric_limits<int>::max();
    const std::int64_t w = std::int64_t{rect.Right} - rect.Left;
    const std::int64_t h = std::int64_t{rect.Bottom} - rect.Top;
    return w >= 1 && h >= 1 && w <= kMax && h <= kMax;
}

constexpr int KwClampToInt(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

// `rect` with its left and top moved by (dl, dt) and its right and bottom by (dr, db), each
// edge kept within the 32-bit range.
constexpr TRect KwMoveEdges(const TRect& rect, std::int64_t dl, std::int64_t dt, std::int64_t dr,
                            std::int64_t db) {
    return {KwClampToInt(rect.Left + dl), KwClampToInt(rect.Top + dt),
            KwClampToInt(rect.Right + dr), KwClampToInt(rect.Bottom + db)};
}

}  // namespace kw
