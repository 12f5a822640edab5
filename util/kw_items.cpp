#include "util/kw_items.h"

#include "platform/core/exception.h"
#include "platform/core/filer.h"
#include "platform/core/stream.h"
#include "platform/text/string_list.h"
#include "platform/text/strings.h"

namespace kw {

using enum TKwCollectionOperation;

KW_IMPLEMENT_CLASS(TKwItem, TKwCollectionItem)
KW_IMPLEMENT_CLASS(TKwStateItem, TKwItem)
KW_IMPLEMENT_CLASS(TKwItems, TKwCollection)
KW_IMPLEMENT_CLASS(TKwStateItems, TKwItems)

namespace {

constexpr int kItemStreamVersion = 1;
constexpr int kItemStreamBuffer = 4096;

template <class Item>
TCollection::TItemFactory FactoryOf() {
    return [](TCollection& owner) -> std::unique_ptr<TCollectionItem> {
        return std::make_unique<Item>(owner);
    };
}

// Ends an update however the work inside it ends.
class UpdateScope {
public:
    explicit UpdateScope(TKwCollection& collection) : collection_(collection) {
        collection_.BeginUpdate();
    }
    ~UpdateScope() { collection_.EndUpdate(); }

private:
    TKwCollection& collection_;
};

}  // namespace

// ---- Item ---------------------------------------------------------------------------------

TKwItem::TKwItem(TCollection& collection)
    : TKwCollectionItem(collection),
      descriptionId_(std::make_unique<TKwMemoryLabel>()),
      image_(std::make_unique<TKwMemoryImage>()) {
    descriptionId_->OnChange = [this](TKwMemoryReference&) { Opt(cooModify); };
    image_->OnChange = [this](TKwMemoryImage&) { Opt(cooImageChange); };
}

TKwItem::~TKwItem() {
    if (Items().OwnsObjects())
        std::unique_ptr<TObject> owned(object_);
}

TKwItems& TKwItem::Items() const {
    return static_cast<TKwItems&>(Collection());
}

bool TKwItem::OwnerReading() const {
    return Items().IsOwnerReading();
}

void TKwItem::SetVisible(bool visible) {
    if (visible_ == visible)
        return;
    visible_ = visible;
    Opt(cooVisibleChange);
}

void TKwItem::SetEnabled(bool enabled) {
    if (enabled_ == enabled)
        return;
    enabled_ = enabled;
    Opt(cooEnabledChange);
}

void TKwItem::SetValue(const String& value) {
    if (value_ == value)
        return;
    if (!OwnerReading() && description_ == value_)
        description_ = value;
    value_ = value;
    // A stored description is never its value's twin.
    if (description_ == value_)
        description_.clear();
    Opt(cooValueChange);
    if (description_.empty() || description_ == value_)
        Opt(cooModify);
}

void TKwItem::SetDescription(const String& description) {
    if (description_ == description)
        return;
    description_ = description == value_ ? String() : description;
    Opt(cooModify);
}

void TKwItem::SetObject(TObject* object) {
    if (object_ == object)
        return;
    if (Items().OwnsObjects())
        std::unique_ptr<TObject> owned(object_);
    object_ = object;
}

String TKwItem::GetDescription() const {
    if (descriptionId_->Id() >= 0)
        return descriptionId_->Text();
    return description_.empty() ? value_ : description_;
}

String TKwItem::GetDisplayName() const {
    String name = GetDescription();
    if (name.empty())
        name = value_;
    return name.empty() ? TKwCollectionItem::GetDisplayName() : name;
}

int TKwItem::IntValue() const {
    return StrToIntDef(value_, 0);
}

void TKwItem::SetIntValue(int value) {
    SetValue(IntToStr(value));
}

void TKwItem::Assign(const TPersistent* source) {
    const auto* item = dynamic_cast<const TKwItem*>(source);
    if (item == nullptr)
        return TKwCollectionItem::Assign(source);
    UpdateScope update(Items());
    SetEnabled(item->enabled_);
    SetVisible(item->visible_);
    SetValue(item->value_);
    SetDescription(item->description_);
    descriptionId_->Assign(item->descriptionId_.get());
    image_->Assign(item->image_.get());
    SetObject(item->object_);
}

// ---- State item ---------------------------------------------------------------------------

void TKwStateItem::SetState(TKwCheckState state) {
    if (state_ == state)
        return;
    state_ = state;
    Opt(cooStateChange);
}

void TKwStateItem::SetChecked(bool checked) {
    SetState(checked ? TKwCheckState::cksChecked : TKwCheckState::cksUnChecked);
}

void TKwStateItem::SetGrayed(bool grayed) {
    SetState(grayed ? TKwCheckState::cksGrayed : TKwCheckState::cksUnChecked);
}

// ---- Items --------------------------------------------------------------------------------

TKwItems::TKwItems(TPersistent* owner) : TKwItems(owner, FactoryOf<TKwItem>()) {}

TKwItems::TKwItems(TPersistent* owner, TItemFactory newItem)
    : TKwCollection(owner, std::move(newItem)) {}

TKwItems::~TKwItems() {
    FreeItemsSilently();
}

TKwStateItems::TKwStateItems(TPersistent* owner) : TKwItems(owner, FactoryOf<TKwStateItem>()) {}

TKwItem& TKwItems::Built(TKwItem& item, TKwCollectionOperation op) {
    EndOpt();
    Opt(op, &item);
    return item;
}

TKwItem& TKwItems::Add() {
    BeginOpt();
    auto& item = static_cast<TKwItem&>(TCollection::Add());
    if (!OwnerReading())
        item.SetIntValue(item.Index());
    return Built(item, cooAdd);
}

TKwItem& TKwItems::Insert(int index) {
    if (index < 0 || index > Count())
        IndexError(index);
    BeginOpt();
    auto& item = static_cast<TKwItem&>(TCollection::Insert(index));
    if (!OwnerReading())
        item.SetIntValue(item.Index());
    return Built(item, cooInsert);
}

namespace {

void Fill(TKwItem& item, const String& value, const String& description, const String& imagePkg,
          int imageId, TObject* object) {
    item.SetValue(value);
    item.SetDescription(description);
    item.Image().PkgId(imagePkg, imageId);
    item.SetObject(object);
}

}  // namespace

TKwItem& TKwItems::AddEx(const String& value, const String& description, const String& imagePkg,
                         int imageId, TObject* object) {
    BeginOpt();
    auto& item = static_cast<TKwItem&>(TCollection::Add());
    Fill(item, value, description, imagePkg, imageId, object);
    return Built(item, cooAdd);
}

TKwItem& TKwItems::AddItem(const String& value, TObject* object) {
    return AddEx(value, {}, {}, -1, object);
}

TKwItem& TKwItems::InsertEx(int index, const String& value, const String& description,
                            const String& imagePkg, int imageId, TObject* object) {
    if (index < 0 || index > Count())
        IndexError(index);
    BeginOpt();
    auto& item = static_cast<TKwItem&>(TCollection::Insert(index));
    Fill(item, value, description, imagePkg, imageId, object);
    return Built(item, cooInsert);
}

void TKwItems::Move(int from, int to) {
    Items(from).SetIndex(to == Count() ? Count() - 1 : to);
}

TKwItem* TKwItems::FindValue(StringView value) const {
    for (int i = 0; i < Count(); ++i)
        if (AnsiSameText(Items(i).Value(), value))
            return &Items(i);
    return nullptr;
}

TKwItem* TKwItems::FindDescription(StringView description) const {
    for (int i = 0; i < Count(); ++i)
        if (AnsiSameText(Items(i).GetDescription(), description))
            return &Items(i);
    return nullptr;
}

void TKwItems::SaveToStream(TStream& stream) const {
    TWriter writer(stream, kItemStreamBuffer);
    writer.WriteInteger(kItemStreamVersion);
    writer.WriteInteger(Count());
    for (int i = 0; i < Count(); ++i) {
        const TKwItem& item = Items(i);
        writer.WriteBoolean(item.Visible());
        writer.WriteBoolean(item.Enabled());
        writer.WriteString(item.Value());
        writer.WriteString(item.GetDescription());
        writer.WriteString(item.DescriptionId().PkgName());
        writer.WriteInteger(item.DescriptionId().Id());
        writer.WriteString(item.Image().PkgName());
        writer.WriteInteger(item.Image().Id());
    }
}

void TKwItems::LoadFromStream(TStream& stream) {
    TReader reader(stream, kItemStreamBuffer);
    if (reader.ReadInteger() > kItemStreamVersion)
        throw EReadError(u"Invalid Version");
    Clear();
    UpdateScope update(*this);
    const int count = reader.ReadInteger();
    for (int i = 0; i < count; ++i) {
        TKwItem& item = Add();
        item.SetVisible(reader.ReadBoolean());
        item.SetEnabled(reader.ReadBoolean());
        item.SetValue(reader.ReadString());
        item.SetDescription(reader.ReadString());
        String labelPkg = reader.ReadString();
        item.DescriptionId().PkgId(labelPkg, reader.ReadInteger());
        String imagePkg = reader.ReadString();
        item.Image().PkgId(imagePkg, reader.ReadInteger());
    }
}

void TKwItems::LoadFromFile(const String& path) {
    TFileStream stream(path, TFileMode::fmOpenRead);
    LoadFromStream(stream);
}

void TKwItems::SaveToFile(const String& path) const {
    TFileStream stream(path, TFileMode::fmCreate);
    SaveToStream(stream);
}

void TKwItems::SaveDescriptionsToStream(TStream& stream) const {
    TStringList lines;
    for (int i = 0; i < Count(); ++i)
        lines.Add(Items(i).GetDescription());
    lines.SaveToStream(stream);
}

void TKwItems::LoadDescriptionsFromStream(TStream& stream) {
    TStringList lines;
    lines.LoadFromStream(stream);
    Clear();
    UpdateScope update(*this);
    for (int i = 0; i < lines.Count(); ++i) {
        TKwItem& item = Add();
        item.SetIntValue(i);
        item.SetDescription(lines.Strings(i));
    }
}

void TKwItems::LoadDescriptionsFromFile(const String& path) {
    TFileStream stream(path, TFileMode::fmOpenRead);
    LoadDescriptionsFromStream(stream);
}

void TKwItems::SaveDescriptionsToFile(const String& path) const {
    TFileStream stream(path, TFileMode::fmCreate);
    SaveDescriptionsToStream(stream);
}

}  // namespace kw
