#include "platform/ui/label.h"

namespace kw {

KW_IMPLEMENT_CLASS(TCustomLabel, TGraphicControl)

TCustomLabel::TCustomLabel(TComponent* owner) : TGraphicControl(owner) {
    SetControlStyle(ControlStyle() & ~csOpaque);
}

TCustomLabel::~TCustomLabel() {
    SetFocusControl(nullptr);
}

void TCustomLabel::SetFocusControl(TWinControl* control) {
    if (control == focusControl_)
        return;
    if (focusControl_ != nullptr)
        focusControl_->RemoveFreeNotification(*this);
    focusControl_ = control;
    if (control != nullptr)
        control->FreeNotification(*this);
}

void TCustomLabel::Notification(TComponent* component, TOperation operation) {
    TGraphicControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == focusControl_)
        focusControl_ = nullptr;
}

void TCustomLabel::Changed() {
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool on) {
    if (on == showAccelChar_)
        return;
    showAccelChar_ = on;
    Changed();
}

void TCustomLabel::SetAutoSize(bool on) {
    if (on == autoSize_)
        return;
    autoSize_ = on;
    Changed();
}

void TCustomLabel::SetWordWrap(bool on) {
    if (on == wordWrap_)
        return;
    wordWrap_ = on;
    Changed();
}

void TCustomLabel::SetTransparent(bool on) {
    if (on == transparent_)
        return;
    transparent_ = on;
    Invalidate();
}

bool TCustomLabel::AcceptsAccel(Char key) const {
    return showAccelChar_ && Enabled() && Parent() != nullptr && Parent()->Showing() &&
           IsAccel(key, Caption());
}

bool TCustomLabel::DialogChar(Char key) {
    if (focusControl_ == nullptr || !AcceptsAccel(key) || !focusControl_->CanFocus())
        return false;
    focusControl_->SetFocus();
    return true;
}

void TCustomLabel::WndProc(TMessage& message) {
    switch (message.Msg) {
        case CM_DIALOGCHAR:
            message.Result = DialogChar(static_cast<Char>(message.WParam)) ? 1 : 0;
            return;
        case CM_TEXTCHANGED:
            TGraphicControl::WndProc(message);
            Changed();
            return;
        default:
            TGraphicControl::WndProc(message);
    }
}

}  // namespace kw
