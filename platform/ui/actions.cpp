#include "platform/ui/actions.h"

#include <algorithm>

#include "platform/core/exception.h"

namespace kw {

KW_IMPLEMENT_CLASS(TBasicAction, TComponent)
KW_IMPLEMENT_CLASS(TAction, TBasicAction)

namespace {

std::size_t Index(TActionProperty property) {
    return static_cast<std::size_t>(property);
}

}  // namespace

// --- TBasicAction --------------------------------------------------------------------------

TBasicAction::TBasicAction(TComponent* owner) : TComponent(owner) {}

TBasicAction::~TBasicAction() {
    // Controls keep working without the action; they only stop following it.
    while (!clients_.empty())
        clients_.back()->Detach();
}

bool TBasicAction::Execute() {
    if (!OnExecute)
        return false;
    OnExecute(this);
    return true;
}

bool TBasicAction::Update() {
    if (!OnUpdate || updating_)
        return false;
    updating_ = true;
    try {
        OnUpdate(this);
    } catch (...) {
        updating_ = false;
        throw;
    }
    updating_ = false;
    return true;
}

namespace {

// Forgets the actions of a list that are freed while it is being worked through.
class TActionListWatch : public TComponent {
public:
    explicit TActionListWatch(std::vector<TBasicAction*>& actions) : actions_(actions) {
        for (TBasicAction* action : actions)
            FreeNotification(*action);
    }
    void Notification(TComponent* component, TOperation operation) override {
        TComponent::Notification(component, operation);
        if (operation == TOperation::opRemove)
            std::replace_if(
                actions_.begin(), actions_.end(),
                [component](const TBasicAction* action) { return action == component; }, nullptr);
    }

private:
    std::vector<TBasicAction*>& actions_;
};

}  // namespace

void UpdateEachAction(std::vector<TBasicAction*> actions) {
    if (actions.empty())
        return;
    const TActionListWatch watch(actions);
    for (TBasicAction* action : actions) {
        if (action != nullptr)
            action->Update();
    }
}

// --- TAction -------------------------------------------------------------------------------

TAction::TAction(TComponent* owner) : TBasicAction(owner) {
    for (std::size_t i = 0; i < kActionProperties; ++i)
        values_[i] = DefaultValue(static_cast<TActionProperty>(i));
}

const TActionValue& TAction::DefaultValue(TActionProperty property) {
    static const std::array<TActionValue, kActionProperties> defaults{
        TActionValue(String()), TActionValue(String()), TActionValue(true),
        TActionValue(true),     TActionValue(0),        TActionValue(false)};
    return defaults[Index(property)];
}

const TActionValue& TAction::Value(TActionProperty property) const {
    return values_[Index(property)];
}

void TAction::SetValue(TActionProperty property, const TActionValue& value) {
    TActionValue& slot = values_[Index(property)];
    if (value.index() != slot.index())
        throw EInvalidArgument(u"Wrong kind of value for an action property");
    if (slot == value)
        return;
    const TActionValue old = slot;
    // The links compare their control with the old value, so the action changes afterwards.
    const std::vector<TActionLink*> clients = Clients();
    for (TActionLink* link : clients)
        link->Changing(property, old, value);
    slot = value;
}

void TAction::SetChecked(bool on) {
    if (on == Checked())
        return;
    if (on && GroupIndex() > 0 && Owner() != nullptr) {
        for (TComponent* other : Owner()->ComponentList()) {
            auto* action = dynamic_cast<TAction*>(other);
            if (action != nullptr && action != this && action->GroupIndex() == GroupIndex())
                action->SetValue(TActionProperty::apChecked, false);
        }
    }
    SetValue(TActionProperty::apChecked, on);
}

bool TAction::Execute() {
    Update();
    return Enabled() && TBasicAction::Execute();
}

// --- TActionLink ---------------------------------------------------------------------------

TActionLink::~TActionLink() {
    Detach();
}

void TActionLink::Detach() {
    if (action_ != nullptr)
        std::erase(action_->clients_, this);
    action_ = nullptr;
}

void TActionLink::Link(TActionProperty property, TGetter get, TSetter set) {
    linked_[Index(property)] = {std::move(get), std::move(set)};
}

bool TActionLink::IsLinked(TActionProperty property) const {
    return static_cast<bool>(linked_[Index(property)].set);
}

void TActionLink::SetAction(TAction* action) {
    if (action == action_)
        return;
    Detach();
    if (action == nullptr)
        return;
    action_ = action;
    action->clients_.push_back(this);
    const bool onlyDefaults = action->HasState(csLoading);
    for (std::size_t i = 0; i < kActionProperties; ++i) {
        const auto property = static_cast<TActionProperty>(i);
        const TLinked& linked = linked_[i];
        if (!linked.set)
            continue;
        if (!onlyDefaults || linked.get() == TAction::DefaultValue(property))
            linked.set(action->Value(property));
    }
}

void TActionLink::Changing(TActionProperty property, const TActionValue& from,
                           const TActionValue& to) {
    const TLinked& linked = linked_[Index(property)];
    if (linked.set && linked.get() == from)
        linked.set(to);
}

bool TActionLink::Execute() {
    return action_ != nullptr && action_->Execute();
}

bool TActionLink::Update() {
    return action_ != nullptr && action_->Update();
}

}  // namespace kw
