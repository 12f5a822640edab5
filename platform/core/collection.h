#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/core/persistent.h"

namespace kw {

class TCollection;

// An element of a collection; the collection owns it. Its index is its place in the list.
class TCollectionItem : public TPersistent {
    KW_CLASS(TCollectionItem)
public:
    explicit TCollectionItem(TCollection& collection) : collection_(&collection) {}

    TCollection& Collection() const { return *collection_; }
    int Index() const;
    // Moves the item to another place; out-of-range indexes raise EListError.
    virtual void SetIndex(int index);
    // A number given once, in creation order, that survives moves.
    int ID() const { return id_; }
    virtual String GetDisplayName() const { return ClassName(); }
    TPersistent* GetOwner() const override;

protected:
    // Tells the collection that this item (or, with allItems, every item) changed.
    void Changed(bool allItems);

private:
    friend class TCollection;
    TCollection* collection_;
    int id_ = 0;
};

// An owned, ordered list of items of one kind. Changes are reported through Update, once per
// outermost BeginUpdate/EndUpdate pair while an update is open.
class TCollection : public TPersistent {
    KW_CLASS(TCollection)
public:
    using TItemFactory = std::function<std::unique_ptr<TCollectionItem>(TCollection&)>;

    TCollection(TPersistent* owner, TItemFactory newItem);
    ~TCollection() override;

    int Count() const { return static_cast<int>(items_.size()); }
    // Raises EListError "List index out of bounds (%d)".
    TCollectionItem& Items(int index) const;
    int IndexOf(const TCollectionItem* item) const;
    TCollectionItem& Add();
    // Raises EListError unless 0 <= index <= Count.
    TCollectionItem& Insert(int index);
    void Delete(int index);
    virtual void Clear();
    virtual void BeginUpdate() { ++updateCount_; }
    virtual void EndUpdate();
    int UpdateCount() const { return updateCount_; }
    TPersistent* GetOwner() const override { return owner_; }

    std::function<void(TCollection&, TCollectionItem*)> OnUpdate;

protected:
    // Called for every change while no update is open; the item is none when many changed.
    virtual void Update(TCollectionItem* item);
    // Called just before an item is freed, while it is still whole.
    virtual void Deleting(TCollectionItem& item) {}
    void Changed();
    [[noreturn]] static void IndexError(int index);

private:
    friend class TCollectionItem;
    void MoveItem(int from, int to);

    TPersistent* owner_;
    TItemFactory newItem_;
    std::vector<std::unique_ptr<TCollectionItem>> items_;
    int updateCount_ = 0;
    int nextId_ = 0;
};

}  // namespace kw
