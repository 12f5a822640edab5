#include "packages/reference_fields.h"

#include "platform/core/filer.h"
#include "platform/text/strings.h"

namespace kw {

bool KwIsBlankPkgName(StringView name) {
    for (Char c : name) {
        if (c > u' ')
            return false;
    }
    return true;
}

TKwReferenceFields::TKwReferenceFields(const String& defaultPkg, int defaultIdValue,
                                       bool useDefault)
    : defaultPkgName(defaultPkg), defaultId(defaultIdValue) {
    if (useDefault) {
        id = -2;
        isDefault = true;
    }
}

bool TKwReferenceFields::SetPkgName(const String& name) {
    const bool changed = !AnsiSameText(name, pkgName);
    pkgName = name;
    return changed;
}

bool TKwReferenceFields::SetId(int value) {
    if (value == id)
        return false;
    id = value;
    return true;
}

void TKwReferenceFields::SetDefault(const String& defaultPkg, int defaultIdValue) {
    defaultPkgName = defaultPkg;
    defaultId = defaultIdValue;
    id = -2;
    isDefault = true;
}

bool TKwReferenceFields::SetPkgId(const String& pkg, int value) {
    if (pkg == pkgName && value == id)
        return false;
    pkgName = pkg;
    id = value;
    return true;
}

bool TKwReferenceFields::Defined(bool hasApplication) const {
    if (!hasApplication)
        return false;
    return (id >= 0 && !KwIsBlankPkgName(pkgName)) || id == -2;
}

bool TKwReferenceFields::Target(bool hasApplication, String& pkg, int& targetId) const {
    if (id >= 0 && Defined(hasApplication)) {
        pkg = pkgName;
        targetId = id;
        return true;
    }
    if (KwIsBlankPkgName(defaultPkgName) || defaultId < 0)
        return false;
    pkg = defaultPkgName;
    targetId = defaultId;
    return true;
}

bool TKwReferenceFields::SameChoice(const TKwReferenceFields& other) const {
    return AnsiSameText(other.pkgName, pkgName) && other.id == id;
}

void TKwReferenceFields::TakeChoiceOf(const TKwReferenceFields& other) {
    const bool viaDefault = other.id == -2;
    id = viaDefault ? other.defaultId : other.id;
    pkgName = viaDefault ? other.defaultPkgName : other.pkgName;
}

void TKwReferenceFields::DefineProperties(TFiler& filer, const TKwReferenceFields* ancestor,
                                          bool otherKindAncestor,
                                          std::function<void(const String&)> readName,
                                          std::function<void(int)> readId) {
    const bool storeName = otherKindAncestor ||
                           (ancestor != nullptr ? ancestor->pkgName != pkgName : !pkgName.empty());
    const bool ownIdStored = isDefault ? id >= -1 : id >= 0;
    const bool storeId =
        otherKindAncestor || (ancestor != nullptr ? ancestor->id != id : ownIdStored);
    filer.DefineProperty(
        u"PkgName", [readName](TReader& reader) { readName(reader.ReadString()); },
        [this](TWriter& writer) { writer.WriteString(pkgName); }, storeName);
    filer.DefineProperty(
        u"Id", [readId](TReader& reader) { readId(reader.ReadInteger()); },
        [this](TWriter& writer) { writer.WriteInteger(static_cast<std::int32_t>(id)); }, storeId);
}

}  // namespace kw
