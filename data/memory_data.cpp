#include "data/memory_data.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <utility>

#include "platform/core/filer.h"
#include "platform/core/stream.h"
#include "platform/text/string_list.h"
#include "platform/text/strings.h"
#include "util/convert.h"
#include "util/variants.h"

namespace kw {

using enum TKwDataType;

namespace {

constexpr int kValueBytes = 8;

// Row buffers are plain zero-filled blocks; these helpers are their only owners.
TKwRecordBuffer AllocRow(int size) {
    void* block = std::calloc(static_cast<size_t>(std::max(size, 1)), 1);
    if (block == nullptr)
        throw std::bad_alloc();
    return static_cast<TKwRecordBuffer>(block);
}

void FreeRow(TKwRecordBuffer buffer) {
    std::free(buffer);
}

// The slot's referenced payloads are owned through the slot; these adopt and release them.
Char* NewText(StringView text) {
    auto copy = std::make_unique<Char[]>(text.size() + 1);
    std::copy(text.begin(), text.end(), copy.get());
    return copy.release();
}

void FreeText(Char* text) {
    std::unique_ptr<Char[]> owned(text);
}

template <class T>
T* PointerFrom(std::uint64_t bits) {
    return reinterpret_cast<T*>(static_cast<std::uintptr_t>(bits));
}

template <class T>
std::uint64_t BitsFrom(T* pointer) {
    return static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(pointer));
}

std::int64_t LoadInt(const std::uint8_t* slot) {
    std::int64_t value;
    std::memcpy(&value, slot, sizeof value);
    return value;
}

double LoadDouble(const std::uint8_t* slot) {
    double value;
    std::memcpy(&value, slot, sizeof value);
    return value;
}

StringView LoadText(const std::uint8_t* slot) {
    std::uint64_t bits;
    std::memcpy(&bits, slot, sizeof bits);
    const Char* text = PointerFrom<const Char>(bits);
    return text == nullptr ? StringView() : StringView(text);
}

const TMemoryStream* LoadStream(const std::uint8_t* slot) {
    std::uint64_t bits;
    std::memcpy(&bits, slot, sizeof bits);
    return PointerFrom<const TMemoryStream>(bits);
}

// Truncation toward zero that refuses what a 64-bit integer cannot hold.
std::int64_t TruncToInt64(double value) {
    if (!(std::fabs(value) < 9.2233720368547758e18))
        throw EConvertError(u"Value out of range for an integer");
    return static_cast<std::int64_t>(value);
}

Currency CurrencyFromInt(std::int64_t value) {
    std::int64_t scaled;
    if (__builtin_mul_overflow(value, Currency::kScale, &scaled))
        throw EConvertError(u"Currency value out of range");
    return Currency::FromScaled(scaled);
}

bool IsBlobKind(TKwDataType dataType) {
    return dataType == dtyBinary || dataType == dtyMemo;
}

template <class T>
int ThreeWay(T a, T b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

int CompareBytes(const TMemoryStream* a, const TMemoryStream* b) {
    const size_t sizeA = a ? a->Bytes().size() : 0;
    const size_t sizeB = b ? b->Bytes().size() : 0;
    const int prefix = std::min(sizeA, sizeB) == 0
                           ? 0
                           : std::memcmp(a->Memory(), b->Memory(), std::min(sizeA, sizeB));
    return prefix != 0 ? ThreeWay(prefix, 0) : ThreeWay(sizeA, sizeB);
}

int CompareSlots(TKwDataType dataType, const std::uint8_t* a, const std::uint8_t* b) {
    switch (dataType) {
        case dtyInteger:
        case dtyCurrency:
            return ThreeWay(LoadInt(a), LoadInt(b));
        case dtyDouble:
        case dtyDateTime:
            return ThreeWay(LoadDouble(a), LoadDouble(b));
        case dtyString:
            return AnsiCompareText(LoadText(a), LoadText(b));
        case dtyBinary:
        case dtyMemo:
            return CompareBytes(LoadStream(a), LoadStream(b));
    }
    return 0;
}

// Memo text is kept as the lines of a string list written to the stream.
std::unique_ptr<TMemoryStream> StreamOfLines(StringView text) {
    TStringList lines;
    lines.SetText(text);
    auto stream = std::make_unique<TMemoryStream>();
    lines.SaveToStream(*stream);
    return stream;
}

String LinesOfStream(const TMemoryStream* stream) {
    if (stream == nullptr)
        return {};
    TMemoryStream copy;
    copy.Write(stream->Memory(), static_cast<std::int64_t>(stream->Bytes().size()));
    copy.SetPosition(0);
    TStringList lines;
    lines.LoadFromStream(copy);
    return lines.Text();
}

// Restores the store's current row when a walk over the rows ends, however it ends.
class CurrentGuard {
public:
    explicit CurrentGuard(TKwMemoryData& store) : store_(store), saved_(store.CurrentBuffer()) {}
    ~CurrentGuard() { store_.SetCurrentBuffer(saved_); }
    void Forget(TKwRecordBuffer gone) {
        if (saved_ == gone)
            saved_ = nullptr;
    }

private:
    TKwMemoryData& store_;
    TKwRecordBuffer saved_;
};

}  // namespace

// ---- Column access ------------------------------------------------------------------------

bool TKwCustomMemoryField::IsBlob() const {
    return !dataObject_ && IsBlobKind(dataType_);
}

std::uint8_t* TKwCustomMemoryField::Slot() const {
    TKwRecordBuffer buffer = ActiveBuffer();
    if (buffer == nullptr)
        throw EKwMemoryDataError(u"No current record");
    return buffer + offset_;
}

void TKwCustomMemoryField::InvalidType() const {
    throw EKwMemoryDataError(u"Invalid DataType");
}

void TKwCustomMemoryField::CheckValue() const {
    if (dataObject_)
        InvalidType();
}

void TKwCustomMemoryField::CheckObject() const {
    if (!dataObject_)
        InvalidType();
}

void TKwCustomMemoryField::CheckBlob() const {
    if (!IsBlob())
        throw EKwMemoryDataError(u"Invalid BlobType");
}

std::uint64_t TKwCustomMemoryField::Bits() const {
    std::uint64_t bits;
    std::memcpy(&bits, Slot(), sizeof bits);
    return bits;
}

void TKwCustomMemoryField::StoreBits(std::uint64_t bits) {
    std::uint8_t* slot = Slot();
    std::memcpy(slot, &bits, sizeof bits);
    slot[kValueBytes] = 1;
}

void TKwCustomMemoryField::Release() {
    std::uint8_t* slot = Slot();
    const std::uint64_t bits = Bits();
    if (dataObject_) {
        if (ownsObject_)
            std::unique_ptr<TObject> owned(PointerFrom<TObject>(bits));
    } else if (dataType_ == dtyString) {
        FreeText(PointerFrom<Char>(bits));
    } else if (IsBlobKind(dataType_)) {
        std::unique_ptr<TMemoryStream> owned(PointerFrom<TMemoryStream>(bits));
    }
    std::memset(slot, 0, kKwMemorySlotSize);
}

void TKwCustomMemoryField::StoreText(StringView text) {
    Char* copy = text.empty() ? nullptr : NewText(text);
    Release();
    StoreBits(BitsFrom(copy));
}

void TKwCustomMemoryField::StoreStream(std::unique_ptr<TMemoryStream> stream) {
    Release();
    StoreBits(BitsFrom(stream.release()));
}

bool TKwCustomMemoryField::GetIsNull() const {
    return Slot()[kValueBytes] == 0;
}

std::int64_t TKwCustomMemoryField::GetAsInteger() const {
    CheckValue();
    const std::uint8_t* slot = Slot();
    switch (dataType_) {
        case dtyInteger:
            return LoadInt(slot);
        case dtyCurrency:
            return LoadInt(slot) / Currency::kScale;
        case dtyDouble:
        case dtyDateTime:
            return TruncToInt64(LoadDouble(slot));
        case dtyString:
            return GetIsNull() ? 0 : KwCStrToInt64(LoadText(slot));
        default:
            InvalidType();
    }
}

void TKwCustomMemoryField::SetAsInteger(std::int64_t value) {
    CheckValue();
    switch (dataType_) {
        case dtyInteger:
            return StoreBits(static_cast<std::uint64_t>(value));
        case dtyCurrency:
            return SetAsCurrency(CurrencyFromInt(value));
        case dtyDouble:
        case dtyDateTime:
            return SetAsDouble(static_cast<double>(value));
        case dtyString:
            return StoreText(IntToStr(value));
        default:
            InvalidType();
    }
}

Currency TKwCustomMemoryField::GetAsCurrency() const {
    CheckValue();
    const std::uint8_t* slot = Slot();
    switch (dataType_) {
        case dtyInteger:
            return CurrencyFromInt(LoadInt(slot));
        case dtyCurrency:
            return Currency::FromScaled(LoadInt(slot));
        case dtyDouble:
        case dtyDateTime:
            return Currency::FromDouble(LoadDouble(slot));
        case dtyString:
            return GetIsNull() ? Currency() : Currency::FromDouble(KwCStrToNumeric(LoadText(slot)));
        default:
            InvalidType();
    }
}

void TKwCustomMemoryField::SetAsCurrency(Currency value) {
    CheckValue();
    switch (dataType_) {
        case dtyInteger:
            return StoreBits(static_cast<std::uint64_t>(value.scaled / Currency::kScale));
        case dtyCurrency:
            return StoreBits(static_cast<std::uint64_t>(value.scaled));
        case dtyDouble:
        case dtyDateTime:
            return SetAsDouble(value.ToDouble());
        case dtyString:
            return StoreText(KwCNumericToStr(value.ToDouble()));
        default:
            InvalidType();
    }
}

double TKwCustomMemoryField::GetAsDouble() const {
    CheckValue();
    const std::uint8_t* slot = Slot();
    switch (dataType_) {
        case dtyInteger:
            return static_cast<double>(LoadInt(slot));
        case dtyCurrency:
            return Currency::FromScaled(LoadInt(slot)).ToDouble();
        case dtyDouble:
        case dtyDateTime:
            return LoadDouble(slot);
        case dtyString:
            return GetIsNull() ? 0 : KwCStrToNumeric(LoadText(slot));
        default:
            InvalidType();
    }
}

void TKwCustomMemoryField::SetAsDouble(double value) {
    CheckValue();
    switch (dataType_) {
        case dtyInteger:
            return StoreBits(static_cast<std::uint64_t>(TruncToInt64(value)));
        case dtyCurrency:
            return SetAsCurrency(Currency::FromDouble(value));
        case dtyDouble:
        case dtyDateTime: {
            std::uint64_t bits;
            std::memcpy(&bits, &value, sizeof bits);
            return StoreBits(bits);
        }
        case dtyString:
            return StoreText(KwCNumericToStr(value));
        default:
            InvalidType();
    }
}

TDateTime TKwCustomMemoryField::GetAsDateTime() const {
    CheckValue();
    if (dataType_ == dtyString)
        return GetIsNull() ? 0 : KwCStrToDate(LoadText(Slot()));
    return GetAsDouble();
}

void TKwCustomMemoryField::SetAsDateTime(TDateTime value) {
    CheckValue();
    if (dataType_ == dtyString)
        return StoreText(KwCDateToStr(value));
    SetAsDouble(value);
}

String TKwCustomMemoryField::GetAsString() const {
    CheckValue();
    if (dataType_ == dtyBinary)
        InvalidType();
    if (GetIsNull())
        return {};
    const std::uint8_t* slot = Slot();
    switch (dataType_) {
        case dtyInteger:
            return IntToStr(LoadInt(slot));
        case dtyCurrency:
        case dtyDouble:
            return KwCNumericToStr(GetAsDouble());
        case dtyDateTime:
            return KwCDateToStr(LoadDouble(slot));
        case dtyString:
            return String(LoadText(slot));
        default:
            return LinesOfStream(LoadStream(slot));
    }
}

void TKwCustomMemoryField::SetAsString(StringView value) {
    CheckValue();
    switch (dataType_) {
        case dtyInteger:
            return SetAsInteger(KwCStrToInt64(value));
        case dtyCurrency:
            return SetAsCurrency(Currency::FromDouble(KwCStrToNumeric(value)));
        case dtyDouble:
            return SetAsDouble(KwCStrToNumeric(value));
        case dtyDateTime:
            return SetAsDouble(KwCStrToDate(value));
        case dtyString:
            return StoreText(value);
        case dtyMemo:
            return StoreStream(StreamOfLines(value));
        case dtyBinary:
            InvalidType();
    }
}

Variant TKwCustomMemoryField::GetAsVariant() const {
    CheckValue();
    if (dataType_ == dtyBinary)
        InvalidType();
    if (GetIsNull())
        return Variant::Null();
    switch (dataType_) {
        case dtyInteger:
            return Variant(LoadInt(Slot()));
        case dtyCurrency:
            return Variant(GetAsCurrency());
        case dtyDouble:
            return Variant(LoadDouble(Slot()));
        case dtyDateTime:
            return Variant::FromDate(LoadDouble(Slot()));
        default:
            return Variant(GetAsString());
    }
}

void TKwCustomMemoryField::SetAsVariant(const Variant& value) {
    CheckValue();
    if (dataType_ == dtyBinary)
        InvalidType();
    if (KwVarIsNull(value))
        return Clear();
    switch (dataType_) {
        case dtyInteger: {
            const Variant cast = KwDataCast(value, dtyInteger);
            return cast.IsNull() ? Clear() : SetAsInteger(cast.AsInt64());
        }
        case dtyCurrency:
            return SetAsCurrency(value.AsCurrency());
        case dtyDouble:
            return SetAsDouble(value.AsDouble());
        case dtyDateTime:
            return SetAsDateTime(value.AsDate());
        default:
            return SetAsString(KwDataString(KwDataCast(value, dtyString)));
    }
}

TObject* TKwCustomMemoryField::GetAsObject() const {
    CheckObject();
    return PointerFrom<TObject>(Bits());
}

void TKwCustomMemoryField::SetAsObject(TObject* object) {
    CheckObject();
    if (object != GetAsObject())
        Release();
    if (object == nullptr)
        return Release();
    StoreBits(BitsFrom(object));
}

void TKwCustomMemoryField::Clear() {
    Release();
}

// ---- Blob columns -------------------------------------------------------------------------

TMemoryStream* TKwCustomMemoryField::ReadStream() const {
    CheckBlob();
    TMemoryStream* stream = PointerFrom<TMemoryStream>(Bits());
    if (stream != nullptr)
        stream->SetPosition(0);
    return stream;
}

TMemoryStream& TKwCustomMemoryField::WriteStream() {
    CheckBlob();
    StoreStream(std::make_unique<TMemoryStream>());
    return *PointerFrom<TMemoryStream>(Bits());
}

void TKwCustomMemoryField::LoadFromStream(TStream& source) {
    CheckBlob();
    auto stream = std::make_unique<TMemoryStream>();
    stream->CopyFrom(source, 0);
    stream->SetPosition(0);
    StoreStream(std::move(stream));
}

void TKwCustomMemoryField::SaveToStream(TStream& dest) const {
    if (TMemoryStream* stream = ReadStream())
        dest.CopyFrom(*stream, 0);
}

void TKwCustomMemoryField::LoadFromStrings(const TStringList& lines) {
    CheckBlob();
    auto stream = std::make_unique<TMemoryStream>();
    lines.SaveToStream(*stream);
    StoreStream(std::move(stream));
}

void TKwCustomMemoryField::SaveToStrings(TStringList& lines) const {
    lines.Clear();
    if (TMemoryStream* stream = ReadStream())
        lines.LoadFromStream(*stream);
}

// ---- Copies between columns and rows ------------------------------------------------------

void TKwCustomMemoryField::AssignData(const TKwCustomMemoryField& source) {
    if (dataObject_ || source.dataObject_) {
        CheckObject();
        return SetAsObject(source.GetAsObject());
    }
    if (source.GetIsNull())
        return Clear();
    if (IsBlob() && source.IsBlob()) {
        TMemoryStream* stream = source.ReadStream();
        if (stream == nullptr)
            return StoreStream(nullptr);
        return LoadFromStream(*stream);
    }
    switch (dataType_) {
        case dtyInteger:
            return SetAsInteger(source.GetAsInteger());
        case dtyCurrency:
            return SetAsCurrency(source.GetAsCurrency());
        case dtyDouble:
            return SetAsDouble(source.GetAsDouble());
        case dtyDateTime:
            return SetAsDateTime(source.GetAsDateTime());
        default:
            return SetAsString(source.GetAsString());
    }
}

void TKwCustomMemoryField::LoadFromBuffer(const std::uint8_t* buffer, int size) {
    if (offset_ + kKwMemorySlotSize > size)
        throw EKwMemoryDataError(u"Record buffer too small");
    // The view only reads the source row.
    TKwMemoryFieldB source(*this, const_cast<TKwRecordBuffer>(buffer));
    AssignData(source);
}

// ---- Value stream -------------------------------------------------------------------------

void TKwCustomMemoryField::WriteValue(TWriter& writer) const {
    CheckValue();
    if (GetIsNull())
        return writer.WriteValue(TValueType::vaNull);
    switch (dataType_) {
        case dtyInteger:
            return writer.WriteInteger(LoadInt(Slot()));
        case dtyCurrency:
        case dtyDouble:
        case dtyDateTime:
            return writer.WriteFloat(GetAsDouble());
        case dtyString:
        case dtyMemo:
            return writer.WriteString(GetAsString());
        case dtyBinary: {
            const TMemoryStream* stream = LoadStream(Slot());
            const std::int64_t size =
                stream ? static_cast<std::int64_t>(stream->Bytes().size()) : 0;
            writer.WriteInteger(size);
            if (size > 0)
                writer.Write(stream->Memory(), size);
            return;
        }
    }
}

void TKwCustomMemoryField::ReadValue(TReader& reader) {
    CheckValue();
    if (reader.NextValue() == TValueType::vaNull) {
        reader.ReadValue();
        return Clear();
    }
    switch (dataType_) {
        case dtyInteger:
            return SetAsInteger(reader.ReadInt64());
        case dtyCurrency:
        case dtyDouble:
        case dtyDateTime:
            return SetAsDouble(reader.ReadFloat());
        case dtyString:
        case dtyMemo:
            return SetAsString(reader.ReadString());
        case dtyBinary: {
            std::int64_t size = reader.ReadInt64();
            if (size < 0)
                throw EReadError(u"Invalid blob size");
            if (size == 0)
                return Clear();
            // In pieces, so a forged size fails at the stream's end instead of allocating it.
            auto stream = std::make_unique<TMemoryStream>();
            std::uint8_t chunk[65536];
            while (size > 0) {
                const std::int64_t part = std::min<std::int64_t>(size, sizeof chunk);
                reader.Read(chunk, part);
                stream->Write(chunk, part);
                size -= part;
            }
            stream->SetPosition(0);
            return StoreStream(std::move(stream));
        }
    }
}

// ---- Columns ------------------------------------------------------------------------------

TKwRecordBuffer TKwMemoryField::ActiveBuffer() const {
    return fields_.Owner().CurrentBuffer();
}

TKwMemoryFieldB::TKwMemoryFieldB(const TKwCustomMemoryField& field, TKwRecordBuffer buffer)
    : TKwCustomMemoryField(field.DataType(), field.DataObject()), buffer_(buffer) {
    Place(field.Index(), field.Offset());
    SetOwnsObject(field.OwnsObject());
}

TKwMemoryFields::~TKwMemoryFields() = default;

TKwMemoryField& TKwMemoryFields::Add(TKwDataType dataType) {
    return Append(dataType, false);
}

TKwMemoryField& TKwMemoryFields::AddObject() {
    return Append(dtyInteger, true);
}

TKwMemoryField& TKwMemoryFields::Append(TKwDataType dataType, bool dataObject) {
    list_.push_back(std::make_unique<TKwMemoryField>(*this, dataType, dataObject));
    owner_.InsertSlot(owner_.recordSize_);
    owner_.recordSize_ += kKwMemorySlotSize;
    owner_.Renumber(nullptr);
    return *list_.back();
}

void TKwMemoryFields::Remove(TKwMemoryField& field) {
    const auto found = std::find_if(list_.begin(), list_.end(),
                                    [&](const auto& item) { return item.get() == &field; });
    if (found == list_.end())
        throw EKwMemoryDataError(u"Field not in this store");
    owner_.RemoveSlot(field);
    owner_.recordSize_ -= kKwMemorySlotSize;
    owner_.Renumber(&field);
    owner_.current_ = nullptr;
    list_.erase(found);
}

void TKwMemoryFields::ClearData() {
    for (const auto& field : list_)
        field->Clear();
}

// ---- Store --------------------------------------------------------------------------------

TKwMemoryData::TKwMemoryData() : fields_(std::make_unique<TKwMemoryFields>(*this)) {}

TKwMemoryData::TKwMemoryData(const TKwMemoryData& source) : TKwMemoryData() {
    for (int i = 0; i < source.Fields().Count(); ++i) {
        const TKwMemoryField& field = source.Fields().Field(i);
        fields_->Append(field.DataType(), field.DataObject());
    }
}

TKwMemoryData::~TKwMemoryData() = default;

void TKwMemoryData::Renumber(const TKwMemoryField* skipped) {
    int index = 0;
    for (const auto& field : fields_->list_) {
        if (field.get() == skipped)
            continue;
        field->Place(index, index * kKwMemorySlotSize);
        ++index;
    }
}

void TKwMemoryData::InsertSlot(int offset) {
    const int newSize = recordSize_ + kKwMemorySlotSize;
    for (TKwRecordBuffer* place : GetListAllBuffers()) {
        TKwRecordBuffer grown = AllocRow(newSize);
        std::memcpy(grown, *place, static_cast<size_t>(offset));
        std::memcpy(grown + offset + kKwMemorySlotSize, *place + offset,
                    static_cast<size_t>(recordSize_ - offset));
        if (current_ == *place)
            current_ = grown;
        FreeRow(std::exchange(*place, grown));
    }
}

void TKwMemoryData::RemoveSlot(TKwMemoryField& field) {
    const int offset = field.Offset();
    const int newSize = recordSize_ - kKwMemorySlotSize;
    for (TKwRecordBuffer* place : GetListAllBuffers()) {
        current_ = *place;
        field.Clear();
        TKwRecordBuffer shrunk = AllocRow(newSize);
        std::memcpy(shrunk, *place, static_cast<size_t>(offset));
        std::memcpy(shrunk + offset, *place + offset + kKwMemorySlotSize,
                    static_cast<size_t>(newSize - offset));
        FreeRow(std::exchange(*place, shrunk));
    }
}

TKwRecordBuffer TKwMemoryData::CreateBuffer() {
    TKwRecordBuffer buffer = AllocRow(recordSize_);
    if (OnNewBuffer) {
        CurrentGuard guard(*this);
        current_ = buffer;
        OnNewBuffer(*this);
    }
    return buffer;
}

void TKwMemoryData::DeleteBuffer(TKwRecordBuffer buffer) {
    if (buffer == nullptr)
        return;
    {
        CurrentGuard guard(*this);
        guard.Forget(buffer);
        current_ = buffer;
        fields_->ClearData();
    }
    FreeRow(buffer);
}

void TKwMemoryData::LoadFromBuffer(const std::uint8_t* buffer, int size) {
    for (const auto& field : fields_->list_)
        if (!field->DataObject())
            field->LoadFromBuffer(buffer, size);
}

void TKwMemoryData::FieldChangeType(TKwMemoryField& field, TKwDataType dataType, bool dataObject) {
    if (field.DataType() == dataType && field.DataObject() == dataObject)
        return;
    CurrentGuard guard(*this);
    const std::vector<TKwRecordBuffer*> places = GetListAllBuffers();
    // Binary and memo share the stream form, so their streams stay where they are.
    if (field.IsBlob() && !dataObject && IsBlobKind(dataType)) {
        field.Retype(dataType, dataObject);
        return;
    }
    const bool throughText = !field.DataObject() && !dataObject && field.DataType() != dtyBinary &&
                             dataType != dtyBinary;
    std::vector<std::optional<String>> texts(places.size());
    for (size_t i = 0; i < places.size(); ++i) {
        current_ = *places[i];
        if (throughText && !field.GetIsNull())
            texts[i] = field.GetAsString();
        field.Clear();
    }
    field.Retype(dataType, dataObject);
    for (size_t i = 0; i < places.size(); ++i) {
        if (!texts[i])
            continue;
        current_ = *places[i];
        try {
            field.SetAsString(*texts[i]);
        } catch (const EConvertError&) {
            // An integer column still takes a number with decimals, truncated.
            if (dataType != dtyInteger)
                continue;
            try {
                field.SetAsInteger(TruncToInt64(KwCStrToNumeric(*texts[i])));
            } catch (const EConvertError&) {
            }
        }
    }
}

// ---- Sorting ------------------------------------------------------------------------------

int TKwMemoryData::CompareRows(const TKwMemorySortColumns& columns, const std::uint8_t* a,
                               const std::uint8_t* b) {
    for (const TKwMemorySortColumn& column : columns) {
        const int offset = column.field->Offset();
        const std::uint8_t* slotA = a + offset;
        const std::uint8_t* slotB = b + offset;
        const bool nullA = slotA[kValueBytes] == 0;
        const bool nullB = slotB[kValueBytes] == 0;
        if (nullA || nullB) {
            if (nullA != nullB)
                return nullA ? -1 : 1;
            continue;
        }
        const int order = CompareSlots(column.field->DataType(), slotA, slotB);
        if (order != 0)
            return column.descending ? -order : order;
    }
    return 0;
}

namespace {

void CheckSortColumns(const TKwMemorySortColumns& columns) {
    for (const TKwMemorySortColumn& column : columns)
        if (column.field == nullptr || column.field->DataObject())
            throw EKwMemoryDataError(u"Invalid DataType");
}

}  // namespace

namespace {

// One sort column's values lifted out of the rows once, so that comparisons read compact arrays
// instead of chasing row buffers and measuring texts again.
struct LiftedColumn {
    TKwDataType kind;
    bool descending;
    std::vector<std::uint8_t> isNull;
    std::vector<std::uint64_t> bits;  // numeric kinds
    std::vector<StringView> texts;
    std::vector<const TMemoryStream*> streams;

    LiftedColumn(const TKwMemorySortColumn& column, const std::vector<TKwRecordBuffer>& rows)
        : kind(column.field->DataType()), descending(column.descending) {
        const int offset = column.field->Offset();
        isNull.resize(rows.size());
        for (size_t i = 0; i < rows.size(); ++i) {
            const std::uint8_t* slot = rows[i] + offset;
            isNull[i] = slot[kValueBytes] == 0;
            Lift(slot);
        }
    }

    bool Numeric() const { return !IsBlobKind(kind) && kind != dtyString; }

    void Lift(const std::uint8_t* slot) {
        if (Numeric())
            return bits.push_back(static_cast<std::uint64_t>(LoadInt(slot)));
        if (kind == dtyString)
            return texts.push_back(LoadText(slot));
        streams.push_back(LoadStream(slot));
    }

    // Nulls first in either direction, then the values in the column's direction.
    int CompareValues(bool nullA, bool nullB, std::uint64_t a, std::uint64_t b) const {
        if (nullA || nullB)
            return ThreeWay(nullB, nullA);
        int order;
        if (kind == dtyDouble || kind == dtyDateTime)
            order = ThreeWay(std::bit_cast<double>(a), std::bit_cast<double>(b));
        else
            order = ThreeWay(static_cast<std::int64_t>(a), static_cast<std::int64_t>(b));
        return descending ? -order : order;
    }

    int Compare(std::uint32_t a, std::uint32_t b) const {
        if (Numeric())
            return CompareValues(isNull[a], isNull[b], bits[a], bits[b]);
        if (isNull[a] || isNull[b])
            return ThreeWay(isNull[b], isNull[a]);
        const int order = kind == dtyString ? AnsiCompareText(texts[a], texts[b])
                                            : CompareBytes(streams[a], streams[b]);
        return descending ? -order : order;
    }
};

// What the sort moves: a row's number with the first column's value beside it, which decides
// most comparisons without leaving the array.
struct SortEntry {
    std::uint64_t bits;
    std::uint32_t row;
    std::uint8_t isNull;
};

class RowSorter {
public:
    RowSorter(const TKwMemorySortColumns& columns, const std::vector<TKwRecordBuffer>& rows) {
        lifted_.reserve(columns.size());
        for (const TKwMemorySortColumn& column : columns)
            lifted_.emplace_back(column, rows);
        const LiftedColumn& head = lifted_.front();
        entries_.resize(rows.size());
        for (size_t i = 0; i < rows.size(); ++i)
            entries_[i] = {head.Numeric() ? head.bits[i] : 0, static_cast<std::uint32_t>(i),
                           head.isNull[i]};
    }

    // The row numbers in sorted order.
    const std::vector<SortEntry>& Sorted() {
        SortRange(entries_.begin(), entries_.end(), 0);
        return entries_;
    }

private:
    using Iterator = std::vector<SortEntry>::iterator;

    int CompareOn(size_t column, const SortEntry& a, const SortEntry& b) const {
        const LiftedColumn& lifted = lifted_[column];
        if (column == 0 && lifted.Numeric())
            return lifted.CompareValues(a.isNull, b.isNull, a.bits, b.bits);
        return lifted.Compare(a.row, b.row);
    }

    // Sorts by one column, then each run of rows equal on it by the next column. Working run by
    // run keeps the rows a later column compares close together, and their texts in the cache.
    void SortRange(Iterator first, Iterator last, size_t column) {
        if (last - first < 2)
            return;
        std::stable_sort(first, last, [&](const SortEntry& a, const SortEntry& b) {
            return CompareOn(column, a, b) < 0;
        });
        if (column + 1 == lifted_.size())
            return;
        for (Iterator run = first; run != last;) {
            Iterator end = run + 1;
            while (end != last && CompareOn(column, *run, *end) == 0)
                ++end;
            SortRange(run, end, column + 1);
            run = end;
        }
    }

    std::vector<LiftedColumn> lifted_;
    std::vector<SortEntry> entries_;
};

}  // namespace

void TKwMemoryData::Sort(std::vector<TKwRecordBuffer>& rows,
                         const TKwMemorySortColumns& columns) const {
    if (rows.empty() || columns.empty())
        return;
    CheckSortColumns(columns);
    RowSorter sorter(columns, rows);
    std::vector<TKwRecordBuffer> sorted;
    sorted.reserve(rows.size());
    for (const SortEntry& entry : sorter.Sorted())
        sorted.push_back(rows[entry.row]);
    rows.swap(sorted);
}

void TKwMemoryData::SortTree(std::vector<TKwMemoryNode*>& nodes,
                             const TKwMemorySortColumns& columns) const {
    if (nodes.empty() || columns.empty())
        return;
    CheckSortColumns(columns);
    for (TKwMemoryNode* node : nodes)
        SortTree(node->children, columns);
    std::stable_sort(nodes.begin(), nodes.end(),
                     [&](const TKwMemoryNode* a, const TKwMemoryNode* b) {
                         return CompareRows(columns, a->buffer, b->buffer) < 0;
                     });
}

// ---- Store with its own rows --------------------------------------------------------------

TKwMemoryTable::~TKwMemoryTable() {
    ClearRows();
}

std::vector<TKwRecordBuffer*> TKwMemoryTable::GetListAllBuffers() {
    std::vector<TKwRecordBuffer*> places;
    places.reserve(rows_.size());
    for (TKwRecordBuffer& row : rows_)
        places.push_back(&row);
    return places;
}

TKwRecordBuffer TKwMemoryTable::AppendRow() {
    rows_.reserve(rows_.size() + 1);
    rows_.push_back(CreateBuffer());
    SetCurrentBuffer(rows_.back());
    return rows_.back();
}

void TKwMemoryTable::DeleteRow(int index) {
    TKwRecordBuffer row = Row(index);
    rows_.erase(rows_.begin() + index);
    DeleteBuffer(row);
}

void TKwMemoryTable::ClearRows() {
    for (TKwRecordBuffer row : rows_)
        DeleteBuffer(row);
    rows_.clear();
    SetCurrentBuffer(nullptr);
}

}  // namespace kw
