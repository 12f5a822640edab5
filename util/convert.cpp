#include "util/convert.h"

#include <algorithm>
#include <cmath>

#include "platform/core/exception.h"
#include "platform/text/strings.h"
#include "util/date_text.h"
#include "util/number_text.h"

namespace kw {

namespace {

constexpr int kDefaultDecimals = 15;
// The most decimals a fixed text shows.
constexpr int kMaxDecimals = 18;

const TKwDateTextRules& CanonicalDateRules() {
    static const TKwDateTextRules rules;
    return rules;
}

// Whether a plain number text already has no more than `decimals` places and 15 significant
// digits, so rounding cannot change it.
bool AlreadyRounded(StringView text, Char decimalSeparator, int decimals) {
    int significant = 0;
    int places = -1;
    for (Char c : text) {
        if (c == u'e' || c == u'E')
            return false;
        if (c == decimalSeparator) {
            places = 0;
        } else if (c >= u'0' && c <= u'9') {
            if (significant > 0 || c != u'0')
                ++significant;
            if (places >= 0)
                ++places;
        }
    }
    return significant <= 15 && places <= decimals;
}

String RemoveAll(StringView text, Char c) {
    String result(text);
    std::erase(result, c);
    return result;
}

}  // namespace

void KwRaiseInvalidNumber(StringView text) {
    throw EConvertError(u"'" + String(text) + u"' is not a valid floating point value");
}

void KwRaiseInvalidInteger(StringView text) {
    throw EConvertError(u"'" + String(text) + u"' is not a valid integer value");
}

void KwRaiseInvalidDate(StringView text) {
    throw EConvertError(u"'" + String(text) + u"' is not a valid date and time");
}

String KwCDateToStr(TDateTime value) {
    int hour = 0, min = 0, sec = 0, msec = 0;
    DecodeTime(value, hour, min, sec, msec);
    const bool midnight = hour == 0 && min == 0 && sec == 0;
    return KwFormatDateText(value, CanonicalDateRules(), true, !midnight);
}

TDateTime KwCStrToDate(StringView text) {
    const auto value = KwParseDateText(text, CanonicalDateRules());
    if (!value)
        KwRaiseInvalidDate(text);
    return *value;
}

String KwCNumericToStr(double value) {
    return KwFloatToGeneral(value, 15, u'.');
}

double KwCStrToNumeric(StringView text) {
    const auto value = KwParseFloat(text, u'.', u',');
    if (!value)
        KwRaiseInvalidNumber(text);
    return *value;
}

std::int64_t KwCStrToInt64(StringView text) {
    const auto value = KwParseInt64(text);
    if (!value)
        KwRaiseInvalidInteger(text);
    return *value;
}

String KwCRemoveThousandSeparator(StringView text) {
    return RemoveAll(text, u',');
}

TKwDateTextRules KwApplicationDateRules(const TKwFormatSettings& settings) {
    TKwDateTextRules rules;
    rules.order = settings.dateFormat;
    rules.dateSeparator = settings.dateSeparator;
    rules.timeSeparator = settings.timeSeparator;
    rules.centuryYear = settings.dateCentury;
    rules.amText = settings.timeAMString;
    rules.pmText = settings.timePMString;
    return rules;
}

TDateTime KwAStrToDate(StringView text, const TKwFormatSettings& settings) {
    const auto value = KwParseDateText(text, KwApplicationDateRules(settings));
    if (!value)
        KwRaiseInvalidDate(text);
    return *value;
}

double KwAStrToNumeric(StringView text, int decimals, const TKwFormatSettings& settings) {
    const auto value = KwParseFloat(text, settings.decimalSeparator, settings.thousandSeparator);
    if (!value)
        KwRaiseInvalidNumber(text);
    decimals = decimals < 0 ? kDefaultDecimals : std::min(decimals, kMaxDecimals);
    if (AlreadyRounded(text, settings.decimalSeparator, decimals))
        return *value;
    TKwDecimal number = KwDecimalOf(*value);
    KwDecimalRoundAt(number, decimals);
    return KwDecimalToDouble(number);
}

std::int64_t KwAStrToInt64(StringView text, const TKwFormatSettings& settings) {
    const auto value = KwParseInt64(text, settings.thousandSeparator);
    if (!value)
        KwRaiseInvalidInteger(text);
    return *value;
}

String KwARemoveThousandSeparator(StringView text, const TKwFormatSettings& settings) {
    return RemoveAll(text, settings.thousandSeparator);
}

double KwRoundDec(double value, int decimals) {
    const double scale = std::pow(10.0, std::clamp(decimals, 0, 30));
    const double whole = std::trunc(value);
    const double fraction = value - whole;
    const double bias = value < 0 ? -0.50000000001 : 0.50000000001;
    return whole + std::trunc(fraction * scale + bias) / scale;
}

}  // namespace kw
