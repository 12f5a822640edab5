#pragma once

#include <memory>

#include "platform/graphics/device.h"

namespace kw {

class TBitmap;

// Every piece of process-wide state of the drawing engine, in one place: the shared grid bitmap
// and the palette realised on 8-bit displays.
struct TKwDrawingState {
    std::unique_ptr<TBitmap> brushGrid;
    HPALETTE palette;

    TKwDrawingState();
    ~TKwDrawingState();
};

TKwDrawingState& KwDrawingState();
// Back to the start-up state between tests: the grid bitmap and the palette are freed.
void KwResetDrawingState();

}  // namespace kw
