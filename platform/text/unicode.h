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

}  // namespace kw
