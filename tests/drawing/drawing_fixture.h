#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "drawing/state.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/device.h"

namespace kw {

inline constexpr TColor kSentinel = RGB(1, 2, 3);

// A bitmap filled with the sentinel colour, so that untouched pixels show.
class BlankBitmap : public TBitmap {
public:
    BlankBitmap(int w, int h) : TBitmap(w, h) {
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x)
                SetPixel(x, y, kSentinel);
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

}  // namespace kw
