#include "platform/core/collection.h"

#include <algorithm>

#include "platform/core/exception.h"
#include "platform/text/strings.h"

namespace kw {

KW_IMPLEMENT_CLASS(TCollectionItem, TPersistent)
KW_IMPLEMENT_CLASS(TCollection, TPersistent)

int TCollectionItem::Index() const {
    return collection_->IndexOf(this);
}

void TCollectionItem::SetIndex(int index) {
    const int current = Index();
    if (current >= 0 && current != index) {
        collection_->MoveItem(current, index);
        Changed(true);
    }
}

TPersistent* TCollectionItem::GetOwner() const {
    return collection_;
}

void TCollectionItem::Changed(bool allItems) {
    if (collection_->UpdateCount() == 0)
        collection_->Update(allItems ? nullptr : this);
}

TCollection::TCollection(TPersistent* owner, TItemFactory newItem)
    : owner_(owner), newItem_(std::move(newItem)) {}

TCollection::~TCollection() = default;

void TCollection::IndexError(int index) {
    throw EListError(u"List index out of bounds (" + IntToStr(index) + u")");
}

TCollectionItem& TCollection::Items(int index) const {
    if (index < 0 || index >= Count())
        IndexError(index);
    return *items_[static_cast<size_t>(index)];
}

int TCollection::IndexOf(const TCollectionItem* item) const {
    const auto found = std::find_if(items_.begin(), items_.end(),
                                    [&](const auto& own) { return own.get() == item; });
    return found == items_.end() ? -1 : static_cast<int>(found - items_.begin());
}

TCollectionItem& TCollection::Add() {
    std::unique_ptr<TCollectionItem> item = newItem_(*this);
    item->id_ = nextId_++;
    items_.push_back(std::move(item));
    Changed();
    return *items_.back();
}

TCollectionItem& TCollection::Insert(int index) {
    if (index < 0 || index > Count())
        IndexError(index);
    TCollectionItem& item = Add();
    item.SetIndex(index);
    return item;
}

void TCollection::Delete(int index) {
    TCollectionItem& item = Items(index);
    Deleting(item);
    // The item may have moved or gone while it was told; look it up again.
    const int at = IndexOf(&item);
    if (at < 0)
        return;
    std::unique_ptr<TCollectionItem> owned = std::move(items_[static_cast<size_t>(at)]);
    items_.erase(items_.begin() + at);
    owned.reset();
    Changed();
}

void TCollection::Clear() {
    if (items_.empty())
        return;
    BeginUpdate();
    while (!items_.empty())
        Delete(0);
    EndUpdate();
}

void TCollection::EndUpdate() {
    if (updateCount_ > 0 && --updateCount_ == 0)
        Changed();
}

void TCollection::Update(TCollectionItem* item) {
    if (OnUpdate)
        OnUpdate(*this, item);
}

void TCollection::Changed() {
    if (updateCount_ == 0)
        Update(nullptr);
}

void TCollection::MoveItem(int from, int to) {
    if (to < 0 || to >= Count())
        IndexError(to);
    std::unique_ptr<TCollectionItem> item = std::move(items_[static_cast<size_t>(from)]);
    items_.erase(items_.begin() + from);
    items_.insert(items_.begin() + to, std::move(item));
}

}  // namespace kw
