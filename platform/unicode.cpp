#include "platform/unicode.h"

#include <array>

namespace kw {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf16(String& out, char32_t cp) {
    if (cp < 0x10000) {
        out.push_back(static_cast<Char>(cp));
    } else {
        cp -= 0x10000;
        out.push_back(static_cast<Char>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<Char>(0xDC00 + (cp & 0x3FF)));
    }
}

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

// Length of the sequence introduced by a lead byte, with the smallest code point it may encode
// (anything below is an overlong form and is rejected).
struct Lead {
    int length;
    char32_t minimum;
    char32_t bits;
};

Lead ClassifyLead(unsigned char b) {
    if (b < 0x80)
        return {1, 0, b};
    if ((b & 0xE0) == 0xC0)
        return {2, 0x80, static_cast<char32_t>(b & 0x1F)};
    if ((b & 0xF0) == 0xE0)
        return {3, 0x800, static_cast<char32_t>(b & 0x0F)};
    if ((b & 0xF8) == 0xF0)
        return {4, 0x10000, static_cast<char32_t>(b & 0x07)};
    return {0, 0, 0};
}

}  // namespace

String Utf8ToString(std::string_view utf8) {
    String out;
    out.reserve(utf8.size());
    size_t i = 0;
    while (i < utf8.size()) {
        const Lead lead = ClassifyLead(static_cast<unsigned char>(utf8[i]));
        if (lead.length == 0) {
            out.push_back(kReplacement);
            ++i;
            continue;
        }
        char32_t cp = lead.bits;
        int taken = 1;
        while (taken < lead.length && i + taken < utf8.size() &&
               (static_cast<unsigned char>(utf8[i + taken]) & 0xC0) == 0x80) {
            cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + taken]) & 0x3F);
            ++taken;
        }
        const bool complete = taken == lead.length;
        const bool valid =
            complete && cp >= lead.minimum && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF);
        AppendUtf16(out, valid ? cp : kReplacement);
        i += taken;
    }
    return out;
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

String Cp1252ToString(std::string_view bytes) {
    // 0x80..0x9F differ from Latin-1; undefined positions map to themselves, as the platform does.
    static constexpr std::array<char16_t, 32> kHigh = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    String out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out.push_back(b >= 0x80 && b < 0xA0 ? kHigh[b - 0x80] : static_cast<Char>(b));
    }
    return out;
}

}  // namespace kw
