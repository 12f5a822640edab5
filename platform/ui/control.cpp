#include "platform/ui/control.h"

#include <algorithm>

#include "platform/core/exception.h"
#include "platform/text/strings.h"
#include "platform/ui/form.h"
#include "platform/ui/timers.h"

namespace kw {

KW_IMPLEMENT_CLASS(TControl, TComponent)
KW_IMPLEMENT_CLASS(TWinControl, TControl)

// --- TControl ------------------------------------------------------------------------------

TControl::TControl(TComponent* owner) : TComponent(owner) {
    WindowProc = [this](TMessage& message) { WndProc(message); };
}

TControl::~TControl() {
    KillTimers(this);
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

// --- TWinControl ---------------------------------------------------------------------------

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
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
    if (auto* win = dynamic_cast<TWinControl*>(&control); win && win->ContainsControl(this)) {
        throw EInvalidOperation(u"A control cannot be placed inside one of its own children");
    }
    if (control.parent_ != nullptr)
        control.parent_->RemoveControl(control);
    controls_.push_back(&control);
    control.parent_ = this;
}

void TWinControl::RemoveControl(TControl& control) {
    auto it = std::find(controls_.begin(), controls_.end(), &control);
    if (it == controls_.end())
        return;
    controls_.erase(it);
    control.parent_ = nullptr;
}

void TWinControl::GetChildren(const std::function<void(TComponent&)>& proc, TComponent* root) {
    for (TControl* c : controls_) {
        if (c->Owner() == root)
            proc(*c);
    }
}

TCustomForm* GetParentForm(const TControl* control) {
    const TControl* top = control;
    while (top != nullptr && top->Parent() != nullptr)
        top = top->Parent();
    return const_cast<TCustomForm*>(dynamic_cast<const TCustomForm*>(top));
}

}  // namespace kw
