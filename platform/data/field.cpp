#include "platform/data/field.h"

#include <algorithm>
#include <limits>

#include "platform/core/stream.h"
#include "platform/data/dataset.h"
#include "platform/data/db_error.h"
#include "platform/text/strings.h"
#include "platform/text/unicode.h"

namespace kw {

bool IsBlobType(TFieldType type) {
    return type == TFieldType::ftBlob || type == TFieldType::ftMemo;
}

String FieldTypeName(TFieldType type) {
    switch (type) {
        case TFieldType::ftUnknown:
            return u"Unknown";
        case TFieldType::ftInteger:
            return u"Integer";
        case TFieldType::ftCurrency:
            return u"Currency";
        case TFieldType::ftFloat:
            return u"Float";
        case TFieldType::ftString:
            return u"String";
        case TFieldType::ftDateTime:
            return u"DateTime";
        case TFieldType::ftBlob:
            return u"Blob";
        case TFieldType::ftMemo:
            return u"Memo";
    }
    return u"Unknown";
}

namespace {

TBytes Utf8Bytes(StringView text) {
    const std::string utf8 = StringToUtf8(text);
    return TBytes(utf8.begin(), utf8.end());
}

// Text and memo values are UTF-8; ASCII, the common case, widens without decoding.
String TextOf(const TCellView& cell) {
    const std::string_view utf8 = cell.Utf8();
    if (!std::all_of(utf8.begin(), utf8.end(), [](char c) { return (c & 0x80) == 0; }))
        return Utf8ToString(utf8);
    return String(utf8.begin(), utf8.end());
}

}  // namespace

// --- TField --------------------------------------------------------------------------------

TField::TField(TDataSet& dataSet, String fieldName, TFieldType dataType, int index)
    : dataSet_(&dataSet), fieldName_(std::move(fieldName)), dataType_(dataType), index_(index) {}

bool TField::CanModify() const {
    return !readOnly_ && dataSet_->CanModify();
}

TCellView TField::Cell() const {
    return dataSet_->FieldCell(index_);
}

bool TField::IsNull() const {
    return Cell().IsNull();
}

void TField::InvalidAccess(StringView kind) const {
    throw EDatabaseError(u"Cannot access field '" + fieldName_ + u"' as " + String(kind));
}

Variant TField::Value() const {
    const TCellView cell = Cell();
    switch (cell.kind) {
        case TCellKind::ckNull:
            return Variant::Null();
        case TCellKind::ckInteger:
            if (dataType_ == TFieldType::ftCurrency)
                return Currency::FromScaled(cell.integer);
            return cell.integer;
        case TCellKind::ckFloat:
            if (dataType_ == TFieldType::ftDateTime)
                return Variant::FromDate(cell.number);
            return cell.number;
        case TCellKind::ckText:
            return TextOf(cell);
        case TCellKind::ckBytes:
            if (dataType_ == TFieldType::ftBlob)
                InvalidAccess(u"a variant");
            return TextOf(cell);
    }
    return {};
}

TRecordCell TField::ToCell(const Variant& value) const {
    if (value.IsClear())
        return {};
    switch (dataType_) {
        case TFieldType::ftInteger:
            return TRecordCell::Integer(value.AsInt64());
        case TFieldType::ftCurrency:
            return TRecordCell::Integer(value.AsCurrency().scaled);
        case TFieldType::ftFloat:
            return TRecordCell::Float(value.AsDouble());
        case TFieldType::ftDateTime:
            return TRecordCell::Float(value.AsDate());
        case TFieldType::ftBlob:
            if (!value.IsStr())
                InvalidAccess(VarTypeAsText(value.VarType()));
            return TRecordCell::Bytes(Utf8Bytes(value.AsString()));
        case TFieldType::ftUnknown:
        case TFieldType::ftString:
        case TFieldType::ftMemo:
            return TRecordCell::Text(value.AsString());
    }
    return {};
}

void TField::Store(TRecordCell cell) {
    dataSet_->SetFieldCell(*this, std::move(cell));
    if (OnChange)
        OnChange(*this);
}

void TField::SetValue(const Variant& value) {
    Store(ToCell(value));
}

std::int64_t TField::AsLargeInt() const {
    const TCellView cell = Cell();
    if (cell.kind == TCellKind::ckInteger && dataType_ != TFieldType::ftCurrency)
        return cell.integer;
    return cell.IsNull() ? 0 : Value().AsInt64();
}

void TField::SetAsLargeInt(std::int64_t value) {
    if (dataType_ == TFieldType::ftInteger)
        Store(TRecordCell::Integer(value));
    else
        SetValue(value);
}

int TField::AsInteger() const {
    const TCellView cell = Cell();
    if (cell.kind == TCellKind::ckInteger && dataType_ != TFieldType::ftCurrency &&
        cell.integer >= std::numeric_limits<int>::min() &&
        cell.integer <= std::numeric_limits<int>::max())
        return static_cast<int>(cell.integer);
    return cell.IsNull() ? 0 : Value().AsInteger();
}

void TField::SetAsInteger(int value) {
    SetAsLargeInt(value);
}

double TField::AsFloat() const {
    const TCellView cell = Cell();
    if (cell.kind == TCellKind::ckFloat)
        return cell.number;
    return cell.IsNull() ? 0.0 : Value().AsDouble();
}

void TField::SetAsFloat(double value) {
    if (dataType_ == TFieldType::ftFloat || dataType_ == TFieldType::ftDateTime)
        Store(TRecordCell::Float(value));
    else
        SetValue(value);
}

Currency TField::AsCurrency() const {
    const TCellView cell = Cell();
    if (cell.kind == TCellKind::ckInteger && dataType_ == TFieldType::ftCurrency)
        return Currency::FromScaled(cell.integer);
    return cell.IsNull() ? Currency{} : Value().AsCurrency();
}

void TField::SetAsCurrency(Currency value) {
    SetValue(value);
}

TDateTime TField::AsDateTime() const {
    const TCellView cell = Cell();
    if (cell.kind == TCellKind::ckFloat)
        return cell.number;
    return cell.IsNull() ? 0.0 : Value().AsDate();
}

void TField::SetAsDateTime(TDateTime value) {
    SetValue(Variant::FromDate(value));
}

bool TField::AsBoolean() const {
    return !IsNull() && Value().AsBoolean();
}

void TField::SetAsBoolean(bool value) {
    SetValue(value);
}

String TField::AsString() const {
    const TCellView cell = Cell();
    switch (cell.kind) {
        case TCellKind::ckNull:
            return {};
        case TCellKind::ckText:
            return TextOf(cell);
        default:
            return Value().AsString();
    }
}

void TField::SetAsString(const String& value) {
    switch (dataType_) {
        case TFieldType::ftString:
        case TFieldType::ftMemo:
            return Store(TRecordCell::Text(value));
        case TFieldType::ftBlob:
            return Store(TRecordCell::Bytes(Utf8Bytes(value)));
        default:
            return SetValue(value);
    }
}

TBytes TField::AsBytes() const {
    const TCellView cell = Cell();
    switch (cell.kind) {
        case TCellKind::ckNull:
            return {};
        case TCellKind::ckBytes:
        case TCellKind::ckText:
            return TBytes(cell.data, cell.data + cell.size);
        default:
            InvalidAccess(u"bytes");
    }
}

void TField::SetAsBytes(TBytes value) {
    switch (dataType_) {
        case TFieldType::ftBlob:
            return Store(TRecordCell::Bytes(std::move(value)));
        case TFieldType::ftString:
        case TFieldType::ftMemo:
            return Store(TRecordCell::Text(Utf8ToString(
                std::string_view(reinterpret_cast<const char*>(value.data()), value.size()))));
        default:
            InvalidAccess(u"bytes");
    }
}

void TField::Clear() {
    Store(TRecordCell());
}

void TField::LoadFromStream(TStream& stream) {
    if (!IsBlob())
        InvalidAccess(u"a blob");
    stream.SetPosition(0);
    TBytes bytes(static_cast<std::size_t>(stream.Size()));
    stream.ReadBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    SetAsBytes(std::move(bytes));
}

void TField::SaveToStream(TStream& stream) const {
    if (!IsBlob())
        InvalidAccess(u"a blob");
    const TBytes bytes = AsBytes();
    stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

// --- TFields -------------------------------------------------------------------------------

TField* TFields::FindField(StringView fieldName) const {
    for (const auto& field : fields_) {
        if (SameText(field->FieldName(), fieldName))
            return field.get();
    }
    return nullptr;
}

TField& TFields::Add(TDataSet& dataSet, String fieldName, TFieldType dataType) {
    fields_.push_back(std::make_unique<TField>(dataSet, std::move(fieldName), dataType, Count()));
    return *fields_.back();
}

}  // namespace kw
