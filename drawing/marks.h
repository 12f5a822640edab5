#pragma once

#include "drawing/element_types.h"
#include "platform/graphics/graphics_types.h"

namespace kw {

class TCanvas;

// Hatch lines rising 45 degrees to the left every `spacing` pixels inside `rect`, and its frame;
// either drawn in its colour or inverting what is below.
void KwDrawGridLines(TCanvas& canvas, const TRect& rect, TColor lineColor, TColor frameColor,
                     int spacing, bool lines, bool frame, bool invertLines, bool invertFrame);
// The move-direction mark: a double chevron pointing in `direction`, the four-way cross for
// mvdMove, nothing for mvdNone.
void KwDrawDirection(const TRect& rect, TCanvas& canvas, TKwMoveDirection direction, TColor color);

}  // namespace kw
