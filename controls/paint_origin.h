#pragma once

#include "platform/graphics/canvas.h"
#include "platform/graphics/device.h"
#include "platform/ui/paint_context.h"

namespace kw {

// What a paint context adds to a control's coordinates to reach the canvas's logical ones: its
// origin when the canvas draws in device coordinates, nothing when the canvas's viewport
// already sits at the control's origin.
inline TPoint KwPaintShift(const TPaintContext& context) {
    const TRect r = context.ToDevice(TRect(0, 0, 0, 0));
    return {r.Left, r.Top};
}

// While it lives, the canvas's viewport matches a context made for a part of a control (an
// element, an off-screen buffer), whichever way the window layer maps coordinates.
class TKwPaintOrigin {
public:
    explicit TKwPaintOrigin(const TPaintContext& context) : dc_(context.Canvas->Handle()) {
        const TPoint shift = KwPaintShift(context);
        SetViewportOrgEx(dc_, context.Origin.X - shift.X, context.Origin.Y - shift.Y, &previous_);
    }
    ~TKwPaintOrigin() { SetViewportOrgEx(dc_, previous_.X, previous_.Y, nullptr); }
    TKwPaintOrigin(const TKwPaintOrigin&) = delete;
    TKwPaintOrigin& operator=(const TKwPaintOrigin&) = delete;

private:
    HDC dc_;
    TPoint previous_;
};

}  // namespace kw
