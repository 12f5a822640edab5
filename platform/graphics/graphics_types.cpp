#include "platform/graphics/graphics_types.h"

#include <array>

#include "platform/text/strings.h"

namespace kw {

namespace {

// The fixed system palette of this platform, indexed by system colour number.
constexpr std::array<TColor, 31> kSystemColors = {
    RGB(212, 208, 200), RGB(58, 110, 165),  RGB(10, 36, 106),   RGB(128, 128, 128),
    RGB(212, 208, 200), RGB(255, 255, 255), RGB(0, 0, 0),       RGB(0, 0, 0),
    RGB(0, 0, 0),       RGB(255, 255, 255), RGB(212, 208, 200), RGB(212, 208, 200),
    RGB(128, 128, 128), RGB(10, 36, 106),   RGB(255, 255, 255), RGB(212, 208, 200),
    RGB(128, 128, 128), RGB(128, 128, 128), RGB(0, 0, 0),       RGB(212, 208, 200),
    RGB(255, 255, 255), RGB(64, 64, 64),    RGB(212, 208, 200), RGB(0, 0, 0),
    RGB(255, 255, 225), RGB(181, 181, 181), RGB(0, 0, 128),     RGB(166, 202, 240),
    RGB(192, 192, 192), RGB(49, 106, 197),  RGB(212, 208, 200),
};

constexpr std::int64_t kAlwaysAllowedPixels = 64 * 64;

}  // namespace

TColor ColorToRGB(TColor color) {
    if (IsSystemColor(color)) {
        const auto index = color & 0xFF;
        return index < kSystemColors.size() ? kSystemColors[index] : clBlack;
    }
    return color & 0xFFFFFF;
}

void CheckImageSize(StringView format, std::int64_t width, std::int64_t height,
                    std::int64_t dataBytes, std::int64_t maxPixelsPerByte) {
    auto refuse = [&](StringView why) {
        throw EInvalidGraphic(Format(u"%s image of %d x %d pixels refused: %s",
                                     {String(format), width, height, String(why)}));
    };
    if (width <= 0 || height <= 0)
        refuse(u"empty size");
    if (width > kMaxImageSide || height > kMaxImageSide || width * height > kMaxImagePixels)
        refuse(u"too large");
    const std::int64_t capacity = std::max<std::int64_t>(dataBytes, 0) * maxPixelsPerByte;
    if (width * height > std::max(capacity, kAlwaysAllowedPixels))
        refuse(u"more pixels than its data can hold");
}

}  // namespace kw
