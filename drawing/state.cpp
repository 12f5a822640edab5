#include "drawing/state.h"

#include "drawing/palette.h"
#include "platform/core/no_destructor.h"
#include "platform/graphics/bitmap.h"

namespace kw {

TKwDrawingState::TKwDrawingState() = default;
TKwDrawingState::~TKwDrawingState() = default;

TKwDrawingState& KwDrawingState() {
    static TNoDestructor<TKwDrawingState> state;
    return *state;
}

void KwResetDrawingState() {
    TKwDrawingState& state = KwDrawingState();
    state.brushGrid.reset();
    state.palette.reset();
    state.forcedDisplayBits = 0;
}

void KwSetDisplayBitsForTest(int bitsPerPixel) {
    KwDrawingState().forcedDisplayBits = bitsPerPixel;
}

}  // namespace kw
