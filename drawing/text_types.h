#pragma once

#include <cstdint>

#include "drawing/decorations.h"
#include "drawing/styles/style_enums.h"

namespace kw {

// TKwLayout and TKwFontStyle (how a caption is drawn over its face: plain, plain with the lighter
// selection colours, with a one-pixel halo, or with a drop shadow; fos3DLight1 lights the text
// instead of the shadow when selected) are declared with the style objects' enumerations.

// How a text is laid out and what is drawn around it; shared by the text routines so that the
// long argument lists read by name at the call site.
struct TKwTextLook {
    // Measure only; with CalcOrigin the result starts at (0, 0) and is not turned.
    bool CalcRect = false;
    bool CalcOrigin = false;
    // Wrap width; 0 wraps at the rectangle (when wrapping at all).
    int Width = 0;
    TKwAlignment Alignment = aliLeft;
    TKwLayout Layout = layTop;
    bool WordWrap = false;
    bool ShowAccelChar = false;
    // Degrees, counter-clockwise.
    int Angle = 0;
    bool ShowCorners = false;
    // Shows limit marks this many average characters apart; 0 shows none.
    int LimitChars = 0;
    bool Bold = false;
    bool RightToLeft = false;
    // The fast path only: cuts lines that do not fit with "...".
    bool EndEllipsis = false;
};

}  // namespace kw
