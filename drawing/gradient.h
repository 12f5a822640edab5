#pragma once

#include <vector>

#include "display/display_sets.h"
#include "platform/graphics/graphics_types.h"

namespace kw {

class TBitmap;
class TCanvas;
class TKwMemoryImage;

// Gradients are painted as at most this many solid bands.
inline constexpr int kKwMaxGradientBands = 100;

// One band of a gradient: the rectangle and the colour-table entry that fills it.
struct TKwGradientBand {
    TRect Rect;
    int Entry = 0;
    friend bool operator==(const TKwGradientBand&, const TKwGradientBand&) = default;
};

bool KwIsGradientStyle(TKwBackGroundStyle style);
bool KwIsImageStyle(TKwBackGroundStyle style);
// The number of colours a gradient style paints over `rect` when `colors` are asked for (0: one
// per pixel of the extent), at most kKwMaxGradientBands; 0 when nothing is painted.
int KwGradientColorCount(TKwBackGroundStyle style, const TRect& rect, int colors);
// The gradient's colour table of `count` palette-relative entries, running from the style's
// first colour towards its second and stopping one step short of it.
std::vector<TColor> KwGradientTable(TKwBackGroundStyle style, TColor startColor, TColor endColor,
                                    int count);
// The bands that cover `rect` exactly for a table of `count` colours.
std::vector<TKwGradientBand> KwGradientBands(TKwBackGroundStyle style, const TRect& rect,
                                             int count);

// The shared 8 x 8 checkerboard of `color` and white; valid until the next call.
TBitmap& KwCreateBrushGrid(TColor color);

// Paints `rect` in one of the background styles. `colors` is the number of gradient bands
// asked for (0: one per pixel of the extent); `image` feeds the image styles and may be none.
void KwDrawGradient(TCanvas& canvas, const TRect& rect, TKwBackGroundStyle style, TColor startColor,
                    TColor endColor, TColor solidColor, TKwMemoryImage* image, bool transparent,
                    int colors);

}  // namespace kw
