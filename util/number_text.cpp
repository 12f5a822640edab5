#include "util/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "platform/core/exception.h"
#include "platform/text/strings.h"

namespace kw {

namespace {

constexpr int kMaxFixedDecimals = 18;
constexpr int kMaxPrecision = 15;

bool IsDigit(Char c) {
    return c >= u'0' && c <= u'9';
}

void StripTrailingZeros(TKwDecimal& number) {
    while (!number.digits.empty() && number.digits.back() == '0')
        number.digits.pop_back();
    if (number.digits.empty())
        number.negative = false;
}

// Keeps the first `keep` digits, rounding half away from zero.
void RoundToDigitCount(TKwDecimal& number, int keep) {
    if (number.infinite || number.nan || keep >= static_cast<int>(number.digits.size()))
        return;
    if (keep < 0) {
        number.digits.clear();
        number.negative = false;
        return;
    }
    const bool roundUp = number.digits[keep] >= '5';
    number.digits.resize(keep);
    if (roundUp) {
        while (!number.digits.empty() && number.digits.back() == '9')
            number.digits.pop_back();
        if (number.digits.empty()) {
            number.digits = "1";
            number.exponent += 1;
        } else {
            number.digits.back() += 1;
        }
    }
    StripTrailingZeros(number);
}

String SpecialText(const TKwDecimal& number) {
    if (number.nan)
        return u"NAN";
    return number.negative ? u"-INF" : u"INF";
}

String Widen(std::string_view ascii) {
    return String(ascii.begin(), ascii.end());
}

String GroupThousands(std::string_view digits, Char separator) {
    String text;
    const size_t count = digits.size();
    for (size_t i = 0; i < count; ++i) {
        if (separator != 0 && i > 0 && (count - i) % 3 == 0)
            text.push_back(separator);
        text.push_back(static_cast<Char>(digits[i]));
    }
    return text;
}

// Digit `index` counted from the first significant one; zeros outside the stored digits.
char DigitAt(const TKwDecimal& number, int index) {
    if (index < 0 || index >= static_cast<int>(number.digits.size()))
        return '0';
    return number.digits[index];
}

String Signed(const TKwDecimal& number, String text) {
    return number.negative && !number.IsZero() ? u"-" + text : text;
}

String GeneralFixed(const TKwDecimal& number, Char decimalSeparator) {
    if (number.IsZero())
        return u"0";
    const int count = static_cast<int>(number.digits.size());
    std::string whole;
    for (int i = 0; i < number.exponent; ++i)
        whole.push_back(DigitAt(number, i));
    if (whole.empty())
        whole = "0";
    String text = Widen(whole);
    if (count > number.exponent) {
        text.push_back(decimalSeparator);
        for (int i = std::min(number.exponent, 0); i < 0; ++i)
            text.push_back(u'0');
        for (int i = std::max(number.exponent, 0); i < count; ++i)
            text.push_back(static_cast<Char>(number.digits[i]));
    }
    return Signed(number, text);
}

String ExponentText(int exponent, int minDigits, bool plusSign) {
    String digits = IntToStr(std::abs(exponent));
    if (static_cast<int>(digits.size()) < minDigits)
        digits.insert(0, minDigits - digits.size(), u'0');
    if (exponent < 0)
        return u"E-" + digits;
    return (plusSign ? u"E+" : u"E") + digits;
}

String GeneralScientific(const TKwDecimal& number, Char decimalSeparator) {
    if (number.IsZero())
        return u"0";
    String text(1, static_cast<Char>(number.digits[0]));
    if (number.digits.size() > 1) {
        text.push_back(decimalSeparator);
        text += Widen(std::string_view(number.digits).substr(1));
    }
    return Signed(number, text + ExponentText(number.exponent - 1, 1, false));
}

TKwDecimal RoundedSignificant(double value, int precision) {
    TKwDecimal number = KwDecimalOf(value);
    KwDecimalRoundSignificant(number, std::clamp(precision, 1, kMaxPrecision));
    return number;
}

// The exponent of a float text with saturation, so absurd exponents stay representable.
long ReadExponent(StringView text, size_t& i) {
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        negative = text[i++] == u'-';
    const size_t start = i;
    long value = 0;
    while (i < text.size() && IsDigit(text[i])) {
        value = std::min(value * 10 + (text[i] - u'0'), 1000000L);
        ++i;
    }
    if (i == start)
        i = std::string::npos;
    return negative ? -value : value;
}

// Digits with separators between them; collects the digits alone.
void ReadDigits(StringView text, size_t& i, Char thousandSeparator, std::string& digits) {
    while (i < text.size()) {
        const Char c = text[i];
        if (IsDigit(c)) {
            digits.push_back(static_cast<char>(c));
        } else if (c == thousandSeparator && thousandSeparator != 0 && !digits.empty() &&
                   i + 1 < text.size() && IsDigit(text[i + 1])) {
            // grouping between digits only
        } else {
            break;
        }
        ++i;
    }
}

}  // namespace

TKwDecimal KwDecimalOf(double value, int significant) {
    TKwDecimal number;
    if (std::isnan(value)) {
        number.nan = true;
        return number;
    }
    number.negative = std::signbit(value);
    if (std::isinf(value)) {
        number.infinite = true;
        return number;
    }
    if (value == 0) {
        number.negative = false;
        return number;
    }
    char buffer[64];
    const int precision = std::clamp(significant, 1, 17) - 1;
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                   std::chars_format::scientific, precision)
                         .ptr;
    const std::string_view text(buffer, end - buffer);
    const size_t e = text.find('e');
    for (char c : text.substr(0, e))
        if (c != '.')
            number.digits.push_back(c);
    int exponent10 = 0;
    std::from_chars(text.data() + e + 1 + (text[e + 1] == '+' ? 1 : 0), text.data() + text.size(),
                    exponent10);
    number.exponent = exponent10 + 1;
    StripTrailingZeros(number);
    return number;
}

void KwDecimalRoundAt(TKwDecimal& number, int decimals) {
    RoundToDigitCount(number, number.exponent + decimals);
}

void KwDecimalRoundSignificant(TKwDecimal& number, int significant) {
    RoundToDigitCount(number, significant);
}

double KwDecimalToDouble(const TKwDecimal& number) {
    if (number.nan)
        return std::numeric_limits<double>::quiet_NaN();
    if (number.infinite)
        return number.negative ? -HUGE_VAL : HUGE_VAL;
    if (number.IsZero())
        return 0.0;
    const std::string text =
        (number.negative ? "-" : "") + number.digits + "e" +
        std::to_string(number.exponent - static_cast<int>(number.digits.size()));
    double value = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec == std::errc::result_out_of_range) {
        if (number.exponent > 0)
            throw EConvertError(u"Floating point overflow");
        return number.negative ? -0.0 : 0.0;
    }
    return value;
}

String KwFloatToFixed(double value, int decimals, Char decimalSeparator, Char thousandSeparator) {
    TKwDecimal number = KwDecimalOf(value);
    if (number.infinite || number.nan)
        return SpecialText(number);
    decimals = std::clamp(decimals, 0, kMaxFixedDecimals);
    KwDecimalRoundAt(number, decimals);
    std::string whole;
    for (int i = 0; i < number.exponent; ++i)
        whole.push_back(DigitAt(number, i));
    if (whole.empty())
        whole = "0";
    String text = GroupThousands(whole, thousandSeparator);
    if (decimals > 0) {
        text.push_back(decimalSeparator);
        for (int i = 0; i < decimals; ++i)
            text.push_back(static_cast<Char>(DigitAt(number, number.exponent + i)));
    }
    return Signed(number, text);
}

String KwFloatToScientific(double value, int precision, int exponentDigits, Char decimalSeparator) {
    precision = std::clamp(precision, 1, kMaxPrecision);
    const TKwDecimal number = RoundedSignificant(value, precision);
    if (number.infinite || number.nan)
        return SpecialText(number);
    String text(1, static_cast<Char>(DigitAt(number, 0)));
    if (precision > 1) {
        text.push_back(decimalSeparator);
        for (int i = 1; i < precision; ++i)
            text.push_back(static_cast<Char>(DigitAt(number, i)));
    }
    const int exponent = number.IsZero() ? 0 : number.exponent - 1;
    return Signed(number, text + ExponentText(exponent, std::clamp(exponentDigits, 0, 4), true));
}

String KwFloatToGeneral(double value, int precision, Char decimalSeparator) {
    precision = std::clamp(precision, 1, kMaxPrecision);
    const TKwDecimal number = RoundedSignificant(value, precision);
    if (number.infinite || number.nan)
        return SpecialText(number);
    if (!number.IsZero() && (number.exponent > precision || number.exponent < -3))
        return GeneralScientific(number, decimalSeparator);
    return GeneralFixed(number, decimalSeparator);
}

String KwFloatToShortest(double value, int precision, Char decimalSeparator) {
    const TKwDecimal number = RoundedSignificant(value, precision);
    if (number.infinite || number.nan)
        return SpecialText(number);
    String fixed = GeneralFixed(number, decimalSeparator);
    String scientific = GeneralScientific(number, decimalSeparator);
    return scientific.size() < fixed.size() ? scientific : fixed;
}

String KwInt64ToText(std::int64_t value, Char thousandSeparator) {
    const std::uint64_t magnitude =
        value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    const String digits = GroupThousands(std::to_string(magnitude), thousandSeparator);
    return value < 0 ? u"-" + digits : digits;
}

std::optional<double> KwParseFloat(StringView input, Char decimalSeparator,
                                   Char thousandSeparator) {
    if (thousandSeparator == decimalSeparator)
        thousandSeparator = 0;
    const String text = Trim(input);
    size_t i = 0;
    std::string normalised;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        normalised += text[i++] == u'-' ? "-" : "";
    std::string whole;
    std::string fraction;
    ReadDigits(text, i, thousandSeparator, whole);
    if (i < text.size() && text[i] == decimalSeparator) {
        ++i;
        ReadDigits(text, i, 0, fraction);
    }
    if (whole.empty() && fraction.empty())
        return std::nullopt;
    long exponent = 0;
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        ++i;
        exponent = ReadExponent(text, i);
    }
    if (i != text.size())
        return std::nullopt;
    normalised += (whole.empty() ? "0" : whole) + "." + fraction + "e" + std::to_string(exponent);
    double value = 0;
    const auto [ptr, ec] =
        std::from_chars(normalised.data(), normalised.data() + normalised.size(), value);
    if (ec == std::errc::result_out_of_range) {
        const size_t firstSignificant = whole.find_first_not_of('0');
        const long order = firstSignificant == std::string::npos
                               ? exponent - static_cast<long>(fraction.find_first_not_of('0'))
                               : exponent + static_cast<long>(whole.size() - firstSignificant);
        if (order > 0)
            return std::nullopt;
        return normalised[0] == '-' ? -0.0 : 0.0;
    }
    if (ec != std::errc())
        return std::nullopt;
    return value;
}

std::optional<std::int64_t> KwParseInt64(StringView input, Char thousandSeparator) {
    const String text = Trim(input);
    size_t i = 0;
    const bool negative = i < text.size() && text[i] == u'-';
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        ++i;
    std::string digits;
    ReadDigits(text, i, thousandSeparator, digits);
    if (digits.empty() || i != text.size())
        return std::nullopt;
    const std::uint64_t limit =
        static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) + (negative ? 1 : 0);
    std::uint64_t magnitude = 0;
    for (char c : digits) {
        const auto digit = static_cast<std::uint64_t>(c - '0');
        if (magnitude > (limit - digit) / 10)
            return std::nullopt;
        magnitude = magnitude * 10 + digit;
    }
    return static_cast<std::int64_t>(negative ? 0 - magnitude : magnitude);
}

}  // namespace kw
