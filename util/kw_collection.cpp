#include "util/kw_collection.h"

#include <algorithm>
#include <utility>

#include "platform/core/component.h"

namespace kw {

KW_IMPLEMENT_CLASS(TKwCollectionItem, TCollectionItem)
KW_IMPLEMENT_CLASS(TKwCollection, TCollection)

namespace {

std::vector<TKwCollection*>& CollectionList() {
    static std::vector<TKwCollection*> list;
    return list;
}

bool OwnerHasState(const TPersistent* owner, TComponentStateFlag flag) {
    const auto* component = dynamic_cast<const TComponent*>(owner);
    return component != nullptr && component->HasState(flag);
}

}  // namespace

const std::vector<TKwCollection*>& KwCollections() {
    return CollectionList();
}

TKwCollection& TKwCollectionItem::KwCollection() const {
    return static_cast<TKwCollection&>(Collection());
}

void TKwCollectionItem::SetIndex(int index) {
    const int old = Index();
    TCollectionItem::SetIndex(index);
    if (Index() != old)
        Opt(TKwCollectionOperation::cooIndexChange);
}

void TKwCollectionItem::Opt(TKwCollectionOperation op) {
    KwCollection().Opt(op, this);
}

TKwCollection::TKwCollection(TPersistent* owner, TItemFactory newItem)
    : TCollection(owner, std::move(newItem)) {
    CollectionList().push_back(this);
}

TKwCollection::~TKwCollection() {
    auto& list = CollectionList();
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    FreeItemsSilently();
}

void TKwCollection::FreeItemsSilently() {
    // Silent for the platform's update event too: owners free their items while destroying,
    // when the listeners may already be gone.
    auto onUpdate = std::exchange(OnUpdate, nullptr);
    ++optDepth_;
    TCollection::Clear();
    --optDepth_;
    OnUpdate = std::move(onUpdate);
}

bool TKwCollection::OwnerReading() const {
    return OwnerHasState(GetOwner(), csReading);
}

bool TKwCollection::OwnerDestroying() const {
    return OwnerHasState(GetOwner(), csDestroying);
}

void TKwCollection::BeginUpdate() {
    TCollection::BeginUpdate();
    ++updateDepth_;
}

void TKwCollection::EndUpdate() {
    if (updateDepth_ > 0)
        --updateDepth_;
    TCollection::EndUpdate();
    Opt(TKwCollectionOperation::cooRebuild, nullptr);
}

void TKwCollection::BeginOpt() {
    TCollection::BeginUpdate();
    ++optDepth_;
}

void TKwCollection::EndOpt() {
    if (optDepth_ > 0)
        --optDepth_;
    TCollection::EndUpdate();
}

void TKwCollection::Opt(TKwCollectionOperation op, TKwCollectionItem* item) {
    if (updateDepth_ == 0 && optDepth_ == 0 && !OwnerReading() && !OwnerDestroying())
        Operation(op, item);
}

void TKwCollection::Operation(TKwCollectionOperation op, TKwCollectionItem* item) {
    // A rebuild comes from EndUpdate, which has signalled the platform change already.
    if (op != TKwCollectionOperation::cooDelete && op != TKwCollectionOperation::cooRebuild)
        Changed();
    if (OnOperation)
        OnOperation(*this, op, item);
}

void TKwCollection::Deleting(TCollectionItem& item) {
    Opt(TKwCollectionOperation::cooDelete, static_cast<TKwCollectionItem*>(&item));
}

void TKwCollection::Clear() {
    BeginUpdate();
    TCollection::Clear();
    EndUpdate();
}

}  // namespace kw
