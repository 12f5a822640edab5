#pragma once

#include <memory>
#include <type_traits>
#include <vector>

#include "platform/core/types.h"

namespace kw {

class TObject;
class TComponent;

// Run-time class information: the name, the parent class, and a factory so that a class
// reference can create an instance (the form reader creates components by class name).
class TClass {
public:
    using Factory = std::unique_ptr<TObject> (*)(TComponent* owner);

    TClass(const Char* name, const TClass* parent, Factory factory)
        : name_(name), parent_(parent), factory_(factory) {}
    TClass(const TClass&) = delete;
    TClass& operator=(const TClass&) = delete;

    String ClassName() const { return name_; }
    const TClass* ClassParent() const { return parent_; }
    bool InheritsFrom(const TClass& other) const;
    bool CanCreate() const { return factory_ != nullptr; }

    // A new instance; a component created with an owner is also held by that owner, so the
    // caller must release the pointer rather than destroy it (see CreateComponent).
    std::unique_ptr<TObject> CreateInstance(TComponent* owner = nullptr) const;
    // A component owned by `owner`, which frees it. Raises EInvalidOperation for other classes.
    TComponent& CreateComponent(TComponent& owner) const;

private:
    const Char* name_;
    const TClass* parent_;
    Factory factory_;
};

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;

    static const TClass& StaticClass();
    virtual const TClass& ClassType() const { return StaticClass(); }
    String ClassName() const { return ClassType().ClassName(); }
    bool InheritsFrom(const TClass& cls) const { return ClassType().InheritsFrom(cls); }
    template <class T>
    bool Is() const {
        return InheritsFrom(T::StaticClass());
    }
};

namespace detail {
template <class T>
std::unique_ptr<TObject> MakeInstance(TComponent* owner) {
    if constexpr (std::is_abstract_v<T>) {
        return nullptr;
    } else if constexpr (std::is_constructible_v<T, TComponent*>) {
        return std::make_unique<T>(owner);
    } else if constexpr (std::is_default_constructible_v<T>) {
        return std::make_unique<T>();
    } else {
        return nullptr;
    }
}
template <class T>
constexpr TClass::Factory FactoryFor() {
    if constexpr (std::is_abstract_v<T> || (!std::is_constructible_v<T, TComponent*> &&
                                            !std::is_default_constructible_v<T>)) {
        return nullptr;
    } else {
        return &MakeInstance<T>;
    }
}
}  // namespace detail

// Inside a class body: gives the class its run-time class information.
#define KW_CLASS(Self)                               \
public:                                              \
    static const ::kw::TClass& StaticClass();        \
    const ::kw::TClass& ClassType() const override { \
        return StaticClass();                        \
    }                                                \
                                                     \
private:

// In one source file: defines that information, naming the parent class.
#define KW_IMPLEMENT_CLASS(Self, Parent)                                 \
    const ::kw::TClass& Self::StaticClass() {                            \
        static const ::kw::TClass cls(u## #Self, &Parent::StaticClass(), \
                                      ::kw::detail::FactoryFor<Self>()); \
        return cls;                                                      \
    }

// The process-wide registry of classes by name (names compare case-insensitively, ASCII).
void RegisterClass(const TClass& cls);
void UnRegisterClass(const TClass& cls);
const TClass* GetClass(StringView name);
// As GetClass, but raises EClassNotFound "Class %s not found".
const TClass& FindClass(StringView name);
std::vector<const TClass*> RegisteredClasses();

}  // namespace kw
