#pragma once

#include "platform/graphics/graphics_types.h"

namespace kw {

class TCanvas;
class TKwSetBackGround;

// Paints `rect` with a background set: its style through the gradient engine, or its colour
// when the set resolves to nothing. `colors` as for KwDrawGradient.
void KwPaintBackGroundEx(TCanvas& canvas, const TRect& rect, TKwSetBackGround& setBackGround,
                         int colors);
// The same with one colour per pixel; nothing without a set.
void KwPaintBackGround(TCanvas& canvas, const TRect& rect, TKwSetBackGround* setBackGround);

}  // namespace kw
