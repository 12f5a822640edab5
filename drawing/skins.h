#pragma once

#include <functional>
#include <optional>

#include "platform/graphics/graphics_types.h"
#include "platform/graphics/region.h"

namespace kw {

class TBitmap;
class TCanvas;
class TKwMemoryImage;
class TKwPkgImagesImage;
class TKwSetBackGround;
class TObject;

// Dresses `rect` in a skin: an unsliced image at its natural size at the top-left, or a sliced
// one whose four corners keep their size while the edges are tiled between them and the centre
// row repeated inside. Pixels come from `skinImage`; the size, corners and masks from
// `shapeImage` when it has data, else from the skin. Drawing stays inside the skin's region;
// when `setBackGround` is defined, it fills the rest of `rect`. With `shade`, `shadeWidth` bands
// inside the skin's edge darken towards it by (100 - `shadeLevel`) per channel. Nothing happens
// without a skin with data.
void KwPaintSkin(const TRect& rect, TCanvas& canvas, TKwMemoryImage* skinImage,
                 TKwMemoryImage* shapeImage, TKwSetBackGround* setBackGround, bool shade = false,
                 int shadeLevel = 100, int shadeWidth = 0);
void KwPaintSkin(const TRect& rect, TCanvas& canvas, const TKwPkgImagesImage* skinImage,
                 const TKwPkgImagesImage* shapeImage, TKwSetBackGround* setBackGround,
                 bool shade = false, int shadeLevel = 100, int shadeWidth = 0);

// The window region of a skin fitted to `rect`; none for an empty rectangle or an image without
// data. Unsliced: the image's outer shape (less its inner hole unless `solid`). Sliced: with
// `solid`, the whole rectangle less what each corner's outer shape leaves out; without, the
// corner pieces of the shape less its hole. The region belongs to the caller.
std::optional<TRegion> KwRgnSkin(const TRect& rect, const TKwPkgImagesImage* image, bool solid);
std::optional<TRegion> KwRgnSkin(const TRect& rect, TKwMemoryImage* image, bool solid);

// Reports how far a long job is: `done` of `total`.
using TKwProgress = std::function<void(TObject* sender, std::int64_t done, std::int64_t total)>;

// The region of a bitmap's opaque pixels: those whose colour differs from the bottom-left
// pixel's. Built row by row from runs of opaque pixels; `progress`, when given, hears of the
// start, every 20 pixels and the end.
TRegion KwCreateBitmapRgn(const TBitmap* bitmap, TObject* sender = nullptr,
                          const TKwProgress& progress = {});

}  // namespace kw
