#pragma once

#include "drawing/text_types.h"
#include "platform/core/types.h"
#include "platform/graphics/device.h"
#include "platform/graphics/graphics_types.h"

namespace kw {

class TCanvas;
class TFont;
class TKwSetFont;

// The library's text engine: word wrap, "..." on the last line that fits, accelerator
// characters ("&x" underlines x in `accelColor`, "&&" stands for one "&"), rotation, bold and
// right-to-left variants. Draws, or with look.CalcRect only measures; returns the text's
// rectangle. `color` clNone draws no glyphs (the marks still show).
TRect KwDrawText(TCanvas& canvas, const TRect& rect, StringView text, const TFont& font,
                 TColor color, TColor accelColor, const TKwTextLook& look);
// The same on a bare device (a screen device for measuring); marks need a canvas and are not
// drawn here.
TRect KwDrawTextOn(HDC dc, const TRect& rect, StringView text, const TFont& font, TColor color,
                   TColor accelColor, const TKwTextLook& look);

// The font of a font set at the set's scale (its two factors applied with MulDiv to the size):
// the set's own font when that leaves the size as it is, else a copy made in `scratch`.
const TFont& KwScaledSetFont(TKwSetFont& setFont, TFont& scratch);

// The fast path over the platform's DrawText for controls that repaint often: no rotation,
// no accelerator colour. Uses Alignment, Layout, WordWrap, EndEllipsis, ShowAccelChar,
// ShowCorners, LimitChars and CalcRect of `look`.
TRect KwDrawSpeedText(TCanvas& canvas, const TRect& rect, StringView text, const TFont& font,
                      TColor color, const TKwTextLook& look);
// The same with the font of a font set, scaled by the set's factors.
TRect KwDrawSpeedText2(TCanvas& canvas, const TRect& rect, StringView text, TKwSetFont& setFont,
                       TColor color, const TKwTextLook& look);

}  // namespace kw
