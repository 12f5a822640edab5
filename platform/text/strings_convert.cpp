#include <algorithm>
#include <charconv>
#include <limits>
#include <optional>
#include <string>

#include "platform/core/exception.h"
#include "platform/text/strings.h"

namespace kw {

namespace {

int DigitValue(Char c, int base) {
    int value = 99;
    if (c >= u'0' && c <= u'9')
        value = c - u'0';
    else if (c >= u'A' && c <= u'F')
        value = c - u'A' + 10;
    else if (c >= u'a' && c <= u'f')
        value = c - u'a' + 10;
    return value < base ? value : -1;
}

bool IsDecimalDigit(Char c) {
    return c >= u'0' && c <= u'9';
}

// Hexadecimal may use every bit of the type (so "$FFFFFFFF" fits in 32 bits); decimal must stay
// within the signed range.
std::optional<std::int64_t> ParseInteger(StringView input, int bits) {
    const String text = Trim(input);
    size_t i = 0;
    const bool negative = i < text.size() && text[i] == u'-';
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        ++i;
    int base = 10;
    if (i < text.size() && text[i] == u'$') {
        base = 16;
        i += 1;
    } else if (i + 1 < text.size() && text[i] == u'0' &&
               (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        base = 16;
        i += 2;
    }
    if (i == text.size())
        return std::nullopt;
    const std::uint64_t unsignedLimit = std::numeric_limits<std::uint64_t>::max() >> (64 - bits);
    const std::uint64_t signedLimit = unsignedLimit / 2 + (negative ? 1 : 0);
    const std::uint64_t limit = base == 16 ? unsignedLimit : signedLimit;
    std::uint64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const int digit = DigitValue(text[i], base);
        if (digit < 0 || magnitude > (limit - static_cast<std::uint64_t>(digit)) / base)
            return std::nullopt;
        magnitude = magnitude * base + static_cast<std::uint64_t>(digit);
    }
    const std::uint64_t pattern = negative ? 0 - magnitude : magnitude;
    if (bits == 32)
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(pattern));
    return static_cast<std::int64_t>(pattern);
}

size_t SkipDigits(StringView text, size_t i) {
    while (i < text.size() && IsDecimalDigit(text[i]))
        ++i;
    return i;
}

// Checks the shape [sign] digits [separator digits] [e [sign] digits] (at least one mantissa
// digit) and returns it in the form std::from_chars reads, with "." as separator.
std::optional<std::string> NormaliseFloatText(StringView text, Char separator) {
    std::string out;
    size_t i = 0;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        ++i;
    size_t end = SkipDigits(text, i);
    size_t mantissaDigits = end - i;
    if (end < text.size() && text[end] == separator) {
        const size_t fractionEnd = SkipDigits(text, end + 1);
        mantissaDigits += fractionEnd - end - 1;
        end = fractionEnd;
    }
    if (mantissaDigits == 0)
        return std::nullopt;
    if (end < text.size() && (text[end] == u'e' || text[end] == u'E')) {
        size_t exponentStart = end + 1;
        if (exponentStart < text.size() &&
            (text[exponentStart] == u'-' || text[exponentStart] == u'+'))
            ++exponentStart;
        end = SkipDigits(text, exponentStart);
        if (end == exponentStart)
            return std::nullopt;
    }
    if (end != text.size())
        return std::nullopt;
    for (Char c : text.substr(text[0] == u'+' ? 1 : 0))
        out.push_back(c == separator ? '.' : static_cast<char>(c));
    return out;
}

// Out-of-range results are overflow when the magnitude is large, underflow (to zero) otherwise.
bool IsUnderflow(const std::string& normalised) {
    const size_t exponentAt = normalised.find_first_of("eE");
    const std::string mantissa = normalised.substr(0, exponentAt);
    const size_t firstSignificant = mantissa.find_first_of("123456789");
    const size_t point = std::min(mantissa.find('.'), mantissa.size());
    long order = static_cast<long>(point) - static_cast<long>(firstSignificant);
    if (exponentAt != std::string::npos) {
        long exponent = 0;
        const char* first = normalised.data() + exponentAt + 1;
        if (*first == '+')
            ++first;
        const auto [ptr, ec] =
            std::from_chars(first, normalised.data() + normalised.size(), exponent);
        if (ec == std::errc::result_out_of_range)
            exponent = *first == '-' ? std::numeric_limits<long>::min() / 2
                                     : std::numeric_limits<long>::max() / 2;
        order += exponent;
    }
    return order < 0;
}

std::optional<double> ParseFloat(StringView input, Char separator) {
    const String text = Trim(input);
    const std::optional<std::string> normalised = NormaliseFloatText(text, separator);
    if (!normalised)
        return std::nullopt;
    double value = 0;
    const char* begin = normalised->data();
    const auto [ptr, ec] = std::from_chars(begin, begin + normalised->size(), value);
    if (ec == std::errc::result_out_of_range && IsUnderflow(*normalised))
        return (*normalised)[0] == '-' ? -0.0 : 0.0;
    if (ec != std::errc() || ptr != begin + normalised->size())
        return std::nullopt;
    return value;
}

[[noreturn]] void InvalidInteger(StringView text) {
    throw EConvertError(u"'" + String(text) + u"' is not a valid integer value");
}

}  // namespace

int StrToInt(StringView text) {
    const auto value = ParseInteger(text, 32);
    if (!value)
        InvalidInteger(text);
    return static_cast<int>(*value);
}

std::int64_t StrToInt64(StringView text) {
    const auto value = ParseInteger(text, 64);
    if (!value)
        InvalidInteger(text);
    return *value;
}

double StrToFloat(StringView text, Char decimalSeparator) {
    const auto value = ParseFloat(text, decimalSeparator);
    if (!value)
        throw EConvertError(u"'" + String(text) + u"' is not a valid floating point value");
    return *value;
}

int StrToIntDef(StringView text, int fallback) {
    return static_cast<int>(ParseInteger(text, 32).value_or(fallback));
}

std::int64_t StrToInt64Def(StringView text, std::int64_t fallback) {
    return ParseInteger(text, 64).value_or(fallback);
}

double StrToFloatDef(StringView text, double fallback, Char decimalSeparator) {
    return ParseFloat(text, decimalSeparator).value_or(fallback);
}

bool TryStrToInt(StringView text, int& value) {
    const auto parsed = ParseInteger(text, 32);
    if (parsed)
        value = static_cast<int>(*parsed);
    return parsed.has_value();
}

bool TryStrToInt64(StringView text, std::int64_t& value) {
    const auto parsed = ParseInteger(text, 64);
    if (parsed)
        value = *parsed;
    return parsed.has_value();
}

bool TryStrToFloat(StringView text, double& value, Char decimalSeparator) {
    const auto parsed = ParseFloat(text, decimalSeparator);
    if (parsed)
        value = *parsed;
    return parsed.has_value();
}

String IntToStr(std::int64_t value) {
    return AsciiToString(std::to_string(value));
}

String IntToHex(std::uint64_t value, int digits) {
    char buffer[16];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, 16);
    String hex = UpperCase(AsciiToString(std::string_view(buffer, end - buffer)));
    if (static_cast<int>(hex.size()) < digits)
        hex.insert(0, static_cast<size_t>(digits) - hex.size(), u'0');
    return hex;
}

}  // namespace kw
