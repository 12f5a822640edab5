#include "platform/ui/panel.h"

#include <algorithm>

#include "platform/ui/paint_context.h"

namespace kw {

KW_IMPLEMENT_CLASS(TCustomPanel, TCustomControl)
KW_IMPLEMENT_CLASS(TPanel, TCustomPanel)

namespace {

// Draws one bevel of `width` pixels just inside `rect` and shrinks `rect` past it.
void DrawBevel(const TPaintContext& context, TRect& rect, TBevelCut cut, int width) {
    if (cut == TBevelCut::bvNone)
        return;
    if (cut != TBevelCut::bvSpace) {
        const TColor light = cut == TBevelCut::bvRaised ? clBtnHighlight : clBtnShadow;
        const TColor dark = cut == TBevelCut::bvRaised ? clBtnShadow : clBtnHighlight;
        for (int i = 0; i < width; ++i) {
            const TRect r(rect.Left + i, rect.Top + i, rect.Right - i, rect.Bottom - i);
            context.FillRect(TRect(r.Left, r.Top, r.Right, r.Top + 1), light);
            context.FillRect(TRect(r.Left, r.Top, r.Left + 1, r.Bottom), light);
            context.FillRect(TRect(r.Left, r.Bottom - 1, r.Right, r.Bottom), dark);
            context.FillRect(TRect(r.Right - 1, r.Top, r.Right, r.Bottom), dark);
        }
    }
    rect = TRect(rect.Left + width, rect.Top + width, rect.Right - width, rect.Bottom - width);
}

}  // namespace

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner) {
    SetControlStyle(ControlStyle() | csAcceptsControls | csOpaque | csSetCaption);
}

void TCustomPanel::Changed() {
    Realign();
    Invalidate();
}

void TCustomPanel::SetBevelOuter(TBevelCut cut) {
    bevelOuter_ = cut;
    Changed();
}

void TCustomPanel::SetBevelInner(TBevelCut cut) {
    bevelInner_ = cut;
    Changed();
}

void TCustomPanel::SetBevelWidth(int width) {
    bevelWidth_ = std::clamp(width, 1, 1000);
    Changed();
}

void TCustomPanel::SetBorderWidth(int width) {
    borderWidth_ = std::clamp(width, 0, 1000);
    Changed();
}

void TCustomPanel::SetAlignment(TCaptionAlignment alignment) {
    alignment_ = alignment;
    Invalidate();
}

int TCustomPanel::FrameWidth() const {
    int width = borderWidth_;
    for (TBevelCut cut : {bevelOuter_, bevelInner_}) {
        if (cut != TBevelCut::bvNone)
            width += bevelWidth_;
    }
    return width;
}

TRect TCustomPanel::InnerRect() const {
    const TRect client = ClientRect();
    const int frame = std::min({FrameWidth(), client.Width() / 2, client.Height() / 2});
    return TRect(client.Left + frame, client.Top + frame, client.Right - frame,
                 client.Bottom - frame);
}

void TCustomPanel::AlignControls(TRect& area) {
    area = InnerRect();
    TCustomControl::AlignControls(area);
}

void TCustomPanel::Paint(const TPaintContext& context) {
    TRect rect = ClientRect();
    DrawBevel(context, rect, bevelOuter_, bevelWidth_);
    context.FillRect(rect, Color());
    rect = TRect(rect.Left + borderWidth_, rect.Top + borderWidth_, rect.Right - borderWidth_,
                 rect.Bottom - borderWidth_);
    DrawBevel(context, rect, bevelInner_, bevelWidth_);
    if (Caption().empty() || rect.IsEmpty())
        return;
    TCanvas& canvas = *context.Canvas;
    canvas.Font().Assign(Font());
    canvas.Brush().Style = TBrushStyle::bsClear;
    const TSize extent = canvas.TextExtent(Caption());
    int x = rect.Left;
    if (alignment_ == TCaptionAlignment::taCenter)
        x = rect.Left + (rect.Width() - extent.cx) / 2;
    else if (alignment_ == TCaptionAlignment::taRightJustify)
        x = rect.Right - extent.cx;
    const int y = rect.Top + (rect.Height() - extent.cy) / 2;
    canvas.TextRect(rect, x, y, Caption());
    canvas.Brush().Style = TBrushStyle::bsSolid;
}

}  // namespace kw
