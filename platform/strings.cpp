#include "platform/strings.h"

#include <algorithm>

namespace kw {

namespace {
constexpr Char AsciiUpper(Char c) {
    return c >= u'a' && c <= u'z' ? Char(c - 32) : c;
}
constexpr Char AsciiLower(Char c) {
    return c >= u'A' && c <= u'Z' ? Char(c + 32) : c;
}
}  // namespace

String UpperCase(StringView text) {
    String out(text);
    std::transform(out.begin(), out.end(), out.begin(), AsciiUpper);
    return out;
}

String LowerCase(StringView text) {
    String out(text);
    std::transform(out.begin(), out.end(), out.begin(), AsciiLower);
    return out;
}

int CompareText(StringView a, StringView b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const Char ca = AsciiUpper(a[i]);
        const Char cb = AsciiUpper(b[i]);
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool SameText(StringView a, StringView b) {
    return a.size() == b.size() && CompareText(a, b) == 0;
}

int CompareStr(StringView a, StringView b) {
    const int c = a.compare(b);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

String AsciiToString(std::string_view ascii) {
    return String(ascii.begin(), ascii.end());
}

}  // namespace kw

namespace kw {

String IntToStr(std::int64_t value) {
    return AsciiToString(std::to_string(value));
}

}  // namespace kw
