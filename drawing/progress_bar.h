#pragma once

#include <memory>

#include "drawing/element_types.h"
#include "platform/graphics/graphics_types.h"

namespace kw {

class TBitmap;
class TCanvas;
class TKwSetBackGround;

// A progress bar's fill. The caller keeps `cache` between calls: the background is painted into
// it once per size (so its gradient spans the whole bar) and every call only copies from it.
// Blocks of `blockSize` pixels, `blockSpace` apart, or a solid fill, grow from the start edge;
// the indeterminate bar shows the cache scrolled by `position`, which then advances by `step`.
void KwDrawProgressBar(TCanvas& canvas, const TRect& rect, std::unique_ptr<TBitmap>& cache, int min,
                       int max, int& position, int step, TKwTypeBar typeBar,
                       TKwSetBackGround& setBackGround, int blockSize, int blockSpace,
                       TKwProgressBarOrientation orientation);

}  // namespace kw
