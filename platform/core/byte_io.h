#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/graphics/graphics_types.h"

namespace kw {

// Little-endian reading of a file image held in memory. Reading past the end raises
// EInvalidGraphic naming the format, so decoders never index outside their input.
class ByteReader {
public:
    ByteReader(std::span<const Byte> data, StringView format) : data_(data), format_(format) {}

    std::size_t Size() const { return data_.size(); }
    std::size_t Position() const { return pos_; }
    std::size_t Remaining() const { return data_.size() - pos_; }
    void Seek(std::size_t position);
    void Skip(std::size_t count) { Seek(pos_ + Need(count)); }

    Byte U8();
    std::uint16_t U16();
    std::uint32_t U32();
    std::int16_t I16() { return static_cast<std::int16_t>(U16()); }
    std::int32_t I32() { return static_cast<std::int32_t>(U32()); }
    std::uint16_t U16At(std::size_t offset) const;
    std::uint32_t U32At(std::size_t offset) const;
    // The next `count` bytes, consumed.
    std::span<const Byte> Take(std::size_t count);
    std::span<const Byte> Rest() const { return data_.subspan(pos_); }

    [[noreturn]] void Fail(StringView why) const;

private:
    std::size_t Need(std::size_t count) const;
    void CheckRange(std::size_t offset, std::size_t count) const;

    std::span<const Byte> data_;
    StringView format_;
    std::size_t pos_ = 0;
};

class ByteWriter {
public:
    void U8(Byte value) { bytes_.push_back(value); }
    void U16(std::uint16_t value);
    void U32(std::uint32_t value);
    void I32(std::int32_t value) { U32(static_cast<std::uint32_t>(value)); }
    void Append(std::span<const Byte> bytes) {
        bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    }
    void PatchU32(std::size_t offset, std::uint32_t value);
    std::size_t Size() const { return bytes_.size(); }
    std::vector<Byte>& Bytes() { return bytes_; }
    std::vector<Byte> Take() { return std::move(bytes_); }

private:
    std::vector<Byte> bytes_;
};

}  // namespace kw
