#pragma once

#include <cstdint>

#include "platform/graphics/graphics_types.h"

namespace kw {

// Where a control's image stands relative to its text.
enum TKwInternalControlLayout : std::uint8_t { iclLeft, iclRight, iclTop, iclBottom, iclOverlay };

// Places image and text side by side from the control's top-left. Fixed keeps the control's
// size and gives the text what the image and spacing leave; otherwise the control takes the
// size the two need. All three rectangles are updated.
void KwCalcControlLayout(TKwInternalControlLayout layout, bool fixed, TRect& controlRect,
                         TRect& imageRect, TRect& textRect, bool hasImage, bool hasText,
                         int spacing);
// Centres image and text together inside the control, which keeps its rectangle.
void KwCalcCenterLayout(TKwInternalControlLayout layout, const TRect& controlRect, TRect& imageRect,
                        TRect& textRect, bool hasImage, bool hasText, int spacing);

}  // namespace kw
