#pragma once

#include "platform/core/types.h"

namespace kw {

// The text repeated `count` times; empty for a count below 1.
String KwStrFill(StringView text, int count);
// Equal ignoring case, by the collation of the current collation locale.
bool KwStrEqual(StringView a, StringView b);
// Every word lower-cased with its first letter upper-cased. Words are separated by control
// characters, blanks, ",", ".", "[" and "]", which are copied unchanged.
String KwStrFirstUpperCase(StringView text);
// Without `keep`, drops accelerator marks: "&File" gives "File" and "&&" gives "&".
String KwStrAccel(StringView text, bool keep);

}  // namespace kw
