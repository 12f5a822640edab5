#pragma once

#include <functional>
#include <vector>

#include "platform/core/component.h"
#include "platform/ui/messages.h"

namespace kw {

class TWinControl;
class TCustomForm;

// A visual element placed inside a parent window. Messages reach it synchronously through its
// window procedure; Perform is the way library code talks to controls.
class TControl : public TComponent {
    KW_CLASS(TControl)
public:
    explicit TControl(TComponent* owner = nullptr);
    ~TControl() override;

    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* parent);

    bool Visible() const { return visible_; }
    void SetVisible(bool visible) { visible_ = visible; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled) { enabled_ = enabled; }

    // Sends a message to this control's window procedure and returns its result.
    std::intptr_t Perform(Cardinal msg, std::uintptr_t wParam = 0, std::intptr_t lParam = 0);
    // The procedure messages go through; replaceable to subclass a single control.
    std::function<void(TMessage&)> WindowProc;

    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* parent) override;

protected:
    // The default window procedure; derived controls extend it and call the inherited one.
    virtual void WndProc(TMessage& message) {}

private:
    friend class TWinControl;  // keeps both sides of the parent link in step
    TWinControl* parent_ = nullptr;
    bool visible_ = true;
    bool enabled_ = true;
};

// A control that can contain other controls.
class TWinControl : public TControl {
    KW_CLASS(TWinControl)
public:
    explicit TWinControl(TComponent* owner = nullptr);
    ~TWinControl() override;

    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TControl* Controls(int index) const;
    const std::vector<TControl*>& ControlList() const { return controls_; }
    bool ContainsControl(const TControl* control) const;
    void InsertControl(TControl& control);
    void RemoveControl(TControl& control);

    void GetChildren(const std::function<void(TComponent&)>& proc, TComponent* root) override;

private:
    std::vector<TControl*> controls_;
};

// The form a control lies on (the control itself when it is a form), or none.
TCustomForm* GetParentForm(const TControl* control);

}  // namespace kw
