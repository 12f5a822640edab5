#pragma once

// Shared body of the decoder fuzz targets: arbitrary bytes either are refused with
// EInvalidGraphic or give an image whose decoded pixels match the size its header announced.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/graphics/bitmap.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/graphic.h"

namespace kw::fuzz {

inline void CheckDecodes(TEncodedGraphic& graphic, const std::uint8_t* data, std::size_t size) {
    try {
        graphic.SetData(std::vector<Byte>(data, data + size));
    } catch (const EInvalidGraphic&) {
        return;
    }
    try {
        const TBitmap* pixels = graphic.PixelData();
        if (pixels == nullptr)
            return;
        if (pixels->Width() != graphic.Width() || pixels->Height() != graphic.Height())
            __builtin_trap();
        TBitmap target(7, 5);
        target.Canvas().StretchDraw(TRect(-2, 1, 9, 4), graphic);
    } catch (const EInvalidGraphic&) {
    }
}

}  // namespace kw::fuzz
