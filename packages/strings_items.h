#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "framework/link_list.h"
#include "platform/core/stable_pool.h"
#include "platform/core/types.h"

namespace kw {

class TReader;
class TWriter;
class TKwPkgStrings;
class TKwPkgStringsCollection;
class TKwMemoryReference;
class TTextArena;

// The three numbered collections of a strings package; each is a number space of its own.
enum class TKwStringsKind : int { skLabel = 0, skMessage = 1, skText = 2 };
inline constexpr int kKwStringsKinds = 3;
inline constexpr TKwStringsKind kKwAllStringsKinds[kKwStringsKinds] = {
    TKwStringsKind::skLabel, TKwStringsKind::skMessage, TKwStringsKind::skText};
inline constexpr int kKwMaxStringsId = 9999;

// True for a package name that trims to nothing (only characters up to U+0020).
inline bool KwIsBlankName(StringView name) {
    for (Char c : name) {
        if (c > u' ')
            return false;
    }
    return true;
}

// An item's text. After a load it is a view of the package's text arena, so that a load does not
// allocate once per text; it becomes a string of its own when it is set, or the first time it is
// asked for as a String.
class TKwItemText {
public:
    StringView View() const { return owned_ ? StringView(string_) : view_; }
    const String& Str() const {
        if (!owned_) {
            string_.assign(view_);
            owned_ = true;
        }
        return string_;
    }
    void Set(const String& text) {
        string_ = text;
        owned_ = true;
    }
    // `view` must outlive this text (the package's arena does: it is reset only once every
    // item is gone).
    void SetView(StringView view) {
        view_ = view;
        string_.clear();
        owned_ = false;
    }

private:
    StringView view_;
    mutable String string_;
    mutable bool owned_ = true;
};

// One numbered string of a strings package. Changes re-resolve the references to it.
class TKwPkgStringsItem {
public:
    explicit TKwPkgStringsItem(TKwPkgStringsCollection& owner) : owner_(owner) {}
    virtual ~TKwPkgStringsItem() = default;
    TKwPkgStringsItem(const TKwPkgStringsItem&) = delete;
    TKwPkgStringsItem& operator=(const TKwPkgStringsItem&) = delete;

    TKwPkgStringsCollection& Owner() const { return owner_; }
    int Id() const { return id_; }
    void SetId(int id);
    const String& Text() const { return text_.Str(); }
    // The text without making a string of it.
    StringView TextView() const { return text_.View(); }
    void SetText(const String& text);
    // A protected item is never overwritten by a system update; the flag notifies nobody.
    bool Protected() const { return protected_; }
    void SetProtected(bool value) { protected_ = value; }
    // Copies the text (and a label's hint), never the id or the protection.
    virtual void Assign(const TKwPkgStringsItem& other);

    // The stored form of the item after its id; the protection flag from version 5 on.
    void Read(TReader& reader, int version);
    void Write(TWriter& writer, int version) const;

protected:
    void ChangeText(TKwItemText& field, const String& value);
    virtual void ReadExtra(TReader& reader, TTextArena& arena) {}
    virtual void WriteExtra(TWriter& writer) const {}
    // Re-resolves the references to this item and tells the package.
    void Changed();

private:
    friend class TKwPkgStringsCollection;

    TKwPkgStringsCollection& owner_;
    int id_ = -1;
    TKwItemText text_;
    bool protected_ = false;
};

// A caption: a text and a hint.
class TKwPkgStringsLabel : public TKwPkgStringsItem {
public:
    static constexpr TKwStringsKind kKind = TKwStringsKind::skLabel;
    using TKwPkgStringsItem::TKwPkgStringsItem;

    const String& Hint() const { return hint_.Str(); }
    StringView HintView() const { return hint_.View(); }
    void SetHint(const String& hint) { ChangeText(hint_, hint); }
    void Assign(const TKwPkgStringsItem& other) override;

protected:
    void ReadExtra(TReader& reader, TTextArena& arena) override;
    void WriteExtra(TWriter& writer) const override;

private:
    friend class TKwPkgStringsCollection;

    TKwItemText hint_;
};

// A dialog or error text.
class TKwPkgStringsMessage : public TKwPkgStringsItem {
public:
    static constexpr TKwStringsKind kKind = TKwStringsKind::skMessage;
    using TKwPkgStringsItem::TKwPkgStringsItem;
};

// A long, multi-line text.
class TKwPkgStringsText : public TKwPkgStringsItem {
public:
    static constexpr TKwStringsKind kKind = TKwStringsKind::skText;
    using TKwPkgStringsItem::TKwPkgStringsItem;
};

// The items of one kind in insertion (or load) order. Items are stored by value in chunks that
// never move (references cache pointers to them); the order is a vector of pointers. Labels keep an
// index by id as well, so finding a caption is one access; messages and texts are searched in
// order.
class TKwPkgStringsCollection {
public:
    TKwPkgStringsCollection(TKwPkgStrings& owner, TKwStringsKind kind);
    virtual ~TKwPkgStringsCollection();
    TKwPkgStringsCollection(const TKwPkgStringsCollection&) = delete;
    TKwPkgStringsCollection& operator=(const TKwPkgStringsCollection&) = delete;

    TKwPkgStrings& Owner() const { return owner_; }
    TKwStringsKind Kind() const { return kind_; }
    int Count() const { return static_cast<int>(items_.size()); }
    // Raises EListError for an index out of range.
    TKwPkgStringsItem& ItemAt(int index) const;
    TKwPkgStringsItem* FindItem(int id) const;
    // The smallest id from 0 up that no item uses.
    int UniqueId() const;
    // Raises "System" 22, 23 or 24 for an id below 0, above 9999 or in use; not while loading.
    void CheckId(int id) const;

    // Frees the item; the references showing it are re-resolved.
    void Delete(int index);
    void Clear();
    // A new item with empty text (and hint), checked and announced as Add does.
    TKwPkgStringsItem& AddEmpty(int id) { return AddItem(id, String(), nullptr); }
    // An item read from a stream: given its id directly, without checks or notifications.
    TKwPkgStringsItem& AppendLoaded(int id);
    // Live references whose checked target lies in this collection, so that invalidating the
    // collection or one of its items visits only those, not every reference of the process.
    TKwIntrusiveList<TKwMemoryReference>& CheckedReferences() const { return checkedReferences_; }
    // Room for the items a stream announces, bounded by the id range so that a corrupt count
    // cannot reserve more than a valid file holds.
    void ReserveLoaded(int count);

protected:
    TKwPkgStringsItem& AddItem(int id, const String& text, const String* hint);
    // The item storage of the concrete class.
    virtual TKwPkgStringsItem& NewItem() = 0;
    virtual void FreeItem(TKwPkgStringsItem& item) = 0;
    // Every item is freed: all storage may be reused.
    virtual void RecycleStorage() = 0;
    // Frees every item without telling anyone (for destructors).
    void FreeAll();

private:
    friend class TKwPkgStringsItem;
    friend class TKwMemoryReference;

    bool Loading() const;
    TKwPkgStringsItem& AppendNew();
    void ChangeId(TKwPkgStringsItem& item, int id);
    void Unindex(const TKwPkgStringsItem& item);
    void Index(TKwPkgStringsItem& item);

    TKwPkgStrings& owner_;
    TKwStringsKind kind_;
    bool indexed_;
    std::vector<TKwPkgStringsItem*> items_;
    // Slot n holds the label whose id is n; grows to one past the highest id placed.
    std::vector<TKwPkgStringsItem*> index_;
    mutable TKwIntrusiveList<TKwMemoryReference> checkedReferences_;
};

// The collection of one item class.
template <class Item>
class TKwPkgStringsCollectionOf : public TKwPkgStringsCollection {
public:
    explicit TKwPkgStringsCollectionOf(TKwPkgStrings& owner)
        : TKwPkgStringsCollection(owner, Item::kKind) {}
    ~TKwPkgStringsCollectionOf() override { FreeAll(); }

    Item& Items(int index) const { return static_cast<Item&>(ItemAt(index)); }
    Item* FindId(int id) const { return static_cast<Item*>(FindItem(id)); }
    Item& Add(int id, const String& text) { return static_cast<Item&>(AddItem(id, text, nullptr)); }

protected:
    TKwPkgStringsItem& NewItem() override { return pool_.Emplace(*this); }
    void FreeItem(TKwPkgStringsItem& item) override { pool_.Destroy(static_cast<Item&>(item)); }
    void RecycleStorage() override { pool_.Reset(); }

private:
    TStablePool<Item> pool_;
};

class TKwPkgStringsLabels : public TKwPkgStringsCollectionOf<TKwPkgStringsLabel> {
public:
    using TKwPkgStringsCollectionOf::Add;
    using TKwPkgStringsCollectionOf::TKwPkgStringsCollectionOf;

    TKwPkgStringsLabel& Add(int id, const String& text, const String& hint) {
        return static_cast<TKwPkgStringsLabel&>(AddItem(id, text, &hint));
    }
    // The first label whose text equals `text` without regard to case.
    TKwPkgStringsLabel* FindLabel(StringView text) const;
};

using TKwPkgStringsMessages = TKwPkgStringsCollectionOf<TKwPkgStringsMessage>;
using TKwPkgStringsTexts = TKwPkgStringsCollectionOf<TKwPkgStringsText>;

}  // namespace kw
