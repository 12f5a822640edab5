#pragma once

#include "drawing/text_types.h"
#include "platform/core/types.h"
#include "platform/graphics/graphics_types.h"

namespace kw {

class TCanvas;
class TKwSetColor;
class TKwSetFont;

// A caption in its font style (plain, halo, drop shadow) or disabled look, with the font and
// colours of sets. Missing sets take "Dft_Font", "Dft_ColText", "Dft_ColShadow" and
// "Dft_EdAccelChar". Measuring (look.CalcRect) runs on the screen device.
TRect KwPaintText(TCanvas& canvas, const TRect& rect, TKwFontStyle fontStyle, StringView text,
                  TKwSetFont* setFont, TKwSetColor* setColText, TKwSetColor* setColShadow,
                  TKwSetColor* setColAccelChar, int spacing3D, bool enabled, bool flatDisabled,
                  const TKwTextLook& look);

// The colour sets an item's text is drawn with, selected or not; a selected fos3D item is drawn
// plain (fontStyle becomes fosNormal).
struct TKwTextSets {
    TKwSetColor* text = nullptr;
    TKwSetColor* shadow = nullptr;
    TKwSetColor* accel = nullptr;
};
TKwTextSets KwSelectSetText(TKwFontStyle& fontStyle, TKwSetColor* setColText,
                            TKwSetColor* setColAccelChar, TKwSetColor* setColLight,
                            TKwSetColor* setColSelected, TKwSetColor* setColShadow, bool selected);

}  // namespace kw
