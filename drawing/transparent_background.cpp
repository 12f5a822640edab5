#include "drawing/transparent_background.h"

#include "display/default_sets.h"
#include "drawing/backgrounds.h"
#include "drawing/canvas_saver.h"
#include "framework/events.h"
#include "platform/graphics/canvas.h"
#include "platform/ui/control.h"
#include "platform/ui/form.h"

namespace kw {
namespace {

// A control's window rectangle in screen coordinates.
TRect ScreenWindowRect(const TControl& control) {
    if (control.Parent() == nullptr)
        return control.BoundsRect();
    const TPoint p = control.Parent()->ClientToScreen({control.Left(), control.Top()});
    return TRect::Bounds(p.X, p.Y, control.Width(), control.Height());
}

// A control's client area in screen coordinates.
TRect ScreenClientRect(const TControl& control) {
    const TPoint p = control.ClientOrigin();
    return TRect::Bounds(p.X, p.Y, control.ClientWidth(), control.ClientHeight());
}

TKwBackGroundQuery AskBackGround(TControl& control, TKwSetBackGround* own, bool askParent) {
    TKwBackGroundQuery query{&KwSetBackGround(), control.Parent(), false};
    if (!askParent) {
        // The control paints its own set, measured from itself.
        if (own != nullptr)
            query.SetBackGround = own;
        query.Owner = &control;
        query.Answered = true;
        return query;
    }
    KwPerform(control.Parent(), kwEvtParentBackground, &query);
    if (query.Owner == nullptr)
        query.Owner = &control;
    return query;
}

}  // namespace

void KwPaintTransparentBackGround(TCanvas& canvas, const TRect& rect, const TRect& excludeRect,
                                  TControl* control, bool windowRect, bool isForm,
                                  TKwSetBackGround* setBackGround, bool askParent, TPoint origin) {
    if (control == nullptr || rect.IsEmpty())
        return;
    TKwCanvasSaver saver(canvas);
    const TRect clip = rect.Offset(origin.X, origin.Y);
    IntersectClipRect(canvas.Handle(), clip.Left, clip.Top, clip.Right, clip.Bottom);
    if (!excludeRect.IsEmpty()) {
        const TRect ex = excludeRect.Offset(origin.X, origin.Y);
        ExcludeClipRect(canvas.Handle(), ex.Left, ex.Top, ex.Right, ex.Bottom);
    }
    const TKwBackGroundQuery query = AskBackGround(*control, setBackGround, askParent);
    const bool form = isForm && dynamic_cast<TCustomForm*>(control) != nullptr;
    const TRect r0 = windowRect && !form ? ScreenWindowRect(*control) : ScreenClientRect(*control);
    TRect target = r0;
    if (query.Answered)
        target = ScreenWindowRect(*query.Owner);
    else if (!isForm || askParent)
        target = ScreenClientRect(*query.Owner);
    target = target.Offset(origin.X - r0.Left, origin.Y - r0.Top);
    KwPaintBackGround(canvas, target, query.SetBackGround);
}

}  // namespace kw
