#pragma once

#include <functional>
#include <memory>

#include "display/display_sets.h"
#include "framework/link_list.h"
#include "platform/core/persistent.h"

namespace kw {

// Chooses the constructor of a library default, whose chain ends with it.
struct TKwLibraryDefaultTag {};

// A control's reference to a named set of the active application object's display package.
// It resolves lazily, caches the result until something invalidates it, and when the skin has
// no set of its name falls back along its default link, down to a library default that ends
// the chain with a built-in value. The name "<Default>" (any case) is never looked up.
class TKwSetReference : public TPersistent {
    KW_CLASS(TKwSetReference)
public:
    using TNotify = std::function<void(TKwSetReference& sender)>;

    ~TKwSetReference() override;

    TKwSetKind Kind() const { return kind_; }
    const String& Name() const { return name_; }
    // A name differing only in letter case is stored silently; another one unresolves and
    // tells the owner.
    void SetName(const String& name);
    bool Checked() const { return checked_; }
    // Clearing it on a library default also unresolves every reference that falls back on it.
    void SetChecked(bool checked);
    bool Default() const { return default_; }
    // True names the reference "<Default>", false clears the name.
    void SetDefault(bool value);
    // The next reference of the chain; none on a library default.
    TKwSetReference* DefaultLink() const { return defaultLink_; }
    bool IsLibraryDefault() const { return defaultLink_ == nullptr; }

    // An application object exists and the name is not blank.
    bool Defined() const;
    // The resolved set, or none (always none without an application object).
    TKwPkgDisplaySet* InfoSet();

    void Assign(const TPersistent* source) override;
    void DefineProperties(TFiler& filer) override;

    TNotify OnChange;

    // For the invalidation routines: the cached set survives unchecking so that the update pass
    // knows the reference had one; it is only compared, never read, while unchecked.
    const TKwPkgDisplaySet* CachedSet() const { return cached_; }
    const TKwPkgDisplaySets* CachedCollection() const { return cachedCollection_; }
    // Resolves again and tells the owner when the result may have changed.
    void Refresh();

    TKwIntrusiveList<TKwSetReference>::Hook registryHook;

protected:
    // `defaultLink` none means the kind's root default; `libraryDefault` makes a chain end.
    TKwSetReference(TKwSetKind kind, TKwSetReference* defaultLink, bool isDefault,
                    bool libraryDefault = false);
    void SetDefaultLink(TKwSetReference* link);
    // Binds a fresh reference directly to a set (CreatePtr).
    void BindTo(TKwPkgDisplaySet& set);
    virtual void AssignExtras(const TKwSetReference& source) {}

private:
    void Cache(TKwPkgDisplaySet* set);
    void Notify();

    TKwSetKind kind_;
    String name_;
    bool checked_ = false;
    TKwPkgDisplaySet* cached_ = nullptr;
    const TKwPkgDisplaySets* cachedCollection_ = nullptr;
    TKwSetReference* defaultLink_;
    bool default_ = false;
};

class TKwSetColor : public TKwSetReference {
    KW_CLASS(TKwSetColor)
public:
    explicit TKwSetColor(TKwSetColor* defaultSet = nullptr, bool isDefault = false)
        : TKwSetReference(TKwSetKind::skColor, defaultSet, isDefault) {}
    static std::unique_ptr<TKwSetColor> CreatePtr(TKwPkgDisplaySetColor& set);

    TKwPkgDisplaySetColor* Info() { return static_cast<TKwPkgDisplaySetColor*>(InfoSet()); }
    TKwSetColor* DefaultSetColor() const { return static_cast<TKwSetColor*>(DefaultLink()); }
    void SetDefaultSetColor(TKwSetColor* link) { SetDefaultLink(link); }
    // The resolved set's colour, else the chain's.
    virtual TColor Color();

protected:
    explicit TKwSetColor(TKwLibraryDefaultTag)
        : TKwSetReference(TKwSetKind::skColor, nullptr, false, true) {}
};

class TKwSetBackGround : public TKwSetReference {
    KW_CLASS(TKwSetBackGround)
public:
    explicit TKwSetBackGround(TKwSetBackGround* defaultSet = nullptr, bool isDefault = false)
        : TKwSetReference(TKwSetKind::skBackGround, defaultSet, isDefault) {}
    static std::unique_ptr<TKwSetBackGround> CreatePtr(TKwPkgDisplaySetBackGround& set);

    TKwPkgDisplaySetBackGround* Info() {
        return static_cast<TKwPkgDisplaySetBackGround*>(InfoSet());
    }
    TKwSetBackGround* DefaultSetBackGround() const {
        return static_cast<TKwSetBackGround*>(DefaultLink());
    }
    void SetDefaultSetBackGround(TKwSetBackGround* link) { SetDefaultLink(link); }
    // The resolved set's solid colour, else the chain's.
    virtual TColor Color();
    // True when nothing resolves or the resolved set paints solid.
    bool SolidStyle();

protected:
    explicit TKwSetBackGround(TKwLibraryDefaultTag)
        : TKwSetReference(TKwSetKind::skBackGround, nullptr, false, true) {}
};

class TKwSetFont : public TKwSetReference {
    KW_CLASS(TKwSetFont)
public:
    explicit TKwSetFont(TKwSetFont* defaultSet = nullptr, bool isDefault = false)
        : TKwSetReference(TKwSetKind::skFont, defaultSet, isDefault) {}
    static std::unique_ptr<TKwSetFont> CreatePtr(TKwPkgDisplaySetFont& set);

    TKwPkgDisplaySetFont* Info() { return static_cast<TKwPkgDisplaySetFont*>(InfoSet()); }
    TKwSetFont* DefaultSetFont() const { return static_cast<TKwSetFont*>(DefaultLink()); }
    void SetDefaultSetFont(TKwSetFont* link) { SetDefaultLink(link); }
    // The resolved set's font, else the chain's; it belongs to the set or default.
    virtual TFont& Font();

    // The factors the owning control scales the font by; Assign copies them.
    int ScaleMul() const { return scaleMul_; }
    void SetScaleMul(int value) { scaleMul_ = value; }
    int ScaleDiv() const { return scaleDiv_; }
    void SetScaleDiv(int value) { scaleDiv_ = value; }

protected:
    explicit TKwSetFont(TKwLibraryDefaultTag)
        : TKwSetReference(TKwSetKind::skFont, nullptr, false, true) {}
    void AssignExtras(const TKwSetReference& source) override;

private:
    int scaleMul_ = 1;
    int scaleDiv_ = 1;
};

// Invalidation, one family per kind: the references become unchecked (library defaults pass
// it on) and resolve again at the next update pass. Into `sets`:
void KwUnCheckAllSets(const TKwPkgDisplaySets& sets);
// Those of `kind` without a target, which a new or renamed set may now serve:
void KwUnCheckNilSets(TKwSetKind kind);
// Those whose resolved set is `set`:
void KwUnCheckSet(const TKwPkgDisplaySet& set);
// Re-resolves the unchecked, defined references of `kind` inside one screen update; tells those
// that had a set and those that now have one.
void KwUpdateSets(TKwSetKind kind);

inline void KwUnCheckAllSetsColor(const TKwPkgDisplaySetsColor& sets) {
    KwUnCheckAllSets(sets);
}
inline void KwUnCheckAllSetsBackGround(const TKwPkgDisplaySetsBackGround& sets) {
    KwUnCheckAllSets(sets);
}
inline void KwUnCheckAllSetsFont(const TKwPkgDisplaySetsFont& sets) {
    KwUnCheckAllSets(sets);
}
inline void KwUnCheckNilSetsColor() {
    KwUnCheckNilSets(TKwSetKind::skColor);
}
inline void KwUnCheckNilSetsBackGround() {
    KwUnCheckNilSets(TKwSetKind::skBackGround);
}
inline void KwUnCheckNilSetsFont() {
    KwUnCheckNilSets(TKwSetKind::skFont);
}
inline void KwUnCheckSetColor(const TKwPkgDisplaySetColor& set) {
    KwUnCheckSet(set);
}
inline void KwUnCheckSetBackGround(const TKwPkgDisplaySetBackGround& set) {
    KwUnCheckSet(set);
}
inline void KwUnCheckSetFont(const TKwPkgDisplaySetFont& set) {
    KwUnCheckSet(set);
}
inline void KwUpdateSetsColor() {
    KwUpdateSets(TKwSetKind::skColor);
}
inline void KwUpdateSetsBackGround() {
    KwUpdateSets(TKwSetKind::skBackGround);
}
inline void KwUpdateSetsFont() {
    KwUpdateSets(TKwSetKind::skFont);
}

}  // namespace kw
