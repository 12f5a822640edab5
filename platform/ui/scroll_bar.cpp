#include "platform/ui/scroll_bar.h"

#include <algorithm>
#include <limits>

#include "platform/core/exception.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/paint_context.h"
#include "platform/ui/system.h"

namespace kw {

KW_IMPLEMENT_CLASS(TScrollBar, TWinControl)

namespace {

constexpr int kMaxChange = 32767;

}  // namespace

TScrollBar::TScrollBar(TComponent* owner)
    : TWinControl(owner),
      tracker_(std::make_unique<TScrollTracker>(static_cast<TScrollTrackHost&>(*this))) {
    // The bar holds the mouse itself while a part is pressed.
    SetControlStyle((ControlStyle() | csOpaque) & ~csCaptureMouse);
    SetTabStop(true);
    SetBounds(0, 0, 121, GetSystemMetrics(SM_CYHSCROLL));
}

TScrollBar::~TScrollBar() = default;

void TScrollBar::SetKind(TScrollBarKind kind) {
    if (kind == kind_)
        return;
    kind_ = kind;
    SetBounds(Left(), Top(), Height(), Width());
    Invalidate();
}

void TScrollBar::SetParams(int position, int min, int max) {
    if (max < min)
        throw EInvalidOperation(u"Scroll bar property out of range");
    const bool changed = min != min_ || max != max_;
    min_ = min;
    max_ = max;
    const std::int64_t count = static_cast<std::int64_t>(max) - min + 1;
    pageSize_ = static_cast<int>(std::min<std::int64_t>(pageSize_, count));
    const int p = Info().Clamp(position);
    const bool moved = p != position_;
    position_ = p;
    if (changed || moved)
        Invalidate();
    if (moved)
        Change();
}

void TScrollBar::SetPageSize(int pageSize) {
    const std::int64_t count = static_cast<std::int64_t>(max_) - min_ + 1;
    pageSize_ = static_cast<int>(std::clamp<std::int64_t>(pageSize, 0, count));
    SetParams(position_, min_, max_);
    Invalidate();
}

void TScrollBar::SetSmallChange(int change) {
    smallChange_ = std::clamp(change, 1, kMaxChange);
}

void TScrollBar::SetLargeChange(int change) {
    largeChange_ = std::clamp(change, 1, kMaxChange);
}

void TScrollBar::Change() {
    if (OnChange)
        OnChange(this);
}

void TScrollBar::Scroll(TScrollCode code, int& pos) {
    if (OnScroll)
        OnScroll(this, code, pos);
}

void TScrollBar::DoScroll(Word code, int pos) {
    if (code > SB_ENDSCROLL)
        return;
    std::int64_t target = position_;
    switch (code) {
        case SB_LINEUP:
            target -= smallChange_;
            break;
        case SB_LINEDOWN:
            target += smallChange_;
            break;
        case SB_PAGEUP:
            target -= largeChange_;
            break;
        case SB_PAGEDOWN:
            target += largeChange_;
            break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK:
            target = tracker_->FullPos(pos);
            break;
        case SB_TOP:
            target = min_;
            break;
        case SB_BOTTOM:
            target = max_;
            break;
        default:
            break;
    }
    // The platform numbers position before track; the event's codes put track first.
    static constexpr TScrollCode kCodes[] = {
        TScrollCode::scLineUp,   TScrollCode::scLineDown, TScrollCode::scPageUp,
        TScrollCode::scPageDown, TScrollCode::scPosition, TScrollCode::scTrack,
        TScrollCode::scTop,      TScrollCode::scBottom,   TScrollCode::scEndScroll};
    int newPos = Info().Clamp(static_cast<int>(std::clamp<std::int64_t>(
        target, std::numeric_limits<int>::min(), std::numeric_limits<int>::max())));
    Scroll(kCodes[code], newPos);
    SetPosition(newPos);
}

TScrollBarLayout TScrollBar::TrackLayout(TScrollBarKind) const {
    return LayoutScrollBar(kind_, ClientRect(), Info(), Enabled());
}

void TScrollBar::TrackScroll(TScrollBarKind, Word code, int pos, bool post) {
    const Cardinal msg = kind_ == TScrollBarKind::sbVertical ? WM_VSCROLL : WM_HSCROLL;
    if (post) {
        PostMessage(this, msg, ScrollWParam(code, pos));
    } else {
        Perform(msg, ScrollWParam(code, pos));
    }
}

void TScrollBar::TrackChanged(TScrollBarKind) {
    Invalidate();
}

void TScrollBar::PaintWindow(const TPaintContext& context) {
    const TScrollBarLayout layout = tracker_->PaintLayout(TrackLayout(kind_));
    PaintScrollBar(context, layout, tracker_->Pressed());
    if (Focused() && layout.HasThumb()) {
        // The focused bar marks its thumb with two dark lines.
        const TRect t = layout.Thumb;
        context.FillRect(TRect(t.Left + 3, t.Top + 3, t.Right - 3, t.Top + 4), clBlack);
        context.FillRect(TRect(t.Left + 3, t.Bottom - 4, t.Right - 3, t.Bottom - 3), clBlack);
    }
}

void TScrollBar::KeyDown(Word& key, TShiftState shift) {
    TWinControl::KeyDown(key, shift);
    Word code = SB_ENDSCROLL;
    switch (key) {
        case VK_UP:
        case VK_LEFT:
            code = SB_LINEUP;
            break;
        case VK_DOWN:
        case VK_RIGHT:
            code = SB_LINEDOWN;
            break;
        case VK_PRIOR:
            code = SB_PAGEUP;
            break;
        case VK_NEXT:
            code = SB_PAGEDOWN;
            break;
        case VK_HOME:
            code = SB_TOP;
            break;
        case VK_END:
            code = SB_BOTTOM;
            break;
        default:
            return;
    }
    key = 0;
    TrackScroll(kind_, code, 0, false);
    TrackScroll(kind_, SB_ENDSCROLL, 0, false);
}

bool TScrollBar::HandleMouse(TMessage& message) {
    const TPoint p{LParamX(message.LParam), LParamY(message.LParam)};
    switch (message.Msg) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            if (CanFocus() && !Focused())
                SetFocus();
            tracker_->MouseDown(kind_, p);
            return true;
        default:
            // A move is followed but not consumed: OnMouseMove still hears it.
            return tracker_->Follow(message, {}) && message.Msg != WM_MOUSEMOVE;
    }
}

void TScrollBar::WndProc(TMessage& message) {
    if (HandleMouse(message))
        return;
    switch (message.Msg) {
        case WM_HSCROLL:
        case WM_VSCROLL:
            DoScroll(ScrollCode(message.WParam), ScrollPos(message.WParam));
            return;
        case WM_TIMER:
            if (message.WParam == kScrollRepeatTimer) {
                tracker_->TimerTick();
                return;
            }
            break;
        case WM_GETDLGCODE:
            message.Result = DLGC_WANTARROWS;
            return;
        case CM_ENABLEDCHANGED:
            tracker_->Cancel();
            break;
        default:
            break;
    }
    TWinControl::WndProc(message);
}

}  // namespace kw
