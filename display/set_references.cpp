#include "display/set_references.h"

#include "display/default_sets.h"
#include "display/display_package.h"
#include "display/state.h"
#include "framework/application.h"
#include "packages/package_scopes.h"
#include "packages/reference_registry.h"
#include "platform/core/filer.h"
#include "platform/text/strings.h"
#include "platform/ui/application.h"

namespace kw {

KW_IMPLEMENT_CLASS(TKwSetReference, TPersistent)
KW_IMPLEMENT_CLASS(TKwSetColor, TKwSetReference)
KW_IMPLEMENT_CLASS(TKwSetBackGround, TKwSetReference)
KW_IMPLEMENT_CLASS(TKwSetFont, TKwSetReference)

namespace {

constexpr const Char* kDefaultName = u"<Default>";

TKwIntrusiveList<TKwSetReference>& Registry(TKwSetKind kind) {
    return KwDisplayState().setReferences[static_cast<size_t>(kind)];
}

template <class F>
void ForEachReference(TKwSetKind kind, F visit) {
    KwForEachReference(Registry(kind), visit);
}

void ForEachKind(const std::function<void(TKwSetKind)>& visit) {
    for (TKwSetKind kind : {TKwSetKind::skColor, TKwSetKind::skFont, TKwSetKind::skBackGround})
        visit(kind);
}

// A switch of the active application object restyles everything through its display package.
void RegisterWithApplications() {
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    KwRegisterReferenceKind({
        [](TKwCApplication& app) {
            if (TKwPkgDisplay* display = KwAppDisplay(app)) {
                KwUnCheckAllSets(display->SetsColor());
                KwUnCheckAllSets(display->SetsFont());
                KwUnCheckAllSets(display->SetsBackGround());
            }
        },
        [] { ForEachKind(KwUnCheckNilSets); },
        [] { ForEachKind(KwUpdateSets); },
    });
}

TKwPkgDisplaySets* CollectionOf(TKwPkgDisplay& display, TKwSetKind kind) {
    switch (kind) {
        case TKwSetKind::skFont:
            return &display.SetsFont();
        case TKwSetKind::skBackGround:
            return &display.SetsBackGround();
        case TKwSetKind::skColor:
            break;
    }
    return &display.SetsColor();
}

}  // namespace

TKwSetReference::TKwSetReference(TKwSetKind kind, TKwSetReference* defaultLink, bool isDefault,
                                 bool libraryDefault)
    : kind_(kind), defaultLink_(defaultLink) {
    RegisterWithApplications();
    // The root default registers before the reference that falls back on it.
    if (!libraryDefault && defaultLink_ == nullptr)
        defaultLink_ = &KwRootDefault(kind);
    if (isDefault) {
        name_ = kDefaultName;
        default_ = true;
    }
    Registry(kind_).Append(*this);
}

TKwSetReference::~TKwSetReference() {
    Registry(kind_).Remove(*this);
}

void TKwSetReference::Cache(TKwPkgDisplaySet* set) {
    cached_ = set;
    cachedCollection_ = set != nullptr ? &set->Owner() : nullptr;
}

void TKwSetReference::Notify() {
    if (OnChange)
        OnChange(*this);
}

void TKwSetReference::SetName(const String& name) {
    if (AnsiSameText(name, name_)) {
        name_ = name;
        return;
    }
    name_ = name;
    checked_ = false;
    Cache(nullptr);
    Notify();
}

void TKwSetReference::SetChecked(bool checked) {
    const bool wasChecked = checked_;
    checked_ = checked;
    // A reference that falls back on a library default resolves the default on its way, so while
    // the default stays unchecked none of them can be checked through it: only the change from
    // checked to unchecked has references to pass on to.
    if (checked || !wasChecked || !IsLibraryDefault())
        return;
    ForEachReference(kind_, [this](TKwSetReference& ref) {
        if (ref.defaultLink_ == this)
            ref.checked_ = false;
    });
}

void TKwSetReference::SetDefault(bool value) {
    default_ = value;
    SetName(value ? String(kDefaultName) : String());
}

void TKwSetReference::SetDefaultLink(TKwSetReference* link) {
    checked_ = false;
    Cache(nullptr);
    defaultLink_ = link != nullptr ? link : &KwRootDefault(kind_);
    Notify();
}

void TKwSetReference::BindTo(TKwPkgDisplaySet& set) {
    name_ = set.Name();
    checked_ = true;
    Cache(&set);
}

bool TKwSetReference::Defined() const {
    return KwCApp() != nullptr && !Trim(name_).empty();
}

TKwPkgDisplaySet* TKwSetReference::InfoSet() {
    TKwCApplication* app = KwCApp();
    if (app == nullptr)
        return nullptr;
    if (checked_)
        return cached_;
    checked_ = true;
    TKwPkgDisplaySet* found = nullptr;
    const String trimmed = Trim(name_);
    if (!AnsiSameText(trimmed, kDefaultName)) {
        if (TKwPkgDisplay* display = KwAppDisplay(*app))
            found = CollectionOf(*display, kind_)->FindSet(name_);
    }
    if (found == nullptr && defaultLink_ != nullptr)
        found = defaultLink_->InfoSet();
    Cache(found);
    return cached_;
}

void TKwSetReference::Refresh() {
    const bool hadSet = cached_ != nullptr;
    checked_ = false;
    if (InfoSet() != nullptr || hadSet)
        Notify();
}

void TKwSetReference::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TKwSetReference*>(source);
    if (other == nullptr || other->kind_ != kind_) {
        TPersistent::Assign(source);
        return;
    }
    AssignExtras(*other);
    if (AnsiSameText(name_, other->name_)) {
        name_ = other->name_;
        return;
    }
    name_ = other->name_;
    checked_ = other->checked_;
    cached_ = other->cached_;
    cachedCollection_ = other->cachedCollection_;
    Notify();
}

void TKwSetReference::DefineProperties(TFiler& filer) {
    TPersistent::DefineProperties(filer);
    TPersistent* ancestor = filer.Ancestor();
    const auto* same = dynamic_cast<const TKwSetReference*>(ancestor);
    if (same != nullptr && same->kind_ != kind_)
        same = nullptr;
    bool store;
    if (same != nullptr) {
        store = same->name_ != name_;
    } else if (ancestor != nullptr) {
        store = true;
    } else {
        store = default_ ? name_ != kDefaultName : !name_.empty();
    }
    filer.DefineProperty(
        u"Name", [this](TReader& reader) { SetName(reader.ReadString()); },
        [this](TWriter& writer) { writer.WriteString(name_); }, store);
}

// --- Typed references ----------------------------------------------------------------------

std::unique_ptr<TKwSetColor> TKwSetColor::CreatePtr(TKwPkgDisplaySetColor& set) {
    auto ref = std::make_unique<TKwSetColor>();
    ref->BindTo(set);
    return ref;
}

TColor TKwSetColor::Color() {
    if (const TKwPkgDisplaySetColor* set = Info())
        return set->Color();
    return DefaultSetColor() != nullptr ? DefaultSetColor()->Color() : clNone;
}

std::unique_ptr<TKwSetBackGround> TKwSetBackGround::CreatePtr(TKwPkgDisplaySetBackGround& set) {
    auto ref = std::make_unique<TKwSetBackGround>();
    ref->BindTo(set);
    return ref;
}

TColor TKwSetBackGround::Color() {
    if (const TKwPkgDisplaySetBackGround* set = Info())
        return set->SolidColor();
    return DefaultSetBackGround() != nullptr ? DefaultSetBackGround()->Color() : clNone;
}

bool TKwSetBackGround::SolidStyle() {
    const TKwPkgDisplaySetBackGround* set = Info();
    return set == nullptr || set->Style() == bgsSolid;
}

std::unique_ptr<TKwSetFont> TKwSetFont::CreatePtr(TKwPkgDisplaySetFont& set) {
    auto ref = std::make_unique<TKwSetFont>();
    ref->BindTo(set);
    return ref;
}

TFont& TKwSetFont::Font() {
    if (TKwPkgDisplaySetFont* set = Info())
        return set->Font();
    return DefaultSetFont() != nullptr ? DefaultSetFont()->Font() : KwDefaultFont();
}

void TKwSetFont::AssignExtras(const TKwSetReference& source) {
    const auto& font = static_cast<const TKwSetFont&>(source);
    scaleMul_ = font.scaleMul_;
    scaleDiv_ = font.scaleDiv_;
}

// --- Invalidation --------------------------------------------------------------------------

void KwUnCheckAllSets(const TKwPkgDisplaySets& sets) {
    ForEachReference(sets.Kind(), [&](TKwSetReference& ref) {
        if (ref.Checked() && ref.CachedCollection() == &sets)
            ref.SetChecked(false);
    });
}

void KwUnCheckNilSets(TKwSetKind kind) {
    ForEachReference(kind, [](TKwSetReference& ref) {
        if (ref.CachedSet() == nullptr)
            ref.SetChecked(false);
    });
}

void KwUnCheckSet(const TKwPkgDisplaySet& set) {
    ForEachReference(set.Owner().Kind(), [&](TKwSetReference& ref) {
        if (ref.Checked() && ref.CachedSet() == &set)
            ref.SetChecked(false);
    });
}

void KwUpdateSets(TKwSetKind kind) {
    KwRefreshUnchecked(Registry(kind));
}

}  // namespace kw
