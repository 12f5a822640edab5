#pragma once

#include <memory>

#include "platform/graphics/graphics_types.h"

namespace kw {

class TBitmap;
class TCanvas;

// Monochrome masks of one frame of an image and the frames built through them with raster
// operations. `source` is the frame's rectangle in `pixels`; `key` its transparent colour,
// used when the pixels carry no alpha of their own.

// Set where the frame is opaque (alpha of at least one half, or a colour other than `key`).
std::unique_ptr<TBitmap> KwOpaqueMask(const TBitmap& pixels, const TRect& source, TColor key);
// Set where the frame's pixels have exactly `color`.
std::unique_ptr<TBitmap> KwColorMask(const TBitmap& pixels, const TRect& source, TColor color);
// Paints `color` into `target` at `at` wherever `mask` is set; elsewhere the target stays.
void KwPaintThroughMask(TCanvas& target, TBitmap& mask, TPoint at, TColor color);

// A button-face frame with the image's silhouette embossed: `light` one pixel right and down,
// `shadow` on top. What a strip without a disabled frame shows when disabled.
std::unique_ptr<TBitmap> KwEmbossedFrame(const TBitmap& pixels, const TRect& source, TColor key,
                                         TColor light, TColor shadow);
// The strip's own disabled frame with white turned `light`, grey 0x808080 turned `shadow` and
// transparent pixels turned button face.
std::unique_ptr<TBitmap> KwRecolouredFrame(const TBitmap& pixels, const TRect& source, TColor key,
                                           TColor light, TColor shadow);
// The frame's silhouette in `color` on button face, for drop shadows.
std::unique_ptr<TBitmap> KwSilhouetteFrame(const TBitmap& pixels, const TRect& source, TColor key,
                                           TColor color);

}  // namespace kw
