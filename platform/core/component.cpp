#include "platform/core/component.h"

#include <algorithm>

#include "platform/core/exception.h"
#include "platform/text/strings.h"

namespace kw {

KW_IMPLEMENT_CLASS(TComponent, TPersistent)

bool IsValidIdent(StringView ident) {
    auto alpha = [](Char c) {
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_';
    };
    auto alnum = [&](Char c) { return alpha(c) || (c >= u'0' && c <= u'9'); };
    if (ident.empty() || !alpha(ident.front()))
        return false;
    return std::all_of(ident.begin() + 1, ident.end(), alnum);
}

TComponent::TComponent(TComponent* owner) {
    if (owner != nullptr)
        owner->InsertComponent(*this);
}

TComponent::~TComponent() {
    Destroying();
    // Tell everyone who asked that this component goes away, then forget them.
    while (!freeNotifies_.empty()) {
        TComponent* other = freeNotifies_.back();
        freeNotifies_.pop_back();
        std::erase(other->freeNotifies_, this);
        other->Notification(this, TOperation::opRemove);
    }
    DestroyComponents();
    if (owner_ != nullptr)
        owner_->RemoveComponent(*this);
}

TComponent* TComponent::Components(int index) const {
    if (index < 0 || index >= ComponentCount()) {
        throw EListError(u"List index out of bounds (" + IntToStr(index) + u")");
    }
    return components_[static_cast<size_t>(index)];
}

int TComponent::ComponentIndex() const {
    if (owner_ == nullptr)
        return -1;
    auto& list = owner_->components_;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

TComponent* TComponent::FindComponent(StringView name) const {
    if (name.empty())
        return nullptr;
    for (TComponent* c : components_) {
        if (SameText(c->name_, name))
            return c;
    }
    return nullptr;
}

void TComponent::InsertComponent(TComponent& component) {
    if (!component.name_.empty() && FindComponent(component.name_) != nullptr) {
        throw EComponentError(u"A component named " + component.name_ + u" already exists");
    }
    if (component.owner_ != nullptr)
        component.owner_->Remove(component);
    Insert(component);
    if (HasState(csDesigning))
        component.SetDesigning(true);
    NotifyAll(component, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent& component) {
    NotifyAll(component, TOperation::opRemove);
    Remove(component);
}

void TComponent::DestroyComponents() {
    // Owned components are freed last-created first; each one unlinks itself from this owner.
    while (!components_.empty()) {
        TComponent* child = components_.back();
        Remove(*child);
        delete child;  // NOLINT(cppcoreguidelines-owning-memory): the owner frees what it owns
    }
}

void TComponent::Insert(TComponent& component) {
    components_.push_back(&component);
    component.owner_ = this;
}

void TComponent::Remove(TComponent& component) {
    std::erase(components_, &component);
    component.owner_ = nullptr;
}

void TComponent::NotifyAll(TComponent& component, TOperation operation) {
    Notification(&component, operation);
    // Components are told in order, an inserted one about itself as well; one of them may
    // remove itself while being told.
    std::vector<TComponent*> snapshot = components_;
    for (TComponent* c : snapshot) {
        if (std::find(components_.begin(), components_.end(), c) != components_.end())
            c->Notification(&component, operation);
    }
}

void TComponent::SetName(const String& name) {
    if (name == name_)
        return;
    if (!name.empty() && !IsValidIdent(name)) {
        throw EComponentError(u"'" + name + u"' is not a valid component name");
    }
    if (owner_ != nullptr && !name.empty() && !SameText(name, name_) &&
        owner_->FindComponent(name) != nullptr) {
        throw EComponentError(u"A component named " + name + u" already exists");
    }
    ChangeName(name);
}

void TComponent::SetDesigning(bool designing, bool setChildren) {
    if (designing) {
        IncludeState(csDesigning);
    } else {
        ExcludeState(csDesigning);
    }
    if (setChildren) {
        for (TComponent* c : components_)
            c->SetDesigning(designing, true);
    }
}

void TComponent::Loaded() {
    ExcludeState(csLoading);
}

void TComponent::Notification(TComponent* component, TOperation operation) {
    if (operation == TOperation::opRemove && component != nullptr)
        RemoveFreeNotification(*component);
}

void TComponent::FreeNotification(TComponent& component) {
    if (&component == this)
        return;
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), &component) == freeNotifies_.end()) {
        freeNotifies_.push_back(&component);
        component.FreeNotification(*this);
    }
    IncludeState(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent& component) {
    RemoveNotification(component);
    component.RemoveNotification(*this);
}

void TComponent::RemoveNotification(TComponent& component) {
    std::erase(freeNotifies_, &component);
    if (freeNotifies_.empty())
        ExcludeState(csFreeNotification);
}

void TComponent::GetChildren(const std::function<void(TComponent&)>& proc, TComponent* root) {
    // A plain container streams the components it owns that have no parent of their own.
    if (root != this)
        return;
    for (TComponent* c : components_) {
        if (!c->HasParent())
            proc(*c);
    }
}

void TComponent::Destroying() {
    if (HasState(csDestroying))
        return;
    IncludeState(csDestroying);
    for (TComponent* c : components_)
        c->Destroying();
}

}  // namespace kw
