#pragma once

#include <functional>

#include "platform/core/types.h"

namespace kw {

class TFiler;

// What a package reference names: a package and an id (-1 nothing, -2 the default, 0..9999 an
// entry) and the default its control gives it. The rules for changing and storing these are
// the same for every kind of reference; each setter says whether the reference must drop its
// cached target and tell its owner.
struct TKwReferenceFields {
    String pkgName;
    int id = -1;
    String defaultPkgName;
    int defaultId = -1;
    bool isDefault = false;

    TKwReferenceFields(const String& defaultPkg, int defaultIdValue, bool useDefault);

    // A name differing only in letter case is stored without a change.
    bool SetPkgName(const String& name);
    bool SetId(int value);
    void SetDefault(const String& defaultPkg, int defaultIdValue);
    bool SetPkgId(const String& pkg, int value);

    // With an application object: a package and an id, or the default.
    bool Defined(bool hasApplication) const;
    // The package and id to resolve: the explicit ones when complete, else the default;
    // false when neither names anything.
    bool Target(bool hasApplication, String& pkg, int& targetId) const;
    // Same name without regard to case and same id.
    bool SameChoice(const TKwReferenceFields& other) const;
    // Takes the other's choice; a choice of its default becomes an explicit one here.
    void TakeChoiceOf(const TKwReferenceFields& other);

    // "PkgName" and "Id" in a form stream. `ancestor` is the ancestor reference of the same
    // kind; `otherKindAncestor` tells that the ancestor is a reference of another kind.
    void DefineProperties(TFiler& filer, const TKwReferenceFields* ancestor, bool otherKindAncestor,
                          std::function<void(const String&)> readName,
                          std::function<void(int)> readId);
};

// True for a package name that trims to nothing.
bool KwIsBlankPkgName(StringView name);

}  // namespace kw
