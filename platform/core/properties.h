#pragma once

#include <any>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <type_traits>
#include <variant>
#include <vector>

#include "platform/core/component.h"
#include "platform/core/exception.h"
#include "platform/core/types.h"

namespace kw {

// Published properties: what the form stream writes and reads for each class.
enum class TPropKind {
    pkInteger,    // 32-bit integer
    pkInt64,      // 64-bit integer
    pkBoolean,    //
    pkString,     //
    pkEnum,       // stored as the identifier of its value
    pkSet,        // set of enumeration values: bit i for ordinal i, stored as their identifiers
    pkFloat,      // double
    pkEvent,      // std::function member, stored by the name of a registered handler
    pkObject,     // owned TPersistent whose properties are stored as "Name.Sub"
    pkComponent,  // another component of the same root, stored by name
};

// A property value in neutral form: integers and enumeration ordinals as int64, events as the
// handler name (empty: none), component references as the component, sub-objects as nothing.
using TPropValue = std::variant<std::monostate, std::int64_t, bool, double, String, TComponent*>;

struct TPropInfo {
    String name;
    TPropKind kind = TPropKind::pkInteger;
    const TClass* owner = nullptr;  // the class that registered it
    std::vector<String> enumNames;  // pkEnum, pkSet: the identifier of each ordinal
    std::function<TPropValue(const TObject&)> get;
    std::function<void(TObject&, const TPropValue&)> set;
    std::function<TPersistent*(TObject&)> subObject;  // pkObject
    // None: the value is always stored (unless `stored` says otherwise).
    std::optional<TPropValue> defaultValue;
    // When set and false, the value is never stored.
    std::function<bool(const TObject&)> stored;
};
using TPropInfoPtr = std::shared_ptr<const TPropInfo>;

// Adds a property to a class; one with the same name (case-insensitive) in that class is
// replaced, and one in a parent class is overridden in place.
TPropInfo& RegisterProperty(const TClass& cls, TPropInfo info);
using TPropList = std::vector<TPropInfoPtr>;
// All properties of the class, inherited ones first. The list is shared, not copied: streaming
// asks for it once per object, and a registration made meanwhile leaves it as it was.
std::shared_ptr<const TPropList> GetPropList(const TClass& cls);
TPropInfoPtr FindProperty(const TClass& cls, StringView name);
// Forgets every registration except the built-in ones of TComponent ("Name", "Tag").
void ResetPropertyRegistry();

// --- Event handlers ------------------------------------------------------------------------
// Handlers are registered by name with their exact signature; a handler can only be assigned
// to an event whose std::function type is the same.
void RegisterEventHandlerAny(const String& name, std::any handler);
template <class Sig>
void RegisterEventHandler(const String& name, std::function<Sig> handler) {
    RegisterEventHandlerAny(name, std::any(std::move(handler)));
}
bool IsEventHandlerRegistered(StringView name);
// Assigns the named handler to the event property and records the name; an empty name clears
// the event. Raises EReadError when the handler is unknown or its signature differs.
void SetEventHandler(TObject& object, StringView property, StringView handlerName);
// The recorded handler name, or empty when the event was not assigned by name.
String EventHandlerName(const TObject& object, StringView property);
// Forgets the handlers and every recorded name.
void ResetEventHandlers();

namespace detail {
using TEventAssign = std::function<bool(TObject&, const std::any* handler)>;
using TEventIsSet = std::function<bool(const TObject&)>;
TPropInfo MakeEventProperty(String name, TEventAssign assign, TEventIsSet isSet);

template <class V>
TPropValue ToPropValue(const V& value) {
    if constexpr (std::is_same_v<V, bool>) {
        return value;
    } else if constexpr (std::is_integral_v<V> || std::is_enum_v<V>) {
        return static_cast<std::int64_t>(value);
    } else if constexpr (std::is_floating_point_v<V>) {
        return static_cast<double>(value);
    } else if constexpr (std::is_pointer_v<V>) {
        return static_cast<TComponent*>(value);
    } else {
        return String(value);
    }
}

template <class V>
V FromPropValue(const TPropValue& value) {
    if constexpr (std::is_same_v<V, bool>) {
        return std::get<bool>(value);
    } else if constexpr (std::is_integral_v<V> || std::is_enum_v<V>) {
        return static_cast<V>(std::get<std::int64_t>(value));
    } else if constexpr (std::is_floating_point_v<V>) {
        return static_cast<V>(std::get<double>(value));
    } else if constexpr (std::is_pointer_v<V>) {
        TComponent* component = std::get<TComponent*>(value);
        auto* typed = dynamic_cast<V>(component);
        if (component != nullptr && typed == nullptr)
            throw EReadError(component->Name() + u" is a " + component->ClassName() +
                             u", which this property cannot refer to");
        return typed;
    } else {
        return std::get<String>(value);
    }
}
}  // namespace detail

// Marks a property registered without a default value: it is always stored.
struct TNoDefault {};

// Registers the published properties of T, one call per property:
//   Properties<TMyButton>()
//       .Integer(u"Width", &TMyButton::Width, &TMyButton::SetWidth, 64)
//       .Boolean(u"Flat", &TMyButton::Flat, &TMyButton::SetFlat, false)
//       .StoredWhen([](const TMyButton& b) { return !b.ParentFlat(); })
//       .Event(u"OnClick", &TMyButton::OnClick);
// Getters are invocable on const T&; setters are invocable on (T&, value) or are data members.
template <class T>
class TPropertyBuilder {
public:
    template <class Get, class Set, class D = TNoDefault>
    TPropertyBuilder& Integer(String name, Get get, Set set, D def = {}) {
        return Add(TPropKind::pkInteger, std::move(name), get, set, def);
    }
    template <class Get, class Set, class D = TNoDefault>
    TPropertyBuilder& Int64(String name, Get get, Set set, D def = {}) {
        return Add(TPropKind::pkInt64, std::move(name), get, set, def);
    }
    template <class Get, class Set, class D = TNoDefault>
    TPropertyBuilder& Boolean(String name, Get get, Set set, D def = {}) {
        return Add(TPropKind::pkBoolean, std::move(name), get, set, def);
    }
    template <class Get, class Set, class D = TNoDefault>
    TPropertyBuilder& Text(String name, Get get, Set set, D def = {}) {
        return Add(TPropKind::pkString, std::move(name), get, set, def);
    }
    template <class Get, class Set, class D = TNoDefault>
    TPropertyBuilder& Float(String name, Get get, Set set, D def = {}) {
        return Add(TPropKind::pkFloat, std::move(name), get, set, def);
    }
    // `names[i]` is the identifier stored for ordinal i.
    template <class Get, class Set, class D = TNoDefault>
    TPropertyBuilder& Enum(String name, Get get, Set set, std::vector<String> names, D def = {}) {
        Add(TPropKind::pkEnum, std::move(name), get, set, def);
        last_->enumNames = std::move(names);
        return *this;
    }
    // A set of enumeration values held as a bit mask (bit i for ordinal i); `names[i]` is the
    // identifier stored for ordinal i.
    template <class Get, class Set, class D = TNoDefault>
    TPropertyBuilder& EnumSet(String name, Get get, Set set, std::vector<String> names,
                              D def = {}) {
        Add(TPropKind::pkSet, std::move(name), get, set, def);
        last_->enumNames = std::move(names);
        return *this;
    }
    // A reference to another component; stored when set (default none).
    template <class Get, class Set>
    TPropertyBuilder& Component(String name, Get get, Set set) {
        return Add(TPropKind::pkComponent, std::move(name), get, set,
                   static_cast<TComponent*>(nullptr));
    }
    // An owned sub-object; `get` returns a pointer or a reference to it.
    template <class Get>
    TPropertyBuilder& Object(String name, Get get) {
        TPropInfo info;
        info.name = std::move(name);
        info.kind = TPropKind::pkObject;
        info.subObject = [get](TObject& object) -> TPersistent* {
            decltype(auto) sub = std::invoke(get, static_cast<T&>(object));
            if constexpr (std::is_pointer_v<std::remove_cvref_t<decltype(sub)>>) {
                return sub;
            } else {
                return &sub;
            }
        };
        return Register(std::move(info));
    }
    // An event member of type std::function<Sig>.
    template <class Sig>
    TPropertyBuilder& Event(String name, std::function<Sig> T::*member) {
        using Fn = std::function<Sig>;
        auto assign = [member](TObject& object, const std::any* handler) {
            Fn& slot = static_cast<T&>(object).*member;
            if (handler == nullptr) {
                slot = nullptr;
                return true;
            }
            const Fn* fn = std::any_cast<Fn>(handler);
            if (fn == nullptr)
                return false;
            slot = *fn;
            return true;
        };
        auto isSet = [member](const TObject& object) {
            return static_cast<bool>(static_cast<const T&>(object).*member);
        };
        return Register(detail::MakeEventProperty(std::move(name), assign, isSet));
    }
    // Applies to the property registered last.
    TPropertyBuilder& StoredWhen(std::function<bool(const T&)> stored) {
        last_->stored = [stored = std::move(stored)](const TObject& object) {
            return stored(static_cast<const T&>(object));
        };
        return *this;
    }

private:
    template <class Get, class Set, class D>
    TPropertyBuilder& Add(TPropKind kind, String name, Get get, Set set, D def) {
        using V = std::remove_cvref_t<std::invoke_result_t<Get, const T&>>;
        TPropInfo info;
        info.name = std::move(name);
        info.kind = kind;
        info.get = [get](const TObject& object) {
            return detail::ToPropValue<V>(std::invoke(get, static_cast<const T&>(object)));
        };
        info.set = [set](TObject& object, const TPropValue& value) {
            T& target = static_cast<T&>(object);
            if constexpr (std::is_member_object_pointer_v<Set>) {
                target.*set = detail::FromPropValue<V>(value);
            } else {
                std::invoke(set, target, detail::FromPropValue<V>(value));
            }
        };
        if constexpr (!std::is_same_v<D, TNoDefault>)
            info.defaultValue = detail::ToPropValue<V>(static_cast<V>(def));
        return Register(std::move(info));
    }

    TPropertyBuilder& Register(TPropInfo info) {
        last_ = &RegisterProperty(T::StaticClass(), std::move(info));
        return *this;
    }

    TPropInfo* last_ = nullptr;
};

template <class T>
TPropertyBuilder<T> Properties() {
    return TPropertyBuilder<T>();
}

}  // namespace kw
