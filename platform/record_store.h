#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/types.h"

namespace kw {

using TBytes = std::vector<std::uint8_t>;

// How a stored field value is held. Each field type has one natural kind (see field.h), but a
// database may hand back another one (text in an integer column, say), which is kept as it is.
enum class TCellKind : std::uint8_t { ckNull, ckInteger, ckFloat, ckText, ckBytes };

// A read-only look at one stored value; it stays valid until the row or cell it points into
// changes.
struct TCellView {
    TCellKind kind = TCellKind::ckNull;
    std::int64_t integer = 0;
    double number = 0;
    const Char* text = nullptr;
    const std::uint8_t* bytes = nullptr;
    std::size_t size = 0;  // code units of text, or bytes

    bool IsNull() const { return kind == TCellKind::ckNull; }
    StringView Text() const { return {text, size}; }
};

// One value of a record being edited.
class TRecordCell {
public:
    TRecordCell() = default;
    static TRecordCell Integer(std::int64_t value);
    static TRecordCell Float(double value);
    static TRecordCell Text(String value);
    static TRecordCell Bytes(TBytes value);
    static TRecordCell FromView(const TCellView& view);

    TCellKind Kind() const { return static_cast<TCellKind>(value_.index()); }
    bool IsNull() const { return Kind() == TCellKind::ckNull; }
    TCellView View() const;

private:
    // Alternatives in the order of TCellKind.
    std::variant<std::monostate, std::int64_t, double, String, TBytes> value_;
};

using TRecordCells = std::vector<TRecordCell>;

// Builds the packed form of one row: a kind byte per column, then the values in column order
// (8 bytes for numbers, a 32-bit length and the data for text and bytes). The scratch buffer is
// kept between rows so that loading a large result allocates once per row.
class TRowEncoder {
public:
    void Begin(int columnCount);
    void AddNull();
    void AddInteger(std::int64_t value);
    void AddFloat(double value);
    void AddText(StringView text);
    // UTF-8 text, stored as UTF-16.
    void AddUtf8(std::string_view text);
    void AddBytes(const void* data, std::size_t size);
    void AddView(const TCellView& view);
    std::unique_ptr<std::uint8_t[]> Finish();

private:
    void SetKind(TCellKind kind);
    std::uint8_t* Grow(std::size_t size);
    void AddLength(std::size_t size);

    std::vector<std::uint8_t> scratch_;
    int columns_ = 0;
    int next_ = 0;
};

// One value of a packed row.
TCellView PackedCell(const std::uint8_t* row, int columnCount, int column);

// The rows of an open dataset, each packed in one allocation and tagged with an id that
// survives inserts and deletes around it (the dataset's bookmarks).
class TRecordStore {
public:
    // Every row of the store has this many columns; set it before adding rows.
    void SetColumnCount(int count) { columns_ = count; }
    int ColumnCount() const { return columns_; }
    int Count() const { return static_cast<int>(rows_.size()); }
    TCellView Cell(int row, int column) const;
    std::uint64_t RowId(int row) const { return rows_[static_cast<std::size_t>(row)].id; }
    // The row with that id, or -1; `hint` is tried first.
    int IndexOfId(std::uint64_t id, int hint = -1) const;

    void Append(std::unique_ptr<std::uint8_t[]> packed);
    void Insert(int index, std::unique_ptr<std::uint8_t[]> packed);
    void Replace(int index, std::unique_ptr<std::uint8_t[]> packed);
    void Erase(int index);
    void Clear();
    // Replaces the rows with those of `other`, under new ids.
    void TakeRows(TRecordStore&& other);
    void Reserve(int count) { rows_.reserve(static_cast<std::size_t>(count)); }

private:
    struct Row {
        std::unique_ptr<std::uint8_t[]> data;
        std::uint64_t id;
    };
    std::vector<Row> rows_;
    std::uint64_t nextId_ = 1;
    int columns_ = 0;
};

}  // namespace kw
