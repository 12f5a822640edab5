#include "platform/core/currency.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "platform/core/exception.h"
#include "platform/text/strings.h"

namespace kw {

namespace {

// Beyond this magnitude value * 10,000 no longer fits in 64 bits.
constexpr double kCurrencyLimit = 922337203685477.5807;

std::int64_t DigitsToInt(std::string_view digits) {
    std::int64_t value = 0;
    for (char c : digits)
        value = value * 10 + (c - '0');
    return value;
}

}  // namespace

Currency Currency::FromDouble(double value) {
    if (!(std::fabs(value) <= kCurrencyLimit))
        throw EConvertError(u"Currency value out of range");
    // Fixed notation with four decimals rounds the exact binary value, halves to even.
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                      std::chars_format::fixed, 4);
    std::string digits(buffer, result.ptr);
    digits.erase(digits.find('.'), 1);
    const std::int64_t magnitude = DigitsToInt(digits);
    return Currency{value < 0 ? -magnitude : magnitude};
}

String CurrToStr(Currency value) {
    const bool negative = value.scaled < 0;
    std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(value.scaled)
                                       : static_cast<std::uint64_t>(value.scaled);
    const std::uint64_t units = magnitude / Currency::kScale;
    std::uint64_t fraction = magnitude % Currency::kScale;
    String text = negative ? u"-" : u"";
    for (char c : std::to_string(units))
        text.push_back(static_cast<Char>(c));
    if (fraction != 0) {
        String decimals;
        for (int i = 0; i < 4; ++i) {
            decimals.insert(decimals.begin(), static_cast<Char>(u'0' + fraction % 10));
            fraction /= 10;
        }
        while (decimals.back() == u'0')
            decimals.pop_back();
        text += u"." + decimals;
    }
    return text;
}

bool TryStrToCurr(StringView input, Currency& value) {
    const String text = Trim(input);
    size_t i = 0;
    const bool negative = i < text.size() && text[i] == u'-';
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        ++i;
    // Accumulate up to five decimals: the fifth decides the rounding, the rest only ties.
    unsigned __int128 scaled = 0;
    int decimals = -1;
    int digits = 0;
    bool beyondNonZero = false;
    for (; i < text.size(); ++i) {
        const Char c = text[i];
        if (c == u'.' && decimals < 0) {
            decimals = 0;
            continue;
        }
        if (c < u'0' || c > u'9')
            return false;
        ++digits;
        if (decimals >= 5) {
            beyondNonZero = beyondNonZero || c != u'0';
            continue;
        }
        scaled = scaled * 10 + (c - u'0');
        if (scaled > static_cast<unsigned __int128>(std::numeric_limits<std::int64_t>::max()) * 10)
            return false;
        if (decimals >= 0)
            ++decimals;
    }
    if (digits == 0)
        return false;
    for (int d = decimals < 0 ? 0 : decimals; d < 5; ++d)
        scaled *= 10;
    const unsigned lastDigit = static_cast<unsigned>(scaled % 10);
    scaled /= 10;
    if (lastDigit > 5 || (lastDigit == 5 && (beyondNonZero || scaled % 2 == 1)))
        ++scaled;
    const unsigned __int128 limit =
        static_cast<unsigned __int128>(std::numeric_limits<std::int64_t>::max()) +
        (negative ? 1 : 0);
    if (scaled > limit)
        return false;
    const auto magnitude = static_cast<std::uint64_t>(scaled);
    value.scaled = static_cast<std::int64_t>(negative ? 0 - magnitude : magnitude);
    return true;
}

}  // namespace kw
