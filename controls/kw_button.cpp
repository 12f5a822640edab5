#include "controls/kw_button.h"

#include "platform/ui/input.h"

namespace kw {

KW_IMPLEMENT_CLASS(TKwButton, TCustomControl)

TKwButton::TKwButton(TComponent* owner) : TCustomControl(owner) {
    SetTabStop(true);
    SetControlStyle(csCaptureMouse | csClickEvents | csSetCaption | csOpaque);
    SetBounds(0, 0, 75, 25);
}

void TKwButton::SetDefault(bool value) {
    if (default_ == value)
        return;
    default_ = value;
    Invalidate();
}

void TKwButton::Click() {
    if (modalResult_ != mrNone) {
        if (TCustomForm* form = GetParentForm(this))
            form->SetModalResult(modalResult_);
    }
    TCustomControl::Click();
}

bool TKwButton::Active() const {
    const TWinControl* focused = FocusedControl();
    if (focused == this)
        return true;
    return default_ && dynamic_cast<const TKwButton*>(focused) == nullptr;
}

void TKwButton::SetPressed(bool pressed) {
    if (pressed_ == pressed)
        return;
    pressed_ = pressed;
    Invalidate();
}

void TKwButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == TMouseButton::mbLeft && Enabled()) {
        if (CanFocus() && !Focused())
            SetFocus();
        SetPressed(true);
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TKwButton::MouseMove(TShiftState shift, int x, int y) {
    if (ControlState() & csLButtonDown)
        SetPressed(ClientRect().Contains(x, y));
    TCustomControl::MouseMove(shift, x, y);
}

void TKwButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == TMouseButton::mbLeft)
        SetPressed(false);
    TCustomControl::MouseUp(button, shift, x, y);
}

bool TKwButton::HandleDialogKey(Word key) {
    if (!Enabled() || !Showing())
        return false;
    const bool enter = key == VK_RETURN && Active();
    const bool escape = key == VK_ESCAPE && cancel_;
    if (!enter && !escape)
        return false;
    Click();
    return true;
}

void TKwButton::InvalidateDefaultButtons() {
    TCustomForm* form = GetParentForm(this);
    if (form == nullptr)
        return;
    for (TWinControl* control : form->TabOrderList()) {
        auto* button = dynamic_cast<TKwButton*>(control);
        if (button != nullptr && button->Default())
            button->Invalidate();
    }
}

void TKwButton::WndProc(TMessage& message) {
    switch (message.Msg) {
        case WM_KEYDOWN:
            if (message.WParam == VK_SPACE && Enabled()) {
                spaceDown_ = true;
                SetPressed(true);
                message.Result = 1;
                return;
            }
            break;
        case WM_KEYUP:
            if (message.WParam == VK_SPACE && spaceDown_) {
                spaceDown_ = false;
                SetPressed(false);
                message.Result = 1;
                Click();
                return;
            }
            break;
        case WM_CHAR:
            if (message.WParam == VK_SPACE) {
                message.Result = 1;
                return;
            }
            break;
        case CM_DIALOGKEY:
            message.Result = HandleDialogKey(static_cast<Word>(message.WParam)) ? 1 : 0;
            return;
        case CM_DIALOGCHAR:
            if (Enabled() && Showing() &&
                IsAccel(static_cast<Char>(message.WParam), AccelCaption())) {
                if (CanFocus())
                    SetFocus();
                Click();
                message.Result = 1;
                return;
            }
            message.Result = 0;
            return;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            if (message.Msg == WM_KILLFOCUS && spaceDown_) {
                spaceDown_ = false;
                SetPressed(false);
            }
            InvalidateDefaultButtons();
            break;
        case CM_ENABLEDCHANGED:
            if (!Enabled()) {
                spaceDown_ = false;
                pressed_ = false;
            }
            break;
        default:
            break;
    }
    TCustomControl::WndProc(message);
}

}  // namespace kw
