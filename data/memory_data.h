#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/core/currency.h"
#include "platform/core/datetime.h"
#include "platform/core/exception.h"
#include "platform/core/variant.h"
#include "util/kw_types.h"

namespace kw {

class TMemoryStream;
class TObject;
class TReader;
class TStream;
class TStringList;
class TWriter;
class TKwMemoryData;
class TKwMemoryFields;

// "Invalid DataType" for a value access on the wrong kind of column, "Invalid BlobType" for a
// stream access on a column that holds no stream.
KW_DECLARE_EXCEPTION(EKwMemoryDataError, Exception);

// One row: a block of the store's record size, a 9-byte slot per column (8 bytes of value and
// an assigned byte). Zero-filled means every column is null.
using TKwRecordBuffer = std::uint8_t*;
inline constexpr int kKwMemorySlotSize = 9;

// A column's typed access to its slot in whatever row ActiveBuffer names.
class TKwCustomMemoryField {
public:
    virtual ~TKwCustomMemoryField() = default;
    TKwCustomMemoryField(const TKwCustomMemoryField&) = delete;
    TKwCustomMemoryField& operator=(const TKwCustomMemoryField&) = delete;

    virtual TKwRecordBuffer ActiveBuffer() const = 0;

    int Offset() const { return offset_; }
    TKwDataType DataType() const { return dataType_; }
    bool DataObject() const { return dataObject_; }
    int Index() const { return index_; }
    // When set, replacing or clearing an object reference frees the previous object.
    bool OwnsObject() const { return ownsObject_; }
    void SetOwnsObject(bool owns) { ownsObject_ = owns; }
    bool IsBlob() const;

    bool GetIsNull() const;
    std::int64_t GetAsInteger() const;
    void SetAsInteger(std::int64_t value);
    Currency GetAsCurrency() const;
    void SetAsCurrency(Currency value);
    double GetAsDouble() const;
    void SetAsDouble(double value);
    TDateTime GetAsDateTime() const;
    void SetAsDateTime(TDateTime value);
    String GetAsString() const;
    void SetAsString(StringView value);
    Variant GetAsVariant() const;
    void SetAsVariant(const Variant& value);
    TObject* GetAsObject() const;
    void SetAsObject(TObject* object);
    void Clear();

    // Blob columns: the row's stream positioned at 0, or none.
    TMemoryStream* ReadStream() const;
    // Blob columns: a fresh empty stream in place of the old one; the column becomes assigned.
    TMemoryStream& WriteStream();
    void LoadFromStream(TStream& source);
    void SaveToStream(TStream& dest) const;
    void LoadFromStrings(const TStringList& lines);
    void SaveToStrings(TStringList& lines) const;

    // Copies the source column's value through this column's kind.
    void AssignData(const TKwCustomMemoryField& source);
    // Copies this column's value from another row buffer of the same store.
    void LoadFromBuffer(const std::uint8_t* buffer, int size);

    // The value in the filer's value stream; a null column writes the null kind.
    void WriteValue(TWriter& writer) const;
    void ReadValue(TReader& reader);

protected:
    TKwCustomMemoryField(TKwDataType dataType, bool dataObject)
        : dataType_(dataType), dataObject_(dataObject) {}
    void Place(int index, int offset) {
        index_ = index;
        offset_ = offset;
    }
    void Retype(TKwDataType dataType, bool dataObject) {
        dataType_ = dataType;
        dataObject_ = dataObject;
    }
    friend class TKwMemoryData;
    friend class TKwMemoryFieldB;

private:
    std::uint8_t* Slot() const;
    void CheckValue() const;
    void CheckObject() const;
    void CheckBlob() const;
    [[noreturn]] void InvalidType() const;
    void StoreBits(std::uint64_t bits);
    std::uint64_t Bits() const;
    void StoreText(StringView text);
    void StoreStream(std::unique_ptr<TMemoryStream> stream);
    void Release();

    int offset_ = 0;
    TKwDataType dataType_;
    bool dataObject_;
    int index_ = 0;
    bool ownsObject_ = false;
};

// A column of a store, working on the store's current row.
class TKwMemoryField : public TKwCustomMemoryField {
public:
    TKwMemoryField(TKwMemoryFields& fields, TKwDataType dataType, bool dataObject)
        : TKwCustomMemoryField(dataType, dataObject), fields_(fields) {}
    TKwRecordBuffer ActiveBuffer() const override;
    TKwMemoryFields& Fields() const { return fields_; }

private:
    TKwMemoryFields& fields_;
};

// Another column seen on a given row, for code that walks rows without moving the store's
// current row.
class TKwMemoryFieldB : public TKwCustomMemoryField {
public:
    TKwMemoryFieldB(const TKwCustomMemoryField& field, TKwRecordBuffer buffer);
    TKwRecordBuffer ActiveBuffer() const override { return buffer_; }
    void SetBuffer(TKwRecordBuffer buffer) { buffer_ = buffer; }

private:
    TKwRecordBuffer buffer_;
};

class TKwMemoryFields {
public:
    explicit TKwMemoryFields(TKwMemoryData& owner) : owner_(owner) {}
    TKwMemoryFields(const TKwMemoryFields&) = delete;
    TKwMemoryFields& operator=(const TKwMemoryFields&) = delete;
    ~TKwMemoryFields();

    TKwMemoryData& Owner() const { return owner_; }
    int Count() const { return static_cast<int>(list_.size()); }
    TKwMemoryField& Field(int index) const { return *list_.at(static_cast<size_t>(index)); }
    // A new column, null in every existing row.
    TKwMemoryField& Add(TKwDataType dataType);
    TKwMemoryField& AddObject();
    // Frees the column, clearing its values in every row first.
    void Remove(TKwMemoryField& field);
    // Clears every column of the current row.
    void ClearData();

private:
    friend class TKwMemoryData;
    TKwMemoryField& Append(TKwDataType dataType, bool dataObject);

    TKwMemoryData& owner_;
    std::vector<std::unique_ptr<TKwMemoryField>> list_;
};

// A sort key: a column and its direction. Nulls come first in either direction.
struct TKwMemorySortColumn {
    const TKwCustomMemoryField* field = nullptr;
    bool descending = false;
};
using TKwMemorySortColumns = std::vector<TKwMemorySortColumn>;

// A row of a tree of rows; SortTree orders every level.
struct TKwMemoryNode {
    TKwRecordBuffer buffer = nullptr;
    std::vector<TKwMemoryNode*> children;
};

// Rows of typed values in plain memory. The store knows its columns and the current row; who
// owns the rows keeps them in lists of its own and tells the store through GetListAllBuffers
// where they are, so that columns can be added, removed and re-typed while rows exist.
class TKwMemoryData {
public:
    TKwMemoryData();
    // A store with columns of the same kinds as `source`, and no rows.
    explicit TKwMemoryData(const TKwMemoryData& source);
    TKwMemoryData& operator=(const TKwMemoryData&) = delete;
    virtual ~TKwMemoryData();

    TKwMemoryFields& Fields() const { return *fields_; }
    int RecordSize() const { return recordSize_; }
    TKwRecordBuffer CurrentBuffer() const { return current_; }
    void SetCurrentBuffer(TKwRecordBuffer buffer) { current_ = buffer; }

    // The places where every row buffer is kept; the base store keeps none.
    virtual std::vector<TKwRecordBuffer*> GetListAllBuffers() { return {}; }

    // A new zero-filled row. OnNewBuffer sees it as the current row.
    TKwRecordBuffer CreateBuffer();
    // Clears every column of the row (texts, streams and owned objects) and frees it.
    void DeleteBuffer(TKwRecordBuffer buffer);
    // Copies every value column from another row into the current one.
    void LoadFromBuffer(const std::uint8_t* buffer, int size);

    // Converts the column's value in every row to the new kind through the canonical texts;
    // values that do not convert become null.
    void FieldChangeType(TKwMemoryField& field, TKwDataType dataType, bool dataObject);

    // Stable sorts by the columns in order.
    void Sort(std::vector<TKwRecordBuffer>& rows, const TKwMemorySortColumns& columns) const;
    void SortTree(std::vector<TKwMemoryNode*>& nodes, const TKwMemorySortColumns& columns) const;
    // The comparison Sort uses: negative, zero or positive.
    static int CompareRows(const TKwMemorySortColumns& columns, const std::uint8_t* a,
                           const std::uint8_t* b);

    std::function<void(TKwMemoryData&)> OnNewBuffer;

private:
    friend class TKwMemoryFields;
    void InsertSlot(int offset);
    void RemoveSlot(TKwMemoryField& field);
    void Renumber(const TKwMemoryField* skipped);

    TKwRecordBuffer current_ = nullptr;
    std::unique_ptr<TKwMemoryFields> fields_;
    int recordSize_ = 0;
};

// A store that owns its rows in order; what most code wants.
class TKwMemoryTable : public TKwMemoryData {
public:
    TKwMemoryTable() = default;
    // Like the store's: the same columns, no rows.
    explicit TKwMemoryTable(const TKwMemoryData& source) : TKwMemoryData(source) {}
    TKwMemoryTable(const TKwMemoryTable& source) : TKwMemoryData(source) {}
    ~TKwMemoryTable() override;

    std::vector<TKwRecordBuffer*> GetListAllBuffers() override;

    int RowCount() const { return static_cast<int>(rows_.size()); }
    TKwRecordBuffer Row(int index) const { return rows_.at(static_cast<size_t>(index)); }
    std::vector<TKwRecordBuffer>& Rows() { return rows_; }
    // Appends a new row and makes it current.
    TKwRecordBuffer AppendRow();
    void DeleteRow(int index);
    void ClearRows();
    // Makes the row current for column access.
    void SetRow(int index) { SetCurrentBuffer(Row(index)); }

private:
    std::vector<TKwRecordBuffer> rows_;
};

}  // namespace kw
