#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/core/collection.h"

namespace kw {

class TKwCollection;

// What changed in a collection, as told to Operation.
enum class TKwCollectionOperation : std::uint8_t {
    cooRebuild,
    cooInsert,
    cooAdd,
    cooDelete,
    cooModify,
    cooStateChange,
    cooEnabledChange,
    cooImageChange,
    cooIndexChange,
    cooVisibleChange,
    cooValueChange,
};

class TKwCollectionItem : public TCollectionItem {
    KW_CLASS(TKwCollectionItem)
public:
    explicit TKwCollectionItem(TCollection& collection) : TCollectionItem(collection) {}

    TKwCollection& KwCollection() const;
    // Reports cooIndexChange when the item actually moves.
    void SetIndex(int index) override;

protected:
    // Reports a change of this item through the collection.
    void Opt(TKwCollectionOperation op);
};

// A collection that reports every change with a typed operation. Nothing is reported while an
// update or a silent build (BeginOpt) is open, nor while its owner component is being read or
// destroyed; EndUpdate reports one cooRebuild instead.
class TKwCollection : public TCollection {
    KW_CLASS(TKwCollection)
public:
    TKwCollection(TPersistent* owner, TItemFactory newItem);
    ~TKwCollection() override;

    void BeginUpdate() override;
    void EndUpdate() override;
    bool Updating() const { return updateDepth_ > 0; }
    // Opens a silent build: the platform update is held and no operation is reported.
    void BeginOpt();
    void EndOpt();
    void Opt(TKwCollectionOperation op, TKwCollectionItem* item);
    void Clear() override;

    TKwCollectionItem& KwItems(int index) const {
        return static_cast<TKwCollectionItem&>(Items(index));
    }

    std::function<void(TKwCollection&, TKwCollectionOperation, TKwCollectionItem*)> OnOperation;

protected:
    // Called for each reported change. The base signals the platform change (not for deletes and
    // rebuilds)
    // and calls OnOperation.
    virtual void Operation(TKwCollectionOperation op, TKwCollectionItem* item);
    void Deleting(TCollectionItem& item) override;
    // Frees every item telling nobody; destructors of derived collections call it first, so
    // that items never outlive the collection type they belong to.
    void FreeItemsSilently();
    // The owner is a component that is being read from a stream.
    bool OwnerReading() const;
    bool OwnerDestroying() const;

private:
    int updateDepth_ = 0;
    int optDepth_ = 0;
};

// Every collection alive, in creation order.
const std::vector<TKwCollection*>& KwCollections();

}  // namespace kw
