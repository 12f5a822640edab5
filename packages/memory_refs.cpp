#include "packages/memory_refs.h"

#include "framework/application.h"
#include "packages/language_package.h"
#include "packages/package_scopes.h"
#include "packages/reference_registry.h"
#include "packages/state.h"
#include "packages/strings_package.h"
#include "platform/core/filer.h"
#include "platform/text/strings.h"
#include "platform/ui/application.h"

namespace kw {

KW_IMPLEMENT_CLASS(TKwMemoryReference, TPersistent)
KW_IMPLEMENT_CLASS(TKwMemoryLabel, TKwMemoryReference)
KW_IMPLEMENT_CLASS(TKwMemoryMessage, TKwMemoryReference)
KW_IMPLEMENT_CLASS(TKwMemoryText, TKwMemoryReference)

namespace {

TKwIntrusiveList<TKwMemoryReference>& Registry(TKwStringsKind kind) {
    return KwPackagesState().references[static_cast<size_t>(kind)];
}

TKwIntrusiveList<TKwMemoryReference>& Unresolved(TKwStringsKind kind) {
    return KwPackagesState().unresolvedReferences[static_cast<size_t>(kind)];
}

void UnCheckEvery(TKwIntrusiveList<TKwMemoryReference>& checked) {
    while (TKwMemoryReference* ref = checked.First())
        ref->UnCheck();
}

// A switch of the active application object re-resolves the references into its strings.
void RegisterWithApplications() {
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    KwRegisterReferenceKind({
        [](TKwCApplication& app) {
            if (TKwPkgLanguage* language = KwLanguageOf(app)) {
                KwUnCheckPackageReferences(language->SystemStrings());
                KwUnCheckPackageReferences(language->UserStrings());
            }
        },
        [] { KwUnCheckNilAllReferences(); },
        [] { KwUpdateAllReferences(); },
    });
}

}  // namespace

TKwMemoryReference::TKwMemoryReference(TKwStringsKind kind, const String& defaultPkg, int defaultId,
                                       bool isDefault)
    : kind_(kind), defaultPkgName_(defaultPkg), defaultId_(defaultId) {
    if (isDefault) {
        id_ = -2;
        default_ = true;
    }
    RegisterWithApplications();
    Registry(kind_).Append(*this);
}

TKwMemoryReference::~TKwMemoryReference() {
    UnCheck();
    Registry(kind_).Remove(*this);
}

TKwIntrusiveList<TKwMemoryReference>& TKwMemoryReference::CheckedList() const {
    return targetCollection_ != nullptr ? targetCollection_->CheckedReferences()
                                        : Unresolved(kind_);
}

void TKwMemoryReference::UnCheck() {
    if (checked_)
        CheckedList().Remove(*this);
    checked_ = false;
}

void TKwMemoryReference::MarkChecked() {
    checked_ = true;
    CheckedList().Append(*this);
}

void TKwMemoryReference::Invalidate() {
    UnCheck();
    target_ = nullptr;
    targetCollection_ = nullptr;
}

void TKwMemoryReference::Notify() {
    if (OnChange)
        OnChange(*this);
}

void TKwMemoryReference::SetPkgName(const String& name) {
    if (AnsiSameText(name, pkgName_)) {
        pkgName_ = name;
        return;
    }
    Invalidate();
    pkgName_ = name;
    Notify();
}

void TKwMemoryReference::SetId(int id) {
    if (id == id_)
        return;
    Invalidate();
    id_ = id;
    Notify();
}

void TKwMemoryReference::DefaultPkgId(const String& defaultPkg, int defaultId) {
    defaultPkgName_ = defaultPkg;
    defaultId_ = defaultId;
    id_ = -2;
    default_ = true;
    Invalidate();
    Notify();
}

void TKwMemoryReference::PkgId(const String& pkg, int id) {
    if (pkg == pkgName_ && id == id_)
        return;
    pkgName_ = pkg;
    id_ = id;
    Invalidate();
    Notify();
}

bool TKwMemoryReference::Defined() const {
    if (KwCApp() == nullptr)
        return false;
    return (id_ >= 0 && !KwIsBlankName(pkgName_)) || id_ == -2;
}

TKwPkgStringsItem* TKwMemoryReference::Resolve(const TKwCApplication& app,
                                               TKwPkgStringsFinder* finder) const {
    // With an application object, an id of 0 or more is defined exactly when a name is given.
    const bool explicitChoice = id_ >= 0 && !KwIsBlankName(pkgName_);
    const String& name = explicitChoice ? pkgName_ : defaultPkgName_;
    const int id = explicitChoice ? id_ : defaultId_;
    if (!explicitChoice && (KwIsBlankName(name) || id < 0))
        return nullptr;
    TKwPkgStrings* package = finder != nullptr ? finder->Find(name, &app) : KwFindPkgStrings(name);
    return package != nullptr ? package->Collection(kind_).FindItem(id) : nullptr;
}

TKwPkgStringsItem* TKwMemoryReference::InfoItem() {
    return Lookup(nullptr);
}

TKwPkgStringsItem* TKwMemoryReference::Lookup(TKwPkgStringsFinder* finder) {
    const TKwCApplication* app = KwCApp();
    if (app == nullptr)
        return nullptr;
    if (checked_)
        return target_;
    target_ = Resolve(*app, finder);
    targetCollection_ = target_ != nullptr ? &target_->Owner() : nullptr;
    MarkChecked();
    return target_;
}

String TKwMemoryReference::Text() {
    const TKwPkgStringsItem* item = InfoItem();
    return item != nullptr ? String(item->TextView()) : String();
}

void TKwMemoryReference::Refresh() {
    TKwPkgStringsFinder finder;
    Refresh(finder);
}

void TKwMemoryReference::Refresh(TKwPkgStringsFinder& finder) {
    const bool hadTarget = target_ != nullptr;
    UnCheck();
    Lookup(&finder);
    if (hadTarget || target_ != nullptr)
        Notify();
}

void TKwMemoryReference::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TKwMemoryReference*>(source);
    if (other == nullptr || other->kind_ != kind_) {
        TPersistent::Assign(source);
        return;
    }
    if (AnsiSameText(other->pkgName_, pkgName_) && other->id_ == id_)
        return;
    UnCheck();
    target_ = other->target_;
    targetCollection_ = other->targetCollection_;
    if (other->checked_)
        MarkChecked();
    id_ = other->id_;
    pkgName_ = other->pkgName_;
    Notify();
}

void TKwMemoryReference::DefineProperties(TFiler& filer) {
    TPersistent* ancestor = filer.Ancestor();
    auto* same = dynamic_cast<TKwMemoryReference*>(ancestor);
    if (same != nullptr && same->kind_ != kind_)
        same = nullptr;
    const bool otherKind = ancestor != nullptr && same == nullptr;
    const bool storeName =
        otherKind || (same != nullptr ? same->pkgName_ != pkgName_ : !pkgName_.empty());
    const bool ownIdStored = default_ ? id_ >= -1 : id_ >= 0;
    const bool storeId = otherKind || (same != nullptr ? same->id_ != id_ : ownIdStored);
    filer.DefineProperty(
        u"PkgName", [this](TReader& reader) { SetPkgName(reader.ReadString()); },
        [this](TWriter& writer) { writer.WriteString(pkgName_); }, storeName);
    filer.DefineProperty(
        u"Id", [this](TReader& reader) { SetId(reader.ReadInteger()); },
        [this](TWriter& writer) { writer.WriteInteger(static_cast<std::int32_t>(id_)); }, storeId);
}

String TKwMemoryLabel::Hint() {
    const TKwPkgStringsLabel* label = Info();
    return label != nullptr ? String(label->HintView()) : String();
}

bool KwIsMemoryReferenceEqualTo(const TKwMemoryReference& a, const TKwMemoryReference& b) {
    return a.PkgName() == b.PkgName() && a.Id() == b.Id();
}

void KwUnCheckAllReferences(const TKwPkgStringsCollection& collection) {
    UnCheckEvery(collection.CheckedReferences());
}

void KwUnCheckNilReferences(TKwStringsKind kind) {
    UnCheckEvery(Unresolved(kind));
}

void KwUnCheckReferencesTo(const TKwPkgStringsItem& item) {
    TKwMemoryReference* ref = item.Owner().CheckedReferences().First();
    while (ref != nullptr) {
        TKwMemoryReference* next = ref->checkedHook.next;
        if (ref->CachedTarget() == &item)
            ref->UnCheck();
        ref = next;
    }
}

void KwUpdateReferences(TKwStringsKind kind) {
    TKwPkgStringsFinder finder;
    KwRefreshUnchecked(Registry(kind), [&finder](TKwMemoryReference& ref) { ref.Refresh(finder); });
}

void KwUnCheckPackageReferences(const TKwPkgStrings& package) {
    for (TKwStringsKind kind : kKwAllStringsKinds)
        KwUnCheckAllReferences(package.Collection(kind));
}

void KwUnCheckNilAllReferences() {
    for (TKwStringsKind kind : kKwAllStringsKinds)
        KwUnCheckNilReferences(kind);
}

void KwUpdateAllReferences() {
    for (TKwStringsKind kind : kKwAllStringsKinds)
        KwUpdateReferences(kind);
}

}  // namespace kw
