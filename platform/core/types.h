#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kw {

// Text is UTF-16 throughout, as on the windowing platform; UTF-8 appears only at the edges.
using Char = char16_t;
using String = std::u16string;
using StringView = std::u16string_view;
using Byte = std::uint8_t;
using Word = std::uint16_t;
using Cardinal = std::uint32_t;

}  // namespace kw
