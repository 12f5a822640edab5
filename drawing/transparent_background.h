#pragma once

#include "platform/graphics/graphics_types.h"

namespace kw {

class TCanvas;
class TControl;
class TKwSetBackGround;

// What a control asks its parent with the background query: which background set the parent
// paints and which control owns it. A parent that paints a background of its own fills both in
// and sets `Answered`; one that shows its own parent's background passes the query upwards.
struct TKwBackGroundQuery {
    TKwSetBackGround* SetBackGround = nullptr;
    TControl* Owner = nullptr;
    bool Answered = false;
};

// Paints `rect` (the control's coordinates) with the part of the background that lies behind
// the control, aligned as its owner paints it, so that the control looks transparent. With
// `askParent` the parent is asked for its background; otherwise `setBackGround` is painted as
// the control's own. `excludeRect`, when not empty, is left untouched. `windowRect` measures
// from the control's window rectangle instead of its client area; `isForm` on a form measures
// from its client area. `origin` is where the control's (0, 0) lies on the canvas.
void KwPaintTransparentBackGround(TCanvas& canvas, const TRect& rect, const TRect& excludeRect,
                                  TControl* control, bool windowRect, bool isForm,
                                  TKwSetBackGround* setBackGround, bool askParent,
                                  TPoint origin = {});

}  // namespace kw
