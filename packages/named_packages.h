#pragma once

#include <algorithm>
#include <vector>

#include "framework/pkg_info.h"
#include "platform/core/component.h"
#include "platform/core/properties.h"
#include "platform/text/string_list.h"
#include "platform/text/strings.h"
#include "platform/ui/form.h"

namespace kw {

// Process-wide lists of packages that are found by name. Of several packages with one name,
// the first in the list is the active one.

inline bool KwOwnedByForm(const TComponent& component) {
    return dynamic_cast<const TCustomForm*>(component.Owner()) != nullptr;
}

// True when the component's class or one of its ancestors has this name; lets packages
// recognise host classes (data modules, display packages) they cannot include.
inline bool KwInheritsFromNamed(const TComponent* component, StringView className) {
    if (component == nullptr)
        return false;
    for (const TClass* cls = &component->ClassType(); cls != nullptr; cls = cls->ClassParent()) {
        if (cls->ClassName() == className)
            return true;
    }
    return false;
}

// The first live package called `name` (without regard to case), or none.
template <class T>
T* KwFirstNamed(const std::vector<T*>& list, StringView name) {
    for (T* package : list) {
        if (!package->HasState(csDestroying) && AnsiSameText(package->PkgName(), name))
            return package;
    }
    return nullptr;
}

template <class T>
void KwMoveInList(std::vector<T*>& list, const T* package, bool toFront) {
    const auto self = std::find(list.begin(), list.end(), package);
    if (self == list.end())
        return;
    if (toFront) {
        std::rotate(list.begin(), self, self + 1);
    } else {
        std::rotate(self, self + 1, list.end());
    }
}

// The active package called `name`, moved to the front so that the next search finds it first.
template <class T>
T* KwFindNamedPackage(std::vector<T*>& list, StringView name) {
    if (Trim(name).empty())
        return nullptr;
    T* package = KwFirstNamed(list, name);
    if (package != nullptr)
        KwMoveInList(list, package, true);
    return package;
}

// One entry per distinct trimmed, non-empty name, with the active package of that name.
template <class T>
void KwListActivePackages(const std::vector<T*>& list, TStringList& names) {
    names.Clear();
    for (T* package : list) {
        const String name = Trim(package->PkgName());
        bool listed = false;
        for (int i = 0; i < names.Count() && !listed; ++i)
            listed = AnsiSameText(names.Strings(i), name);
        if (!name.empty() && !listed)
            names.AddObject(name, package);
    }
}

// Every package that stands on a form, duplicates included.
template <class T>
void KwListFormPackages(const std::vector<T*>& list, TStringList& names) {
    names.Clear();
    for (T* package : list) {
        if (KwOwnedByForm(*package))
            names.AddObject(Trim(package->PkgName()), package);
    }
}

// The published properties of a package found by name: PkgName, DefaultExt and OnChange.
// Registered on first use, and again if a test emptied the registry.
template <class Package>
void KwRegisterNamedPackageProperties(const String& defaultExt) {
    if (FindProperty(Package::StaticClass(), u"PkgName") != nullptr)
        return;
    Properties<Package>()
        .Text(u"PkgName", &Package::PkgName, &Package::SetPkgName, String())
        .Text(u"DefaultExt", &Package::DefaultExt, &Package::SetDefaultExtension, defaultExt)
        .Event(u"OnChange", static_cast<TKwPkgNotify Package::*>(&Package::OnChange));
}

}  // namespace kw
