#pragma once

#include <memory>

namespace kw {

class TBitmap;
struct TKwPalette;

// Every piece of process-wide state of the drawing engine, in one place: the shared grid bitmap
// and the display depth the engine believes in.
struct TKwDrawingState {
    std::unique_ptr<TBitmap> brushGrid;
    // Exists only while the display is taken as 8 bits deep.
    std::unique_ptr<TKwPalette> palette;
    // Tests force the 8-bit display path on and off; zero asks the screen.
    int forcedDisplayBits = 0;

    TKwDrawingState();
    ~TKwDrawingState();
};

TKwDrawingState& KwDrawingState();
// Back to the start-up state between tests: the grid bitmap is freed and the display depth is
// asked of the screen again.
void KwResetDrawingState();
// Makes the engine take the display as `bitsPerPixel` deep (8 turns the palette path on); zero
// goes back to the real screen.
void KwSetDisplayBitsForTest(int bitsPerPixel);

}  // namespace kw
