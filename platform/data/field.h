#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/core/currency.h"
#include "platform/core/datetime.h"
#include "platform/core/types.h"
#include "platform/core/variant.h"
#include "platform/data/record_store.h"

namespace kw {

class TDataSet;
class TStream;

// Field types; each has one natural stored kind: integers and currency (scaled by 10,000) as
// 64-bit integers, floats and date-times as doubles, strings and memos as text, blobs as bytes.
enum class TFieldType {
    ftUnknown,
    ftInteger,
    ftCurrency,
    ftFloat,
    ftString,
    ftDateTime,
    ftBlob,
    ftMemo
};

bool IsBlobType(TFieldType type);
String FieldTypeName(TFieldType type);

// One column of a dataset, reading and writing the value of the dataset's current record
// (the edit buffer while editing or inserting, the key buffer in set-key state).
//
// Reading a null value gives 0, "", false or an empty byte list. Values of another kind than
// the field's are converted with the variant casts. Writing needs the dataset in edit, insert
// or set-key state.
class TField {
public:
    TField(TDataSet& dataSet, String fieldName, TFieldType dataType, int index);
    TField(const TField&) = delete;
    TField& operator=(const TField&) = delete;

    TDataSet& DataSet() const { return *dataSet_; }
    const String& FieldName() const { return fieldName_; }
    TFieldType DataType() const { return dataType_; }
    // Position in the dataset's field list, from 0.
    int Index() const { return index_; }
    bool IsBlob() const { return IsBlobType(dataType_); }

    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value) { readOnly_ = value; }
    // A required field must not be null when the record is posted.
    bool Required() const { return required_; }
    void SetRequired(bool value) { required_ = value; }
    // Not read-only and the dataset can be modified.
    bool CanModify() const;

    bool IsNull() const;
    // Blob fields have no variant form (use AsBytes or a blob stream); memos give text.
    Variant Value() const;
    // A null or empty variant clears the field.
    void SetValue(const Variant& value);
    std::int64_t AsLargeInt() const;
    void SetAsLargeInt(std::int64_t value);
    int AsInteger() const;
    void SetAsInteger(int value);
    double AsFloat() const;
    void SetAsFloat(double value);
    Currency AsCurrency() const;
    void SetAsCurrency(Currency value);
    TDateTime AsDateTime() const;
    void SetAsDateTime(TDateTime value);
    bool AsBoolean() const;
    void SetAsBoolean(bool value);
    // Blob fields raise; memos give their text.
    String AsString() const;
    void SetAsString(const String& value);
    // Blob fields give their bytes, text fields their UTF-8 form; numbers raise.
    TBytes AsBytes() const;
    void SetAsBytes(TBytes value);
    void Clear();

    // Blob and memo fields: the whole value to or from a stream (from the stream's start).
    void LoadFromStream(TStream& stream);
    void SaveToStream(TStream& stream) const;

    // Called with the field before a new value is stored (raise to refuse it), and after.
    std::function<void(TField&)> OnValidate;
    std::function<void(TField&)> OnChange;

    // The stored value as it is now.
    TCellView Cell() const;
    // A value converted to this field's stored kind, as SetValue would store it.
    TRecordCell ToCell(const Variant& value) const;

private:
    void Store(TRecordCell cell);
    [[noreturn]] void InvalidAccess(StringView kind) const;

    TDataSet* dataSet_;
    String fieldName_;
    TFieldType dataType_;
    int index_;
    bool readOnly_ = false;
    bool required_ = false;
};

// The fields of a dataset in column order; owns them.
class TFields {
public:
    int Count() const { return static_cast<int>(fields_.size()); }
    TField& operator[](int index) const { return *fields_[static_cast<std::size_t>(index)]; }
    // Compared case-insensitively (ASCII); none when there is no such field.
    TField* FindField(StringView fieldName) const;
    TField& Add(TDataSet& dataSet, String fieldName, TFieldType dataType);
    void Clear() { fields_.clear(); }

    auto begin() const { return fields_.begin(); }
    auto end() const { return fields_.end(); }

private:
    std::vector<std::unique_ptr<TField>> fields_;
};

}  // namespace kw
