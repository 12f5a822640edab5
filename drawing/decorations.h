#pragma once

#include <cstdint>

#include "drawing/enum_names.h"
#include "platform/graphics/graphics_types.h"

namespace kw {

class TCanvas;

KW_ENUM(TKwAlignment, aliLeft, aliCenter, aliRight)

// The bounding size of a Width x Height box turned by `angle` degrees. An exact diagonal is
// taken one degree short, so that the box never degenerates into a square of equal sides.
TSize KwRectExt(int width, int height, int angle);

// A one-pixel 3D frame: lit top and left edges, dark bottom and right ones; `down` swaps them.
void KwDrawBox(TCanvas& canvas, const TRect& rect, TColor lightColor, TColor darkColor, bool down);
// Black corner marks of a width x height box centred in `rect` and turned by `angle` degrees.
void KwPaintCorners(TCanvas& canvas, const TRect& rect, int width, int height, int size, int angle);
// Two green limit triangles on the top edge of the same box, `extent` apart and aligned.
void KwPaintLimits(TCanvas& canvas, const TRect& rect, int width, int height, int extent, int size,
                   TKwAlignment alignment, int angle);

}  // namespace kw
