#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/core/types.h"

namespace kw {

using TBytes = std::vector<std::uint8_t>;
// The bytes of one packed row (see TRowEncoder).
using TPackedRow = std::span<const std::uint8_t>;

// How a stored field value is held. Each field type has one natural kind (see field.h), but a
// database may hand back another one (text in an integer column, say), which is kept as it is.
// Text is held as UTF-8, which halves the memory of a large result; fields hand out UTF-16.
enum class TCellKind : std::uint8_t { ckNull, ckInteger, ckFloat, ckText, ckBytes };

// A read-only look at one stored value; it stays valid until the row or cell it points into
// changes.
struct TCellView {
    TCellKind kind = TCellKind::ckNull;
    std::int64_t integer = 0;
    double number = 0;
    const std::uint8_t* data = nullptr;  // UTF-8 text or bytes
    std::size_t size = 0;

    bool IsNull() const { return kind == TCellKind::ckNull; }
    std::string_view Utf8() const { return {reinterpret_cast<const char*>(data), size}; }
};

// One value of a record being edited.
class TRecordCell {
public:
    TRecordCell() = default;
    static TRecordCell Integer(std::int64_t value);
    static TRecordCell Float(double value);
    static TRecordCell Text(StringView value);
    static TRecordCell Utf8(std::string value);
    static TRecordCell Bytes(TBytes value);
    static TRecordCell FromView(const TCellView& view);

    TCellKind Kind() const { return static_cast<TCellKind>(value_.index()); }
    bool IsNull() const { return Kind() == TCellKind::ckNull; }
    TCellView View() const;

private:
    // Alternatives in the order of TCellKind.
    std::variant<std::monostate, std::int64_t, double, std::string, TBytes> value_;
};

using TRecordCells = std::vector<TRecordCell>;

// Builds the packed form of one row: a kind byte per column, then the values in column order
// (8 bytes for numbers, a 32-bit length and the data for text and bytes). The buffer is kept
// between rows, so encoding a large result does not allocate per row.
class TRowEncoder {
public:
    void Begin(int columnCount);
    void AddNull();
    void AddInteger(std::int64_t value);
    void AddFloat(double value);
    void AddText(StringView text);
    void AddUtf8(std::string_view text);
    void AddBytes(const void* data, std::size_t size);
    void AddView(const TCellView& view);
    // The row; valid until the next Begin.
    TPackedRow Finish();

private:
    void SetKind(TCellKind kind);
    std::uint8_t* Grow(std::size_t size);
    void AddSized(TCellKind kind, const void* data, std::size_t size);

    std::unique_ptr<std::uint8_t[]> buffer_;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
    int columns_ = 0;
    int next_ = 0;
};

// Memory for large arrays, on huge pages where the system offers them: filling a large result
// then faults once per 2 MB rather than once per 4 KB.
void* AllocateBlock(std::size_t size);
void FreeBlock(void* block) noexcept;

template <class T>
struct TBlockAllocator {
    using value_type = T;
    TBlockAllocator() = default;
    template <class U>
    TBlockAllocator(const TBlockAllocator<U>&) {}  // NOLINT(google-explicit-constructor)
    T* allocate(std::size_t count) { return static_cast<T*>(AllocateBlock(count * sizeof(T))); }
    void deallocate(T* block, std::size_t) noexcept { FreeBlock(block); }
    friend bool operator==(TBlockAllocator, TBlockAllocator) { return true; }
};

// One value of a packed row.
TCellView PackedCell(const std::uint8_t* row, int columnCount, int column);
// The value of `kind` stored at `value` in a packed row.
TCellView ValueAt(TCellKind kind, const std::uint8_t* value);

// The rows of an open dataset, packed and tagged with an id that survives inserts and deletes
// around it (the dataset's bookmarks). Rows are copied into large shared blocks, which are
// released together by Clear; only rows above 64 KB get an allocation of their own, released
// as soon as the row is replaced or erased.
class TRecordStore {
public:
    TRecordStore() = default;
    TRecordStore(const TRecordStore&) = delete;
    TRecordStore& operator=(const TRecordStore&) = delete;

    // Every row of the store has this many columns; set it before adding rows.
    void SetColumnCount(int count);
    int ColumnCount() const { return columns_; }
    int Count() const { return static_cast<int>(rows_.size()); }
    TCellView Cell(int row, int column) const {
        const std::uint8_t* data = rows_[static_cast<std::size_t>(row)] + kIdSize;
        if (data != cachedRow_)
            CacheRow(data);
        return ValueAt(static_cast<TCellKind>(data[column]),
                       cachedValues_[static_cast<std::size_t>(column)]);
    }
    std::uint64_t RowId(int row) const;
    // The row with that id, or -1; `hint` is tried first.
    int IndexOfId(std::uint64_t id, int hint = -1) const;

    void Append(TPackedRow row);
    void Insert(int index, TPackedRow row);
    void Replace(int index, TPackedRow row);
    void Erase(int index);
    void Clear();
    // Replaces the rows with those of `other`, under new ids.
    void TakeRows(TRecordStore&& other);

private:
    struct BlockFree {
        void operator()(std::uint8_t* block) const;
    };
    // Each placed row starts with its 8-byte id, which keeps the row list to one pointer a row.
    static constexpr std::size_t kIdSize = sizeof(std::uint64_t);
    std::uint8_t* Place(TPackedRow row);
    void CacheRow(const std::uint8_t* data) const;
    void Release(const std::uint8_t* placed);

    std::vector<std::uint8_t*, TBlockAllocator<std::uint8_t*>> rows_;
    std::vector<std::unique_ptr<std::uint8_t[], BlockFree>> blocks_;
    std::vector<std::unique_ptr<std::uint8_t[]>> large_;
    std::size_t blockSize_ = 0;
    std::size_t blockUsed_ = 0;
    std::uint64_t nextId_ = 1;
    int columns_ = 0;
    // Where each value of the last row read starts, so reading a whole row walks it once.
    mutable const std::uint8_t* cachedRow_ = nullptr;
    mutable std::vector<const std::uint8_t*> cachedValues_;
};

}  // namespace kw
