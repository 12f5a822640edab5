#pragma once

#include "platform/graphics/graphics_types.h"

namespace kw {

// The palette-relative form of an explicit colour (top byte 0x02), so that painting on a
// palette device picks the nearest palette entry; system colours pass unchanged.
TColor KwSolidColor(TColor color);
// The colour `position`/`count` of the way from `a` to `b`, channel by channel, with system
// colours resolved first. Position 0 gives `a`, position `count` gives `b`.
TColor KwIntermediateColor(TColor a, TColor b, int position, int count);

}  // namespace kw
