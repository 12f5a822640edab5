#include "platform/core/properties.h"

#include <algorithm>
#include <map>
#include <unordered_map>

#include "platform/core/no_destructor.h"
#include "platform/text/strings.h"

namespace kw {

namespace {

struct CaseInsensitiveLess {
    bool operator()(const String& a, const String& b) const { return CompareText(a, b) < 0; }
};

using HandlerNames = std::map<String, String, CaseInsensitiveLess>;  // property -> handler

// Drops the recorded handler names of a component when it is destroyed, so that a later
// object at the same address does not inherit them.
class EventNameWatcher : public TComponent {
public:
    std::function<void(const TObject*)> onRemove;
    void Notification(TComponent* component, TOperation operation) override {
        TComponent::Notification(component, operation);
        if (operation == TOperation::opRemove && component != nullptr && onRemove)
            onRemove(component);
    }
};

struct PropertyState {
    std::unordered_map<const TClass*, std::vector<std::shared_ptr<TPropInfo>>> classes;
    // The merged list of each class asked for, inherited properties first. Streaming asks once
    // per object written or read, and merging compares every name with every other.
    std::unordered_map<const TClass*, std::shared_ptr<const TPropList>> merged;
    std::map<String, std::any, CaseInsensitiveLess> handlers;
    std::unordered_map<const TObject*, HandlerNames> assigned;
    std::unique_ptr<EventNameWatcher> watcher;

    PropertyState() { ResetClasses(); }
    void ResetClasses();
    void ResetEvents();
};

PropertyState& State() {
    static TNoDestructor<PropertyState> state;
    return *state;
}

TPropInfo& AddProperty(PropertyState& state, const TClass& cls, TPropInfo info) {
    info.owner = &cls;
    state.merged.clear();
    auto& list = state.classes[&cls];
    auto same = [&](const auto& p) { return SameText(p->name, info.name); };
    auto it = std::find_if(list.begin(), list.end(), same);
    auto stored = std::make_shared<TPropInfo>(std::move(info));
    if (it != list.end()) {
        *it = stored;
    } else {
        list.push_back(stored);
    }
    return *stored;
}

void RegisterComponentProperties(PropertyState& state) {
    const TClass& cls = TComponent::StaticClass();
    TPropInfo name;
    name.name = u"Name";
    name.kind = TPropKind::pkString;
    name.get = [](const TObject& o) {
        return TPropValue(static_cast<const TComponent&>(o).Name());
    };
    name.set = [](TObject& o, const TPropValue& v) {
        static_cast<TComponent&>(o).SetName(std::get<String>(v));
    };
    // The form stream writes the name in each component's header.
    name.stored = [](const TObject&) { return false; };
    AddProperty(state, cls, std::move(name));

    TPropInfo tag;
    tag.name = u"Tag";
    tag.kind = TPropKind::pkInt64;
    tag.get = [](const TObject& o) {
        return TPropValue(static_cast<std::int64_t>(static_cast<const TComponent&>(o).Tag()));
    };
    tag.set = [](TObject& o, const TPropValue& v) {
        static_cast<TComponent&>(o).SetTag(static_cast<std::intptr_t>(std::get<std::int64_t>(v)));
    };
    tag.defaultValue = std::int64_t{0};
    AddProperty(state, cls, std::move(tag));
}

void PropertyState::ResetClasses() {
    classes.clear();
    merged.clear();
    RegisterComponentProperties(*this);
}

void PropertyState::ResetEvents() {
    handlers.clear();
    assigned.clear();
    watcher.reset();  // its destructor detaches it from every watched component
}

void ForgetHandlerNames(const TObject* object) {
    State().assigned.erase(object);
}

void WatchForDestruction(PropertyState& state, TObject& object) {
    auto* component = dynamic_cast<TComponent*>(&object);
    if (component == nullptr)
        return;
    if (!state.watcher) {
        state.watcher = std::make_unique<EventNameWatcher>();
        state.watcher->onRemove = ForgetHandlerNames;
    }
    component->FreeNotification(*state.watcher);
}

void RecordHandlerName(TObject& object, const String& property, const String& handler) {
    PropertyState& state = State();
    auto it = state.assigned.find(&object);
    if (handler.empty()) {
        if (it != state.assigned.end())
            it->second.erase(property);
        return;
    }
    if (it == state.assigned.end())
        WatchForDestruction(state, object);
    state.assigned[&object][property] = handler;
}

const std::any& FindHandler(const String& handler, const String& property) {
    PropertyState& state = State();
    auto it = state.handlers.find(handler);
    if (it == state.handlers.end())
        throw EReadError(u"Event handler " + handler + u" for " + property + u" is not registered");
    return it->second;
}

}  // namespace

TPropInfo& RegisterProperty(const TClass& cls, TPropInfo info) {
    return AddProperty(State(), cls, std::move(info));
}

namespace {

std::shared_ptr<const TPropList> MergedPropList(const PropertyState& state, const TClass& cls) {
    std::vector<const TClass*> chain;
    for (const TClass* c = &cls; c != nullptr; c = c->ClassParent())
        chain.push_back(c);
    TPropList result;
    for (auto c = chain.rbegin(); c != chain.rend(); ++c) {
        auto found = state.classes.find(*c);
        if (found == state.classes.end())
            continue;
        for (const auto& info : found->second) {
            auto same = [&](const TPropInfoPtr& p) { return SameText(p->name, info->name); };
            auto it = std::find_if(result.begin(), result.end(), same);
            if (it != result.end()) {
                *it = info;
            } else {
                result.push_back(info);
            }
        }
    }
    return std::make_shared<const TPropList>(std::move(result));
}

}  // namespace

std::shared_ptr<const TPropList> GetPropList(const TClass& cls) {
    PropertyState& state = State();
    auto cached = state.merged.find(&cls);
    if (cached == state.merged.end())
        cached = state.merged.emplace(&cls, MergedPropList(state, cls)).first;
    return cached->second;
}

TPropInfoPtr FindProperty(const TClass& cls, StringView name) {
    const PropertyState& state = State();
    for (const TClass* c = &cls; c != nullptr; c = c->ClassParent()) {
        auto found = state.classes.find(c);
        if (found == state.classes.end())
            continue;
        for (const auto& info : found->second) {
            if (SameText(info->name, name))
                return info;
        }
    }
    return nullptr;
}

void ResetPropertyRegistry() {
    State().ResetClasses();
}

void RegisterEventHandlerAny(const String& name, std::any handler) {
    if (!IsValidIdent(name))
        throw EInvalidArgument(u"'" + name + u"' is not a valid event handler name");
    State().handlers[name] = std::move(handler);
}

bool IsEventHandlerRegistered(StringView name) {
    return State().handlers.contains(String(name));
}

void SetEventHandler(TObject& object, StringView property, StringView handlerName) {
    TPropInfoPtr info = FindProperty(object.ClassType(), property);
    if (info == nullptr || info->kind != TPropKind::pkEvent)
        throw EReadError(object.ClassName() + u" has no event " + String(property));
    info->set(object, String(handlerName));
}

String EventHandlerName(const TObject& object, StringView property) {
    const PropertyState& state = State();
    auto it = state.assigned.find(&object);
    if (it == state.assigned.end())
        return {};
    auto name = it->second.find(String(property));
    return name == it->second.end() ? String() : name->second;
}

void ResetEventHandlers() {
    State().ResetEvents();
}

namespace detail {

TPropInfo MakeEventProperty(String name, TEventAssign assign, TEventIsSet isSet) {
    TPropInfo info;
    info.name = std::move(name);
    info.kind = TPropKind::pkEvent;
    info.defaultValue = String();
    info.get = [property = info.name, isSet](const TObject& object) {
        return TPropValue(isSet(object) ? EventHandlerName(object, property) : String());
    };
    info.set = [property = info.name, assign](TObject& object, const TPropValue& value) {
        const String& handler = std::get<String>(value);
        if (handler.empty()) {
            assign(object, nullptr);
        } else if (!assign(object, &FindHandler(handler, property))) {
            throw EReadError(u"Event handler " + handler + u" does not match the signature of " +
                             property);
        }
        RecordHandlerName(object, property, handler);
    };
    return info;
}

}  // namespace detail

}  // namespace kw
