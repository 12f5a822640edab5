#include "controls/single_label.h"

#include "drawing/text_paint.h"
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
    TKwTextLook look;
    look.CalcRect = true;
    look.CalcOrigin = true;
    const TRect r =
        KwPaintText(canvas, TRect(0, 0, 0, 0), fosNormal, value_.empty() ? String(u" ") : value_,
                    nullptr, nullptr, nullptr, nullptr, 0, true, false, look);
    SetBounds(Left(), Top(), value_.empty() ? 0 : r.Width(), r.Height());
    Invalidate();
}

void TKwSingleLabel::Paint(const TPaintContext& context) {
    if (value_.empty())
        return;
    KwPaintText(*context.Canvas, context.ToDevice(ClientRect()), fosNormal, value_, nullptr,
                nullptr, nullptr, nullptr, 0, Enabled(), false, TKwTextLook());
}

}  // namespace kw
