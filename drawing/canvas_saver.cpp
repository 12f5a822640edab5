#include "drawing/canvas_saver.h"

namespace kw {

namespace {

TRegion CurrentClip(const TCanvas& canvas) {
    return canvas.ClipRegion() != nullptr ? *canvas.ClipRegion() : TRegion(canvas.ClipRect());
}

void CombineClip(TCanvas& canvas, const TRect& rect, TRegionCombine mode) {
    TRegion clip = CurrentClip(canvas);
    clip.Combine(clip, TRegion(rect), mode);
    canvas.SetClipRegion(&clip);
}

}  // namespace

void KwExcludeClipRect(TCanvas& canvas, const TRect& rect) {
    CombineClip(canvas, rect, TRegionCombine::rgnDiff);
}

void KwIntersectClipRect(TCanvas& canvas, const TRect& rect) {
    CombineClip(canvas, rect, TRegionCombine::rgnAnd);
}

}  // namespace kw
