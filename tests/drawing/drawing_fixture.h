#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "drawing/state.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/device.h"

namespace kw {

inline constexpr TColor kSentinel = RGB(1, 2, 3);

// A bitmap filled with the sentinel colour, so that untouched pixels show, or with a backdrop
// for a golden picture. Its canvas keeps its own brush.
class BlankBitmap : public TBitmap {
public:
    BlankBitmap(int w, int h, TColor fill = kSentinel) : TBitmap(w, h) {
        const TColor rgb = ColorToRGB(fill);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x)
                SetPixel(x, y, rgb);
        }
    }
};

inline int CountPixels(const TBitmap& bitmap, TColor color) {
    int count = 0;
    for (int y = 0; y < bitmap.Height(); ++y) {
        for (int x = 0; x < bitmap.Width(); ++x)
            count += bitmap.Pixel(x, y) == color;
    }
    return count;
}

// The bitmap as rows of characters: '#' for `ink`, '.' for the sentinel, '?' for anything else.
inline std::vector<std::string> Picture(const TBitmap& bitmap, TColor ink) {
    std::vector<std::string> rows;
    for (int y = 0; y < bitmap.Height(); ++y) {
        std::string row;
        for (int x = 0; x < bitmap.Width(); ++x) {
            const TColor c = bitmap.Pixel(x, y);
            row += c == ink ? '#' : c == kSentinel ? '.' : '?';
        }
        rows.push_back(row);
    }
    return rows;
}

// The bounds of the pixels that are not the sentinel.
inline TRect PaintedBounds(const TBitmap& bitmap) {
    TRect r(bitmap.Width(), bitmap.Height(), 0, 0);
    for (int y = 0; y < bitmap.Height(); ++y) {
        for (int x = 0; x < bitmap.Width(); ++x) {
            if (bitmap.Pixel(x, y) != kSentinel)
                r = {std::min(r.Left, x), std::min(r.Top, y), std::max(r.Right, x + 1),
                     std::max(r.Bottom, y + 1)};
        }
    }
    return r.Left < r.Right ? r : TRect();
}

class DrawingTest : public testing::Test {
protected:
    void SetUp() override { ResetDrawing(); }
    void TearDown() override { ResetDrawing(); }

public:
    static void ResetDrawing() {
        KwResetDrawingState();
        ResetGdiForTesting();
    }
};

// Another fixture's process-wide reset with the drawing engine's around it.
template <class Base>
class WithDrawing : public Base {
protected:
    void SetUp() override {
        Base::SetUp();
        DrawingTest::ResetDrawing();
    }
    void TearDown() override {
        DrawingTest::ResetDrawing();
        Base::TearDown();
    }
};

}  // namespace kw
