#include "drawing/decorations.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numbers>

#include "platform/core/numbers.h"

namespace kw {

namespace {

int ClampToInt(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

}  // namespace

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
    return {ClampToInt(Round(h * s + w * c)), ClampToInt(Round(w * s + h * c))};
}

}  // namespace kw
