#include "platform/ui/scrolling.h"

#include <algorithm>
#include <limits>

#include "platform/ui/message_queue.h"
#include "platform/ui/paint_context.h"
#include "platform/ui/system.h"

namespace kw {

KW_IMPLEMENT_CLASS(TScrollingWinControl, TWinControl)
KW_IMPLEMENT_CLASS(TScrollBox, TScrollingWinControl)

namespace {

constexpr int kMaxIncrement = 32767;

int ClampToInt(std::int64_t v) {
    return static_cast<int>(std::clamp<std::int64_t>(v, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

bool IsVertical(TScrollBarKind kind) {
    return kind == TScrollBarKind::sbVertical;
}

}  // namespace

// --- TControlScrollBar ----------------------------------------------------------------------

TControlScrollBar::TControlScrollBar(TScrollingWinControl& control, TScrollBarKind kind)
    : control_(control), kind_(kind) {}

int TControlScrollBar::Size() const {
    return GetSystemMetrics(IsVertical(kind_) ? SM_CXVSCROLL : SM_CYHSCROLL);
}

void TControlScrollBar::StoreRange(int range) {
    range_ = std::max(range, 0);
}

void TControlScrollBar::SetRange(int range) {
    if (std::max(range, 0) == range_)
        return;
    StoreRange(range);
    control_.UpdateScrollBars();
}

void TControlScrollBar::SetPosition(int position) {
    const int p = std::clamp(position, 0, shown_ ? Largest() : 0);
    if (p == position_)
        return;
    const int delta = position_ - p;
    position_ = p;
    if (IsVertical(kind_)) {
        control_.ScrollBy(0, delta);
    } else {
        control_.ScrollBy(delta, 0);
    }
    control_.InvalidateFrame();
}

void TControlScrollBar::SetIncrement(int increment) {
    increment_ = std::clamp(increment, 1, kMaxIncrement);
}

void TControlScrollBar::SetSmooth(bool on) {
    smooth_ = on;
    control_.UpdateScrollBars();
}

void TControlScrollBar::SetVisible(bool visible) {
    if (visible == visible_)
        return;
    visible_ = visible;
    control_.UpdateScrollBars();
}

void TControlScrollBar::SetMargin(int margin) {
    margin_ = std::max(margin, 0);
    control_.CalcAutoRange();
}

void TControlScrollBar::Layout(bool shown, int page) {
    shown_ = shown;
    page_ = std::max(page, 0);
    if (smooth_)
        increment_ = std::clamp(page_ / 10, 1, kMaxIncrement);
    SetPosition(position_);  // pulls the position back inside a shrunken range
}

int TControlScrollBar::ScrollPos() const {
    const TScrollTracker& t = control_.Tracker();
    return t.Dragging() && t.Kind() == kind_ ? t.TrackPos() : position_;
}

void TControlScrollBar::ScrollMessage(Word code, int pos) {
    std::int64_t target = position_;
    switch (code) {
        case SB_LINEUP:
            target -= increment_;
            break;
        case SB_LINEDOWN:
            target += increment_;
            break;
        case SB_PAGEUP:
            target -= std::max(page_, 1);
            break;
        case SB_PAGEDOWN:
            target += std::max(page_, 1);
            break;
        case SB_THUMBTRACK:
            if (!tracking_)
                return;
            target = pos;
            break;
        case SB_THUMBPOSITION:
            target = pos;
            break;
        case SB_TOP:
            target = 0;
            break;
        case SB_BOTTOM:
            target = Largest();
            break;
        default:
            return;
    }
    SetPosition(ClampToInt(target));
}

// --- TScrollingWinControl -------------------------------------------------------------------

TScrollingWinControl::TScrollingWinControl(TComponent* owner)
    : TWinControl(owner),
      horz_(std::make_unique<TControlScrollBar>(*this, TScrollBarKind::sbHorizontal)),
      vert_(std::make_unique<TControlScrollBar>(*this, TScrollBarKind::sbVertical)),
      tracker_(std::make_unique<TScrollTracker>(static_cast<TScrollTrackHost&>(*this))) {
    SetControlStyle(ControlStyle() | csAcceptsControls);
}

TScrollingWinControl::~TScrollingWinControl() = default;

TControlScrollBar& TScrollingWinControl::ScrollBar(TScrollBarKind kind) const {
    return IsVertical(kind) ? *vert_ : *horz_;
}

void TScrollingWinControl::SetAutoScroll(bool on) {
    if (on == autoScroll_)
        return;
    autoScroll_ = on;
    if (!on) {
        // Without AutoScroll the bars only show ranges set by hand.
        horz_->StoreRange(0);
        vert_->StoreRange(0);
    }
    CalcAutoRange();
}

void TScrollingWinControl::DisableAutoRange() {
    ++autoRangeHold_;
}

void TScrollingWinControl::EnableAutoRange() {
    if (autoRangeHold_ > 0 && --autoRangeHold_ == 0)
        CalcAutoRange();
}

TRect TScrollingWinControl::InnerRect() const {
    const int b = std::clamp(BorderSize(), 0, std::min(Width(), Height()) / 2);
    return TRect(b, b, Width() - b, Height() - b);
}

TRect TScrollingWinControl::ScrollBarRect(TScrollBarKind kind) const {
    const TRect inner = InnerRect();
    const int vt = vert_->shown_ ? std::min(vert_->Size(), inner.Width()) : 0;
    const int ht = horz_->shown_ ? std::min(horz_->Size(), inner.Height()) : 0;
    if (IsVertical(kind))
        return vt == 0 ? TRect()
                       : TRect(inner.Right - vt, inner.Top, inner.Right, inner.Bottom - ht);
    return ht == 0 ? TRect() : TRect(inner.Left, inner.Bottom - ht, inner.Right - vt, inner.Bottom);
}

void TScrollingWinControl::UpdateScrollBars() {
    if (updating_)
        return;
    updating_ = true;
    const TRect inner = InnerRect();
    const int vt = vert_->Size();
    const int ht = horz_->Size();
    // Each bar that shows takes room from the other axis, which can make the other bar needed.
    bool v = vert_->visible_ && vert_->range_ > inner.Height();
    const bool h = horz_->visible_ && horz_->range_ > inner.Width() - (v ? vt : 0);
    if (h && !v)
        v = vert_->visible_ && vert_->range_ > inner.Height() - ht;
    horz_->Layout(h, inner.Width() - (v ? vt : 0));
    vert_->Layout(v, inner.Height() - (h ? ht : 0));
    const TRect before = ClientRect();
    RecalcFrame();
    if (ClientRect() != before)
        Realign();
    InvalidateFrame();
    updating_ = false;
}

TRect TScrollingWinControl::ContentBounds() const {
    int right = 0;
    int bottom = 0;
    for (const TControl* c : ControlList()) {
        if (!c->Visible() || c->Align() == TAlign::alClient)
            continue;
        const TRect r = c->BoundsRect().Offset(horz_->position_, vert_->position_);
        // Children aligned to an edge stretch along it, so they only count across it.
        if (c->Align() != TAlign::alTop && c->Align() != TAlign::alBottom)
            right = std::max(right, r.Right);
        if (c->Align() != TAlign::alLeft && c->Align() != TAlign::alRight)
            bottom = std::max(bottom, r.Bottom);
    }
    return TRect(0, 0, right, bottom);
}

void TScrollingWinControl::CalcAutoRange() {
    if (!autoScroll_ || autoRangeHold_ > 0 || updating_) {
        if (!autoScroll_ && !updating_)
            UpdateScrollBars();
        return;
    }
    const TRect box = ContentBounds();
    horz_->StoreRange(ClampToInt(static_cast<std::int64_t>(box.Right) + horz_->margin_));
    vert_->StoreRange(ClampToInt(static_cast<std::int64_t>(box.Bottom) + vert_->margin_));
    UpdateScrollBars();
}

void TScrollingWinControl::AlignControls(TRect& area) {
    // Aligned children scroll with the rest of the content.
    area = area.Offset(-horz_->position_, -vert_->position_);
    TWinControl::AlignControls(area);
}

void TScrollingWinControl::ScrollBy(int dx, int dy) {
    if (dx == 0 && dy == 0)
        return;
    // Moving the children one by one passes through states the range must not follow.
    DisableAutoRange();
    const std::vector<TControl*> children = ControlList();
    for (TControl* c : children) {
        if (c->Align() == TAlign::alNone)
            c->SetBounds(c->Left() + dx, c->Top() + dy, c->Width(), c->Height());
    }
    Realign();
    --autoRangeHold_;
    Invalidate();
}

void TScrollingWinControl::ScrollInView(const TControl* control) {
    if (control == nullptr || control == this || !ContainsControl(control))
        return;
    const TPoint at =
        ScreenToClient(control->Parent()->ClientToScreen({control->Left(), control->Top()}));
    const TRect r = TRect::Bounds(at.X, at.Y, control->Width(), control->Height());
    auto fit = [](TControlScrollBar& bar, int lead, int trail, int extent) {
        if (!bar.IsScrollBarVisible())
            return;
        if (lead < 0) {
            bar.SetPosition(ClampToInt(static_cast<std::int64_t>(bar.Position()) + lead));
        } else if (trail > extent) {
            bar.SetPosition(ClampToInt(static_cast<std::int64_t>(bar.Position()) +
                                       std::min(trail - extent, lead)));
        }
    };
    fit(*horz_, r.Left, r.Right, ClientWidth());
    fit(*vert_, r.Top, r.Bottom, ClientHeight());
}

bool TScrollingWinControl::DoMouseWheel(TShiftState shift, int delta, TPoint mousePos) {
    if (TWinControl::DoMouseWheel(shift, delta, mousePos))
        return true;
    const TScrollBarKind kind =
        vert_->shown_ ? TScrollBarKind::sbVertical : TScrollBarKind::sbHorizontal;
    TControlScrollBar& bar = ScrollBar(kind);
    if (!bar.shown_)
        return false;
    wheelRest_ += delta;
    const int notches = wheelRest_ / WHEEL_DELTA;
    wheelRest_ -= notches * WHEEL_DELTA;
    const Cardinal lines = GetWheelScrollLines();
    const bool pages = lines == 65535;
    const Word code =
        notches > 0 ? (pages ? SB_PAGEUP : SB_LINEUP) : (pages ? SB_PAGEDOWN : SB_LINEDOWN);
    const std::int64_t count = static_cast<std::int64_t>(std::abs(notches)) * (pages ? 1 : lines);
    // Each step goes through the scroll message, so a window that handles it sees them all;
    // steps stop counting once the bar stops moving.
    for (std::int64_t i = 0; i < count; ++i) {
        const int before = bar.Position();
        Perform(IsVertical(kind) ? WM_VSCROLL : WM_HSCROLL, ScrollWParam(code, 0));
        if (bar.Position() == before)
            break;
    }
    return true;
}

TPoint TScrollingWinControl::WindowPoint(TPoint screen) const {
    const TPoint client = ScreenToClient(screen);
    const TRect area = ClientAreaInWindow();
    return {client.X + area.Left, client.Y + area.Top};
}

int TScrollingWinControl::HitTest(TPoint screen) const {
    const TPoint p = WindowPoint(screen);
    if (ScrollBarRect(TScrollBarKind::sbVertical).Contains(p.X, p.Y))
        return HTVSCROLL;
    if (ScrollBarRect(TScrollBarKind::sbHorizontal).Contains(p.X, p.Y))
        return HTHSCROLL;
    return ClientAreaInWindow().Contains(p.X, p.Y) ? HTCLIENT : HTBORDER;
}

TScrollBarLayout TScrollingWinControl::TrackLayout(TScrollBarKind kind) const {
    return LayoutScrollBar(kind, ScrollBarRect(kind), ScrollBar(kind).Info(), Enabled());
}

void TScrollingWinControl::TrackScroll(TScrollBarKind kind, Word code, int pos, bool post) {
    const Cardinal msg = IsVertical(kind) ? WM_VSCROLL : WM_HSCROLL;
    if (post) {
        PostMessage(this, msg, ScrollWParam(code, pos));
    } else {
        Perform(msg, ScrollWParam(code, pos));
    }
}

void TScrollingWinControl::TrackChanged(TScrollBarKind) {
    InvalidateFrame();
}

void TScrollingWinControl::PaintFrame(const TPaintContext& context) {
    PaintBorder(context);
    for (TScrollBarKind kind : {TScrollBarKind::sbHorizontal, TScrollBarKind::sbVertical}) {
        if (!ScrollBar(kind).shown_)
            continue;
        const TScrollBarPart pressed =
            tracker_->Kind() == kind ? tracker_->Pressed() : TScrollBarPart::sbpNone;
        PaintScrollBar(context, tracker_->PaintLayout(TrackLayout(kind)), pressed);
    }
    if (horz_->shown_ && vert_->shown_) {
        const TRect v = ScrollBarRect(TScrollBarKind::sbVertical);
        const TRect h = ScrollBarRect(TScrollBarKind::sbHorizontal);
        context.FillRect(TRect(v.Left, h.Top, v.Right, h.Bottom), clBtnFace);
    }
}

bool TScrollingWinControl::HandleTracking(TMessage& message) {
    if (!tracker_->Active())
        return false;
    const TRect area = ClientAreaInWindow();
    return tracker_->Follow(message, {area.Left, area.Top});
}

void TScrollingWinControl::WndProc(TMessage& message) {
    if (HandleTracking(message))
        return;
    switch (message.Msg) {
        case WM_NCCALCSIZE: {
            auto& client = *reinterpret_cast<TRect*>(message.LParam);
            const TRect inner = InnerRect();
            client = TRect(inner.Left, inner.Top,
                           inner.Right - ScrollBarRect(TScrollBarKind::sbVertical).Width(),
                           inner.Bottom - ScrollBarRect(TScrollBarKind::sbHorizontal).Height());
            return;
        }
        case WM_NCHITTEST:
            message.Result = HitTest({LParamX(message.LParam), LParamY(message.LParam)});
            return;
        case WM_NCPAINT:
            PaintFrame(*reinterpret_cast<const TPaintContext*>(message.WParam));
            return;
        case WM_NCLBUTTONDOWN:
        case WM_NCLBUTTONDBLCLK:
            if (message.WParam == HTVSCROLL || message.WParam == HTHSCROLL) {
                tracker_->MouseDown(
                    message.WParam == HTVSCROLL ? TScrollBarKind::sbVertical
                                                : TScrollBarKind::sbHorizontal,
                    WindowPoint({LParamX(message.LParam), LParamY(message.LParam)}));
                return;
            }
            break;
        case WM_TIMER:
            if (message.WParam == kScrollRepeatTimer) {
                tracker_->TimerTick();
                return;
            }
            break;
        case WM_HSCROLL:
        case WM_VSCROLL:
            ScrollBar(message.Msg == WM_VSCROLL ? TScrollBarKind::sbVertical
                                                : TScrollBarKind::sbHorizontal)
                .ScrollMessage(ScrollCode(message.WParam),
                               tracker_->FullPos(ScrollPos(message.WParam)));
            return;
        case WM_SIZE:
            TWinControl::WndProc(message);
            CalcAutoRange();
            return;
        case CM_CONTROLCHANGE:
            CalcAutoRange();
            return;
        case CM_ENABLEDCHANGED:
            tracker_->Cancel();
            InvalidateFrame();
            break;
        default:
            break;
    }
    TWinControl::WndProc(message);
}

// --- TScrollBox -----------------------------------------------------------------------------

TScrollBox::TScrollBox(TComponent* owner) : TScrollingWinControl(owner) {
    SetBounds(0, 0, 185, 41);
}

void TScrollBox::SetBorderStyle(TBorderStyle style) {
    if (style == borderStyle_)
        return;
    borderStyle_ = style;
    UpdateScrollBars();
}

void TScrollBox::PaintBorder(const TPaintContext& context) {
    if (borderStyle_ == TBorderStyle::bsNone)
        return;
    const TRect r(0, 0, Width(), Height());
    // A sunken edge: shadow above and left, light below and right, two pixels deep.
    context.FillRect(r, clBtnHighlight);
    context.FillRect(TRect(r.Left, r.Top, r.Right - 1, r.Bottom - 1), clBtnShadow);
    context.FillRect(TRect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1), clBtnFace);
    context.FillRect(TRect(r.Left + 1, r.Top + 1, r.Right - 2, r.Bottom - 2), clBlack);
    context.FillRect(TRect(r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 2), Color());
}

}  // namespace kw
