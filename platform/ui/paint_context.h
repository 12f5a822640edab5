#pragma once

#include <optional>

#include "platform/graphics/canvas.h"
#include "platform/graphics/graphics_types.h"
#include "platform/graphics/region.h"

namespace kw {

// What WM_PAINT, WM_ERASEBKGND and WM_NCPAINT hand to a control (a pointer to it travels in
// WParam): the device, where the control's origin lies on it, and what needs painting. While the
// message is handled the device's viewport origin is `Origin`, so the control draws in its own
// coordinates, and the device's clip region is `Clip`, so it may paint its whole area.
struct TPaintContext {
    TCanvas* Canvas = nullptr;
    // Device position of the control's (0, 0): its client origin, or its window origin for
    // non-client painting.
    TPoint Origin;
    // What needs painting, in device coordinates (clip regions never move with the viewport).
    TRegion Clip;

    // The bounds of what needs painting, in the control's coordinates.
    TRect ClipRect() const { return Clip.Bounds().Offset(-Origin.X, -Origin.Y); }
    // Maps the control's coordinates to the canvas's logical ones: the identity while the
    // pipeline has the viewport at `Origin`, an offset for a canvas someone else set up.
    TRect ToDevice(const TRect& rect) const;
    // Fills a rectangle given in the control's coordinates.
    void FillRect(const TRect& rect, TColor color) const;
};

// Puts the canvas's logical (0, 0) at a context's origin and its clip at the context's clip for
// as long as it lives; the previous viewport origin and clip come back afterwards.
class TPaintScope {
public:
    explicit TPaintScope(const TPaintContext& context);
    ~TPaintScope();
    TPaintScope(const TPaintScope&) = delete;
    TPaintScope& operator=(const TPaintScope&) = delete;

private:
    TCanvas& canvas_;
    TPoint previousOrigin_;
    std::optional<TRegion> previousClip_;
};

}  // namespace kw
