#pragma once

#include <functional>

#include "framework/link_list.h"
#include "packages/strings_items.h"
#include "platform/core/persistent.h"

namespace kw {

class TKwCApplication;
class TKwPkgStrings;
class TKwPkgStringsFinder;

// A control's reference to one numbered string: a package name and an id, resolved on demand
// against the active application object's packages and cached until something invalidates it.
// Id -1 chooses nothing, -2 uses the default given by the owning control, 0..9999 an item.
class TKwMemoryReference : public TPersistent {
    KW_CLASS(TKwMemoryReference)
public:
    using TNotify = std::function<void(TKwMemoryReference& sender)>;

    ~TKwMemoryReference() override;

    TKwStringsKind Kind() const { return kind_; }
    bool Checked() const { return checked_; }
    const String& PkgName() const { return pkgName_; }
    void SetPkgName(const String& name);
    int Id() const { return id_; }
    void SetId(int id);
    const String& DefaultPkgName() const { return defaultPkgName_; }
    int DefaultId() const { return defaultId_; }
    bool Default() const { return default_; }
    void DefaultPkgId(const String& defaultPkg, int defaultId);
    void PkgId(const String& pkg, int id);

    // True when the reference chooses a string (explicitly or through its default); a control
    // keeps its own caption otherwise.
    bool Defined() const;
    TKwPkgStringsItem* InfoItem();
    // The target's text, or empty when there is none.
    String Text();

    void Assign(const TPersistent* source) override;
    void DefineProperties(TFiler& filer) override;

    TNotify OnChange;

    // For the invalidation routines. The cached target survives unchecking so that the update
    // pass knows the reference had one; it is only compared, never read, while unchecked.
    void UnCheck();
    const TKwPkgStringsItem* CachedTarget() const { return target_; }
    const TKwPkgStringsCollection* CachedCollection() const { return targetCollection_; }
    // Resolves again and tells the owner when the result may have changed; an update pass
    // hands in its finder so that its references share the package lookups.
    void Refresh();
    void Refresh(TKwPkgStringsFinder& finder);

    TKwIntrusiveList<TKwMemoryReference>::Hook registryHook;
    // Its place among the checked references of its target's collection, or of those that
    // resolved to nothing; unchecked references are in neither.
    TKwIntrusiveList<TKwMemoryReference>::Hook checkedHook;

protected:
    TKwMemoryReference(TKwStringsKind kind, const String& defaultPkg, int defaultId,
                       bool isDefault);

private:
    void Invalidate();
    void MarkChecked();
    TKwIntrusiveList<TKwMemoryReference>& CheckedList() const;
    void Notify();
    TKwPkgStringsItem* Lookup(TKwPkgStringsFinder* finder);
    TKwPkgStringsItem* Resolve(const TKwCApplication& app, TKwPkgStringsFinder* finder) const;

    TKwStringsKind kind_;
    bool checked_ = false;
    String pkgName_;
    int id_ = -1;
    String defaultPkgName_;
    int defaultId_;
    TKwPkgStringsItem* target_ = nullptr;
    const TKwPkgStringsCollection* targetCollection_ = nullptr;
    bool default_ = false;
};

// A reference whose target is of one item class.
template <class Item>
class TKwMemoryRefOf : public TKwMemoryReference {
public:
    Item* Info() { return static_cast<Item*>(InfoItem()); }

protected:
    TKwMemoryRefOf(const String& defaultPkg, int defaultId, bool isDefault)
        : TKwMemoryReference(Item::kKind, defaultPkg, defaultId, isDefault) {}
};

class TKwMemoryLabel : public TKwMemoryRefOf<TKwPkgStringsLabel> {
    KW_CLASS(TKwMemoryLabel)
public:
    explicit TKwMemoryLabel(const String& defaultPkg = {}, int defaultId = -1,
                            bool isDefault = false)
        : TKwMemoryRefOf(defaultPkg, defaultId, isDefault) {}
    String Hint();
};

class TKwMemoryMessage : public TKwMemoryRefOf<TKwPkgStringsMessage> {
    KW_CLASS(TKwMemoryMessage)
public:
    explicit TKwMemoryMessage(const String& defaultPkg = {}, int defaultId = -1,
                              bool isDefault = false)
        : TKwMemoryRefOf(defaultPkg, defaultId, isDefault) {}
};

class TKwMemoryText : public TKwMemoryRefOf<TKwPkgStringsText> {
    KW_CLASS(TKwMemoryText)
public:
    explicit TKwMemoryText(const String& defaultPkg = {}, int defaultId = -1,
                           bool isDefault = false)
        : TKwMemoryRefOf(defaultPkg, defaultId, isDefault) {}
};

// Same package name (case-sensitive) and id; the defaults are not compared.
bool KwIsMemoryReferenceEqualTo(const TKwMemoryReference& a, const TKwMemoryReference& b);
inline bool KwIsMemoryLabelEqualTo(const TKwMemoryLabel& a, const TKwMemoryLabel& b) {
    return KwIsMemoryReferenceEqualTo(a, b);
}
inline bool KwIsMemoryMessageEqualTo(const TKwMemoryMessage& a, const TKwMemoryMessage& b) {
    return KwIsMemoryReferenceEqualTo(a, b);
}
inline bool KwIsMemoryTextEqualTo(const TKwMemoryText& a, const TKwMemoryText& b) {
    return KwIsMemoryReferenceEqualTo(a, b);
}

// Invalidation: the references become unchecked and resolve again at the next update pass.
// Those whose resolved target lies in `collection`:
void KwUnCheckAllReferences(const TKwPkgStringsCollection& collection);
// Those of `kind` without a target (a reference waiting for an id that may now exist):
void KwUnCheckNilReferences(TKwStringsKind kind);
// Those whose resolved target is `item`:
void KwUnCheckReferencesTo(const TKwPkgStringsItem& item);
// Re-resolves the unchecked, defined references of `kind` inside one screen update and tells
// those whose string was changed, removed or has just appeared.
void KwUpdateReferences(TKwStringsKind kind);

// The three kinds at once.
void KwUnCheckPackageReferences(const TKwPkgStrings& package);
void KwUnCheckNilAllReferences();
void KwUpdateAllReferences();

// The per-kind names of the routines above.
inline void KwUnCheckAllLabels(const TKwPkgStringsLabels& c) {
    KwUnCheckAllReferences(c);
}
inline void KwUnCheckAllMessages(const TKwPkgStringsMessages& c) {
    KwUnCheckAllReferences(c);
}
inline void KwUnCheckAllTexts(const TKwPkgStringsTexts& c) {
    KwUnCheckAllReferences(c);
}
inline void KwUnCheckNilLabels() {
    KwUnCheckNilReferences(TKwStringsKind::skLabel);
}
inline void KwUnCheckNilMessages() {
    KwUnCheckNilReferences(TKwStringsKind::skMessage);
}
inline void KwUnCheckNilTexts() {
    KwUnCheckNilReferences(TKwStringsKind::skText);
}
inline void KwUnCheckLabel(const TKwPkgStringsLabel& i) {
    KwUnCheckReferencesTo(i);
}
inline void KwUnCheckMessage(const TKwPkgStringsMessage& i) {
    KwUnCheckReferencesTo(i);
}
inline void KwUnCheckText(const TKwPkgStringsText& i) {
    KwUnCheckReferencesTo(i);
}
inline void KwUpdateLabels() {
    KwUpdateReferences(TKwStringsKind::skLabel);
}
inline void KwUpdateMessages() {
    KwUpdateReferences(TKwStringsKind::skMessage);
}
inline void KwUpdateTexts() {
    KwUpdateReferences(TKwStringsKind::skText);
}

}  // namespace kw
