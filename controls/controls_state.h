#pragma once

#include <cstdint>
#include <vector>

#include "platform/graphics/device.h"

namespace kw {

class TKwSinglePanel;

// Every piece of process-wide state of the controls, in one place: the panels that paint
// through an off-screen buffer, the largest clip box they buffer, and what their paints did.
struct TKwControlsState {
    std::vector<TKwSinglePanel*> buffers;
    // Clip boxes of this many pixels or more are painted straight to the window.
    int maxDisplayBuffer = 40000000;
    std::uint64_t bufferedPaints = 0;
    std::uint64_t directPaints = 0;
};

TKwControlsState& KwControlsState();
// Back to the start-up state between tests.
void KwResetControlsState();

// The largest clip box, in pixels, that is painted through a buffer (exclusive).
inline int& KwMaxDisplayBuffer() {
    return KwControlsState().maxDisplayBuffer;
}
void KwAddBuffer(TKwSinglePanel* panel);
void KwDelBuffer(TKwSinglePanel* panel);

// True when a clip box of this size is worth a buffer: at least one pixel and fewer than
// KwMaxDisplayBuffer.
bool KwPaintBufferBox(const TRect& clipBox);
// The same for the clip box of a device.
bool KwPaintBuffer(HDC dc);

}  // namespace kw
