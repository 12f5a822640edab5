#pragma once

#include <cstdint>

#include "platform/core/types.h"

namespace kw {

inline constexpr int kKwIdHashBuckets = 53;

// The bucket (0 to 52) of a name in the library's named-set tables: the ELF hash of the name's
// upper-case UTF-16 code units, modulo 53. Names differing only in letter case share a bucket.
int KwIdHash(StringView name);

}  // namespace kw
