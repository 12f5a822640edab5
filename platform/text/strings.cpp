#include "platform/text/strings.h"

#include <algorithm>

namespace kw {

namespace {

constexpr Char AsciiUpper(Char c) {
    return c >= u'a' && c <= u'z' ? Char(c - 32) : c;
}
constexpr Char AsciiLower(Char c) {
    return c >= u'A' && c <= u'Z' ? Char(c + 32) : c;
}
constexpr bool IsBlank(Char c) {
    return c <= u' ';
}

size_t FirstNonBlank(StringView text) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    return i;
}

size_t EndOfNonBlank(StringView text) {
    size_t end = text.size();
    while (end > 0 && IsBlank(text[end - 1]))
        --end;
    return end;
}

size_t FindFrom(StringView text, StringView sub, size_t start, bool ignoreCase) {
    if (!ignoreCase)
        return text.find(sub, start);
    auto same = [](Char a, Char b) { return AsciiUpper(a) == AsciiUpper(b); };
    const auto found = std::search(text.begin() + start, text.end(), sub.begin(), sub.end(), same);
    return found == text.end() ? StringView::npos : static_cast<size_t>(found - text.begin());
}

}  // namespace

String Trim(StringView text) {
    const size_t begin = FirstNonBlank(text);
    return String(text.substr(begin, EndOfNonBlank(text.substr(begin))));
}

String TrimLeft(StringView text) {
    return String(text.substr(FirstNonBlank(text)));
}

String TrimRight(StringView text) {
    return String(text.substr(0, EndOfNonBlank(text)));
}

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

String StringReplaceAll(StringView text, StringView from, StringView to, bool ignoreCase) {
    if (from.empty())
        return String(text);
    String out;
    size_t start = 0;
    for (size_t hit = FindFrom(text, from, 0, ignoreCase); hit != StringView::npos;
         hit = FindFrom(text, from, start, ignoreCase)) {
        out.append(text.substr(start, hit - start)).append(to);
        start = hit + from.size();
    }
    out.append(text.substr(start));
    return out;
}

int Pos(StringView sub, StringView text) {
    if (sub.empty())
        return 0;
    const size_t found = text.find(sub);
    return found == StringView::npos ? 0 : static_cast<int>(found) + 1;
}

}  // namespace kw
