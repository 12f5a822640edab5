#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/core/persistent.h"

namespace kw {

enum class TOperation { opInsert, opRemove };

// Bits of TComponent::ComponentState.
enum TComponentStateFlag : std::uint32_t {
    csLoading = 1u << 0,
    csReading = 1u << 1,
    csWriting = 1u << 2,
    csDestroying = 1u << 3,
    csDesigning = 1u << 4,
    csAncestor = 1u << 5,
    csUpdating = 1u << 6,
    csFixups = 1u << 7,
    csFreeNotification = 1u << 8,
    csInline = 1u << 9,
    csDesignInstance = 1u << 10,
};
using TComponentState = std::uint32_t;

// A named object that may own other components and frees them when it is destroyed.
// Components that have an owner are created with it and must not be held by a unique_ptr;
// components without one are held by whoever created them.
class TComponent : public TPersistent {
    KW_CLASS(TComponent)
public:
    explicit TComponent(TComponent* owner = nullptr);
    ~TComponent() override;

    TComponent* Owner() const { return owner_; }
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const;
    const std::vector<TComponent*>& ComponentList() const { return components_; }
    int ComponentIndex() const;
    TComponent* FindComponent(StringView name) const;

    void InsertComponent(TComponent& component);
    void RemoveComponent(TComponent& component);
    void DestroyComponents();

    const String& Name() const { return name_; }
    // Raises EComponentError for a name that is not an identifier or that another component of
    // the same owner already has (compared case-insensitively).
    virtual void SetName(const String& name);
    std::intptr_t Tag() const { return tag_; }
    void SetTag(std::intptr_t tag) { tag_ = tag; }

    TComponentState ComponentState() const { return state_; }
    bool HasState(TComponentStateFlag flag) const { return (state_ & flag) != 0; }
    void SetDesigning(bool designing, bool setChildren = true);
    // Used by the form reader and writer; ordinary code does not change the state.
    void IncludeState(TComponentState flags) { state_ |= flags; }
    void ExcludeState(TComponentState flags) { state_ &= ~flags; }

    // Called once the whole form this component belongs to has been read.
    virtual void Loaded();
    virtual void Notification(TComponent* component, TOperation operation);
    // Asks this component to tell `component` when it is destroyed, and the other way round.
    void FreeNotification(TComponent& component);
    void RemoveFreeNotification(TComponent& component);

    // The component's parent in the stream tree (a control's parent window, say).
    virtual bool HasParent() const { return false; }
    virtual TComponent* GetParentComponent() const { return nullptr; }
    virtual void SetParentComponent(TComponent* parent) {}
    // The components written as this component's children when `root` is streamed.
    virtual void GetChildren(const std::function<void(TComponent&)>& proc, TComponent* root);

    TPersistent* GetOwner() const override { return owner_; }
    String GetNamePath() const override { return name_; }

    // Marks the component and its owned components as being destroyed.
    void Destroying();

protected:
    // The hook through which a validated name change takes effect.
    virtual void ChangeName(const String& name) { name_ = name; }

private:
    void Insert(TComponent& component);
    void Remove(TComponent& component);
    void NotifyAll(TComponent& component, TOperation operation);
    void RemoveNotification(TComponent& component);

    TComponent* owner_ = nullptr;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> freeNotifies_;
    String name_;
    std::intptr_t tag_ = 0;
    TComponentState state_ = 0;
};

// Creates a component owned by `owner`, which frees it; returns a reference to it.
template <class T, class... Args>
T& Create(TComponent& owner, Args&&... args) {
    auto object = std::make_unique<T>(&owner, std::forward<Args>(args)...);
    return *object.release();  // the owner holds it now
}

bool IsValidIdent(StringView ident);

}  // namespace kw
