#pragma once

#include "display/package_image.h"
#include "platform/core/types.h"
#include "platform/graphics/graphics_types.h"

namespace kw {

class TCanvas;
class TKwMemoryImage;

// Everything that decides how one image of a strip lands on a canvas.
struct TKwImageDraw {
    TKwImageState state = TKwImageState::istUp;
    bool transparent = true;
    bool stretch = false;
    // A box of this size, centred in the rectangle, when both are positive; else the rectangle.
    int width = -1;
    int height = -1;
    // A silhouette in the shadow colour under the image, which moves one pixel up and left.
    bool shadow = false;
};

// Paints the frame of `image` that `draw.state` selects into `rect`: a strip of 1 to 4 square
// frames holds up, disabled, down and exclusive; a strip without a disabled frame gets an
// embossed silhouette in `lightColor` and `shadowColor`. With `calcRect` nothing is drawn and
// the size the image needs comes back at (0, 0); otherwise `rect` comes back. A missing, empty
// or dataless image draws nothing.
TRect KwDrawImage(TCanvas& canvas, const TRect& rect, const TKwPkgImagesImage* image,
                  TColor lightColor, TColor shadowColor, bool calcRect, const TKwImageDraw& draw);
TRect KwDrawImage(TCanvas& canvas, const TRect& rect, TKwMemoryImage* image, TColor lightColor,
                  TColor shadowColor, bool calcRect, const TKwImageDraw& draw);

// KwDrawImage with the library's disabled colours ("Dft_TextDisLight", "Dft_TextDisShadow").
TRect KwPaintImage(TCanvas& canvas, const TRect& rect, TKwMemoryImage* image, bool calcRect,
                   const TKwImageDraw& draw);
TRect KwPaintImage(TCanvas& canvas, const TRect& rect, const TKwPkgImagesImage* image,
                   bool calcRect, const TKwImageDraw& draw);
// The parameter order of the other painting routines, for callers that pass each flag.
inline TRect KwPaintImage(TCanvas& canvas, const TRect& rect, TKwMemoryImage* image, bool calcRect,
                          TKwImageState state, bool transparent, bool stretch, int width,
                          int height, bool shadow) {
    return KwPaintImage(canvas, rect, image, calcRect,
                        TKwImageDraw{state, transparent, stretch, width, height, shadow});
}

// Paints image `index` of the image package named `imageName` through a temporary reference,
// without shadow.
void KwPaintImageEx(TCanvas& canvas, const TRect& rect, const String& imageName, int index,
                    TKwImageState state, bool transparent, bool stretch, int width, int height);

inline TKwMemoryImage* KwImageOf(TKwMemoryImage& image) {
    return &image;
}
inline TKwMemoryImage* KwImageOf(TKwMemoryImage* image) {
    return image;
}

// Paints a full-image style object (anything with Image(), Transparent(), Stretch(), Width()
// and Height()): up when enabled, disabled otherwise, without shadow.
template <class TFullImage>
TRect KwPaintFullImage(TCanvas& canvas, const TRect& rect, TFullImage& fullImage, bool calcRect,
                       bool enabled) {
    return KwPaintImage(canvas, rect, KwImageOf(fullImage.Image()), calcRect,
                        TKwImageDraw{enabled ? TKwImageState::istUp : TKwImageState::istDisabled,
                                     fullImage.Transparent(), fullImage.Stretch(),
                                     fullImage.Width(), fullImage.Height(), false});
}

}  // namespace kw
