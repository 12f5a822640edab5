#pragma once

#include "platform/graphics/canvas.h"
#include "platform/graphics/graphics_types.h"
#include "platform/graphics/region.h"

namespace kw {

// What WM_PAINT, WM_ERASEBKGND and WM_NCPAINT hand to a control (a pointer to it travels in
// WParam): the device, where the control's origin lies on it, and what needs painting. The
// device's clip region is already set to `Clip`, so a control may paint its whole area.
struct TPaintContext {
    TCanvas* Canvas = nullptr;
    // Device position of the control's (0, 0): its client origin, or its window origin for
    // non-client painting.
    TPoint Origin;
    // What needs painting, in device coordinates.
    TRegion Clip;

    // The bounds of what needs painting, in the control's coordinates.
    TRect ClipRect() const { return Clip.Bounds().Offset(-Origin.X, -Origin.Y); }
    TRect ToDevice(const TRect& rect) const { return rect.Offset(Origin.X, Origin.Y); }
    // Fills a rectangle given in the control's coordinates.
    void FillRect(const TRect& rect, TColor color) const {
        Canvas->Brush().Color = color;
        Canvas->Brush().Style = TBrushStyle::bsSolid;
        Canvas->FillRect(ToDevice(rect));
    }
};

}  // namespace kw
