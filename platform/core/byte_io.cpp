#include "platform/core/byte_io.h"

#include "platform/text/strings.h"

namespace kw {

void ByteReader::Seek(std::size_t position) {
    if (position > data_.size())
        Fail(u"the data ends early");
    pos_ = position;
}

std::size_t ByteReader::Need(std::size_t count) const {
    if (count > Remaining())
        Fail(u"the data ends early");
    return count;
}

void ByteReader::CheckRange(std::size_t offset, std::size_t count) const {
    if (offset > data_.size() || count > data_.size() - offset)
        Fail(u"the data ends early");
}

Byte ByteReader::U8() {
    Need(1);
    return data_[pos_++];
}

std::uint16_t ByteReader::U16() {
    const std::uint16_t value = U16At(pos_);
    pos_ += 2;
    return value;
}

std::uint32_t ByteReader::U32() {
    const std::uint32_t value = U32At(pos_);
    pos_ += 4;
    return value;
}

std::uint16_t ByteReader::U16At(std::size_t offset) const {
    CheckRange(offset, 2);
    return static_cast<std::uint16_t>(data_[offset] | (data_[offset + 1] << 8));
}

std::uint32_t ByteReader::U32At(std::size_t offset) const {
    CheckRange(offset, 4);
    return static_cast<std::uint32_t>(data_[offset]) |
           (static_cast<std::uint32_t>(data_[offset + 1]) << 8) |
           (static_cast<std::uint32_t>(data_[offset + 2]) << 16) |
           (static_cast<std::uint32_t>(data_[offset + 3]) << 24);
}

std::span<const Byte> ByteReader::Take(std::size_t count) {
    const auto result = data_.subspan(pos_, Need(count));
    pos_ += count;
    return result;
}

void ByteReader::Fail(StringView why) const {
    throw EInvalidGraphic(Format(u"Invalid %s data: %s", {String(format_), String(why)}));
}

void ByteWriter::U16(std::uint16_t value) {
    U8(static_cast<Byte>(value));
    U8(static_cast<Byte>(value >> 8));
}

void ByteWriter::U32(std::uint32_t value) {
    U16(static_cast<std::uint16_t>(value));
    U16(static_cast<std::uint16_t>(value >> 16));
}

void ByteWriter::PatchU32(std::size_t offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes_.at(offset + i) = static_cast<Byte>(value >> (8 * i));
}

}  // namespace kw
