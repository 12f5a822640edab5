#include "util/mask_value.h"

#include <algorithm>
#include <optional>

#include "framework/errors.h"
#include "platform/text/strings.h"
#include "util/app_format.h"
#include "util/convert.h"
#include "util/dates.h"
#include "util/number_text.h"
#include "util/text.h"

namespace kw {

namespace {

constexpr int kIncompleteInput = 6;
constexpr int kUnknownDayHalf = 73;

bool HasTemplate(const TKwMaskInfo& info) {
    return info.HasPattern() &&
           (KwIsTextType(info.MaskType) || info.MaskType == TKwDataType::dtyDateTime);
}

String DropTrailingBlanks(String text) {
    while (!text.empty() && text.back() == u' ')
        text.pop_back();
    return text;
}

// The characters of one template field, without blanks and empty-position marks.
String FieldChars(const TKwMaskInfo& info, StringView text, const TKwDateFieldSpan& span) {
    String chars;
    for (int i = span.start; i < span.start + span.length && i < static_cast<int>(text.size());
         ++i) {
        if (text[i] != u' ' && text[i] != info.MaskSpc)
            chars.push_back(text[i]);
    }
    return chars;
}

int FieldNumber(const String& chars, StringView text) {
    int value = 0;
    for (Char c : chars) {
        if (c < u'0' || c > u'9')
            KwRaiseInvalidDate(text);
        value = value * 10 + (c - u'0');
    }
    return value;
}

Variant NumberValue(const TKwMaskInfo& info, StringView text, int size, int decimals,
                    StringView source, const TKwFormatSettings& settings) {
    String trimmed = Trim(text);
    if (trimmed.empty())
        return Variant::Null();
    if (trimmed == u"-")
        trimmed = u"0";
    if (info.nAll != 0 && static_cast<int>(trimmed.size()) < size)
        KwExceptPkg(source, u"System", kIncompleteInput);
    const String plain = settings.thousandSeparator == settings.decimalSeparator
                             ? trimmed
                             : KwARemoveThousandSeparator(trimmed, settings);
    if (info.MaskType == TKwDataType::dtyInteger)
        return KwAStrToInt64(plain, settings);
    double value = 0;
    if (info.nCientific != 0) {
        const auto parsed = KwParseFloat(plain, settings.decimalSeparator);
        if (!parsed)
            KwRaiseInvalidNumber(text);
        value = *parsed;
    } else {
        value = KwAStrToNumeric(plain, decimals, settings);
    }
    if (info.MaskType == TKwDataType::dtyCurrency)
        return Currency::FromDouble(value);
    return value;
}

Variant DurationValue(const TKwMaskInfo& info, StringView text, TKwDateYear dateYear,
                      const TKwFormatSettings& settings) {
    double days = 0;
    bool any = false;
    bool first = true;
    for (const TKwDateFieldSpan& span : KwDateFieldSpans(info, dateYear, settings)) {
        const String chars = FieldChars(info, text, span);
        const int count = FieldNumber(chars, text);
        any = any || !chars.empty();
        if (!first && count > 59)
            KwRaiseInvalidDate(text);
        first = false;
        switch (span.field) {
            case TKwDateField::dfHour:
                days += count / 24.0;
                break;
            case TKwDateField::dfMinute:
                days += count / 1440.0;
                break;
            default:
                days += count / 86400.0;
                break;
        }
    }
    return any ? Variant::FromDate(days) : Variant::Null();
}

// Morning (0) or afternoon (1) from the text after the time.
int DayHalf(const TKwMaskInfo& info, StringView remainder, StringView source,
            const TKwFormatSettings& settings) {
    String text(remainder);
    std::erase(text, info.MaskSpc);
    text = Trim(text);
    if (text.empty())
        return 0;
    const String* markers[] = {&settings.timeAMString, &settings.timePMString};
    for (int half = 0; half < 2; ++half)
        if (!markers[half]->empty() && AnsiSameText(text, *markers[half]))
            return half;
    for (int half = 0; half < 2; ++half)
        if (!markers[half]->empty() && AnsiSameText(text.substr(0, 1), markers[half]->substr(0, 1)))
            return half;
    KwExceptPkg(source, u"System", kUnknownDayHalf);
}

int TwelveHourClock(const TKwMaskInfo& info, int hour, int half, StringView text) {
    const bool adjust = info.fAAdjust != 0;
    if ((hour == 0 || hour > 12) && !adjust)
        KwRaiseInvalidDate(text);
    while (hour >= 24)
        hour -= 24;
    if (half == 1 && hour >= 1 && hour <= 11)
        return hour + 12;
    if (half == 0 && hour == 12) {
        if (!adjust)
            KwRaiseInvalidDate(text);
        return 0;
    }
    return hour;
}

struct TDateParts {
    int year = 0, month = 0, day = 0, hour = 0, min = 0, sec = 0, msec = 0;
};

TDateParts StartingPoint(const Variant& oldValue) {
    TDateParts parts;
    const TDateTime start = oldValue.IsClear() ? Date() : oldValue.AsDate();
    DecodeDateTime(start, parts.year, parts.month, parts.day, parts.hour, parts.min, parts.sec,
                   parts.msec);
    if (parts.month == 0)
        DecodeDate(Date(), parts.year, parts.month, parts.day);
    return parts;
}

Variant CalendarValue(const TKwMaskInfo& info, const Variant& oldValue, StringView text,
                      TKwDateYear dateYear, StringView source, const TKwFormatSettings& settings) {
    if (!info.HasPattern()) {
        const String trimmed = Trim(text);
        return trimmed.empty() ? Variant::Null()
                               : Variant::FromDate(KwAStrToDate(trimmed, settings));
    }
    if (Trim(KwMaskData(info, text)).empty())
        return Variant::Null();
    TDateParts parts = StartingPoint(oldValue);
    bool timeRead = false;
    bool hourRead = false;
    std::optional<int> half;
    for (const TKwDateFieldSpan& span : KwDateFieldSpans(info, dateYear, settings)) {
        if (span.field == TKwDateField::dfAmPm) {
            const StringView rest =
                span.start < static_cast<int>(text.size()) ? text.substr(span.start) : StringView();
            half = DayHalf(info, rest, source, settings);
            continue;
        }
        const String chars = FieldChars(info, text, span);
        if (chars.empty())
            continue;
        const int number = FieldNumber(chars, text);
        switch (span.field) {
            case TKwDateField::dfDay:
                parts.day = number;
                break;
            case TKwDateField::dfMonth:
                parts.month = number;
                break;
            case TKwDateField::dfYear:
                parts.year = chars.size() >= 4 ? FieldNumber(chars.substr(0, 4), text)
                                               : KwExpandYear(number, settings.dateCentury);
                break;
            case TKwDateField::dfHour:
                parts.hour = number;
                break;
            case TKwDateField::dfMinute:
                parts.min = number;
                break;
            default:
                parts.sec = number;
                break;
        }
        timeRead = timeRead || span.field >= TKwDateField::dfHour;
        hourRead = hourRead || span.field == TKwDateField::dfHour;
    }
    if (timeRead)
        parts.msec = 0;
    if (info.f12H != 0 && hourRead)
        parts.hour = TwelveHourClock(info, parts.hour, half.value_or(0), text);
    else if (info.fAAdjust != 0)
        parts.hour %= 24;
    const TDateTime date = EncodeDate(parts.year, parts.month, parts.day);
    const TDateTime time = EncodeTime(parts.hour, parts.min, parts.sec, parts.msec);
    return Variant::FromDate(ComposeDateTime(date, time));
}

bool HasInput(const TKwMaskInfo& info, StringView text) {
    for (size_t i = 0; i < info.Mask.size() && i < text.size(); ++i)
        if (info.Mask[i] == kKwMaskPosition && text[i] != info.MaskSpc && text[i] != u' ')
            return true;
    return false;
}

String ValueText(const TKwMaskInfo& info, const Variant& value, int size, int decimals,
                 TKwDateYear dateYear, bool edit, const TKwFormatSettings& settings) {
    if (value.IsClear())
        return edit ? KwMaskClear(info) : String();
    const String& mask = info.MaskSource;
    switch (info.MaskType) {
        case TKwDataType::dtyInteger:
            return edit ? KwAInt64ToStr(value.AsInt64(), mask, size, settings)
                        : KwAInt64ToStrShow(value.AsInt64(), mask, size, settings);
        case TKwDataType::dtyCurrency:
        case TKwDataType::dtyDouble:
            return edit ? KwANumericToStr(value.AsDouble(), mask, size, decimals, settings)
                        : KwANumericToStrShow(value.AsDouble(), mask, size, decimals, settings);
        case TKwDataType::dtyDateTime:
            return edit ? KwADateTimeToStr(value.AsDate(), mask, dateYear, settings)
                        : KwADateTimeToStrShow(value.AsDate(), mask, dateYear, settings);
        case TKwDataType::dtyString:
        case TKwDataType::dtyMemo:
            return KwAStringToStr(value.AsString(), mask);
        default:
            return {};
    }
}

Variant TextValue(const TKwMaskInfo& info, StringView text, int size, StringView source) {
    KwMaskFillAllChars(info, size, text, source);
    const String value = info.cNoAutoTrim != 0 ? String(text) : Trim(text);
    if (value.empty())
        return Variant::Null();
    // The literals make a saved edit text a value even with every position blank.
    if (info.cSaveMask != 0)
        return value;
    if (info.HasPattern() && !HasInput(info, text))
        return Variant::Null();
    const String data = KwMaskData(info, value);
    switch (info.cTypCase) {
        case u'f':
            return KwStrFirstUpperCase(data);
        case u'l':
            return AnsiLowerCase(data);
        case u'u':
            return AnsiUpperCase(data);
        default:
            return data;
    }
}

}  // namespace

String KwMaskShort(const TKwMaskInfo& info, const Variant& value, int size, int decimals,
                   TKwDateYear dateYear, const TKwFormatSettings& settings) {
    return ValueText(info, value, size, decimals, dateYear, true, settings);
}

String KwMaskLong(const TKwMaskInfo& info, const Variant& value, int size, int decimals,
                  TKwDateYear dateYear, const TKwFormatSettings& settings) {
    return ValueText(info, value, size, decimals, dateYear, false, settings);
}

String KwMaskLongEx(const TKwMaskInfo& info, const Variant& value, int size, int decimals,
                    TKwDateYear dateYear, StringView currency, TKwCurrencyFormat currencyFormat,
                    const TKwFormatSettings& settings) {
    if (value.IsClear())
        return {};
    const StringView shown = info.nCurrency != 0 ? currency : StringView();
    switch (info.MaskType) {
        case TKwDataType::dtyInteger:
            return KwAInt64ToStrShowEx(value.AsInt64(), info.MaskSource, size, shown,
                                       currencyFormat, settings);
        case TKwDataType::dtyCurrency:
        case TKwDataType::dtyDouble:
            return KwANumericToStrShowEx(value.AsDouble(), info.MaskSource, size, decimals, shown,
                                         currencyFormat, settings);
        default:
            return KwMaskLong(info, value, size, decimals, dateYear, settings);
    }
}

String KwMaskClear(const TKwMaskInfo& info) {
    if (!HasTemplate(info))
        return {};
    String text = info.Mask;
    std::replace(text.begin(), text.end(), kKwMaskPosition, info.MaskSpc);
    return text;
}

String KwMaskData(const TKwMaskInfo& info, StringView text) {
    if (KwIsNumberType(info.MaskType))
        return Trim(text);
    if (!HasTemplate(info))
        return info.cNoAutoTrim != 0 ? String(text) : Trim(text);
    String data;
    for (size_t i = 0; i < info.Mask.size(); ++i) {
        if (info.Mask[i] != kKwMaskPosition)
            continue;
        const Char c = i < text.size() ? text[i] : u' ';
        data.push_back(c == info.MaskSpc ? u' ' : c);
    }
    return DropTrailingBlanks(std::move(data));
}

void KwMaskFillAllChars(const TKwMaskInfo& info, int size, StringView text, StringView source) {
    if (!KwIsTextType(info.MaskType) || info.cAll == 0)
        return;
    bool complete = true;
    if (!info.HasPattern()) {
        complete = text.empty() || static_cast<int>(text.size()) >= size;
    } else if (!text.empty()) {
        for (size_t i = 0; i < info.Mask.size() && complete; ++i)
            complete =
                info.Mask[i] != kKwMaskPosition || (i < text.size() && text[i] != info.MaskSpc);
    }
    if (!complete)
        KwExceptPkg(source, u"System", kIncompleteInput);
}

Variant KwMaskToValue(const TKwMaskInfo& info, const Variant& oldValue, StringView text, int size,
                      int decimals, TKwDateYear dateYear, StringView source,
                      const TKwFormatSettings& settings) {
    if (KwIsNumberType(info.MaskType))
        return NumberValue(info, text, size, decimals < 0 ? 15 : decimals, source, settings);
    if (info.MaskType == TKwDataType::dtyDateTime) {
        if (info.fDuration != 0)
            return DurationValue(info, text, dateYear, settings);
        return CalendarValue(info, oldValue, text, dateYear, source, settings);
    }
    if (KwIsTextType(info.MaskType))
        return TextValue(info, text, size, source);
    return Variant::Null();
}

TDateTime KwMaskDateTimePosCalc(const TKwMaskInfo& info, TKwDateYear dateYear, const Variant& value,
                                int caret, int step, const TKwFormatSettings& settings) {
    const TDateTime start = value.IsClear() ? 0.0 : value.AsDate();
    for (const TKwDateFieldSpan& span : KwDateFieldSpans(info, dateYear, settings)) {
        if (caret < span.start || caret > span.start + span.length)
            continue;
        switch (span.field) {
            case TKwDateField::dfDay:
                return KwIncDay(start, step);
            case TKwDateField::dfMonth:
                return IncMonth(start, step);
            case TKwDateField::dfYear:
                return KwIncYear(start, step);
            case TKwDateField::dfHour:
                return KwIncHour(start, step);
            case TKwDateField::dfMinute:
                return KwIncMinute(start, step);
            case TKwDateField::dfSecond:
                return KwIncSecond(start, step);
            default:
                return KwIncHour(start, 12 * step);
        }
    }
    return start;
}

}  // namespace kw
