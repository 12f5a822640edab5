#include "controls/single_label.h"

#include "platform/graphics/bitmap.h"
#include "platform/graphics/canvas.h"
#include "platform/ui/paint_context.h"

namespace kw {

KW_IMPLEMENT_CLASS(TKwSingleLabel, TGraphicControl)

TKwSingleLabel::TKwSingleLabel(TComponent* owner) : TGraphicControl(owner) {
    SetControlStyle(ControlStyle() & ~csOpaque);
}

void TKwSingleLabel::SetValue(const String& value) {
    if (value == value_)
        return;
    value_ = value;
    UpdateControl();
}

void TKwSingleLabel::SetReadOnly(bool value) {
    if (value == readOnly_)
        return;
    readOnly_ = value;
    Invalidate();
}

void TKwSingleLabel::UpdateControl() {
    TBitmap scratch(1, 1);
    TCanvas canvas(scratch);
    canvas.Font().Assign(Font());
    const TSize size = canvas.TextExtent(value_.empty() ? String(u" ") : value_);
    SetBounds(Left(), Top(), value_.empty() ? 0 : size.cx, size.cy);
    Invalidate();
}

void TKwSingleLabel::Paint(const TPaintContext& context) {
    if (value_.empty())
        return;
    TCanvas& canvas = *context.Canvas;
    canvas.Font().Assign(Font());
    if (!Enabled())
        canvas.Font().SetColor(clBtnShadow);
    canvas.Brush().Style = TBrushStyle::bsClear;
    const TRect r = context.ToDevice(ClientRect());
    canvas.TextRect(r, r.Left, r.Top, value_);
}

}  // namespace kw
