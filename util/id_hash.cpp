#include "util/id_hash.h"

#include "platform/text/strings.h"

namespace kw {

int KwIdHash(StringView name) {
    std::uint32_t h = 0;
    for (Char c : AnsiUpperCase(name)) {
        h = (h << 4) + static_cast<std::uint32_t>(c);
        const std::uint32_t g = h & 0xF0000000u;
        if (g != 0)
            h ^= g >> 24;
        h &= ~g;
    }
    return static_cast<int>(h % kKwIdHashBuckets);
}

}  // namespace kw
