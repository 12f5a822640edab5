// Drives the painting routines with arbitrary rectangles, styles, band counts, shapes and pens
// on a small bitmap: nothing may crash, read out of bounds or overflow.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "drawing/backgrounds.h"
#include "drawing/decorations.h"
#include "drawing/gradient.h"
#include "drawing/shape_paint.h"
#include "drawing/shapes.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/region.h"

namespace {

class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    template <class T>
    T Take() {
        T value{};
        const std::size_t n = std::min(sizeof(T), size_ - pos_);
        std::memcpy(&value, data_ + pos_, n);
        pos_ += n;
        return value;
    }
    // Mostly small coordinates around the bitmap, sometimes any 32-bit value.
    int Coordinate() {
        const auto raw = Take<std::int32_t>();
        return (raw & 1) != 0 ? raw : (raw >> 1) % 80 - 20;
    }
    kw::TRect Rect() { return {Coordinate(), Coordinate(), Coordinate(), Coordinate()}; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kw;
    Input in(data, size);
    TBitmap bitmap(40, 30);
    TCanvas& canvas = bitmap.Canvas();
    const auto op = in.Take<std::uint8_t>() % 5;
    const TRect rect = in.Rect();
    const auto style = static_cast<TKwBackGroundStyle>(in.Take<std::uint8_t>() % 24);
    const auto shape = static_cast<TKwShapes>(in.Take<std::uint8_t>() % 46);
    const auto turn = static_cast<TKwShapeOrientation>(in.Take<std::uint8_t>() % 6);
    const bool mirror = in.Take<std::uint8_t>() & 1;
    const int colors = in.Take<std::int16_t>();
    const TColor a = in.Take<std::uint32_t>();
    const TColor b = in.Take<std::uint32_t>();
    switch (op) {
        case 0:
            KwDrawGradient(canvas, rect, style, a, b, a ^ b, nullptr, mirror, colors);
            break;
        case 1:
            KwDrawGradientShape(canvas, rect, style, a, b, a, shape, mirror, turn, nullptr, false,
                                colors % 9, static_cast<TKwPenStyle>(colors & 7), mirror, colors);
            break;
        case 2:
            KwDrawSolidShape(canvas, rect, static_cast<TKwDrawShapeStyle>(colors & 3), shape,
                             mirror, turn, static_cast<TKwBrushStyle>((colors >> 2) % 10), a,
                             static_cast<TKwPenStyle>((colors >> 6) & 7), b, colors % 7);
            break;
        case 3:
            (void)KwShapeRegion(rect, shape, mirror, turn);
            (void)KwRectExt(rect.Left, rect.Top, rect.Right);
            break;
        default:
            KwPaintShapeEx(canvas, rect, static_cast<TKwBorderStyle>(colors & 3), shape, mirror,
                           turn, (colors & 4) != 0, nullptr, nullptr, colors % 5);
            break;
    }
    return 0;
}
