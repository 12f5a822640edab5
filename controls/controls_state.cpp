#include "controls/controls_state.h"

#include <algorithm>

namespace kw {

TKwControlsState& KwControlsState() {
    static TKwControlsState state;
    return state;
}

void KwResetControlsState() {
    KwControlsState() = TKwControlsState();
}

void KwAddBuffer(TKwSinglePanel* panel) {
    auto& list = KwControlsState().buffers;
    if (std::find(list.begin(), list.end(), panel) == list.end())
        list.push_back(panel);
}

void KwDelBuffer(TKwSinglePanel* panel) {
    std::erase(KwControlsState().buffers, panel);
}

bool KwPaintBufferBox(const TRect& clipBox) {
    // Computed in 64 bits: a clip box of the whole coordinate range overflows int.
    const std::int64_t w = std::max<std::int64_t>(std::int64_t{clipBox.Right} - clipBox.Left, 0);
    const std::int64_t h = std::max<std::int64_t>(std::int64_t{clipBox.Bottom} - clipBox.Top, 0);
    const std::int64_t area = w * h;
    return area >= 1 && area < KwMaxDisplayBuffer();
}

bool KwPaintBuffer(HDC dc) {
    TRect box;
    if (GetClipBox(dc, &box) == ERROR)
        return false;
    return KwPaintBufferBox(box);
}

}  // namespace kw
