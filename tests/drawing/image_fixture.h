#pragma once

#include <memory>

#include "display/display_fixture.h"
#include "display/package_image.h"
#include "drawing_fixture.h"
#include "platform/core/stream.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/canvas.h"

namespace kw {

// Process-wide state reset for the display and the drawing engine, with an application object
// whose "System" and "User" images are packages of the test.
using ImageTest = WithDrawing<DisplayTest>;

// A stand-alone package image holding `pixels` as bitmap (or PNG) bytes.
inline std::unique_ptr<TKwPkgImagesImage> ImageOf(const TBitmap& pixels, bool png = false) {
    auto image = std::make_unique<TKwPkgImagesImage>(nullptr);
    TMemoryStream stream;
    if (png) {
        TPngImage encoded;
        encoded.Assign(&pixels);
        encoded.SaveToStream(stream);
        image->LoadFromStream(stream, &TPngImage::StaticClass());
    } else {
        pixels.SaveToStream(stream);
        image->LoadFromStream(stream, &TBitmap::StaticClass());
    }
    return image;
}

inline void FillBox(TBitmap& bitmap, const TRect& rect, TColor color) {
    for (int y = rect.Top; y < rect.Bottom; ++y) {
        for (int x = rect.Left; x < rect.Right; ++x)
            bitmap.SetPixel(x, y, color);
    }
}

}  // namespace kw
