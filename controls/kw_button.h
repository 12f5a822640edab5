#pragma once

#include "platform/ui/control.h"
#include "platform/ui/form.h"

namespace kw {

// A focusable push button: space, Enter on the default button and Escape on the cancel button
// press it, its caption's accelerator too; a click gives the form its modal result. The library
// draws the face (owner draw); this class keeps the pressed state that the face shows.
class TKwButton : public TCustomControl {
    KW_CLASS(TKwButton)
public:
    explicit TKwButton(TComponent* owner = nullptr);

    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult result) { modalResult_ = result; }
    bool Default() const { return default_; }
    void SetDefault(bool value);
    bool Cancel() const { return cancel_; }
    void SetCancel(bool value) { cancel_ = value; }

    // Gives the form the modal result, then runs OnClick.
    void Click() override;
    // Shown pressed: the mouse went down on it and is still inside, or space is held.
    bool Pressed() const { return pressed_; }
    // The button Enter presses now: the focused one, or the default one while no other button
    // has the focus. Its face shows the default mark.
    bool Active() const;

protected:
    void WndProc(TMessage& message) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void SetPressed(bool pressed);
    // Which caption the accelerator key is looked up in.
    virtual String AccelCaption() const { return Caption(); }

private:
    bool HandleDialogKey(Word key);
    // The default buttons of the form change their mark when the focus moves between buttons.
    void InvalidateDefaultButtons();

    TModalResult modalResult_ = mrNone;
    bool default_ = false;
    bool cancel_ = false;
    bool pressed_ = false;
    bool spaceDown_ = false;
};

}  // namespace kw
