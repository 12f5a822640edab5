#pragma once

#include "platform/ui/control.h"

namespace kw {

// A caption without a window of its own. Its accelerator ('&' before a letter, when
// ShowAccelChar is on) gives the focus to FocusControl. Descendants paint it and decide its
// automatic size in AdjustBounds.
class TCustomLabel : public TGraphicControl {
    KW_CLASS(TCustomLabel)
public:
    explicit TCustomLabel(TComponent* owner = nullptr);
    ~TCustomLabel() override;

    // The control that takes the focus when the label is activated; forgotten when it is freed.
    TWinControl* FocusControl() const { return focusControl_; }
    void SetFocusControl(TWinControl* control);
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool on);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool on);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool on);
    // Shows what lies behind the label instead of filling it.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool on);

protected:
    void WndProc(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;
    // Fits the label to its caption when AutoSize is on; nothing in the base.
    virtual void AdjustBounds() {}
    // The accelerator `key` was typed: true when the label took it.
    virtual bool DialogChar(Char key);
    // `key` is this label's accelerator and the label may act on it now.
    bool AcceptsAccel(Char key) const;
    // Called for changes of the look: refit and repaint.
    void Changed();

private:
    TWinControl* focusControl_ = nullptr;
    bool showAccelChar_ = true;
    bool autoSize_ = true;
    bool wordWrap_ = false;
    bool transparent_ = false;
};

}  // namespace kw
