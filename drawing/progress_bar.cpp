#include "drawing/progress_bar.h"

#include <algorithm>
#include <cstdint>

#include "drawing/backgrounds.h"
#include "drawing/rects.h"
#include "platform/core/numbers.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/canvas.h"

namespace kw {

namespace {

bool Horizontal(TKwProgressBarOrientation orientation) {
    return orientation == pboLeft || orientation == pboRight;
}

// Fills from the far edge: the right for pboLeft, the bottom for pboUp.
bool FromFar(TKwProgressBarOrientation orientation) {
    return orientation == pboLeft || orientation == pboUp;
}

// The bar's stretch [from, to) along its length, counted from its start edge, as a rectangle
// relative to the bar.
TRect Stretch(std::int64_t from, std::int64_t to, int length, int thickness,
              TKwProgressBarOrientation orientation) {
    from = std::clamp<std::int64_t>(from, 0, length);
    to = std::clamp<std::int64_t>(to, 0, length);
    if (FromFar(orientation)) {
        const std::int64_t a = length - to;
        to = length - from;
        from = a;
    }
    const int a = static_cast<int>(from), b = static_cast<int>(to);
    return Horizontal(orientation) ? TRect(a, 0, b, thickness) : TRect(0, a, thickness, b);
}

// Copies part of the cache to the bar, `source` and `dest` relative to the bar.
void Show(TCanvas& canvas, const TRect& rect, TBitmap& cache, const TRect& source,
          const TRect& dest) {
    if (source.IsEmpty() || dest.IsEmpty())
        return;
    // Same sizes on both sides: a straight block copy, no stretching.
    BitBlt(canvas.Handle(), rect.Left + dest.Left, rect.Top + dest.Top, dest.Width(), dest.Height(),
           cache.Canvas().Handle(), source.Left, source.Top, SRCCOPY);
}

void ShowStretch(TCanvas& canvas, const TRect& rect, TBitmap& cache, std::int64_t from,
                 std::int64_t to, int length, int thickness,
                 TKwProgressBarOrientation orientation) {
    const TRect part = Stretch(from, to, length, thickness, orientation);
    Show(canvas, rect, cache, part, part);
}

void Blocks(TCanvas& canvas, const TRect& rect, TBitmap& cache, std::int64_t done,
            std::int64_t range, int length, int thickness, int blockSize, int blockSpace,
            TKwProgressBarOrientation orientation) {
    const std::int64_t unit = std::int64_t{blockSize} + blockSpace;
    const std::int64_t full = (length + unit - 1) / unit * unit;
    const std::int64_t last =
        Round(static_cast<double>(done) * static_cast<double>(full) / static_cast<double>(range) -
              1) /
        unit;
    const std::int64_t count = std::min<std::int64_t>(last, (length - 1) / unit);
    for (std::int64_t i = 0; i <= count; ++i)
        ShowStretch(canvas, rect, cache, i * unit, i * unit + blockSize, length, thickness,
                    orientation);
}

// The marquee: the cache shown shifted by `shift` along the bar, what leaves one end coming
// back at the other.
void Marquee(TCanvas& canvas, const TRect& rect, TBitmap& cache, int shift, int length,
             int thickness, TKwProgressBarOrientation orientation) {
    const bool forward = !FromFar(orientation);
    const int s = forward ? shift : length - shift;
    // Source [0, length - s) goes to [s, length); source [length - s, length) to [0, s).
    auto span = [&](int from, int to) {
        return Horizontal(orientation) ? TRect(from, 0, to, thickness)
                                       : TRect(0, from, thickness, to);
    };
    Show(canvas, rect, cache, span(0, length - s), span(s, length));
    Show(canvas, rect, cache, span(length - s, length), span(0, s));
}

}  // namespace

void KwDrawProgressBar(TCanvas& canvas, const TRect& rect, std::unique_ptr<TBitmap>& cache, int min,
                       int max, int& position, int step, TKwTypeBar typeBar,
                       TKwSetBackGround& setBackGround, int blockSize, int blockSpace,
                       TKwProgressBarOrientation orientation) {
    if (!KwPaintable(rect) || rect.Width() > kMaxImageSide || rect.Height() > kMaxImageSide)
        return;
    blockSpace = std::max(0, blockSpace);
    blockSize = std::max(1, blockSize);
    const int length = Horizontal(orientation) ? rect.Width() : rect.Height();
    const int thickness = Horizontal(orientation) ? rect.Height() : rect.Width();
    if (!cache)
        cache = std::make_unique<TBitmap>();
    if (cache->Width() != rect.Width() || cache->Height() != rect.Height()) {
        cache->SetSize(rect.Width(), rect.Height());
        KwPaintBackGroundEx(cache->Canvas(), TRect(0, 0, rect.Width(), rect.Height()),
                            setBackGround, typeBar == tbaIndeterminate ? length / blockSize : 0);
    }
    const std::int64_t range = std::int64_t{max} - min;
    const std::int64_t done = std::int64_t{position} - min;
    if (typeBar == tbaIndeterminate) {
        position = static_cast<int>(((std::int64_t{position} % length) + length) % length);
        Marquee(canvas, rect, *cache, position, length, thickness, orientation);
        position = KwClampToInt(std::int64_t{position} + step);
    } else if (range > 0 && done > 0) {
        if (typeBar == tbaBlock)
            Blocks(canvas, rect, *cache, done, range, length, thickness, blockSize, blockSpace,
                   orientation);
        else
            ShowStretch(canvas, rect, *cache, 0,
                        Round(static_cast<double>(done) * length / static_cast<double>(range)),
                        length, thickness, orientation);
    }
}

}  // namespace kw
