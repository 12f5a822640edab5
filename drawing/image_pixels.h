#pragma once

#include <memory>

#include "platform/graphics/bitmap.h"
#include "platform/graphics/graphic.h"

namespace kw {

class TKwPkgImagesImage;

// The decoded pixels of a package image's data: PNG data keeps its alpha, everything else
// comes as a bitmap.
struct TKwDecodedImage {
    std::unique_ptr<TPngImage> png;
    std::unique_ptr<TBitmap> bitmap;
    // None when the image has no data or decodes to nothing.
    const TBitmap* pixels = nullptr;
    bool isPng = false;
};

// `forceBitmap` (an 8-bit display, whose painter only takes bitmaps) renders PNG data too.
TKwDecodedImage KwDecodeImage(const TKwPkgImagesImage& image, bool forceBitmap);

}  // namespace kw
