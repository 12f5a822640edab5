#include "platform/ui/paint_context.h"

#include "platform/graphics/device.h"

namespace kw {

TRect TPaintContext::ToDevice(const TRect& rect) const {
    TPoint viewport;
    GetViewportOrgEx(Canvas->Handle(), &viewport);
    return rect.Offset(Origin.X - viewport.X, Origin.Y - viewport.Y);
}

void TPaintContext::FillRect(const TRect& rect, TColor color) const {
    Canvas->Brush().Color = color;
    Canvas->Brush().Style = TBrushStyle::bsSolid;
    Canvas->FillRect(ToDevice(rect));
}

TPaintScope::TPaintScope(const TPaintContext& context) : canvas_(*context.Canvas) {
    if (const TRegion* clip = canvas_.ClipRegion())
        previousClip_ = *clip;
    canvas_.SetClipRegion(&context.Clip);
    SetViewportOrgEx(canvas_.Handle(), context.Origin.X, context.Origin.Y, &previousOrigin_);
}

TPaintScope::~TPaintScope() {
    SetViewportOrgEx(canvas_.Handle(), previousOrigin_.X, previousOrigin_.Y, nullptr);
    canvas_.SetClipRegion(previousClip_ ? &*previousClip_ : nullptr);
}

}  // namespace kw
