#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <type_traits>
#include <vector>

#include "display/memory_image.h"
#include "display/set_references.h"
#include "drawing/enum_names.h"
#include "drawing/enum_set.h"
#include "packages/memory_refs.h"
#include "platform/core/persistent.h"
#include "platform/core/properties.h"

namespace kw {

// Shared behaviour of the style objects: a change event that setters fire only for a real
// change, owned sub-objects whose changes reach the owner, and an Assign that fires once for
// the whole copy. Each class declares its published properties once, in a property table
// (see KW_STYLE_DECLARE); the table yields the members, accessors, registration with the form
// stream, Assign and equality.
class TKwStyleObject : public TPersistent {
    KW_CLASS(TKwStyleObject)
public:
    using TNotify = std::function<void(TKwStyleObject& sender)>;

    explicit TKwStyleObject(TPersistent* owner = nullptr);

    TNotify OnChange;

    // Calls OnChange, or only marks the object changed while an Assign is running.
    void Change();
    // What owned sets, references and sub-objects call when they change.
    void NotifyChange() { Change(); }

    // Copies an object of this class (or of a common style ancestor) property by property and
    // fires OnChange once when anything changed; other classes raise the assignment error.
    void Assign(const TPersistent* source) override;
    // The same class with every property equal, sub-objects and set names included.
    bool Equals(const TKwStyleObject& other) const;
    TPersistent* GetOwner() const override { return owner_; }

protected:
    // Stores `value` when it differs and then fires the change.
    template <class V>
    void Update(V& field, const V& value) {
        if (field == value)
            return;
        field = value;
        Change();
    }
    // Generated per class: copy the properties this class declares when `source` is one.
    // True when some level of the class copied something.
    virtual bool AssignFrom(const TKwStyleObject& source) { return false; }
    // Generated per class: the properties this class declares are equal (same class).
    virtual bool SameAs(const TKwStyleObject& other) const { return true; }

private:
    TPersistent* owner_;
    bool holding_ = false;
    bool heldChange_ = false;
};

// --- Helpers the property tables expand to ------------------------------------------------------

// Creates an owned sub-object and connects its change to the owner. A set bound to a library
// default gets that default as its link and the name "<Default>"; `nullptr` binds nothing.
template <class T, class Binding>
std::unique_ptr<T> KwMakeOwned(TKwStyleObject& owner, Binding binding) {
    std::unique_ptr<T> sub;
    if constexpr (std::is_base_of_v<TKwStyleObject, T>) {
        sub = std::make_unique<T>(&owner);
    } else if constexpr (std::is_same_v<Binding, std::nullptr_t>) {
        sub = std::make_unique<T>();
    } else {
        sub = std::make_unique<T>(&binding(), true);
    }
    sub->OnChange = [&owner](auto&) { owner.NotifyChange(); };
    return sub;
}

// Binds a set to a library default, as its constructor would have.
void KwBindDefault(TKwSetColor& set, TKwSetColor& library);
void KwBindDefault(TKwSetBackGround& set, TKwSetBackGround& library);
void KwBindDefault(TKwSetFont& set, TKwSetFont& library);

// Equality of owned sub-objects: sets by name, references by package and id.
bool KwSameStyleValue(const TKwSetReference& a, const TKwSetReference& b);
bool KwSameStyleValue(const TKwMemoryImage& a, const TKwMemoryImage& b);
bool KwSameStyleValue(const TKwMemoryReference& a, const TKwMemoryReference& b);
inline bool KwSameStyleValue(const TKwStyleObject& a, const TKwStyleObject& b) {
    return a.Equals(b);
}

// Registers a plain property with the form stream, choosing the kind from the value type.
template <class V, class T, class Get, class Set, class D>
void KwRegisterStyleValue(TPropertyBuilder<T>& builder, String name, Get get, Set set, D def) {
    if constexpr (std::is_same_v<V, bool>) {
        builder.Boolean(std::move(name), get, set, def);
    } else if constexpr (kKwIsEnumSet<V>) {
        // Sets travel as their bit masks.
        auto bits = [get](const T& s) { return static_cast<std::int64_t>(get(s).Bits()); };
        auto assign = [set](T& s, std::int64_t v) {
            set(s, V::FromBits(static_cast<std::uint64_t>(v)));
        };
        if constexpr (std::is_same_v<D, TNoDefault>) {
            builder.EnumSet(std::move(name), bits, assign, KwEnumIdents(typename V::Element{}),
                            def);
        } else {
            builder.EnumSet(std::move(name), bits, assign, KwEnumIdents(typename V::Element{}),
                            static_cast<std::int64_t>(def.Bits()));
        }
    } else if constexpr (std::is_enum_v<V>) {
        builder.Enum(std::move(name), get, set, KwEnumIdents(V{}), def);
    } else if constexpr (std::is_integral_v<V>) {
        builder.Integer(std::move(name), get, set, def);
    } else {
        builder.Text(std::move(name), get, set, def);
    }
}

// Every style class with the routine that registers its properties, in declaration order.
struct TKwStyleClass {
    const TClass* cls;
    void (*registerProperties)();
};
const std::vector<TKwStyleClass>& KwStyleClasses();
// Registers the properties of every style class unless they are registered (again after a
// reset of the property registry).
void KwEnsureStyleProperties();

// --- Property tables -------------------------------------------------------------------------
// A table is a macro taking P and listing P(kind, type, Name, default) once per property:
//   Value    a plain value with its default (stored when it differs from it);
//   Always   a plain value with its initial value, always stored;
//   Owned    a set, memory reference or style object created by the constructor; for sets the
//            default is the library default accessor it is bound to (KwSetColText) or nullptr;
//   Override a property inherited from the parent class with another default;
//   Bind     binds a set of an owned sub-object (a path such as SetBGs().SetBGUp) to the
//            library default its owner wants there;
//   Event    publishes the change event (type TNotify, name OnChange) for the form stream.
// Value properties get `Name()` and `SetName(value)`; owned ones `Name()` returning the object
// and `SetName(const type&)` copying into it.

#define KW_STYLE_ACCESSOR(kind, type, name, def) KW_STYLE_ACCESSOR_##kind(type, name)
#define KW_STYLE_ACCESSOR_Value(type, name) \
    type name() const {                     \
        return name##_;                     \
    }                                       \
    void Set##name(const type& value) {     \
        Update(name##_, value);             \
    }
#define KW_STYLE_ACCESSOR_Always KW_STYLE_ACCESSOR_Value
#define KW_STYLE_ACCESSOR_Owned(type, name) \
    type& name() const {                    \
        return *name##_;                    \
    }                                       \
    void Set##name(const type& value) {     \
        name##_->Assign(&value);            \
    }
#define KW_STYLE_ACCESSOR_Override(type, name)
#define KW_STYLE_ACCESSOR_Bind(type, name)
#define KW_STYLE_ACCESSOR_Event(type, name)

#define KW_STYLE_FIELD(kind, type, name, def) KW_STYLE_FIELD_##kind(type, name, def)
#define KW_STYLE_FIELD_Value(type, name, def) type name##_ = def;
#define KW_STYLE_FIELD_Always KW_STYLE_FIELD_Value
#define KW_STYLE_FIELD_Owned(type, name, def) std::unique_ptr<type> name##_;
#define KW_STYLE_FIELD_Override(type, name, def)
#define KW_STYLE_FIELD_Bind(type, name, def)
#define KW_STYLE_FIELD_Event(type, name, def)

#define KW_STYLE_INIT(kind, type, name, def) KW_STYLE_INIT_##kind(type, name, def)
#define KW_STYLE_INIT_Value(type, name, def)
#define KW_STYLE_INIT_Always(type, name, def)
#define KW_STYLE_INIT_Owned(type, name, def) name##_ = ::kw::KwMakeOwned<type>(*this, def);
#define KW_STYLE_INIT_Override(type, name, def) name##_ = def;
#define KW_STYLE_INIT_Bind(type, path, def) ::kw::KwBindDefault(path(), def());
#define KW_STYLE_INIT_Event(type, name, def)

#define KW_STYLE_ASSIGN(kind, type, name, def) KW_STYLE_ASSIGN_##kind(type, name)
#define KW_STYLE_ASSIGN_Value(type, name) Set##name(from->name##_);
#define KW_STYLE_ASSIGN_Always KW_STYLE_ASSIGN_Value
#define KW_STYLE_ASSIGN_Owned(type, name) name##_->Assign(from->name##_.get());
#define KW_STYLE_ASSIGN_Override(type, name)
#define KW_STYLE_ASSIGN_Bind(type, name)
#define KW_STYLE_ASSIGN_Event(type, name)

#define KW_STYLE_SAME(kind, type, name, def) KW_STYLE_SAME_##kind(type, name)
#define KW_STYLE_SAME_Value(type, name) &&name##_ == other.name##_
#define KW_STYLE_SAME_Always KW_STYLE_SAME_Value
#define KW_STYLE_SAME_Owned(type, name) &&::kw::KwSameStyleValue(*name##_, *other.name##_)
#define KW_STYLE_SAME_Override(type, name)
#define KW_STYLE_SAME_Bind(type, name)
#define KW_STYLE_SAME_Event(type, name)

#define KW_STYLE_REGISTER(kind, type, name, def) KW_STYLE_REGISTER_##kind(type, name, def)
#define KW_STYLE_REGISTER_Value(type, name, def)                    \
    ::kw::KwRegisterStyleValue<type>(                               \
        builder, u## #name, [](const Self& s) { return s.name(); }, \
        [](Self& s, const type& v) { s.Set##name(v); }, static_cast<type>(def));
#define KW_STYLE_REGISTER_Always(type, name, def)                   \
    ::kw::KwRegisterStyleValue<type>(                               \
        builder, u## #name, [](const Self& s) { return s.name(); }, \
        [](Self& s, const type& v) { s.Set##name(v); }, ::kw::TNoDefault{});
#define KW_STYLE_REGISTER_Owned(type, name, def) \
    builder.Object(u## #name, [](Self& s) -> type& { return s.name(); });
#define KW_STYLE_REGISTER_Override KW_STYLE_REGISTER_Value
#define KW_STYLE_REGISTER_Bind(type, name, def)
#define KW_STYLE_REGISTER_Event(type, name, def) \
    builder.Event(u## #name, static_cast<type Self::*>(&Self::name));

// Inside the class body, after the opening brace.
#define KW_STYLE_DECLARE(Self, TABLE)                                    \
    KW_CLASS(Self)                                                       \
public:                                                                  \
    explicit Self(::kw::TPersistent* owner = nullptr);                   \
    ~Self() override;                                                    \
    TABLE(KW_STYLE_ACCESSOR)                                             \
    static void RegisterProperties();                                    \
                                                                         \
protected:                                                               \
    bool AssignFrom(const ::kw::TKwStyleObject& source) override;        \
    bool SameAs(const ::kw::TKwStyleObject& otherObject) const override; \
    TABLE(KW_STYLE_FIELD)                                                \
                                                                         \
private:

// In the class's source file.
#define KW_STYLE_IMPLEMENT(Class, Parent, TABLE)                                     \
    KW_IMPLEMENT_CLASS(Class, Parent)                                                \
    Class::Class(::kw::TPersistent* owner)                                           \
        : Parent(owner){TABLE(KW_STYLE_INIT)} Class::~Class() = default;             \
    bool Class::AssignFrom(const ::kw::TKwStyleObject& source) {                     \
        const bool inherited = Parent::AssignFrom(source);                           \
        const auto* from = dynamic_cast<const Class*>(&source);                      \
        if (from == nullptr)                                                         \
            return inherited;                                                        \
        TABLE(KW_STYLE_ASSIGN)                                                       \
        return true;                                                                 \
    }                                                                                \
    bool Class::SameAs(const ::kw::TKwStyleObject& otherObject) const {              \
        [[maybe_unused]] const auto& other = static_cast<const Class&>(otherObject); \
        return Parent::SameAs(otherObject) TABLE(KW_STYLE_SAME);                     \
    }                                                                                \
    void Class::RegisterProperties() {                                               \
        using Self = Class;                                                          \
        [[maybe_unused]] auto builder = ::kw::Properties<Self>();                    \
        TABLE(KW_STYLE_REGISTER)                                                     \
    }

// A table for classes that add no property of their own.
#define KW_STYLE_NO_PROPERTIES(P)

}  // namespace kw
