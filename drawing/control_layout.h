#pragma once

#include <cstdint>

#include "drawing/styles/style_enums.h"
#include "platform/graphics/graphics_types.h"

namespace kw {

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
