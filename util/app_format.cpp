#include "util/app_format.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <variant>

#include "platform/text/strings.h"
#include "util/mask_info.h"
#include "util/number_text.h"
#include "util/text.h"

namespace kw {

namespace {

constexpr int kDefaultDecimals = 15;

int EffectiveDecimals(int decimals) {
    return decimals < 0 ? kDefaultDecimals : decimals;
}

String EffectiveMask(StringView mask, TKwDataType dataType) {
    const String trimmed = Trim(mask);
    return trimmed.empty() ? KwDefaultMask(dataType) : trimmed;
}

String Padded(std::int64_t value, int width) {
    char digits[24];
    const char* end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    String text(static_cast<const char*>(digits), end);
    if (static_cast<int>(text.size()) < width)
        text.insert(0, width - text.size(), u'0');
    return text;
}

String TrimBlanks(StringView text) {
    const size_t first = text.find_first_not_of(u' ');
    if (first == StringView::npos)
        return {};
    const size_t last = text.find_last_not_of(u' ');
    return String(text.substr(first, last - first + 1));
}

using NumberValue = std::variant<double, std::int64_t>;

// The digits of step one: fixed, scientific or integer text with the settings' separators.
String NumberDigits(const NumberValue& value, const TKwMaskInfo& info, int decimals,
                    const TKwFormatSettings& settings) {
    const Char grouping = info.nSep != 0 ? settings.thousandSeparator : 0;
    if (const auto* integer = std::get_if<std::int64_t>(&value))
        return KwInt64ToText(*integer, grouping);
    const double real = std::get<double>(value);
    switch (info.nCientific) {
        case u'1':
        case u'2':
        case u'3':
            return KwFloatToScientific(real, decimals, info.nCientific - u'0',
                                       settings.decimalSeparator);
        case u'4':
            return KwFloatToShortest(real, decimals, settings.decimalSeparator);
        default:
            return KwFloatToFixed(real, decimals, settings.decimalSeparator, grouping);
    }
}

void DropTrailingFractionZeros(String& text, Char decimalSeparator) {
    if (text.find(decimalSeparator) == String::npos)
        return;
    while (!text.empty() && text.back() == u'0')
        text.pop_back();
    if (!text.empty() && text.back() == decimalSeparator)
        text.pop_back();
}

String NumberShowScanned(const NumberValue& value, const TKwMaskInfo& info, int size, int decimals,
                         const TKwFormatSettings& settings) {
    String text = NumberDigits(value, info, decimals, settings);
    if (info.nCientific != 0)
        return text;
    const bool zero = std::visit([](auto v) { return v == 0; }, value);
    const size_t minus = text.find(u'-');
    const bool negative = minus != String::npos;
    if (negative)
        text[minus] = u' ';
    if (info.nTrimDec != 0 && decimals >= 1)
        DropTrailingFractionZeros(text, settings.decimalSeparator);
    text = TrimBlanks(text);
    if (info.nNoZero != 0 && zero)
        return {};
    String sign;
    if (negative)
        sign = u"-";
    else if (info.nTypSig == u'+')
        sign = u"+";
    text = info.nSignRight != 0 ? text + sign : sign + text;
    if (info.nFillLeft != 0 && size > static_cast<int>(text.size()))
        text.insert(0, size - text.size(), u'0');
    return text;
}

String NumberShow(const NumberValue& value, StringView mask, int size, int decimals,
                  const TKwFormatSettings& settings) {
    // Integers scan as the double kind too, so a blank mask groups them like any number.
    const TKwMaskInfo info =
        KwMaskScanned(TKwDataType::dtyDouble, EffectiveMask(mask, TKwDataType::dtyDouble),
                      TKwDateYear::dyeYear4, settings);
    return NumberShowScanned(value, info, size, EffectiveDecimals(decimals), settings);
}

// The mask without the letters that an edit text must not show; the leading alignment letter
// keeps a mask that lost all its letters from falling back to the default.
String EditNumberMask(StringView mask) {
    String copy = u">" + EffectiveMask(mask, TKwDataType::dtyDouble);
    for (Char& c : copy) {
        if (c == u'*' || c == u'.' || c == u'0' || c == u'z')
            c = u' ';
        else if (c == u'+')
            c = u'-';
    }
    return copy;
}

String NumberEdit(const NumberValue& value, StringView mask, int size, int decimals,
                  const TKwFormatSettings& settings) {
    decimals = EffectiveDecimals(decimals);
    const TKwMaskInfo info = KwMaskScanned(TKwDataType::dtyDouble, EditNumberMask(mask),
                                           TKwDateYear::dyeYear4, settings);
    const String text = NumberShowScanned(value, info, size, decimals, settings);
    if (info.nCientific != 0 || decimals < 1 ||
        text.find(settings.decimalSeparator) == String::npos)
        return text;
    size_t end = text.size();
    while (end > 0 && text[end - 1] == u'0')
        --end;
    if (end > 0 && text[end - 1] == settings.decimalSeparator)
        --end;
    return TrimBlanks(StringView(text).substr(0, end));
}

String CapitalisedName(StringView name) {
    const String lower = AnsiLowerCase(name);
    if (lower.empty())
        return lower;
    return AnsiUpperCase(StringView(lower).substr(0, 1)) + lower.substr(1);
}

// Elapsed time: the first unit shows its total count, the later ones two digits each.
String DurationText(TDateTime value, const TKwMaskInfo& info, bool edit,
                    const TKwFormatSettings& settings) {
    const int width = KwDurationWidth(info);
    const double magnitude = std::fabs(value) * kMSecsPerDay;
    const auto ms = magnitude < 9e18 ? static_cast<std::int64_t>(std::llround(magnitude)) : 0;
    const std::int64_t totals[] = {ms / 3600000, ms / 60000, ms / 1000};
    const std::int64_t parts[] = {ms / 3600000, ms / 60000 % 60, ms / 1000 % 60};
    const Char flags[] = {info.fHour, info.fMinute, info.fSecond};
    String text;
    bool first = true;
    for (int unit = 0; unit < 3; ++unit) {
        if (flags[unit] == 0)
            continue;
        if (first) {
            String count = edit ? Padded(totals[unit], width) : IntToStr(totals[unit]);
            if (edit)
                count.resize(std::min<size_t>(count.size(), width));
            text = count;
            first = false;
        } else {
            text += String(1, settings.timeSeparator) + Padded(parts[unit], 2);
        }
    }
    if (!edit && value < 0 && !text.empty())
        text.insert(0, 1, u'-');
    return text;
}

String MonthText(const TKwMaskInfo& info, int month, const TKwFormatSettings& settings) {
    switch (info.fMonth) {
        case u'm':
            return Padded(month, 2);
        case u'2':
            return CapitalisedName(settings.monthLongNames[month - 1]);
        case u'M':
            return CapitalisedName(settings.monthShortNames[month - 1]);
        default:
            return {};
    }
}

String YearText(const TKwMaskInfo& info, int year, TKwDateYear dateYear) {
    if (info.fYear == 0)
        return {};
    switch (dateYear) {
        case TKwDateYear::dyeYear4:
            return Padded(year, 4);
        case TKwDateYear::dyeYear2:
            return Padded(year % 100, 2);
        default:
            return {};
    }
}

String JoinDateParts(const TKwMaskInfo& info, const String& day, const String& month,
                     const String& year, const TKwFormatSettings& settings) {
    const bool numericMonth = info.fMonth == u'm';
    const String joiner = numericMonth ? String(1, settings.dateSeparator) : String(u" ");
    String text;
    auto append = [&](const String& part, const String& partJoiner) {
        if (part.empty())
            return;
        if (!text.empty())
            text += partJoiner;
        text += part;
    };
    switch (settings.dateFormat) {
        case TKwDateFormat::dfodmy:
            append(day, joiner), append(month, joiner), append(year, joiner);
            break;
        case TKwDateFormat::dfomdy:
            append(month, joiner), append(day, joiner);
            append(year, numericMonth || info.fMonth == 0 ? joiner : String(u", "));
            break;
        case TKwDateFormat::dfoymd:
            append(year, joiner), append(month, joiner), append(day, joiner);
            break;
    }
    return text;
}

String TimeText(const TKwMaskInfo& info, int hour, int min, int sec,
                const TKwFormatSettings& settings) {
    String text;
    const Char sep = settings.timeSeparator;
    if (info.fHour != 0) {
        const int shown = info.f12H != 0 ? (hour % 12 == 0 ? 12 : hour % 12) : hour;
        text += Padded(shown, 2);
    }
    if (info.fMinute != 0) {
        if (!text.empty())
            text.push_back(sep);
        text += Padded(min, 2);
    }
    if (info.fSecond != 0) {
        if (!text.empty() && text.back() != sep)
            text.push_back(sep);
        text += Padded(sec, 2);
    }
    if (info.f12H != 0 || info.fAmPm != 0) {
        const String& marker = hour < 12 ? settings.timeAMString : settings.timePMString;
        if (!marker.empty())
            text += u" " + marker;
    }
    return text;
}

String CalendarText(TDateTime value, const TKwMaskInfo& info, TKwDateYear dateYear,
                    const TKwFormatSettings& settings) {
    int year = 0, month = 0, day = 0, hour = 0, min = 0, sec = 0, msec = 0;
    DecodeDateTime(value, year, month, day, hour, min, sec, msec);
    if (month < 1)
        return {};
    String text;
    if (info.fLetDay != 0) {
        const int weekDay = DayOfWeek(value);
        const String& name = info.fLetDay == u'1' ? settings.dayLongNames[weekDay - 1]
                                                  : settings.dayShortNames[weekDay - 1];
        text = CapitalisedName(name) + u", ";
    }
    const String dayText = info.fDay != 0 ? Padded(day, 2) : String();
    text += JoinDateParts(info, dayText, MonthText(info, month, settings),
                          YearText(info, year, dateYear), settings);
    if (info.HasTime()) {
        if (!text.empty())
            text.push_back(u' ');
        text += TimeText(info, hour, min, sec, settings);
    }
    return text;
}

String DateTimeText(TDateTime value, StringView mask, TKwDateYear dateYear, bool edit,
                    const TKwFormatSettings& settings) {
    const TKwMaskInfo info = KwMaskScanned(TKwDataType::dtyDateTime, mask, dateYear, settings);
    if (info.fDuration != 0)
        return DurationText(value, info, edit, settings);
    return CalendarText(value, info, dateYear, settings);
}

// Names become numbers, and AM/PM texts stay only with the 12-hour clock.
String EditDateMask(StringView mask) {
    String copy = EffectiveMask(mask, TKwDataType::dtyDateTime);
    const bool twelveHour = copy.find(u'o') != String::npos;
    for (Char& c : copy) {
        if (c == u'1' || c == u'D')
            c = u'd';
        else if (c == u'2' || c == u'M')
            c = u'm';
        else if (c == u'a' && !twelveHour)
            c = u' ';
    }
    return copy;
}

String ApplyCase(StringView text, Char rule) {
    switch (rule) {
        case u'f':
            return KwStrFirstUpperCase(text);
        case u'l':
            return AnsiLowerCase(text);
        case u'u':
            return AnsiUpperCase(text);
        default:
            return String(text);
    }
}

String FillFromLeft(const TKwMaskInfo& info, StringView text) {
    String result;
    size_t next = 0;
    const bool withLiterals = info.cSaveMask != 0;
    for (Char p : info.Mask) {
        if (p == kKwMaskPosition) {
            result.push_back(next < text.size() ? text[next] : info.MaskSpc);
            ++next;
        } else {
            result.push_back(p);
            if (withLiterals)
                ++next;
        }
    }
    return result;
}

String FillFromRight(const TKwMaskInfo& info, StringView text) {
    String result(info.Mask.size(), u' ');
    size_t remaining = text.size();
    for (size_t i = info.Mask.size(); i-- > 0;) {
        const Char p = info.Mask[i];
        if (p != kKwMaskPosition) {
            result[i] = p;
        } else if (remaining > 0) {
            result[i] = text[--remaining];
        } else {
            result[i] = info.MaskSpc;
        }
    }
    return result;
}

}  // namespace

String KwJoinCurrency(StringView number, StringView currency, TKwCurrencyFormat currencyFormat) {
    if (currency.empty())
        return String(number);
    switch (currencyFormat) {
        case TKwCurrencyFormat::cfoc1:
            return String(currency) + String(number);
        case TKwCurrencyFormat::cfo1c:
            return String(number) + String(currency);
        case TKwCurrencyFormat::cfocc1:
            return String(currency) + u" " + String(number);
        default:
            return String(number) + u" " + String(currency);
    }
}

String KwANumericToStrShow(double value, StringView mask, int size, int decimals,
                           const TKwFormatSettings& settings) {
    return NumberShow(value, mask, size, decimals, settings);
}

String KwANumericToStrShowEx(double value, StringView mask, int size, int decimals,
                             StringView currency, TKwCurrencyFormat currencyFormat,
                             const TKwFormatSettings& settings) {
    return KwJoinCurrency(NumberShow(value, mask, size, decimals, settings), currency,
                          currencyFormat);
}

String KwANumericToStr(double value, StringView mask, int size, int decimals,
                       const TKwFormatSettings& settings) {
    return NumberEdit(value, mask, size, decimals, settings);
}

String KwAInt64ToStrShow(std::int64_t value, StringView mask, int size,
                         const TKwFormatSettings& settings) {
    return NumberShow(value, mask, size, 0, settings);
}

String KwAInt64ToStrShowEx(std::int64_t value, StringView mask, int size, StringView currency,
                           TKwCurrencyFormat currencyFormat, const TKwFormatSettings& settings) {
    return KwJoinCurrency(NumberShow(value, mask, size, 0, settings), currency, currencyFormat);
}

String KwAInt64ToStr(std::int64_t value, StringView mask, int size,
                     const TKwFormatSettings& settings) {
    return NumberEdit(value, mask, size, 0, settings);
}

String KwADateTimeToStrShow(TDateTime value, StringView mask, TKwDateYear dateYear,
                            const TKwFormatSettings& settings) {
    return DateTimeText(value, mask, dateYear, false, settings);
}

String KwADateTimeToStr(TDateTime value, StringView mask, TKwDateYear dateYear,
                        const TKwFormatSettings& settings) {
    return DateTimeText(value, EditDateMask(mask), dateYear, true, settings);
}

String KwAStringToStr(StringView text, StringView mask) {
    const TKwMaskInfo info = KwMaskScanned(TKwDataType::dtyString, mask, TKwDateYear::dyeYear4);
    const String cased = ApplyCase(text, info.cTypCase);
    if (!info.HasPattern())
        return cased;
    if (info.cDataAlign == 0 || info.cSaveMask != 0)
        return FillFromLeft(info, cased);
    return FillFromRight(info, cased);
}

String KwAStringToStrShow(StringView text, StringView mask) {
    return KwAStringToStr(text, mask);
}

String KwAStrToString(StringView text, StringView mask) {
    const TKwMaskInfo info = KwMaskScanned(TKwDataType::dtyString, mask, TKwDateYear::dyeYear4);
    if (!info.HasPattern())
        return Trim(text);
    String result;
    for (size_t i = 0; i < info.Mask.size(); ++i) {
        if (info.Mask[i] != kKwMaskPosition)
            continue;
        const Char c = i < text.size() ? text[i] : u' ';
        result.push_back(c == info.MaskSpc ? u' ' : c);
    }
    return Trim(result);
}

}  // namespace kw
