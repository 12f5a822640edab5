#include "drawing/colors.h"

#include <cmath>
#include <cstdint>

namespace kw {

TColor KwSolidColor(TColor color) {
    if (static_cast<std::int32_t>(color) < 0)
        return color;
    return (color & 0xFFFFFF) | 0x02000000;
}

namespace {

Byte MixChannel(Byte a, Byte b, int position, int count) {
    const double value = a + static_cast<double>(position) * (b - a) / count;
    // nearbyint rounds halves to even under the default rounding mode.
    return static_cast<Byte>(static_cast<std::int64_t>(std::nearbyint(value)) & 0xFF);
}

}  // namespace

TColor KwIntermediateColor(TColor a, TColor b, int position, int count) {
    const TColor ra = ColorToRGB(a);
    const TColor rb = ColorToRGB(b);
    if (count == 0)
        return KwSolidColor(ra);
    return KwSolidColor(RGB(MixChannel(GetRValue(ra), GetRValue(rb), position, count),
                            MixChannel(GetGValue(ra), GetGValue(rb), position, count),
                            MixChannel(GetBValue(ra), GetBValue(rb), position, count)));
}

}  // namespace kw
