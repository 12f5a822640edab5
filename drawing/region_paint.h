#pragma once

#include "drawing/pen_brush.h"
#include "platform/graphics/graphics_types.h"
#include "platform/graphics/region.h"

namespace kw {

class TCanvas;
class TKwMemoryImage;
class TKwPkgImagesImage;
class TKwSetBackGround;
class TKwSetColor;

// Painting through regions given in the canvas's logical units (the units of its rectangles).

// Fills the region moved by (dx, dy) with a solid colour.
void KwFillRegion(TCanvas& canvas, const TRegion& region, int dx, int dy, TColor color);
// Frames the region moved by (dx, dy) with a `width`-pixel line in `color`.
// Inverts the colours of the region's pixels (the region in the canvas's coordinates).
void KwInvertRegion(TCanvas& canvas, const TRegion& region);
void KwFrameRegion(TCanvas& canvas, const TRegion& region, int dx, int dy, TColor color, int width);
// Frames the region in the pen's colour and width, unless there is no pen or it is clear.
void KwFrameRegionWithPen(TCanvas& canvas, const TRegion& region, TKwPen* pen);
// Limits drawing to the region and `rect`, inside whatever limit the canvas already has.
void KwClipToRegion(TCanvas& canvas, const TRegion& region, const TRect& rect);

struct TKwEdgeColors {
    TColor light = clBlack;
    TColor dark = clBlack;
};
// The edge colours of a shaped button: the 3D pair (exchanged when down), or for a single
// border the colour set when defined, else "Dft_ColBox", on both sides.
TKwEdgeColors KwRegionEdges(TKwBorderStyle border, bool down, TKwSetColor* setColor);

// The outline of an unsliced image's face placed at `face`'s top-left: its outer mask when it
// has one, else the face.
TRegion KwImageOutline(const TRect& face, const TKwPkgImagesImage& image);
// The solid region of a sliced image fitted to `face`.
TRegion KwSkinRegion(const TRect& face, const TKwPkgImagesImage& image);
// Paints an image as a button face: plainly when it has no inner mask and is not sliced, else
// as a skin over `face` with the background set behind it.
void KwPaintButtonImage(TCanvas& canvas, const TRect& face, TKwMemoryImage* image,
                        TKwSetBackGround* setBackGround);

}  // namespace kw
