#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "platform/graphics/gdi_objects.h"
#include "platform/graphics/raster.h"

namespace kw {

// The colour a fill or a line puts down at a device pixel: a plain colour, a hatch (whose gaps
// take the background colour or nothing), or a tiled pattern; all aligned to the brush origin.
class Ink {
public:
    // Nothing at all (clear brush or pen).
    Ink() = default;
    static Ink Solid(std::uint32_t value);
    static Ink FromBrush(const GdiDC& dc, const GdiBrush& brush);

    bool Empty() const { return kind_ == Kind::None; }
    bool IsSolid() const { return kind_ == Kind::Solid; }
    std::uint32_t SolidValue() const { return fore_; }
    // False where the ink leaves the pixel alone.
    bool At(int x, int y, std::uint32_t& value) const;

private:
    enum class Kind { None, Solid, Hatch, Pattern };
    Kind kind_ = Kind::None;
    std::uint32_t fore_ = 0;
    std::uint32_t back_ = 0;
    bool paintGaps_ = false;
    std::array<Byte, 8> hatch_{};
    std::vector<std::uint32_t> pattern_;
    int patternWidth_ = 0;
    int patternHeight_ = 0;
    TPoint origin_;
};

// Binary raster operation (pen mode) of pen value p over destination value d.
inline std::uint32_t Mix(int rop2, std::uint32_t p, std::uint32_t d) {
    const unsigned code = static_cast<unsigned>(rop2 - 1) & 0xF;
    return ((code & 8) ? (p & d) : 0) | ((code & 4) ? (p & ~d) : 0) | ((code & 2) ? (~p & d) : 0) |
           ((code & 1) ? (~p & ~d) : 0);
}

// Writes pixels of a device's target in device coordinates, through its clip region and the
// bitmap's bounds. Everything that paints goes through here.
class Painter {
public:
    explicit Painter(GdiDC& dc);
    ~Painter();

    TBitmap& Target() const { return target_; }
    // The bounds of what can be painted; empty when nothing can.
    const TRect& Box() const { return box_; }
    // Visible parts of row y between x0 and x1 (half-open).
    template <class F>
    void ForVisible(int y, int x0, int x1, F&& f) const;

    std::uint32_t Get(int x, int y) const;
    void Put(int x, int y, std::uint32_t value);
    // `rop2` 0 writes the ink as it is.
    void Span(int y, int x0, int x1, const Ink& ink, int rop2);
    void Rows(int y, const RowSpans& spans, const Ink& ink, int rop2);
    void Fill(const TRegion& region, const Ink& ink, int rop2);
    void Point(int x, int y, std::uint32_t value, int rop2);

private:
    GdiDC& dc_;
    TBitmap& target_;
    bool mono_;
    std::vector<TRect> rects_;
    TRect box_;
    bool changed_ = false;
};

template <class F>
void Painter::ForVisible(int y, int x0, int x1, F&& f) const {
    if (y < box_.Top || y >= box_.Bottom || x0 >= x1)
        return;
    // Rectangles are in bands top to bottom; skip the bands above y.
    auto it = std::lower_bound(rects_.begin(), rects_.end(), y,
                               [](const TRect& r, int row) { return r.Bottom <= row; });
    for (; it != rects_.end() && it->Top <= y; ++it) {
        if (y >= it->Bottom)
            continue;
        const int a = std::max(x0, it->Left);
        const int b = std::min(x1, it->Right);
        if (a < b)
            f(a, b);
    }
}

}  // namespace kw
