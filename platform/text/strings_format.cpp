#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/core/exception.h"
#include "platform/text/strings.h"

namespace kw {

namespace {

// --- Decimal digits of a double ----------------------------------------------------------------

// A non-negative number as 0.d1d2d3... x 10^point: `point` digits stand before the decimal
// point. No leading or trailing zeros are kept; zero has no digits.
struct Decimal {
    std::string digits;
    int point = 0;
};

void StripZeros(Decimal& d) {
    const size_t first = d.digits.find_first_not_of('0');
    if (first == std::string::npos) {
        d = Decimal{};
        return;
    }
    d.digits.erase(0, first);
    d.point -= static_cast<int>(first);
    d.digits.erase(d.digits.find_last_not_of('0') + 1);
}

// Number of decimals that write a double exactly: one per binary digit after the point.
int ExactDecimals(double magnitude) {
    int exponent = 0;
    const double fraction = std::frexp(magnitude, &exponent);
    const auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
    if (mantissa == 0)
        return 0;
    return std::max(0, 53 - exponent - std::countr_zero(mantissa));
}

Decimal ExactDecimal(double magnitude) {
    const int decimals = ExactDecimals(magnitude);
    std::string text(320 + static_cast<size_t>(decimals), '\0');
    const auto [end, ec] = std::to_chars(text.data(), text.data() + text.size(), magnitude,
                                         std::chars_format::fixed, decimals);
    text.resize(static_cast<size_t>(end - text.data()));
    const size_t dot = std::min(text.find('.'), text.size());
    Decimal d;
    d.point = static_cast<int>(dot);
    d.digits = text.substr(0, dot) + (dot < text.size() ? text.substr(dot + 1) : std::string());
    StripZeros(d);
    return d;
}

// The fewest digits that read back as the same double.
Decimal ShortestDecimal(double magnitude) {
    char buffer[32];
    const auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific);
    const std::string_view text(buffer, static_cast<size_t>(end - buffer));
    const size_t e = text.find('e');
    Decimal d;
    for (char c : text.substr(0, e)) {
        if (c != '.')
            d.digits.push_back(c);
    }
    int exponent = 0;
    std::from_chars(text.data() + e + (text[e + 1] == '+' ? 2 : 1), text.data() + text.size(),
                    exponent);
    d.point = exponent + 1;
    StripZeros(d);
    return d;
}

// Keeps `count` leading digits, rounding half away from zero (the digits are exact, so a
// dropped part starting with 5 is at least one half).
void RoundToDigits(Decimal& d, int count) {
    if (count >= static_cast<int>(d.digits.size()))
        return;
    if (count < 0) {
        d = Decimal{};
        return;
    }
    const bool up = d.digits[static_cast<size_t>(count)] >= '5';
    d.digits.resize(static_cast<size_t>(count));
    if (up) {
        while (!d.digits.empty() && d.digits.back() == '9')
            d.digits.pop_back();
        if (d.digits.empty()) {
            d.digits = "1";
            ++d.point;
        } else {
            ++d.digits.back();
        }
    }
    StripZeros(d);
}

char DigitAt(const Decimal& d, int index) {
    return index >= 0 && index < static_cast<int>(d.digits.size())
               ? d.digits[static_cast<size_t>(index)]
               : '0';
}

std::string IntegerPart(const Decimal& d, bool grouped) {
    std::string out;
    const int count = std::max(d.point, 1);
    for (int i = 0; i < count; ++i) {
        if (grouped && i > 0 && (count - i) % 3 == 0)
            out.push_back(',');
        out.push_back(DigitAt(d, d.point - count + i));
    }
    return out;
}

std::string Decimals(const Decimal& d, int from, int count) {
    std::string out;
    for (int i = 0; i < count; ++i)
        out.push_back(DigitAt(d, from + i));
    return out;
}

std::string WithPoint(std::string whole, const std::string& decimals) {
    return decimals.empty() ? whole : whole + "." + decimals;
}

std::string FixedText(Decimal d, int decimals, bool grouped) {
    RoundToDigits(d, d.point + decimals);
    return WithPoint(IntegerPart(d, grouped), Decimals(d, d.point, decimals));
}

// "d.ddd" showing `shown` digits, padded with zeros when the number has fewer.
std::string Mantissa(const Decimal& d, int shown) {
    return WithPoint(std::string(1, DigitAt(d, 0)), Decimals(d, 1, shown - 1));
}

int ExponentOf(const Decimal& d) {
    return d.digits.empty() ? 0 : d.point - 1;
}

std::string ScientificText(Decimal d, int significant) {
    RoundToDigits(d, significant);
    const int exponent = ExponentOf(d);
    std::string digits = std::to_string(std::abs(exponent));
    digits.insert(0, digits.size() < 3 ? 3 - digits.size() : 0, '0');
    return Mantissa(d, significant) + "E" + (exponent < 0 ? "-" : "+") + digits;
}

// Fixed notation for moderate exponents, else "1.5E20" style; trailing zeros never shown.
std::string GeneralText(const Decimal& d, int precision) {
    const int exponent = ExponentOf(d);
    if (exponent < -4 || exponent >= precision)
        return Mantissa(d, std::max<int>(1, d.digits.size())) + "E" + std::to_string(exponent);
    const int decimals = std::max(0, static_cast<int>(d.digits.size()) - d.point);
    return WithPoint(IntegerPart(d, false), Decimals(d, d.point, decimals));
}

std::string SpecialText(double value) {
    if (std::isnan(value))
        return "NAN";
    return value < 0 ? "-INF" : "INF";
}

bool IsZero(const std::string& text) {
    return text.find_first_of("123456789") == std::string::npos;
}

// Applies the sign unless the shown digits are all zero.
template <class Render>
String SignedFloatText(double value, Render render) {
    if (!std::isfinite(value))
        return AsciiToString(SpecialText(value));
    const std::string body = render(std::fabs(value));
    const bool negative = std::signbit(value) && !IsZero(body.substr(0, body.find('E')));
    return AsciiToString((negative ? "-" : "") + body);
}

// --- Format --------------------------------------------------------------------------------------

// Widths and precisions beyond this are taken as this.
constexpr int kMaxCount = 1 << 20;

struct Directive {
    bool left = false;
    int width = 0;
    std::optional<int> precision;
    Char type = 0;
};

class Formatter {
public:
    Formatter(StringView format, std::initializer_list<FormatArg> args)
        : format_(format), args_(args) {}

    String Run() {
        while (at_ < format_.size()) {
            const size_t percent = format_.find(u'%', at_);
            out_.append(format_.substr(at_, percent - at_));
            if (percent == StringView::npos)
                break;
            at_ = percent + 1;
            if (Peek() == u'%') {
                out_.push_back(u'%');
                ++at_;
            } else {
                AppendSpecifier();
            }
        }
        return out_;
    }

private:
    [[noreturn]] void Fail() const {
        throw EConvertError(u"Format '" + String(format_) +
                            u"' invalid or incompatible with argument");
    }

    Char Peek() const { return at_ < format_.size() ? format_[at_] : Char(0); }

    const FormatArg& NextArg() {
        if (next_ >= args_.size())
            Fail();
        return args_.begin()[next_++];
    }

    std::int64_t IntegerArg() {
        const FormatArg::Value& v = NextArg().value();
        if (const auto* i = std::get_if<std::int64_t>(&v))
            return *i;
        if (const auto* u = std::get_if<std::uint64_t>(&v))
            return static_cast<std::int64_t>(*u);
        Fail();
    }

    // Digits, "*" (the next argument) or nothing.
    std::optional<int> ReadCount() {
        if (Peek() == u'*') {
            ++at_;
            return static_cast<int>(std::clamp<std::int64_t>(IntegerArg(), -kMaxCount, kMaxCount));
        }
        if (Peek() < u'0' || Peek() > u'9')
            return std::nullopt;
        int value = 0;
        while (Peek() >= u'0' && Peek() <= u'9') {
            value = std::min(value * 10 + (Peek() - u'0'), kMaxCount);
            ++at_;
        }
        return value;
    }

    Directive ReadDirective() {
        Directive directive;
        std::optional<int> count = ReadCount();
        if (count && Peek() == u':') {
            ++at_;
            if (*count < 0 || static_cast<size_t>(*count) >= args_.size())
                Fail();
            next_ = static_cast<size_t>(*count);
            count.reset();
        }
        if (!count && Peek() == u'-') {
            directive.left = true;
            ++at_;
        }
        directive.width = count ? *count : ReadCount().value_or(0);
        if (directive.width < 0) {
            directive.left = true;
            directive.width = -directive.width;
        }
        if (Peek() == u'.') {
            ++at_;
            directive.precision = std::max(ReadCount().value_or(0), 0);
        }
        if (at_ >= format_.size())
            Fail();
        directive.type = format_[at_++];
        if (directive.type >= u'A' && directive.type <= u'Z')
            directive.type = static_cast<Char>(directive.type + 32);
        return directive;
    }

    void AppendSpecifier() {
        const Directive directive = ReadDirective();
        String text = Convert(directive, NextArg());
        const auto width = static_cast<size_t>(directive.width);
        if (text.size() < width) {
            const String padding(width - text.size(), u' ');
            text = directive.left ? text + padding : padding + text;
        }
        out_.append(text);
    }

    String Convert(const Directive& directive, const FormatArg& arg) {
        const FormatArg::Value& v = arg.value();
        if (directive.type == u's') {
            const auto* text = std::get_if<String>(&v);
            if (text == nullptr)
                Fail();
            return directive.precision ? text->substr(0, static_cast<size_t>(*directive.precision))
                                       : *text;
        }
        if (const auto* d = std::get_if<double>(&v))
            return FloatText(directive, *d);
        if (std::holds_alternative<String>(v))
            Fail();
        return IntegerText(directive, arg);
    }

    String IntegerText(const Directive& directive, const FormatArg& arg) {
        const FormatArg::Value& v = arg.value();
        const auto* s = std::get_if<std::int64_t>(&v);
        const std::uint64_t mask = ~std::uint64_t{0} >> (64 - arg.bits());
        const std::uint64_t bitPattern =
            (s != nullptr ? static_cast<std::uint64_t>(*s) : std::get<std::uint64_t>(v)) & mask;
        const int minDigits = directive.precision.value_or(0);
        switch (directive.type) {
            case u'd': {
                const bool negative = s != nullptr && *s < 0;
                const std::uint64_t magnitude =
                    negative ? 0 - static_cast<std::uint64_t>(*s) : bitPattern;
                return (negative ? u"-" : u"") + ZeroPadded(magnitude, minDigits);
            }
            case u'u':
                return ZeroPadded(bitPattern, minDigits);
            case u'x':
                return IntToHex(bitPattern, minDigits);
            case u'p':
                return IntToHex(bitPattern, arg.bits() / 4);
            default:
                Fail();
        }
    }

    static String ZeroPadded(std::uint64_t value, int digits) {
        String text = AsciiToString(std::to_string(value));
        if (static_cast<int>(text.size()) < digits)
            text.insert(0, static_cast<size_t>(digits) - text.size(), u'0');
        return text;
    }

    String FloatText(const Directive& directive, double value) {
        const int decimals = directive.precision.value_or(2);
        const int significant = std::max(directive.precision.value_or(15), 1);
        switch (directive.type) {
            case u'f':
            case u'n':
            case u'm': {
                const bool grouped = directive.type != u'f';
                return SignedFloatText(
                    value, [&](double m) { return FixedText(ExactDecimal(m), decimals, grouped); });
            }
            case u'e':
                return SignedFloatText(
                    value, [&](double m) { return ScientificText(ExactDecimal(m), significant); });
            case u'g': {
                return SignedFloatText(value, [&](double m) {
                    Decimal d = ExactDecimal(m);
                    RoundToDigits(d, significant);
                    return GeneralText(d, significant);
                });
            }
            default:
                Fail();
        }
    }

    StringView format_;
    std::initializer_list<FormatArg> args_;
    size_t at_ = 0;
    size_t next_ = 0;
    String out_;
};

}  // namespace

String Format(StringView format, std::initializer_list<FormatArg> args) {
    return Formatter(format, args).Run();
}

String FloatToStr(double value) {
    return SignedFloatText(value, [](double m) { return GeneralText(ShortestDecimal(m), 15); });
}

}  // namespace kw
