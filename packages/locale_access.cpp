#include "packages/locale_access.h"

#include "packages/language_package.h"
#include "packages/state.h"
#include "platform/text/regional.h"
#include "platform/text/string_list.h"

namespace kw {

namespace {

// The value from the active language's locale, or from the platform's settings.
template <class FromLocale, class FromPlatform>
decltype(auto) Regional(FromLocale fromLocale, FromPlatform fromPlatform) {
    if (const TKwPkgLanguage* language = KwAppLanguage())
        return fromLocale(language->Locale());
    return fromPlatform(RegionalSettings());
}

template <size_t N>
const TStringList& Refilled(TStringList& list, const std::array<String, N>& names) {
    KwAssignNames(list, names);
    return list;
}

using Locale = TKwPkgLanguageLocale;
using Platform = TRegionalSettings;

}  // namespace

Char KwLocaleDateSeparator() {
    return Regional([](const Locale& l) { return l.DateSeparator(); },
                    [](const Platform& p) { return p.dateSeparator; });
}

Char KwLocaleTimeSeparator() {
    return Regional([](const Locale& l) { return l.TimeSeparator(); },
                    [](const Platform& p) { return p.timeSeparator; });
}

Char KwLocaleNumericThousandSeparator() {
    return Regional([](const Locale& l) { return l.NumericThousandSeparator(); },
                    [](const Platform& p) { return p.thousandSeparator; });
}

Char KwLocaleNumericDecimalSeparator() {
    return Regional([](const Locale& l) { return l.NumericDecimalSeparator(); },
                    [](const Platform& p) { return p.decimalSeparator; });
}

String KwLocaleNumericCurrencyString() {
    return Regional([](const Locale& l) { return l.NumericCurrencyString(); },
                    [](const Platform& p) { return p.currencyString; });
}

TKwCurrencyFormat KwLocaleNumericCurrencyFormat() {
    return Regional([](const Locale& l) { return l.NumericCurrencyFormat(); },
                    [](const Platform& p) { return KwCurrencyFormatOf(p.currencyFormat); });
}

TKwDateFormat KwLocaleDateFormat() {
    return Regional([](const Locale& l) { return l.DateFormat(); },
                    [](const Platform& p) {
                        const String& format = p.shortDateFormat;
                        return !format.empty() && format.front() == u'd' ? dfodmy : dfomdy;
                    });
}

int KwLocaleDateCentury() {
    return Regional([](const Locale& l) { return l.DateCentury(); },
                    [](const Platform&) { return 2049; });
}

int KwLocaleYearFix() {
    return Regional([](const Locale& l) { return l.MaskDateYearFix(); },
                    [](const Platform&) { return 0; });
}

String KwLocaleTimeAMString() {
    return Regional([](const Locale& l) { return l.TimeAMString(); },
                    [](const Platform& p) { return p.timeAMString; });
}

String KwLocaleTimePMString() {
    return Regional([](const Locale& l) { return l.TimePMString(); },
                    [](const Platform& p) { return p.timePMString; });
}

const TStringList& KwLocaleDayShortNames() {
    return Regional([](const Locale& l) -> const TStringList& { return l.DayShortNames(); },
                    [](const Platform& p) -> const TStringList& {
                        return Refilled(KwPackagesState().fallbackDayShortNames, p.shortDayNames);
                    });
}

const TStringList& KwLocaleDayLongNames() {
    return Regional([](const Locale& l) -> const TStringList& { return l.DayLongNames(); },
                    [](const Platform& p) -> const TStringList& {
                        return Refilled(KwPackagesState().fallbackDayLongNames, p.longDayNames);
                    });
}

const TStringList& KwLocaleMonthShortNames() {
    return Regional([](const Locale& l) -> const TStringList& { return l.MonthShortNames(); },
                    [](const Platform& p) -> const TStringList& {
                        return Refilled(KwPackagesState().fallbackMonthShortNames,
                                        p.shortMonthNames);
                    });
}

const TStringList& KwLocaleMonthLongNames() {
    return Regional([](const Locale& l) -> const TStringList& { return l.MonthLongNames(); },
                    [](const Platform& p) -> const TStringList& {
                        return Refilled(KwPackagesState().fallbackMonthLongNames, p.longMonthNames);
                    });
}

TKwDateFormat KwSystemDateFormat() {
    return KwDateFormatOf(RegionalSettings().shortDateFormat);
}

TKwDateYear KwSystemDateYear() {
    return KwDateYearOf(RegionalSettings().shortDateFormat);
}

}  // namespace kw
