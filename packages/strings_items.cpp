#include "packages/strings_items.h"

#include <algorithm>

#include "framework/errors.h"
#include "framework/sets_lock.h"
#include "packages/memory_refs.h"
#include "packages/package_scopes.h"
#include "packages/strings_package.h"
#include "platform/core/exception.h"
#include "platform/core/filer.h"
#include "platform/core/text_arena.h"
#include "platform/text/strings.h"
#include "platform/ui/application.h"

namespace kw {

// --- Items ---------------------------------------------------------------------------------

void TKwPkgStringsItem::SetId(int id) {
    owner_.ChangeId(*this, id);
}

void TKwPkgStringsItem::SetText(const String& text) {
    ChangeText(text_, text);
}

void TKwPkgStringsItem::ChangeText(TKwItemText& field, const String& value) {
    if (field.View() == value)
        return;
    TKwSetsLock lock;
    field.Set(value);
    if (!owner_.Loading())
        Changed();
}

void TKwPkgStringsItem::Changed() {
    KwUnCheckReferencesTo(*this);
    KwUpdateReferences(owner_.Kind());
    owner_.Owner().Change();
}

void TKwPkgStringsItem::Assign(const TKwPkgStringsItem& other) {
    TKwSetsLock lock;
    text_.Set(String(other.TextView()));
    Changed();
}

void TKwPkgStringsItem::Read(TReader& reader, int version) {
    TTextArena& arena = owner_.Owner().TextArena();
    text_.SetView(reader.ReadString(arena));
    ReadExtra(reader, arena);
    if (version >= 5)
        protected_ = reader.ReadBoolean();
}

void TKwPkgStringsItem::Write(TWriter& writer, int version) const {
    writer.WriteString(text_.View());
    WriteExtra(writer);
    if (version >= 5)
        writer.WriteBoolean(protected_);
}

void TKwPkgStringsLabel::Assign(const TKwPkgStringsItem& other) {
    TKwSetsLock lock;
    if (const auto* label = dynamic_cast<const TKwPkgStringsLabel*>(&other))
        hint_.Set(String(label->HintView()));
    TKwPkgStringsItem::Assign(other);
}

void TKwPkgStringsLabel::ReadExtra(TReader& reader, TTextArena& arena) {
    hint_.SetView(reader.ReadString(arena));
}

void TKwPkgStringsLabel::WriteExtra(TWriter& writer) const {
    writer.WriteString(hint_.View());
}

TKwPkgStringsLabel* TKwPkgStringsLabels::FindLabel(StringView text) const {
    for (int i = 0; i < Count(); ++i) {
        if (AnsiSameText(Items(i).TextView(), text))
            return &Items(i);
    }
    return nullptr;
}

// --- Collections ---------------------------------------------------------------------------

TKwPkgStringsCollection::TKwPkgStringsCollection(TKwPkgStrings& owner, TKwStringsKind kind)
    : owner_(owner),
      kind_(kind),
      indexed_(kind == TKwStringsKind::skLabel),
      checkedReferences_(&TKwMemoryReference::checkedHook) {}

// References that outlive the collection (the application object is torn down before its
// controls) must not keep a place in its list: they resolve again when next asked.
TKwPkgStringsCollection::~TKwPkgStringsCollection() {
    while (TKwMemoryReference* ref = checkedReferences_.First())
        ref->UnCheck();
}

void TKwPkgStringsCollection::FreeAll() {
    for (TKwPkgStringsItem* item : items_)
        FreeItem(*item);
    items_.clear();
    index_.clear();
    RecycleStorage();
}

bool TKwPkgStringsCollection::Loading() const {
    return owner_.LoadingProps();
}

TKwPkgStringsItem& TKwPkgStringsCollection::ItemAt(int index) const {
    if (index < 0 || index >= Count())
        throw EListError(u"List index out of bounds (" + IntToStr(index) + u")");
    return *items_[static_cast<size_t>(index)];
}

TKwPkgStringsItem* TKwPkgStringsCollection::FindItem(int id) const {
    if (id < 0)
        return nullptr;
    if (indexed_ && id <= kKwMaxStringsId) {
        return static_cast<size_t>(id) < index_.size() ? index_[static_cast<size_t>(id)] : nullptr;
    }
    // Messages and texts, and ids beyond the valid range that only a load can bring in.
    auto found = std::find_if(items_.begin(), items_.end(),
                              [id](const TKwPkgStringsItem* item) { return item->id_ == id; });
    return found != items_.end() ? *found : nullptr;
}

int TKwPkgStringsCollection::UniqueId() const {
    if (indexed_) {
        auto gap = std::find(index_.begin(), index_.end(), nullptr);
        return static_cast<int>(gap - index_.begin());
    }
    // Among n items, some id in 0..n is free.
    std::vector<bool> used(items_.size() + 1, false);
    for (const TKwPkgStringsItem* item : items_) {
        if (item->id_ >= 0 && static_cast<size_t>(item->id_) < used.size())
            used[static_cast<size_t>(item->id_)] = true;
    }
    return static_cast<int>(std::find(used.begin(), used.end(), false) - used.begin());
}

void TKwPkgStringsCollection::CheckId(int id) const {
    if (Loading())
        return;
    const String& source = owner_.Name();
    if (id < 0)
        KwExceptPkgArgs(source, u"System", 22, {id});
    if (id > kKwMaxStringsId)
        KwExceptPkgArgs(source, u"System", 23, {id});
    if (FindItem(id) != nullptr)
        KwExceptPkgArgs(source, u"System", 24, {id});
}

void TKwPkgStringsCollection::Unindex(const TKwPkgStringsItem& item) {
    const int id = item.id_;
    if (indexed_ && id >= 0 && static_cast<size_t>(id) < index_.size() &&
        index_[static_cast<size_t>(id)] == &item) {
        index_[static_cast<size_t>(id)] = nullptr;
    }
}

void TKwPkgStringsCollection::Index(TKwPkgStringsItem& item) {
    const int id = item.id_;
    if (!indexed_ || id < 0 || id > kKwMaxStringsId)
        return;
    if (static_cast<size_t>(id) >= index_.size())
        index_.resize(static_cast<size_t>(id) + 1, nullptr);
    index_[static_cast<size_t>(id)] = &item;
}

void TKwPkgStringsCollection::ChangeId(TKwPkgStringsItem& item, int id) {
    if (id == item.id_)
        return;
    TKwSetsLock lock;
    const bool loading = Loading();
    if (!loading)
        CheckId(id);
    Unindex(item);
    item.id_ = id;
    Index(item);
    if (loading)
        return;
    KwUnCheckReferencesTo(item);
    KwUnCheckNilReferences(kind_);
    KwUpdateReferences(kind_);
    owner_.Change();
}

TKwPkgStringsItem& TKwPkgStringsCollection::AddItem(int id, const String& text,
                                                    const String* hint) {
    TKwSetsLock lock;
    CheckId(id);
    TKwPkgStringsItem& item = AppendNew();
    item.text_.Set(text);
    if (hint != nullptr)
        static_cast<TKwPkgStringsLabel&>(item).hint_.Set(*hint);
    item.SetId(id);
    return item;
}

TKwPkgStringsItem& TKwPkgStringsCollection::AppendNew() {
    // The slot in the order first, so that a failed allocation leaves no item outside it.
    items_.push_back(nullptr);
    try {
        items_.back() = &NewItem();
    } catch (...) {
        items_.pop_back();
        throw;
    }
    return *items_.back();
}

void TKwPkgStringsCollection::ReserveLoaded(int count) {
    items_.reserve(items_.size() + static_cast<size_t>(std::clamp(count, 0, kKwMaxStringsId + 1)));
}

TKwPkgStringsItem& TKwPkgStringsCollection::AppendLoaded(int id) {
    TKwPkgStringsItem& item = AppendNew();
    item.id_ = id;
    Index(item);
    return item;
}

void TKwPkgStringsCollection::Delete(int index) {
    TKwSetsLock lock;
    TKwPkgStringsItem& item = ItemAt(index);  // raises for an index out of range
    items_.erase(items_.begin() + index);
    Unindex(item);
    // Unchecked even when nobody is told, so that no reference keeps showing a freed item.
    KwUnCheckReferencesTo(item);
    FreeItem(item);
    if (Loading() || Application().Destroying())
        return;
    KwUpdateReferences(kind_);
    owner_.Change();
}

void TKwPkgStringsCollection::Clear() {
    TKwSetsLock lock;
    const bool quiet = Loading() || Application().Destroying();
    KwWithScreenUpdate(!quiet, [&] {
        KwUnCheckAllReferences(*this);
        {
            TKwLoadingScope loading(owner_);
            FreeAll();
        }
        if (!quiet)
            KwUpdateReferences(kind_);
    });
    if (!quiet)
        owner_.Change();
}

}  // namespace kw
