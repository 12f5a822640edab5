#include "util/text.h"

#include "platform/text/strings.h"

namespace kw {

namespace {

bool IsWordDelimiter(Char c) {
    return c <= u' ' || c == u',' || c == u'.' || c == u'[' || c == u']';
}

bool IsHighSurrogate(Char c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

String CapitaliseWord(StringView word) {
    const size_t firstLength = word.size() > 1 && IsHighSurrogate(word[0]) ? 2 : 1;
    return AnsiUpperCase(word.substr(0, firstLength)) + AnsiLowerCase(word.substr(firstLength));
}

}  // namespace

String KwStrFill(StringView text, int count) {
    String result;
    for (int i = 0; i < count; ++i)
        result += text;
    return result;
}

bool KwStrEqual(StringView a, StringView b) {
    return AnsiCompareText(a, b) == 0;
}

String KwStrFirstUpperCase(StringView text) {
    String result;
    size_t i = 0;
    while (i < text.size()) {
        if (IsWordDelimiter(text[i])) {
            result.push_back(text[i++]);
            continue;
        }
        const size_t start = i;
        while (i < text.size() && !IsWordDelimiter(text[i]))
            ++i;
        result += CapitaliseWord(text.substr(start, i - start));
    }
    return result;
}

String KwStrAccel(StringView text, bool keep) {
    if (keep)
        return String(text);
    String result;
    bool previousWasMark = false;
    for (Char c : text) {
        if (c == u'&' && !previousWasMark) {
            previousWasMark = true;
            continue;
        }
        result.push_back(c);
        previousWasMark = false;
    }
    return result;
}

}  // namespace kw
