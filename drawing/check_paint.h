#pragma once

#include "platform/graphics/graphics_types.h"
#include "util/kw_types.h"

namespace kw {

class TCanvas;
class TKwSetColor;
class TKwSingleCheck;
class TKwSingleRadio;

// A check box's mark for `state` in the check style's form: a text (with an optional box), an
// image per state, or a shape pressed when checked. Without `allowGrayed` a grayed state shows
// unchecked. `setColor`, when defined, colours a text mark. With `calcRect` nothing is drawn
// and the mark's size comes back at (0, 0); otherwise `rect` comes back.
TRect KwPaintCheck(TCanvas& canvas, const TRect& rect, TKwSingleCheck& singleCheck,
                   TKwCheckState state, bool allowGrayed, TKwSetColor* setColor, bool enabled,
                   bool calcRect);
// A radio button's mark: an image per state (the disabled one when given) or a shape.
TRect KwPaintRadio(TCanvas& canvas, const TRect& rect, TKwSingleRadio& singleRadio, bool checked,
                   bool enabled, bool calcRect);

}  // namespace kw
