#pragma once

#include <string>
#include <string_view>

#include "platform/core/types.h"

namespace kw {

// Conversions at the edges. Malformed input never fails: each ill-formed sequence (the longest
// prefix of a valid one, or a lone bad byte or surrogate) becomes U+FFFD.
String Utf8ToString(std::string_view utf8);
std::string StringToUtf8(StringView text);

// Decodes 8-bit text in the Windows-1252 code page (the encoding of the filer's short strings).
String Cp1252ToString(std::string_view bytes);

// The same decoders writing into `out`, which has room for at least as many characters as the
// input has bytes (no decoding yields more); they return the number of characters written.
size_t Utf8ToUtf16(std::string_view utf8, Char* out);
size_t Cp1252ToUtf16(std::string_view bytes, Char* out);

}  // namespace kw
