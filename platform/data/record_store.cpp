#include "platform/data/record_store.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

#include "platform/text/unicode.h"

namespace kw {

namespace {

// Values start on even offsets; the packed form keeps no stronger alignment and reads numbers
// with memcpy.
std::size_t Even(std::size_t size) {
    return (size + 1) & ~std::size_t{1};
}

std::uint32_t ReadLength(const std::uint8_t* p) {
    std::uint32_t length = 0;
    std::memcpy(&length, p, sizeof length);
    return length;
}

std::size_t PayloadSize(TCellKind kind, const std::uint8_t* p) {
    switch (kind) {
        case TCellKind::ckNull:
            return 0;
        case TCellKind::ckInteger:
        case TCellKind::ckFloat:
            return 8;
        case TCellKind::ckText:
        case TCellKind::ckBytes:
            return Even(4 + ReadLength(p));
    }
    return 0;
}

const std::uint8_t* FirstValue(const std::uint8_t* row, int columnCount) {
    return row + Even(static_cast<std::size_t>(columnCount));
}

}  // namespace

TCellView ValueAt(TCellKind kind, const std::uint8_t* p) {
    TCellView view;
    view.kind = kind;
    switch (kind) {
        case TCellKind::ckNull:
            break;
        case TCellKind::ckInteger:
            std::memcpy(&view.integer, p, 8);
            break;
        case TCellKind::ckFloat:
            std::memcpy(&view.number, p, 8);
            break;
        case TCellKind::ckText:
        case TCellKind::ckBytes:
            view.size = ReadLength(p);
            view.data = p + 4;
            break;
    }
    return view;
}

// --- TRecordCell ---------------------------------------------------------------------------

TRecordCell TRecordCell::Integer(std::int64_t value) {
    TRecordCell cell;
    cell.value_ = value;
    return cell;
}

TRecordCell TRecordCell::Float(double value) {
    TRecordCell cell;
    cell.value_ = value;
    return cell;
}

TRecordCell TRecordCell::Text(StringView value) {
    return Utf8(StringToUtf8(value));
}

TRecordCell TRecordCell::Utf8(std::string value) {
    TRecordCell cell;
    cell.value_ = std::move(value);
    return cell;
}

TRecordCell TRecordCell::Bytes(TBytes value) {
    TRecordCell cell;
    cell.value_ = std::move(value);
    return cell;
}

TRecordCell TRecordCell::FromView(const TCellView& view) {
    switch (view.kind) {
        case TCellKind::ckNull:
            return {};
        case TCellKind::ckInteger:
            return Integer(view.integer);
        case TCellKind::ckFloat:
            return Float(view.number);
        case TCellKind::ckText:
            return Utf8(std::string(view.Utf8()));
        case TCellKind::ckBytes:
            return Bytes(TBytes(view.data, view.data + view.size));
    }
    return {};
}

TCellView TRecordCell::View() const {
    TCellView view;
    view.kind = Kind();
    switch (view.kind) {
        case TCellKind::ckNull:
            break;
        case TCellKind::ckInteger:
            view.integer = std::get<std::int64_t>(value_);
            break;
        case TCellKind::ckFloat:
            view.number = std::get<double>(value_);
            break;
        case TCellKind::ckText: {
            const std::string& text = std::get<std::string>(value_);
            view.data = reinterpret_cast<const std::uint8_t*>(text.data());
            view.size = text.size();
            break;
        }
        case TCellKind::ckBytes: {
            const TBytes& bytes = std::get<TBytes>(value_);
            view.data = bytes.data();
            view.size = bytes.size();
            break;
        }
    }
    return view;
}

// --- TRowEncoder ---------------------------------------------------------------------------

void TRowEncoder::Begin(int columnCount) {
    columns_ = columnCount;
    next_ = 0;
    size_ = 0;
    std::memset(Grow(Even(static_cast<std::size_t>(columnCount))), 0,
                Even(static_cast<std::size_t>(columnCount)));
}

void TRowEncoder::SetKind(TCellKind kind) {
    buffer_[static_cast<std::size_t>(next_++)] = static_cast<std::uint8_t>(kind);
}

std::uint8_t* TRowEncoder::Grow(std::size_t size) {
    if (size_ + size > capacity_) {
        const std::size_t capacity = std::max({size_ + size, capacity_ * 2, std::size_t{256}});
        auto buffer = std::make_unique_for_overwrite<std::uint8_t[]>(capacity);
        if (size_ > 0)
            std::memcpy(buffer.get(), buffer_.get(), size_);
        buffer_ = std::move(buffer);
        capacity_ = capacity;
    }
    std::uint8_t* out = buffer_.get() + size_;
    size_ += size;
    return out;
}

void TRowEncoder::AddNull() {
    SetKind(TCellKind::ckNull);
}

void TRowEncoder::AddInteger(std::int64_t value) {
    SetKind(TCellKind::ckInteger);
    std::memcpy(Grow(8), &value, 8);
}

void TRowEncoder::AddFloat(double value) {
    SetKind(TCellKind::ckFloat);
    std::memcpy(Grow(8), &value, 8);
}

void TRowEncoder::AddSized(TCellKind kind, const void* data, std::size_t size) {
    SetKind(kind);
    const auto length = static_cast<std::uint32_t>(size);
    std::uint8_t* out = Grow(Even(4 + size));
    std::memcpy(out, &length, 4);
    if (size > 0)
        std::memcpy(out + 4, data, size);
}

void TRowEncoder::AddText(StringView text) {
    AddUtf8(StringToUtf8(text));
}

void TRowEncoder::AddUtf8(std::string_view text) {
    AddSized(TCellKind::ckText, text.data(), text.size());
}

void TRowEncoder::AddBytes(const void* data, std::size_t size) {
    AddSized(TCellKind::ckBytes, data, size);
}

void TRowEncoder::AddView(const TCellView& view) {
    switch (view.kind) {
        case TCellKind::ckNull:
            return AddNull();
        case TCellKind::ckInteger:
            return AddInteger(view.integer);
        case TCellKind::ckFloat:
            return AddFloat(view.number);
        case TCellKind::ckText:
            return AddUtf8(view.Utf8());
        case TCellKind::ckBytes:
            return AddBytes(view.data, view.size);
    }
}

TPackedRow TRowEncoder::Finish() {
    while (next_ < columns_)
        AddNull();
    return {buffer_.get(), size_};
}

// --- TRecordStore --------------------------------------------------------------------------

TCellView PackedCell(const std::uint8_t* row, int columnCount, int column) {
    const std::uint8_t* p = FirstValue(row, columnCount);
    for (int c = 0; c < column; ++c)
        p += PayloadSize(static_cast<TCellKind>(row[c]), p);
    return ValueAt(static_cast<TCellKind>(row[column]), p);
}

void TRecordStore::SetColumnCount(int count) {
    columns_ = count;
    cachedRow_ = nullptr;
}

namespace {

std::uint64_t IdOf(const std::uint8_t* placed) {
    std::uint64_t id = 0;
    std::memcpy(&id, placed, sizeof id);
    return id;
}

void SetId(std::uint8_t* placed, std::uint64_t id) {
    std::memcpy(placed, &id, sizeof id);
}

}  // namespace

std::uint64_t TRecordStore::RowId(int row) const {
    return IdOf(rows_[static_cast<std::size_t>(row)]);
}

void TRecordStore::CacheRow(const std::uint8_t* data) const {
    cachedValues_.resize(static_cast<std::size_t>(columns_));
    const std::uint8_t* p = FirstValue(data, columns_);
    for (int c = 0; c < columns_; ++c) {
        cachedValues_[static_cast<std::size_t>(c)] = p;
        p += PayloadSize(static_cast<TCellKind>(data[c]), p);
    }
    cachedRow_ = data;
}

int TRecordStore::IndexOfId(std::uint64_t id, int hint) const {
    if (hint >= 0 && hint < Count() && RowId(hint) == id)
        return hint;
    auto it = std::find_if(rows_.begin(), rows_.end(),
                           [id](const std::uint8_t* placed) { return IdOf(placed) == id; });
    return it == rows_.end() ? -1 : static_cast<int>(it - rows_.begin());
}

namespace {

constexpr std::size_t kLargeRow = 64 * 1024;
constexpr std::size_t kMaxBlock = 4 * 1024 * 1024;
constexpr std::size_t kHugePage = 2 * 1024 * 1024;

}  // namespace

void* AllocateBlock(std::size_t size) {
    const bool huge = size >= kHugePage;
    // aligned_alloc wants a size that is a multiple of the alignment.
    const std::size_t alignment = huge ? kHugePage : alignof(std::max_align_t);
    void* block = std::aligned_alloc(alignment, (size + alignment - 1) / alignment * alignment);
    if (block == nullptr)
        throw std::bad_alloc();
    if (huge)
        madvise(block, size, MADV_HUGEPAGE);
    return block;
}

void FreeBlock(void* block) noexcept {
    std::free(block);
}

void TRecordStore::BlockFree::operator()(std::uint8_t* block) const {
    FreeBlock(block);
}

std::uint8_t* TRecordStore::Place(TPackedRow row) {
    const std::size_t size = kIdSize + row.size();
    std::uint8_t* placed = nullptr;
    if (size > kLargeRow) {
        large_.push_back(std::make_unique_for_overwrite<std::uint8_t[]>(size));
        placed = large_.back().get();
    } else {
        const std::size_t rounded = (size + 7) & ~std::size_t{7};
        if (blocks_.empty() || blockUsed_ + rounded > blockSize_) {
            blockSize_ = std::clamp(blockSize_ * 2, kLargeRow, kMaxBlock);
            blocks_.emplace_back(static_cast<std::uint8_t*>(AllocateBlock(blockSize_)));
            blockUsed_ = 0;
        }
        placed = blocks_.back().get() + blockUsed_;
        blockUsed_ += rounded;
    }
    SetId(placed, nextId_++);
    std::memcpy(placed + kIdSize, row.data(), row.size());
    return placed;
}

void TRecordStore::Release(const std::uint8_t* placed) {
    cachedRow_ = nullptr;
    auto it = std::find_if(large_.begin(), large_.end(),
                           [placed](const auto& block) { return block.get() == placed; });
    if (it != large_.end()) {
        std::swap(*it, large_.back());
        large_.pop_back();
    }
}

void TRecordStore::Append(TPackedRow row) {
    rows_.push_back(Place(row));
}

void TRecordStore::Insert(int index, TPackedRow row) {
    rows_.insert(rows_.begin() + index, Place(row));
}

void TRecordStore::Replace(int index, TPackedRow row) {
    std::uint8_t*& old = rows_[static_cast<std::size_t>(index)];
    std::uint8_t* placed = Place(row);
    SetId(placed, IdOf(old));
    Release(old);
    old = placed;
}

void TRecordStore::Erase(int index) {
    Release(rows_[static_cast<std::size_t>(index)]);
    rows_.erase(rows_.begin() + index);
}

void TRecordStore::TakeRows(TRecordStore&& other) {
    rows_ = std::move(other.rows_);
    blocks_ = std::move(other.blocks_);
    large_ = std::move(other.large_);
    blockSize_ = other.blockSize_;
    blockUsed_ = other.blockUsed_;
    cachedRow_ = nullptr;
    other.Clear();
    for (std::uint8_t* placed : rows_)
        SetId(placed, nextId_++);
}

void TRecordStore::Clear() {
    rows_.clear();
    rows_.shrink_to_fit();
    blocks_.clear();
    large_.clear();
    blockSize_ = blockUsed_ = 0;
    cachedRow_ = nullptr;
}

}  // namespace kw
