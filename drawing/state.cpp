#include "drawing/state.h"

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
    if (state.palette)
        DeleteObject(state.palette);
    state.palette = HPALETTE();
}

}  // namespace kw
