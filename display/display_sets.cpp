#include "display/display_sets.h"

#include "display/display_package.h"
#include "display/memory_image.h"
#include "display/set_references.h"
#include "framework/errors.h"
#include "framework/sets_lock.h"
#include "packages/memory_refs.h"
#include "packages/package_scopes.h"
#include "platform/core/exception.h"
#include "platform/text/strings.h"
#include "platform/ui/application.h"

namespace kw {

namespace {

constexpr int kDuplicateMessage[kKwSetKinds] = {15, 16, 17};

bool BlankName(StringView name) {
    return Trim(name).empty();
}

}  // namespace

// --- Set items -----------------------------------------------------------------------------

TKwPkgDisplaySet::TKwPkgDisplaySet(TKwPkgDisplaySets& owner)
    : owner_(owner), descriptionId_(std::make_unique<TKwMemoryLabel>(String(), -1, false)) {
    descriptionId_->OnChange = [this](TKwMemoryReference&) { DescriptionIdChanged(); };
}

TKwPkgDisplaySet::~TKwPkgDisplaySet() = default;

bool TKwPkgDisplaySet::Loading() const {
    return owner_.Loading();
}

void TKwPkgDisplaySet::SetName(const String& name) {
    if (Loading() || AnsiSameText(name, name_)) {
        name_ = name;
        owner_.InvalidateHash();
        return;
    }
    TKwSetsLock lock;
    owner_.CheckUnique(name, this);
    name_ = name;
    owner_.InvalidateHash();
    owner_.Changed(this);
}

void TKwPkgDisplaySet::SetDescription(const String& description) {
    if (description == description_)
        return;
    description_ = description;
    owner_.Owner().Change();
}

void TKwPkgDisplaySet::SetDescriptionId(const TKwMemoryLabel& label) {
    descriptionId_->Assign(&label);
}

void TKwPkgDisplaySet::TakeDescriptionText() {
    if (descriptionId_->Defined())
        description_ = descriptionId_->Text();
}

void TKwPkgDisplaySet::DescriptionIdChanged() {
    if (!Loading())
        TakeDescriptionText();
    owner_.Owner().Change();
}

template <class T>
void TKwPkgDisplaySet::StoreProperty(T& field, T value) {
    if (field == value)
        return;
    TKwSetsLock lock;
    field = value;
    PropertyChanged();
}

void TKwPkgDisplaySet::PropertyChanged() {
    if (Loading())
        return;
    TKwSetsLock lock;
    KwWithScreenUpdate(true, [&] {
        KwUnCheckSet(*this);
        KwUpdateSets(owner_.Kind());
    });
    owner_.Owner().Change();
}

void TKwPkgDisplaySetColor::SetColor(TColor color) {
    StoreProperty(color_, color);
}

TKwPkgDisplaySetFont::TKwPkgDisplaySetFont(TKwPkgDisplaySets& owner)
    : TKwPkgDisplaySet(owner), font_(std::make_unique<TFont>()) {
    font_->OnChange = [this](TFont&) { PropertyChanged(); };
}

TKwPkgDisplaySetFont::~TKwPkgDisplaySetFont() = default;

void TKwPkgDisplaySetFont::SetFont(const TFont& font) {
    font_->Assign(font);
}

TKwPkgDisplaySetBackGround::TKwPkgDisplaySetBackGround(TKwPkgDisplaySets& owner)
    : TKwPkgDisplaySet(owner), image_(std::make_unique<TKwMemoryImage>(String(), -1, false)) {
    image_->OnChange = [this](TKwMemoryImage&) { PropertyChanged(); };
}

TKwPkgDisplaySetBackGround::~TKwPkgDisplaySetBackGround() = default;

void TKwPkgDisplaySetBackGround::SetStartGraColor(TColor color) {
    StoreProperty(startGraColor_, color);
}

void TKwPkgDisplaySetBackGround::SetEndGraColor(TColor color) {
    StoreProperty(endGraColor_, color);
}

void TKwPkgDisplaySetBackGround::SetSolidColor(TColor color) {
    StoreProperty(solidColor_, color);
}

void TKwPkgDisplaySetBackGround::SetImage(const TKwMemoryImage& image) {
    image_->Assign(&image);
}

void TKwPkgDisplaySetBackGround::SetStyle(TKwBackGroundStyle style) {
    StoreProperty(style_, style);
}

void TKwPkgDisplaySetBackGround::SetTransparent(bool transparent) {
    StoreProperty(transparent_, transparent);
}

// --- Collections ---------------------------------------------------------------------------

TKwPkgDisplaySets::TKwPkgDisplaySets(TKwPkgDisplay& owner, TKwSetKind kind)
    : owner_(owner), kind_(kind) {}

TKwPkgDisplaySets::~TKwPkgDisplaySets() {
    // Whatever still points at these sets must not read them any more.
    KwUnCheckAllSets(*this);
}

bool TKwPkgDisplaySets::Loading() const {
    return owner_.LoadingProps();
}

TKwPkgDisplaySet& TKwPkgDisplaySets::SetAt(int index) const {
    if (index < 0 || index >= Count())
        throw EListError(u"List index out of bounds (" + IntToStr(index) + u")");
    return *items_[static_cast<size_t>(index)];
}

void TKwPkgDisplaySets::InitHash() {
    if (hashValid_)
        return;
    hashValid_ = true;
    if (hash_ == nullptr)
        hash_ = std::make_unique<std::array<TKwPkgDisplaySet*, kKwIdHashBuckets>>();
    hash_->fill(nullptr);
    for (auto& set : items_) {
        if (BlankName(set->name_))
            continue;
        TKwPkgDisplaySet*& head = (*hash_)[static_cast<size_t>(KwIdHash(set->name_))];
        set->next_ = head;
        head = set.get();
    }
}

TKwPkgDisplaySet* TKwPkgDisplaySets::FindSet(StringView name) {
    InitHash();
    if (BlankName(name))
        return nullptr;
    for (TKwPkgDisplaySet* set = (*hash_)[static_cast<size_t>(KwIdHash(name))]; set != nullptr;
         set = set->next_) {
        if (AnsiSameText(set->name_, name))
            return set;
    }
    return nullptr;
}

void TKwPkgDisplaySets::CheckUnique(const String& name, const TKwPkgDisplaySet* self) const {
    for (const auto& set : items_) {
        if (set.get() != self && AnsiSameText(set->name_, name)) {
            KwExceptPkgArgs(owner_.Name(), u"System", kDuplicateMessage[static_cast<int>(kind_)],
                            {name});
        }
    }
}

// A set changed its name or appeared or went: the references it served and those without a
// set resolve again, inside one screen update.
void TKwPkgDisplaySets::Changed(const TKwPkgDisplaySet* changed) {
    KwWithScreenUpdate(true, [&] {
        if (changed != nullptr)
            KwUnCheckSet(*changed);
        KwUnCheckNilSets(kind_);
        KwUpdateSets(kind_);
    });
    owner_.Change();
}

TKwPkgDisplaySet& TKwPkgDisplaySets::AddSet(const String& name) {
    TKwSetsLock lock;
    const bool loading = Loading();
    if (!loading)
        CheckUnique(name, nullptr);
    items_.push_back(NewSet());
    TKwPkgDisplaySet& set = *items_.back();
    set.name_ = name;
    InvalidateHash();
    if (!loading)
        Changed(nullptr);
    return set;
}

void TKwPkgDisplaySets::Delete(int index) {
    TKwSetsLock lock;
    SetAt(index);
    std::unique_ptr<TKwPkgDisplaySet> set = std::move(items_[static_cast<size_t>(index)]);
    items_.erase(items_.begin() + index);
    InvalidateHash();
    KwUnCheckSet(*set);
    set.reset();
    if (!Loading() && !Application().Destroying()) {
        KwWithScreenUpdate(true, [&] { KwUpdateSets(kind_); });
        owner_.Change();
    }
}

void TKwPkgDisplaySets::Clear() {
    TKwSetsLock lock;
    const bool quiet = Loading() || Application().Destroying();
    KwWithScreenUpdate(!quiet, [&] {
        // One walk over the references unchecks every one that points into this collection,
        // rather than one walk per set.
        KwUnCheckAllSets(*this);
        {
            TKwLoadingScope loading(owner_);
            std::vector<std::unique_ptr<TKwPkgDisplaySet>> doomed = std::move(items_);
            items_.clear();
            InvalidateHash();
        }
        if (!quiet)
            KwUpdateSets(kind_);
    });
    if (!quiet)
        owner_.Change();
}

}  // namespace kw
