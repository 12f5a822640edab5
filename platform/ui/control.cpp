#include "platform/ui/control.h"

#include <algorithm>

#include "platform/core/exception.h"
#include "platform/graphics/bitmap.h"
#include "platform/text/strings.h"
#include "platform/ui/actions.h"
#include "platform/ui/form.h"
#include "platform/ui/input.h"
#include "platform/ui/menus.h"
#include "platform/ui/message_hooks.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/paint_context.h"
#include "platform/ui/timers.h"

namespace kw {

KW_IMPLEMENT_CLASS(TControl, TComponent)
KW_IMPLEMENT_CLASS(TWinControl, TControl)
KW_IMPLEMENT_CLASS(TGraphicControl, TControl)
KW_IMPLEMENT_CLASS(TCustomControl, TWinControl)
KW_IMPLEMENT_CLASS(TDragObject, TObject)
KW_IMPLEMENT_CLASS(TDragDockObject, TDragObject)

namespace {

TMouseButton ButtonOf(Cardinal msg) {
    switch (msg) {
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_RBUTTONDBLCLK:
            return TMouseButton::mbRight;
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
        case WM_MBUTTONDBLCLK:
            return TMouseButton::mbMiddle;
        default:
            return TMouseButton::mbLeft;
    }
}

constexpr int kMaxCoordinate = 1 << 24;

// What every control shows of its action: caption, hint, enabled and visible state.
class TControlActionLink : public TActionLink {
public:
    explicit TControlActionLink(TControl& control) {
        using P = TActionProperty;
        Link(
            P::apCaption, [&control] { return TActionValue(control.Caption()); },
            [&control](const TActionValue& v) { control.SetCaption(std::get<String>(v)); });
        Link(
            P::apHint, [&control] { return TActionValue(control.Hint()); },
            [&control](const TActionValue& v) { control.SetHint(std::get<String>(v)); });
        Link(
            P::apEnabled, [&control] { return TActionValue(control.Enabled()); },
            [&control](const TActionValue& v) { control.SetEnabled(std::get<bool>(v)); });
        Link(
            P::apVisible, [&control] { return TActionValue(control.Visible()); },
            [&control](const TActionValue& v) { control.SetVisible(std::get<bool>(v)); });
    }
};

TRegion Subtract(const TRegion& a, const TRegion& b) {
    TRegion r;
    r.Combine(a, b, TRegionCombine::rgnDiff);
    return r;
}

TRegion Intersect(const TRegion& a, const TRegion& b) {
    TRegion r;
    r.Combine(a, b, TRegionCombine::rgnAnd);
    return r;
}

}  // namespace

// --- TControl ------------------------------------------------------------------------------

TControl::TControl(TComponent* owner)
    : TComponent(owner), constraints_(std::make_unique<TSizeConstraints>()) {
    WindowProc = [this](TMessage& message) { WndProc(message); };
    // New limits apply to the size the control has now.
    constraints_->OnChange = [this](TSizeConstraints&) { SetBounds(left_, top_, width_, height_); };
    font_.OnChange = [this](TFont&) {
        // A font set on the control itself ends following the parent's.
        if (!adoptingFont_)
            parentFont_ = false;
        Perform(CM_FONTCHANGED);
    };
}

TControl::~TControl() {
    actionLink_.reset();
    SetPopupMenu(nullptr);
    KillTimers(this);
    ForgetPostedMessages(this);
    ForgetControl(this);
    if (parent_ != nullptr)
        parent_->RemoveControl(*this);
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == parent_)
        return;
    if (parent == this)
        throw EInvalidOperation(u"A control cannot be its own parent");
    if (parent != nullptr) {
        parent->InsertControl(*this);
    } else if (parent_ != nullptr) {
        parent_->RemoveControl(*this);
    }
}

std::intptr_t TControl::Perform(Cardinal msg, std::uintptr_t wParam, std::intptr_t lParam) {
    TMessage message{msg, wParam, lParam, 0};
    TMessage seen = message;  // sent-message hooks watch; they do not change what is sent
    CallMessageHooks(TMessageHookKind::mhkSent, this, seen);
    if (WindowProc)
        WindowProc(message);
    return message.Result;
}

TComponent* TControl::GetParentComponent() const {
    return parent_;
}

void TControl::SetParentComponent(TComponent* parent) {
    if (auto* win = dynamic_cast<TWinControl*>(parent))
        SetParent(win);
}

void TControl::StoreBounds(int left, int top, int width, int height) {
    // Kept far from the int limits so that edges, origins and anchor shifts never overflow.
    left_ = std::clamp(left, -kMaxCoordinate, kMaxCoordinate);
    top_ = std::clamp(top, -kMaxCoordinate, kMaxCoordinate);
    width_ = std::clamp(width, 0, kMaxCoordinate);
    height_ = std::clamp(height, 0, kMaxCoordinate);
}

void TControl::Constrain(int& width, int& height) const {
    width = constraints_->ConstrainWidth(width);
    height = constraints_->ConstrainHeight(height);
}

void TControl::SetBounds(int left, int top, int width, int height) {
    const TRect old = BoundsRect();
    Constrain(width, height);
    StoreBounds(left, top, width, height);
    if (old == BoundsRect())
        return;
    if (parent_ != nullptr && visible_) {
        parent_->InvalidateRect(old);
        parent_->InvalidateRect(BoundsRect());
        if (align_ != TAlign::alNone)
            parent_->Realign();
    }
    NotifyParent();
    if (old.Width() != width_ || old.Height() != height_)
        Resize();
}

void TControl::NotifyParent() {
    if (parent_ == nullptr)
        return;
    // Bookkeeping between a parent and its children, also done while either is being
    // destroyed: it goes straight to the window procedure, past WindowProc and the hooks.
    TMessage message{CM_CONTROLCHANGE, reinterpret_cast<std::uintptr_t>(this), 0, 0};
    static_cast<TControl*>(parent_)->WndProc(message);
}

TPoint TControl::ClientOrigin() const {
    if (parent_ == nullptr)
        return {left_, top_};
    const TPoint p = parent_->ClientOrigin();
    return {p.X + left_, p.Y + top_};
}

TPoint TControl::ClientToScreen(TPoint p) const {
    const TPoint o = ClientOrigin();
    return {p.X + o.X, p.Y + o.Y};
}

TPoint TControl::ScreenToClient(TPoint p) const {
    const TPoint o = ClientOrigin();
    return {p.X - o.X, p.Y - o.Y};
}

void TControl::SetAlign(TAlign align) {
    if (align == align_)
        return;
    align_ = align;
    if (parent_ != nullptr)
        parent_->Realign();
}

void TControl::SetVisible(bool visible) {
    if (visible == visible_)
        return;
    if (!visible)
        Invalidate();
    visible_ = visible;
    if (visible)
        Invalidate();
    if (!visible && CaptureControl() == this)
        SetCaptureControl(nullptr);
    if (dynamic_cast<TWinControl*>(this) != nullptr)
        Perform(WM_SHOWWINDOW, visible ? 1 : 0);
    Perform(CM_VISIBLECHANGED, visible ? 1 : 0);
    if (parent_ != nullptr && align_ != TAlign::alNone)
        parent_->Realign();
    NotifyParent();
}

bool TControl::Showing() const {
    for (const TControl* c = this; c != nullptr; c = c->parent_) {
        if (!c->visible_)
            return false;
    }
    return true;
}

void TControl::SetEnabled(bool enabled) {
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    if (dynamic_cast<TWinControl*>(this) != nullptr)
        Perform(WM_ENABLE, enabled ? 1 : 0);
    Perform(CM_ENABLEDCHANGED);
}

void TControl::SetColor(TColor color) {
    if (color != color_) {
        color_ = color;
        Perform(CM_COLORCHANGED);
    }
    parentColor_ = false;
}

void TControl::SetParentColor(bool on) {
    parentColor_ = on;
    if (on && parent_ != nullptr)
        Perform(CM_PARENTCOLORCHANGED);
}

void TControl::SetParentFont(bool on) {
    parentFont_ = on;
    if (on && parent_ != nullptr)
        Perform(CM_PARENTFONTCHANGED);
}

void TControl::SetCaption(const String& caption) {
    if (caption == caption_)
        return;
    caption_ = caption;
    Perform(CM_TEXTCHANGED);
}

void TControl::SetShowHint(bool show) {
    showHint_ = show;
    parentShowHint_ = false;
}

void TControl::SetParentShowHint(bool on) {
    parentShowHint_ = on;
    if (on && parent_ != nullptr)
        showHint_ = parent_->ShowHint();
}

void TControl::SetCursor(TCursor cursor) {
    if (cursor == cursor_)
        return;
    cursor_ = cursor;
    Perform(CM_CURSORCHANGED);
}

void TControl::Invalidate() {
    if (parent_ != nullptr && visible_)
        parent_->InvalidateRect(BoundsRect(), !(controlStyle_ & csOpaque));
}

void TControl::Update() {
    if (TCustomForm* form = GetParentForm(this))
        form->PaintNow();
}

void TControl::Repaint() {
    Invalidate();
    Update();
}

bool TControl::MouseCapture() const {
    return CaptureControl() == this;
}

void TControl::SetMouseCapture(bool capture) {
    if (capture) {
        SetCaptureControl(this);
    } else if (MouseCapture()) {
        SetCaptureControl(nullptr);
    }
}

void TControl::ParentChanged(Cardinal msg) {
    if (parent_ == nullptr)
        return;
    if (msg == CM_PARENTFONTCHANGED && parentFont_) {
        adoptingFont_ = true;
        font_.Assign(parent_->Font());
        adoptingFont_ = false;
    } else if (msg == CM_PARENTCOLORCHANGED && parentColor_) {
        color_ = parent_->Color();
        Perform(CM_COLORCHANGED);
    }
}

void TControl::WndProc(TMessage& message) {
    switch (message.Msg) {
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
        case WM_MBUTTONDBLCLK:
            HandleMouseMessage(message);
            break;
        case WM_MOUSEWHEEL: {
            const auto delta = static_cast<std::int16_t>((message.WParam >> 16) & 0xFFFF);
            const TShiftState shift = MouseShiftState(message.WParam & 0xFFFF);
            message.Result =
                DoMouseWheel(shift, delta, {LParamX(message.LParam), LParamY(message.LParam)}) ? 1
                                                                                               : 0;
            break;
        }
        case CM_MOUSEENTER:
            controlState_ |= csMouseOver;
            if (OnMouseEnter)
                OnMouseEnter(this);
            break;
        case CM_MOUSELEAVE:
            controlState_ &= ~csMouseOver;
            if (OnMouseLeave)
                OnMouseLeave(this);
            break;
        case CM_PARENTFONTCHANGED:
        case CM_PARENTCOLORCHANGED:
            ParentChanged(message.Msg);
            break;
        case CM_ENABLEDCHANGED:
        case CM_COLORCHANGED:
        case CM_FONTCHANGED:
        case CM_TEXTCHANGED:
        case CM_SYSCOLORCHANGE:
            Invalidate();
            break;
        case WM_CANCELMODE:
        case CM_CANCELMODE:
            controlState_ &= ~(csLButtonDown | csClicked);
            SetMouseCapture(false);
            break;
        case CM_HITTEST:
            message.Result = HTCLIENT;
            break;
        case WM_CONTEXTMENU:
            ContextMenu(message);
            break;
        default:
            break;
    }
}

void TControl::HandleMouseMessage(TMessage& message) {
    const int x = LParamX(message.LParam);
    const int y = LParamY(message.LParam);
    TShiftState shift = MouseShiftState(message.WParam) | (KeyboardShiftState() & ssAlt);
    const TMouseButton button = ButtonOf(message.Msg);
    switch (message.Msg) {
        case WM_MOUSEMOVE:
            MouseMove(shift, x, y);
            return;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            if (controlStyle_ & csCaptureMouse)
                SetMouseCapture(true);
            controlState_ |= csLButtonDown;
            if (controlStyle_ & csClickEvents)
                controlState_ |= csClicked;
            if (message.Msg == WM_LBUTTONDBLCLK) {
                shift |= ssDouble;
                if (controlStyle_ & csDoubleClicks)
                    DblClick();
            }
            MouseDown(button, shift, x, y);
            return;
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDBLCLK:
            if (message.Msg == WM_RBUTTONDBLCLK || message.Msg == WM_MBUTTONDBLCLK)
                shift |= ssDouble;
            MouseDown(button, shift, x, y);
            return;
        case WM_LBUTTONUP:
            if (controlStyle_ & csCaptureMouse)
                SetMouseCapture(false);
            controlState_ &= ~csLButtonDown;
            if (controlState_ & csClicked) {
                controlState_ &= ~csClicked;
                if (ClientRect().Contains(x, y))
                    Click();
            }
            MouseUp(button, shift, x, y);
            return;
        case WM_RBUTTONUP:
            MouseUp(button, shift, x, y);
            // Releasing the right button asks for the context menu where it happened.
            if (!HasState(csDestroying)) {
                const TPoint at = ClientToScreen({x, y});
                Perform(WM_CONTEXTMENU, 0, PointToLParam(at.X, at.Y));
            }
            return;
        default:
            MouseUp(button, shift, x, y);
            return;
    }
}

void TControl::SetPopupMenu(TPopupMenu* menu) {
    if (menu == popupMenu_)
        return;
    if (popupMenu_ != nullptr) {
        // The menu keeps no pointer to a control that let go of it.
        if (popupMenu_->PopupComponent() == this)
            popupMenu_->SetPopupComponent(nullptr);
        popupMenu_->RemoveFreeNotification(*this);
    }
    popupMenu_ = menu;
    if (menu != nullptr)
        menu->FreeNotification(*this);
}

void TControl::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == popupMenu_ && component != nullptr)
        popupMenu_ = nullptr;
}

void TControl::ContextMenu(TMessage& message) {
    TPoint at{LParamX(message.LParam), LParamY(message.LParam)};
    if (popupMenu_ != nullptr && popupMenu_->AutoPopup() && !HasState(csDesigning)) {
        if (at.X == -1 && at.Y == -1)
            at = ClientToScreen({0, 0});
        popupMenu_->SetPopupComponent(this);
        popupMenu_->Popup(at.X, at.Y);
        message.Result = 1;
        return;
    }
    if (parent_ != nullptr)
        message.Result = parent_->Perform(WM_CONTEXTMENU, message.WParam, message.LParam);
}

void TControl::Click() {
    if (OnClick) {
        OnClick(this);
    } else if (actionLink_ && !HasState(csDesigning)) {
        actionLink_->Execute();
    }
}

TAction* TControl::Action() const {
    return actionLink_ ? actionLink_->Action() : nullptr;
}

void TControl::SetAction(TAction* action) {
    if (action == nullptr) {
        actionLink_.reset();
        return;
    }
    if (!actionLink_)
        actionLink_ = CreateActionLink();
    actionLink_->SetAction(action);
}

std::unique_ptr<TActionLink> TControl::CreateActionLink() {
    return std::make_unique<TControlActionLink>(*this);
}

void TControl::DblClick() {
    if (OnDblClick)
        OnDblClick(this);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseDown)
        OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseUp)
        OnMouseUp(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
    if (OnMouseMove)
        OnMouseMove(this, shift, x, y);
}

bool TControl::DoMouseWheel(TShiftState shift, int delta, TPoint mousePos) {
    bool handled = false;
    if (OnMouseWheel)
        OnMouseWheel(this, shift, delta, mousePos, handled);
    return handled;
}

void TControl::Resize() {
    if (OnResize)
        OnResize(this);
}

// --- TWinControl ---------------------------------------------------------------------------

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {
    SetControlStyle(ControlStyle() | csAcceptsControls);
}

TWinControl::~TWinControl() {
    // Leave the parent while still a windowed control, so that its tab list lets go too.
    if (Parent() != nullptr)
        Parent()->RemoveControl(*this);
    // Children that someone else owns outlive this parent: detach them.
    while (!controls_.empty())
        RemoveControl(*controls_.back());
}

TControl* TWinControl::Controls(int index) const {
    if (index < 0 || index >= ControlCount()) {
        throw EListError(u"List index out of bounds (" + IntToStr(index) + u")");
    }
    return controls_[static_cast<size_t>(index)];
}

bool TWinControl::ContainsControl(const TControl* control) const {
    for (const TControl* c = control; c != nullptr; c = c->Parent()) {
        if (c == this)
            return true;
    }
    return false;
}

void TWinControl::InsertControl(TControl& control) {
    if (control.parent_ == this)
        return;
    auto* win = dynamic_cast<TWinControl*>(&control);
    if (win != nullptr && win->ContainsControl(this)) {
        throw EInvalidOperation(u"A control cannot be placed inside one of its own children");
    }
    if (control.parent_ != nullptr)
        control.parent_->RemoveControl(control);
    controls_.push_back(&control);
    if (win != nullptr)
        tabList_.push_back(win);
    control.parent_ = this;
    control.Perform(CM_PARENTFONTCHANGED);
    control.Perform(CM_PARENTCOLORCHANGED);
    if (control.parentShowHint_)
        control.showHint_ = ShowHint();
    if (win != nullptr)
        win->InvalidateAll();
    control.Invalidate();
    if (control.Align() != TAlign::alNone)
        Realign();
    control.NotifyParent();
}

void TWinControl::RemoveControl(TControl& control) {
    auto it = std::find(controls_.begin(), controls_.end(), &control);
    if (it == controls_.end())
        return;
    control.Invalidate();
    if (auto* win = dynamic_cast<TWinControl*>(&control)) {
        if (win->ContainsControl(FocusedControl()))
            MoveFocus(nullptr);
        std::erase(tabList_, win);
    }
    controls_.erase(std::find(controls_.begin(), controls_.end(), &control));
    control.NotifyParent();
    control.parent_ = nullptr;
    if (control.Align() != TAlign::alNone)
        Realign();
}

void TWinControl::BringToFront(TControl& control) {
    auto it = std::find(controls_.begin(), controls_.end(), &control);
    if (it == controls_.end())
        return;
    controls_.erase(it);
    controls_.push_back(&control);
    control.Invalidate();
}

void TWinControl::SendToBack(TControl& control) {
    auto it = std::find(controls_.begin(), controls_.end(), &control);
    if (it == controls_.end())
        return;
    controls_.erase(it);
    controls_.insert(controls_.begin(), &control);
    InvalidateRect(control.BoundsRect());
}

TControl* TWinControl::ControlAtPos(TPoint p, bool allowDisabled, bool allowWinControls) const {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        TControl* c = *it;
        const bool windowed = dynamic_cast<TWinControl*>(c) != nullptr;
        if ((windowed && !allowWinControls) || !c->Visible() || (!c->Enabled() && !allowDisabled))
            continue;
        if (!c->BoundsRect().Contains(p.X, p.Y))
            continue;
        const TPoint local{p.X - c->Left(), p.Y - c->Top()};
        if (c->Perform(CM_HITTEST, 0, PointToLParam(local.X, local.Y)) != 0)
            return c;
    }
    return nullptr;
}

void TWinControl::GetChildren(const std::function<void(TComponent&)>& proc, TComponent* root) {
    for (TControl* c : controls_) {
        if (c->Owner() == root)
            proc(*c);
    }
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
    Constrain(width, height);
    TWindowPos pos{left, top, std::max(width, 0), std::max(height, 0)};
    Perform(WM_WINDOWPOSCHANGING, 0, reinterpret_cast<std::intptr_t>(&pos));
    Constrain(pos.Width, pos.Height);
    const TRect old = BoundsRect();
    const TRect oldClient = ClientRect();
    StoreBounds(pos.X, pos.Y, pos.Width, pos.Height);
    if (old == BoundsRect())
        return;
    const bool sized = old.Width() != Width() || old.Height() != Height();
    if (sized)
        RecalcFrame();
    if (Parent() != nullptr && Visible()) {
        Parent()->InvalidateRect(old);
        if (Align() != TAlign::alNone)
            Parent()->Realign();
    }
    Perform(WM_WINDOWPOSCHANGED, 0, reinterpret_cast<std::intptr_t>(&pos));
    NotifyParent();
    if (old.Left != Left() || old.Top != Top())
        Perform(WM_MOVE, 0, PointToLParam(Left(), Top()));
    if (sized) {
        InvalidateAll();
        Perform(WM_SIZE, 0, PointToLParam(ClientWidth(), ClientHeight()));
        AnchorChildren(oldClient.Width(), oldClient.Height());
        Realign();
        Resize();
    }
}

TRect TWinControl::ClientAreaInWindow() const {
    TRect r(frame_.Left, frame_.Top, Width() - frame_.Right, Height() - frame_.Bottom);
    if (r.Right < r.Left)
        r.Right = r.Left;
    if (r.Bottom < r.Top)
        r.Bottom = r.Top;
    return r;
}

TRect TWinControl::ClientRect() const {
    const TRect r = ClientAreaInWindow();
    return TRect(0, 0, r.Width(), r.Height());
}

TPoint TWinControl::ClientOrigin() const {
    const TPoint windowOrigin =
        Parent() == nullptr ? TPoint{Left(), Top()} : Parent()->ClientToScreen({Left(), Top()});
    return {windowOrigin.X + frame_.Left, windowOrigin.Y + frame_.Top};
}

void TWinControl::RecalcFrame() {
    TRect client(0, 0, Width(), Height());
    Perform(WM_NCCALCSIZE, 0, reinterpret_cast<std::intptr_t>(&client));
    client = client.Intersect(TRect(0, 0, Width(), Height()));
    const TRect before = frame_;
    frame_ = TRect(client.Left, client.Top, Width() - client.Right, Height() - client.Bottom);
    if (client.IsEmpty())
        frame_ = TRect(0, 0, 0, 0);
    if (before != frame_)
        InvalidateAll();
}

void TWinControl::AlignControls(TRect& area) {
    static constexpr TAlign kOrder[] = {TAlign::alTop, TAlign::alBottom, TAlign::alLeft,
                                        TAlign::alRight, TAlign::alClient};
    for (TAlign align : kOrder) {
        for (TControl* c : controls_) {
            if (c->Align() != align || !c->Visible())
                continue;
            TRect r = c->BoundsRect();
            switch (align) {
                case TAlign::alTop:
                    r = TRect::Bounds(area.Left, area.Top, area.Width(), r.Height());
                    area.Top = std::min(area.Top + r.Height(), area.Bottom);
                    break;
                case TAlign::alBottom:
                    r = TRect::Bounds(area.Left, area.Bottom - r.Height(), area.Width(),
                                      r.Height());
                    area.Bottom = std::max(area.Bottom - r.Height(), area.Top);
                    break;
                case TAlign::alLeft:
                    r = TRect::Bounds(area.Left, area.Top, r.Width(), area.Height());
                    area.Left = std::min(area.Left + r.Width(), area.Right);
                    break;
                case TAlign::alRight:
                    r = TRect::Bounds(area.Right - r.Width(), area.Top, r.Width(), area.Height());
                    area.Right = std::max(area.Right - r.Width(), area.Left);
                    break;
                default:
                    r = area;
                    break;
            }
            if (r != c->BoundsRect()) {
                const TAlign keep = c->align_;
                c->align_ = TAlign::alNone;  // no realign from inside the alignment
                c->SetBoundsRect(r);
                c->align_ = keep;
            }
        }
    }
}

void TWinControl::Realign() {
    if (ControlState() & csAligning)
        return;
    SetControlState(ControlState() | csAligning);
    TRect area = ClientRect();
    AlignControls(area);
    SetControlState(ControlState() & ~csAligning);
}

void TWinControl::AnchorChildren(int oldWidth, int oldHeight) {
    const int dx = ClientWidth() - oldWidth;
    const int dy = ClientHeight() - oldHeight;
    for (TControl* c : controls_) {
        if (c->Align() != TAlign::alNone)
            continue;
        TRect r = c->BoundsRect();
        const TAnchors a = c->Anchors();
        if (a & akRight) {
            r.Right += dx;
            if (!(a & akLeft))
                r.Left += dx;
        }
        if (a & akBottom) {
            r.Bottom += dy;
            if (!(a & akTop))
                r.Top += dy;
        }
        if (r != c->BoundsRect())
            c->SetBoundsRect(r);
    }
}

void TWinControl::SetWindowRgn(std::optional<TRegion> region) {
    if (Parent() != nullptr)
        Parent()->InvalidateRect(BoundsRect());
    windowRgn_ = std::move(region);
    InvalidateAll();
}

void TWinControl::Invalidate() {
    InvalidateRect(ClientRect(), !(ControlStyle() & csOpaque));
}

void TWinControl::InvalidateRect(const TRect& rect, bool erase) {
    InvalidateRegion(TRegion(rect), erase);
}

void TWinControl::InvalidateRegion(const TRegion& region, bool erase) {
    updateRgn_.Combine(updateRgn_, Intersect(region, TRegion(ClientRect())), TRegionCombine::rgnOr);
    eraseNeeded_ = eraseNeeded_ || erase;
}

void TWinControl::ValidateRect(const TRect& rect) {
    updateRgn_.Combine(updateRgn_, TRegion(rect), TRegionCombine::rgnDiff);
}

void TWinControl::InvalidateFrame() {
    frameInvalid_ = true;
}

void TWinControl::InvalidateAll() {
    frameInvalid_ = true;
    InvalidateRect(ClientRect(), true);
    for (TWinControl* w : tabList_)
        w->InvalidateAll();
}

int TWinControl::TabOrder() const {
    if (Parent() == nullptr)
        return -1;
    const auto& list = Parent()->tabList_;
    return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

void TWinControl::SetTabOrder(int order) {
    if (Parent() == nullptr)
        return;
    auto& list = Parent()->tabList_;
    std::erase(list, this);
    order = std::clamp(order, 0, static_cast<int>(list.size()));
    list.insert(list.begin() + order, this);
}

std::vector<TWinControl*> TWinControl::TabOrderList() const {
    std::vector<TWinControl*> list;
    for (TWinControl* w : tabList_) {
        list.push_back(w);
        const auto inner = w->TabOrderList();
        list.insert(list.end(), inner.begin(), inner.end());
    }
    return list;
}

bool TWinControl::CanFocus() const {
    for (const TControl* c = this; c != nullptr; c = c->Parent()) {
        if (!c->Visible() || !c->Enabled())
            return false;
    }
    return true;
}

bool TWinControl::Focused() const {
    return FocusedControl() == this;
}

void TWinControl::SetFocus() {
    if (!CanFocus())
        throw EInvalidOperation(u"Cannot focus a disabled or invisible window");
    MoveFocus(this);
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool forward,
                                          bool checkTabStop) const {
    const auto list = TabOrderList();
    if (list.empty())
        return nullptr;
    const auto n = static_cast<std::ptrdiff_t>(list.size());
    std::ptrdiff_t start = std::find(list.begin(), list.end(), current) - list.begin();
    if (start == n)
        start = forward ? n - 1 : 0;
    std::ptrdiff_t i = start;
    for (std::ptrdiff_t step = 0; step < n; ++step) {
        i = forward ? (i + 1) % n : (i - 1 + n) % n;
        TWinControl* w = list[static_cast<size_t>(i)];
        if (w != current && w->CanFocus() && (!checkTabStop || w->TabStop()))
            return w;
    }
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool forward, bool checkTabStop) {
    if (TWinControl* next = FindNextControl(current, forward, checkTabStop))
        next->SetFocus();
}

std::intptr_t TWinControl::Broadcast(Cardinal msg, std::uintptr_t wParam, std::intptr_t lParam,
                                     bool stopAtAnswer) {
    const auto children = controls_;  // a handler may change the list
    for (TControl* c : children) {
        const std::intptr_t result = c->Perform(msg, wParam, lParam);
        if (stopAtAnswer && result != 0)
            return result;
    }
    return 0;
}

void TWinControl::KeyDown(Word& key, TShiftState shift) {
    if (OnKeyDown)
        OnKeyDown(this, key, shift);
}

void TWinControl::KeyUp(Word& key, TShiftState shift) {
    if (OnKeyUp)
        OnKeyUp(this, key, shift);
}

void TWinControl::KeyPress(Char& key) {
    if (OnKeyPress)
        OnKeyPress(this, key);
}

void TWinControl::DoEnter() {
    if (OnEnter)
        OnEnter(this);
}

void TWinControl::DoExit() {
    if (OnExit)
        OnExit(this);
}

void TWinControl::WndProc(TMessage& message) {
    switch (message.Msg) {
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
        case WM_MBUTTONDBLCLK: {
            // A graphic child under the point takes the message in its own coordinates.
            const TPoint p{LParamX(message.LParam), LParamY(message.LParam)};
            if (CaptureControl() != this) {
                if (TControl* child = ControlAtPos(p)) {
                    message.Result =
                        child->Perform(message.Msg, message.WParam,
                                       PointToLParam(p.X - child->Left(), p.Y - child->Top()));
                    return;
                }
            }
            break;
        }
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN: {
            Word key = static_cast<Word>(message.WParam);
            KeyDown(key, KeyboardShiftState());
            message.Result = key == 0 ? 1 : 0;
            return;
        }
        case WM_KEYUP:
        case WM_SYSKEYUP: {
            Word key = static_cast<Word>(message.WParam);
            KeyUp(key, KeyboardShiftState());
            message.Result = key == 0 ? 1 : 0;
            return;
        }
        case WM_CHAR: {
            Char ch = static_cast<Char>(message.WParam);
            KeyPress(ch);
            message.Result = ch == 0 ? 1 : 0;
            return;
        }
        case CM_ENTER:
            DoEnter();
            return;
        case CM_EXIT:
            DoExit();
            return;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            Invalidate();
            return;
        case WM_NCHITTEST: {
            const TPoint p = ScreenToClient({LParamX(message.LParam), LParamY(message.LParam)});
            message.Result = ClientRect().Contains(p.X, p.Y) ? HTCLIENT : HTBORDER;
            return;
        }
        case WM_ERASEBKGND: {
            const auto& ctx = *reinterpret_cast<const TPaintContext*>(message.WParam);
            if (!(ControlStyle() & csOpaque))
                ctx.FillRect(ClientRect(), Color());
            message.Result = 1;
            return;
        }
        case WM_PAINT: {
            const auto& ctx = *reinterpret_cast<const TPaintContext*>(message.WParam);
            PaintWindow(ctx);
            PaintControls(ctx);
            return;
        }
        case CM_PARENTFONTCHANGED:
        case CM_PARENTCOLORCHANGED:
        case CM_FONTCHANGED:
        case CM_COLORCHANGED:
        case CM_ENABLEDCHANGED:
        case CM_SYSCOLORCHANGE: {
            TControl::WndProc(message);
            // Children that follow this control's font or colour follow its changes.
            if (message.Msg == CM_FONTCHANGED || message.Msg == CM_PARENTFONTCHANGED)
                Broadcast(CM_PARENTFONTCHANGED);
            if (message.Msg == CM_COLORCHANGED || message.Msg == CM_PARENTCOLORCHANGED)
                Broadcast(CM_PARENTCOLORCHANGED);
            if (message.Msg == CM_SYSCOLORCHANGE)
                Broadcast(CM_SYSCOLORCHANGE);
            if (message.Msg == CM_ENABLEDCHANGED) {
                Invalidate();
                if (!Enabled() && ContainsControl(FocusedControl()))
                    MoveFocus(nullptr);
            }
            return;
        }
        case CM_DIALOGKEY:
        case CM_DIALOGCHAR:
            message.Result = Broadcast(message.Msg, message.WParam, message.LParam, true);
            return;
        default:
            break;
    }
    TControl::WndProc(message);
}

namespace {

// Sends a paint message with the device's viewport and clip set up for `context`.
void PerformPaint(TControl& control, Cardinal msg, const TPaintContext& context) {
    const TPaintScope scope(context);
    control.Perform(msg, reinterpret_cast<std::uintptr_t>(&context));
}

}  // namespace

void TWinControl::PaintControls(const TPaintContext& context) {
    for (TControl* c : controls_) {
        if (dynamic_cast<TWinControl*>(c) != nullptr || !c->Visible())
            continue;
        const TRect bounds = c->BoundsRect().Offset(context.Origin.X, context.Origin.Y);
        if (!context.Clip.IntersectsRect(bounds))
            continue;
        const TPaintContext child{
            context.Canvas, {bounds.Left, bounds.Top}, Intersect(context.Clip, TRegion(bounds))};
        PerformPaint(*c, WM_PAINT, child);
    }
}

void TWinControl::PaintParentBackground(const TPaintContext& context) {
    TWinControl* parent = Parent();
    if (parent == nullptr)
        return;
    const TRect client = ClientAreaInWindow();
    const TPoint parentOrigin{context.Origin.X - Left() - client.Left,
                              context.Origin.Y - Top() - client.Top};
    const TRect area = ClientRect().Offset(context.Origin.X, context.Origin.Y);
    const TPaintContext behind{context.Canvas, parentOrigin,
                               Intersect(context.Clip, TRegion(area))};
    if (behind.Clip.IsEmpty())
        return;
    PerformPaint(*parent, WM_ERASEBKGND, behind);
    PerformPaint(*parent, WM_PAINT, behind);
}

TRegion TWinControl::VisibleWindowArea(TPoint windowOrigin) const {
    TRegion area(TRect::Bounds(windowOrigin.X, windowOrigin.Y, Width(), Height()));
    if (windowRgn_) {
        TRegion shaped = *windowRgn_;
        shaped.Offset(windowOrigin.X, windowOrigin.Y);
        area = Intersect(area, shaped);
    }
    return area;
}

void TWinControl::PaintClient(TCanvas& device, TPoint clientOrigin, const TRegion& clip,
                              bool erase) {
    SetControlState(ControlState() | csPainting);
    if (!doubleBuffered_) {
        const TPaintContext context{&device, clientOrigin, clip};
        if (erase)
            PerformPaint(*this, WM_ERASEBKGND, context);
        PerformPaint(*this, WM_PAINT, context);
    } else {
        // Paint into a bitmap the size of the damaged area, then put it down in one blit, so
        // the screen never shows a half-painted state.
        const TRect bounds = clip.Bounds();
        TBitmap buffer(bounds.Width(), bounds.Height(), TPixelFormat::pf32bit);
        TCanvas bufferCanvas(buffer);
        TRegion bufferClip = clip;
        bufferClip.Offset(-bounds.Left, -bounds.Top);
        const TPaintContext context{
            &bufferCanvas, {clientOrigin.X - bounds.Left, clientOrigin.Y - bounds.Top}, bufferClip};
        PerformPaint(*this, WM_ERASEBKGND, context);
        PerformPaint(*this, WM_PAINT, context);
        device.SetClipRegion(&clip);
        device.DrawBitmap(bounds, buffer, TRect(0, 0, bounds.Width(), bounds.Height()),
                          TBlendMode::bmCopy);
        device.SetClipRegion(nullptr);
    }
    SetControlState(ControlState() & ~csPainting);
}

TRegion TWinControl::PaintTree(TCanvas& device, TPoint windowOrigin, const TRegion& visible) {
    TRegion painted;
    if (!Visible())
        return painted;
    const TRegion window = Intersect(VisibleWindowArea(windowOrigin), visible);
    const TRect clientInWindow = ClientAreaInWindow();
    const TPoint clientOrigin{windowOrigin.X + clientInWindow.Left,
                              windowOrigin.Y + clientInWindow.Top};
    const TRegion client =
        Intersect(window, TRegion(clientInWindow.Offset(windowOrigin.X, windowOrigin.Y)));

    if (frameInvalid_) {
        frameInvalid_ = false;
        const TRegion frame = Subtract(window, client);
        if (!frame.IsEmpty()) {
            PerformPaint(*this, WM_NCPAINT, {&device, windowOrigin, frame});
            painted.Combine(painted, frame, TRegionCombine::rgnOr);
        }
    }

    // Children clip their parent, and windows higher in the z-order clip those below them.
    std::vector<std::pair<TWinControl*, TRegion>> children;
    TRegion covered;
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        auto* w = dynamic_cast<TWinControl*>(*it);
        if (w == nullptr || !w->Visible())
            continue;
        const TRegion area = Intersect(
            w->VisibleWindowArea({clientOrigin.X + w->Left(), clientOrigin.Y + w->Top()}), client);
        children.emplace_back(w, Subtract(area, covered));
        covered.Combine(covered, area, TRegionCombine::rgnOr);
    }

    if (!updateRgn_.IsEmpty()) {
        TRegion damage = updateRgn_;
        damage.Offset(clientOrigin.X, clientOrigin.Y);
        damage = Subtract(Intersect(damage, client), covered);
        const bool erase = eraseNeeded_;
        updateRgn_ = TRegion();
        eraseNeeded_ = false;
        if (!damage.IsEmpty()) {
            PaintClient(device, clientOrigin, damage, erase);
            painted.Combine(painted, damage, TRegionCombine::rgnOr);
        }
    }

    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        TWinControl* w = it->first;
        if (it->second.IsEmpty())
            continue;
        const TRegion childPainted = w->PaintTree(
            device, {clientOrigin.X + w->Left(), clientOrigin.Y + w->Top()}, it->second);
        painted.Combine(painted, childPainted, TRegionCombine::rgnOr);
    }
    return painted;
}

// --- TGraphicControl and TCustomControl ----------------------------------------------------

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner) {}

void TGraphicControl::WndProc(TMessage& message) {
    if (message.Msg == WM_PAINT) {
        Paint(*reinterpret_cast<const TPaintContext*>(message.WParam));
        return;
    }
    TControl::WndProc(message);
}

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner) {}

TCustomForm* GetParentForm(const TControl* control) {
    const TControl* top = control;
    while (top != nullptr && top->Parent() != nullptr)
        top = top->Parent();
    return const_cast<TCustomForm*>(dynamic_cast<const TCustomForm*>(top));
}

bool IsAccel(Char key, const String& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != u'&')
            continue;
        if (caption[i + 1] == u'&') {
            ++i;
            continue;
        }
        return AnsiUpperCase(String(1, caption[i + 1])) == AnsiUpperCase(String(1, key));
    }
    return false;
}

}  // namespace kw
