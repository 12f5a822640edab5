#include "platform/record_store.h"

#include <algorithm>
#include <cstring>

#include "platform/unicode.h"

namespace kw {

namespace {

// Payloads start and end on even offsets so that text is read at aligned UTF-16 units.
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
            return 4 + std::size_t{ReadLength(p)} * sizeof(Char);
        case TCellKind::ckBytes:
            return Even(4 + ReadLength(p));
    }
    return 0;
}

TCellView ViewAt(TCellKind kind, const std::uint8_t* p) {
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
            view.size = ReadLength(p);
            view.text = reinterpret_cast<const Char*>(p + 4);
            break;
        case TCellKind::ckBytes:
            view.size = ReadLength(p);
            view.bytes = p + 4;
            break;
    }
    return view;
}

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

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

TRecordCell TRecordCell::Text(String value) {
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
            return Text(String(view.Text()));
        case TCellKind::ckBytes:
            return Bytes(TBytes(view.bytes, view.bytes + view.size));
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
            const String& text = std::get<String>(value_);
            view.text = text.data();
            view.size = text.size();
            break;
        }
        case TCellKind::ckBytes: {
            const TBytes& bytes = std::get<TBytes>(value_);
            view.bytes = bytes.data();
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
    scratch_.assign(Even(static_cast<std::size_t>(columnCount)), 0);
}

void TRowEncoder::SetKind(TCellKind kind) {
    scratch_[static_cast<std::size_t>(next_++)] = static_cast<std::uint8_t>(kind);
}

std::uint8_t* TRowEncoder::Grow(std::size_t size) {
    const std::size_t old = scratch_.size();
    scratch_.resize(old + size);
    return scratch_.data() + old;
}

void TRowEncoder::AddLength(std::size_t size) {
    const auto length = static_cast<std::uint32_t>(size);
    std::memcpy(Grow(4), &length, 4);
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

void TRowEncoder::AddText(StringView text) {
    SetKind(TCellKind::ckText);
    AddLength(text.size());
    std::memcpy(Grow(text.size() * sizeof(Char)), text.data(), text.size() * sizeof(Char));
}

void TRowEncoder::AddUtf8(std::string_view text) {
    if (!IsAscii(text)) {
        AddText(Utf8ToString(text));
        return;
    }
    SetKind(TCellKind::ckText);
    AddLength(text.size());
    std::uint8_t* out = Grow(text.size() * sizeof(Char));
    for (char c : text) {
        const auto unit = static_cast<Char>(static_cast<unsigned char>(c));
        std::memcpy(out, &unit, sizeof unit);
        out += sizeof unit;
    }
}

void TRowEncoder::AddBytes(const void* data, std::size_t size) {
    SetKind(TCellKind::ckBytes);
    AddLength(size);
    if (size > 0)
        std::memcpy(Grow(Even(size)), data, size);
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
            return AddText(view.Text());
        case TCellKind::ckBytes:
            return AddBytes(view.bytes, view.size);
    }
}

std::unique_ptr<std::uint8_t[]> TRowEncoder::Finish() {
    while (next_ < columns_)
        AddNull();
    auto packed = std::make_unique_for_overwrite<std::uint8_t[]>(scratch_.size());
    std::memcpy(packed.get(), scratch_.data(), scratch_.size());
    return packed;
}

// --- TRecordStore --------------------------------------------------------------------------

TCellView PackedCell(const std::uint8_t* row, int columnCount, int column) {
    const std::uint8_t* p = row + Even(static_cast<std::size_t>(columnCount));
    for (int c = 0; c < column; ++c)
        p += PayloadSize(static_cast<TCellKind>(row[c]), p);
    return ViewAt(static_cast<TCellKind>(row[column]), p);
}

TCellView TRecordStore::Cell(int row, int column) const {
    return PackedCell(rows_[static_cast<std::size_t>(row)].data.get(), columns_, column);
}

int TRecordStore::IndexOfId(std::uint64_t id, int hint) const {
    if (hint >= 0 && hint < Count() && RowId(hint) == id)
        return hint;
    auto it = std::find_if(rows_.begin(), rows_.end(), [id](const Row& r) { return r.id == id; });
    return it == rows_.end() ? -1 : static_cast<int>(it - rows_.begin());
}

void TRecordStore::Append(std::unique_ptr<std::uint8_t[]> packed) {
    rows_.push_back(Row{std::move(packed), nextId_++});
}

void TRecordStore::Insert(int index, std::unique_ptr<std::uint8_t[]> packed) {
    rows_.insert(rows_.begin() + index, Row{std::move(packed), nextId_++});
}

void TRecordStore::Replace(int index, std::unique_ptr<std::uint8_t[]> packed) {
    rows_[static_cast<std::size_t>(index)].data = std::move(packed);
}

void TRecordStore::Erase(int index) {
    rows_.erase(rows_.begin() + index);
}

void TRecordStore::TakeRows(TRecordStore&& other) {
    rows_ = std::move(other.rows_);
    for (Row& row : rows_)
        row.id = nextId_++;
}

void TRecordStore::Clear() {
    rows_.clear();
    rows_.shrink_to_fit();
}

}  // namespace kw
