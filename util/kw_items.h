#pragma once

#include <memory>

#include "display/memory_image.h"
#include "packages/memory_refs.h"
#include "util/kw_collection.h"
#include "util/kw_types.h"

namespace kw {

class TKwItems;
class TStream;

// The value, description, image and flags of one entry of a list or combo box.
class TKwItem : public TKwCollectionItem {
    KW_CLASS(TKwItem)
public:
    explicit TKwItem(TCollection& collection);
    ~TKwItem() override;

    TKwItems& Items() const;
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    const String& Value() const { return value_; }
    // A description that matched the old value follows to the new one.
    void SetValue(const String& value);
    // The stored description; empty whenever it equals the value.
    const String& Description() const { return description_; }
    void SetDescription(const String& description);
    TKwMemoryLabel& DescriptionId() const { return *descriptionId_; }
    TKwMemoryImage& Image() const { return *image_; }
    TObject* Object() const { return object_; }
    // With OwnsObjects, the replaced object is freed.
    void SetObject(TObject* object);

    // The description label's text when it names one, else the stored description, else Value.
    String GetDescription() const;
    String GetDisplayName() const override;
    // Value read as a decimal integer, 0 when it is not one.
    int IntValue() const;
    void SetIntValue(int value);
    bool ValidData() const { return visible_; }
    void Assign(const TPersistent* source) override;

private:
    bool OwnerReading() const;

    bool visible_ = true;
    bool enabled_ = true;
    String value_;
    String description_;
    std::unique_ptr<TKwMemoryLabel> descriptionId_;
    std::unique_ptr<TKwMemoryImage> image_;
    TObject* object_ = nullptr;
};

class TKwStateItem : public TKwItem {
    KW_CLASS(TKwStateItem)
public:
    using TKwItem::TKwItem;

    TKwCheckState State() const { return state_; }
    void SetState(TKwCheckState state);
    bool Checked() const { return state_ == TKwCheckState::cksChecked; }
    void SetChecked(bool checked);
    bool Grayed() const { return state_ == TKwCheckState::cksGrayed; }
    void SetGrayed(bool grayed);

private:
    TKwCheckState state_ = TKwCheckState::cksUnChecked;
};

// The items behind list boxes, combo boxes and similar controls.
class TKwItems : public TKwCollection {
    KW_CLASS(TKwItems)
public:
    explicit TKwItems(TPersistent* owner);
    ~TKwItems() override;

    TKwItem& Items(int index) const { return static_cast<TKwItem&>(TCollection::Items(index)); }
    // A new item whose value is its index (unless the owner is being read); reports cooAdd.
    TKwItem& Add();
    TKwItem& AddEx(const String& value, const String& description, const String& imagePkg,
                   int imageId, TObject* object);
    TKwItem& AddItem(const String& value, TObject* object);
    // As Add at the index; reports cooInsert. Raises EListError unless 0 <= index <= Count.
    TKwItem& Insert(int index);
    TKwItem& InsertEx(int index, const String& value, const String& description,
                      const String& imagePkg, int imageId, TObject* object);
    // The item at `from` takes index `to`; `to` equal to Count means the last place.
    void Move(int from, int to);
    // Compared without regard to case; none when no item matches.
    TKwItem* FindValue(StringView value) const;
    TKwItem* FindDescription(StringView description) const;

    bool OwnsObjects() const { return ownsObjects_; }
    void SetOwnsObjects(bool owns) { ownsObjects_ = owns; }

    // The items in the value stream; a version above 1 raises "Invalid Version" and leaves the
    // items as they were.
    void LoadFromStream(TStream& stream);
    void SaveToStream(TStream& stream) const;
    void LoadFromFile(const String& path);
    void SaveToFile(const String& path) const;
    // One description a line; loading makes one item a line, valued by the line's index.
    void LoadDescriptionsFromStream(TStream& stream);
    void SaveDescriptionsToStream(TStream& stream) const;
    void LoadDescriptionsFromFile(const String& path);
    void SaveDescriptionsToFile(const String& path) const;
    String GetClassName() const { return ClassName(); }

protected:
    TKwItems(TPersistent* owner, TItemFactory newItem);

private:
    friend class TKwItem;
    TKwItem& Built(TKwItem& item, TKwCollectionOperation op);
    bool IsOwnerReading() const { return OwnerReading(); }

    bool ownsObjects_ = false;
};

class TKwStateItems : public TKwItems {
    KW_CLASS(TKwStateItems)
public:
    explicit TKwStateItems(TPersistent* owner);
    TKwStateItem& Items(int index) const {
        return static_cast<TKwStateItem&>(TCollection::Items(index));
    }
};

}  // namespace kw
