#pragma once

#include "platform/ui/form.h"

namespace kw {

// The small window hints show in: a borderless top-level window that never becomes active and
// lets the mouse through to what lies below it. The application creates one of the class the
// show-hint event names (this class when it names none). Derived classes change its look
// through Paint and its size through CalcHintRect.
class THintWindow : public TCustomForm {
    KW_CLASS(THintWindow)
public:
    explicit THintWindow(TComponent* owner = nullptr);

    // Shows `hint` in `screenRect` (moved inside the desktop when it sticks out), on top of every
    // other window, without activating.
    virtual void ActivateHint(TRect screenRect, const String& hint);
    // The rectangle, at (0, 0), that `hint` needs; lines break at line feeds only, and no line
    // is wider than `maxWidth`.
    virtual TRect CalcHintRect(int maxWidth, const String& hint);
    bool Activates() const override { return false; }

protected:
    void WndProc(TMessage& message) override;
    void PaintWindow(const TPaintContext& context) override { Paint(context); }
    // The whole look: background, frame and text lines, in the window's own coordinates.
    virtual void Paint(const TPaintContext& context);
};

}  // namespace kw
