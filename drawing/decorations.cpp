#include "drawing/decorations.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numbers>

#include "drawing/rects.h"
#include "platform/core/numbers.h"

namespace kw {

TSize KwRectExt(int width, int height, int angle) {
    std::int64_t a = angle;
    if ((a + 45) % 90 == 0)
        --a;
    if (a % 180 == 0)
        return {width, height};
    if ((a + 90) % 180 == 0)
        return {height, width};
    const double radians = static_cast<double>(a) * std::numbers::pi / 180.0;
    const double s = std::abs(std::sin(radians));
    const double c = std::abs(std::cos(radians));
    const double w = std::abs(static_cast<double>(width));
    const double h = std::abs(static_cast<double>(height));
    return {KwClampToInt(Round(h * s + w * c)), KwClampToInt(Round(w * s + h * c))};
}

}  // namespace kw
