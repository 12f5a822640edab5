#include "platform/text/unicode.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace kw {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// A lead byte gives the length of its sequence and the range its second byte must fall in;
// those ranges exclude overlong forms, surrogates and code points above U+10FFFF.
struct Lead {
    int length;
    unsigned char low;
    unsigned char high;
};

Lead ClassifyLead(unsigned char b) {
    if (b < 0x80)
        return {1, 0, 0};
    if (b >= 0xC2 && b <= 0xDF)
        return {2, 0x80, 0xBF};
    if (b == 0xE0)
        return {3, 0xA0, 0xBF};
    if (b == 0xED)
        return {3, 0x80, 0x9F};
    if (b >= 0xE1 && b <= 0xEF)
        return {3, 0x80, 0xBF};
    if (b == 0xF0)
        return {4, 0x90, 0xBF};
    if (b >= 0xF1 && b <= 0xF3)
        return {4, 0x80, 0xBF};
    if (b == 0xF4)
        return {4, 0x80, 0x8F};
    return {0, 0, 0};
}

char32_t LeadBits(unsigned char b, int length) {
    static constexpr std::array<unsigned char, 5> kMask = {0, 0x7F, 0x1F, 0x0F, 0x07};
    return b & kMask[static_cast<size_t>(length)];
}

// Widens the leading run of ASCII bytes, eight at a time while whole words are ASCII; returns
// how many bytes it took.
size_t WidenAscii(const unsigned char* bytes, size_t size, Char* out) {
    size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes + i, sizeof(word));
        if ((word & 0x8080808080808080ULL) != 0)
            break;
        for (size_t k = 0; k < 8; ++k)
            out[i + k] = bytes[i + k];
    }
    while (i < size && bytes[i] < 0x80) {
        out[i] = bytes[i];
        ++i;
    }
    return i;
}

}  // namespace

// Each maximal ill-formed prefix becomes one U+FFFD and decoding resumes at the first byte that
// did not fit, so a bad byte never swallows the valid character after it.
size_t Utf8ToUtf16(std::string_view utf8, Char* out) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(utf8.data());
    const size_t size = utf8.size();
    size_t i = WidenAscii(bytes, size, out);
    Char* dst = out + i;
    while (i < size) {
        const unsigned char first = bytes[i];
        if (first < 0x80) {
            *dst++ = first;
            ++i;
            continue;
        }
        const Lead lead = ClassifyLead(first);
        if (lead.length == 0) {
            *dst++ = kReplacement;
            ++i;
            continue;
        }
        char32_t cp = LeadBits(first, lead.length);
        int taken = 1;
        while (taken < lead.length && i + taken < size) {
            const unsigned char next = bytes[i + taken];
            const bool inRange =
                taken == 1 ? next >= lead.low && next <= lead.high : next >= 0x80 && next <= 0xBF;
            if (!inRange)
                break;
            cp = (cp << 6) | (next & 0x3F);
            ++taken;
        }
        if (taken != lead.length)
            cp = kReplacement;
        if (cp < 0x10000) {
            *dst++ = static_cast<Char>(cp);
        } else {
            cp -= 0x10000;
            *dst++ = static_cast<Char>(0xD800 + (cp >> 10));
            *dst++ = static_cast<Char>(0xDC00 + (cp & 0x3FF));
        }
        i += static_cast<size_t>(taken);
    }
    return static_cast<size_t>(dst - out);
}

namespace {

// Decodes into a string of the byte count, cut to size once.
String DecodeToString(std::string_view bytes, size_t (*decode)(std::string_view, Char*)) {
    String out(bytes.size(), u'\0');
    out.resize(decode(bytes, out.data()));
    return out;
}

}  // namespace

String Utf8ToString(std::string_view utf8) {
    return DecodeToString(utf8, Utf8ToUtf16);
}

std::string StringToUtf8(StringView text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = kReplacement;  // unpaired surrogate
        }
        AppendUtf8(out, cp);
    }
    return out;
}

size_t Cp1252ToUtf16(std::string_view bytes, Char* out) {
    // 0x80..0x9F differ from Latin-1; undefined positions map to themselves, as the platform does.
    static constexpr std::array<char16_t, 32> kHigh = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    for (size_t i = WidenAscii(data, bytes.size(), out); i < bytes.size(); ++i) {
        const unsigned char b = data[i];
        out[i] = b >= 0x80 && b < 0xA0 ? kHigh[b - 0x80] : static_cast<Char>(b);
    }
    return bytes.size();
}

String Cp1252ToString(std::string_view bytes) {
    return DecodeToString(bytes, Cp1252ToUtf16);
}

}  // namespace kw
