#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>
#include <vector>

namespace kw::test {

// Builds binary test files byte by byte.
class ByteBuilder {
public:
    ByteBuilder& U8(std::uint8_t v) {
        bytes_.push_back(v);
        return *this;
    }
    ByteBuilder& U16(std::uint16_t v) { return U8(v & 0xFF).U8(v >> 8); }
    ByteBuilder& U32(std::uint32_t v) { return U16(v & 0xFFFF).U16(v >> 16); }
    ByteBuilder& I32(std::int32_t v) { return U32(static_cast<std::uint32_t>(v)); }
    ByteBuilder& BE32(std::uint32_t v) {
        return U8(v >> 24).U8((v >> 16) & 0xFF).U8((v >> 8) & 0xFF).U8(v & 0xFF);
    }
    ByteBuilder& Bytes(std::initializer_list<std::uint8_t> list) {
        bytes_.insert(bytes_.end(), list.begin(), list.end());
        return *this;
    }
    ByteBuilder& Bytes(std::span<const std::uint8_t> data) {
        bytes_.insert(bytes_.end(), data.begin(), data.end());
        return *this;
    }
    ByteBuilder& Text(std::string_view text) {
        bytes_.insert(bytes_.end(), text.begin(), text.end());
        return *this;
    }
    ByteBuilder& Zeros(std::size_t count) {
        bytes_.insert(bytes_.end(), count, 0);
        return *this;
    }
    std::size_t Size() const { return bytes_.size(); }
    const std::vector<std::uint8_t>& Data() const { return bytes_; }
    std::vector<std::uint8_t>& Data() { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
};

}  // namespace kw::test
