#include "platform/core/object.h"

#include <algorithm>
#include <mutex>

#include "platform/core/component.h"
#include "platform/core/exception.h"
#include "platform/core/no_destructor.h"
#include "platform/text/strings.h"

namespace kw {

const TClass& TObject::StaticClass() {
    static const TClass cls(u"TObject", nullptr, detail::FactoryFor<TObject>());
    return cls;
}

bool TClass::InheritsFrom(const TClass& other) const {
    for (const TClass* c = this; c != nullptr; c = c->parent_) {
        if (c == &other)
            return true;
    }
    return false;
}

std::unique_ptr<TObject> TClass::CreateInstance(TComponent* owner) const {
    if (factory_ == nullptr) {
        throw EInvalidOperation(u"Cannot create an instance of abstract class " + ClassName());
    }
    return factory_(owner);
}

TComponent& TClass::CreateComponent(TComponent& owner) const {
    if (!InheritsFrom(TComponent::StaticClass())) {
        throw EInvalidOperation(ClassName() + u" is not a component class");
    }
    std::unique_ptr<TObject> object = CreateInstance(&owner);
    // The constructor inserted the component into its owner, which frees it from now on.
    return static_cast<TComponent&>(*object.release());
}

namespace {

struct ClassRegistry {
    std::mutex mutex;
    std::vector<const TClass*> classes;
};

ClassRegistry& Registry() {
    static TNoDestructor<ClassRegistry> registry;
    return *registry;
}

}  // namespace

void RegisterClass(const TClass& cls) {
    auto& reg = Registry();
    std::lock_guard lock(reg.mutex);
    auto same = [&](const TClass* c) { return SameText(c->ClassName(), cls.ClassName()); };
    auto it = std::find_if(reg.classes.begin(), reg.classes.end(), same);
    if (it == reg.classes.end()) {
        reg.classes.push_back(&cls);
    } else if (*it != &cls) {
        throw EFilerError(u"A class named " + cls.ClassName() + u" already exists");
    }
}

void UnRegisterClass(const TClass& cls) {
    auto& reg = Registry();
    std::lock_guard lock(reg.mutex);
    std::erase(reg.classes, &cls);
}

const TClass* GetClass(StringView name) {
    auto& reg = Registry();
    std::lock_guard lock(reg.mutex);
    for (const TClass* c : reg.classes) {
        if (SameText(c->ClassName(), name))
            return c;
    }
    return nullptr;
}

const TClass& FindClass(StringView name) {
    const TClass* cls = GetClass(name);
    if (cls == nullptr)
        throw EClassNotFound(u"Class " + String(name) + u" not found");
    return *cls;
}

std::vector<const TClass*> RegisteredClasses() {
    auto& reg = Registry();
    std::lock_guard lock(reg.mutex);
    return reg.classes;
}

}  // namespace kw
