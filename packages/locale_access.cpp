#include "packages/locale_access.h"

#include <algorithm>

#include "packages/language_package.h"
#include "packages/state.h"
#include "platform/text/regional.h"
#include "platform/text/string_list.h"
#include "util/format_settings.h"
#include "util/platform_settings.h"

namespace kw {

namespace {

// The value from the active language's locale, or from the platform's settings.
template <class FromLocale, class FromPlatform>
decltype(auto) Regional(FromLocale fromLocale, FromPlatform fromPlatform) {
    if (const TKwPkgLanguage* language = KwAppLanguage())
        return fromLocale(language->Locale());
    return fromPlatform(*KwPlatformFormatSettings());
}

template <size_t N>
const TStringList& Refilled(TStringList& list, const std::array<String, N>& names) {
    KwAssignNames(list, names);
    return list;
}

using Locale = TKwPkgLanguageLocale;
using Platform = TKwFormatSettings;

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
                    [](const Platform& p) { return p.currencyFormat; });
}

TKwDateFormat KwLocaleDateFormat() {
    return Regional([](const Locale& l) { return l.DateFormat(); },
                    [](const Platform& p) { return p.dateFormat; });
}

int KwLocaleDateCentury() {
    return Regional([](const Locale& l) { return l.DateCentury(); },
                    [](const Platform& p) { return p.dateCentury; });
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
                        return Refilled(KwPackagesState().fallbackDayShortNames, p.dayShortNames);
                    });
}

const TStringList& KwLocaleDayLongNames() {
    return Regional([](const Locale& l) -> const TStringList& { return l.DayLongNames(); },
                    [](const Platform& p) -> const TStringList& {
                        return Refilled(KwPackagesState().fallbackDayLongNames, p.dayLongNames);
                    });
}

const TStringList& KwLocaleMonthShortNames() {
    return Regional([](const Locale& l) -> const TStringList& { return l.MonthShortNames(); },
                    [](const Platform& p) -> const TStringList& {
                        return Refilled(KwPackagesState().fallbackMonthShortNames,
                                        p.monthShortNames);
                    });
}

const TStringList& KwLocaleMonthLongNames() {
    return Regional([](const Locale& l) -> const TStringList& { return l.MonthLongNames(); },
                    [](const Platform& p) -> const TStringList& {
                        return Refilled(KwPackagesState().fallbackMonthLongNames, p.monthLongNames);
                    });
}

namespace {

// Missing names keep the neutral ones, so a file with short lists still converts.
template <size_t N>
void CopyNames(const TStringList& list, std::array<String, N>& names) {
    const size_t count = std::min(N, static_cast<size_t>(std::max(list.Count(), 0)));
    for (size_t i = 0; i < count; ++i)
        names[i] = list.Strings(static_cast<int>(i));
}

}  // namespace

TKwFormatSettings KwLocaleFormatSettings() {
    const TKwPkgLanguage* language = KwAppLanguage();
    if (language == nullptr)
        return *KwPlatformFormatSettings();
    TKwFormatSettings s;
    s.thousandSeparator = KwLocaleNumericThousandSeparator();
    s.decimalSeparator = KwLocaleNumericDecimalSeparator();
    s.dateSeparator = KwLocaleDateSeparator();
    s.timeSeparator = KwLocaleTimeSeparator();
    s.dateFormat = KwLocaleDateFormat();
    s.timeAMString = KwLocaleTimeAMString();
    s.timePMString = KwLocaleTimePMString();
    s.currencyString = KwLocaleNumericCurrencyString();
    s.currencyFormat = KwLocaleNumericCurrencyFormat();
    CopyNames(KwLocaleMonthShortNames(), s.monthShortNames);
    CopyNames(KwLocaleMonthLongNames(), s.monthLongNames);
    CopyNames(KwLocaleDayShortNames(), s.dayShortNames);
    CopyNames(KwLocaleDayLongNames(), s.dayLongNames);
    s.dateCentury = KwLocaleDateCentury();
    const TKwPkgLanguageLocale& locale = language->Locale();
    s.maskDecimals = locale.MaskDecimals();
    s.maskDateYear = locale.MaskDateYear();
    s.startOfWeek = locale.StartOfWeek();
    s.startWeekYear = locale.StartWeekYear();
    return s;
}

void KwLocaleTouched() {
    ++KwPackagesState().localeGeneration;
}

void KwInstallLocaleSettings() {
    KwSetApplicationSettingsProvider([]() -> std::shared_ptr<const TKwFormatSettings> {
        TKwPackagesState& state = KwPackagesState();
        TKwLocaleSettingsCache& cache = state.localeSettings;
        const TKwPkgLanguage* language = KwAppLanguage();
        if (language == nullptr)
            return nullptr;  // the platform's settings
        std::string region = RegionalLocale();
        std::lock_guard lock(cache.mutex);
        if (!cache.settings || cache.language != language ||
            cache.generation != state.localeGeneration || cache.regionalLocale != region) {
            cache.settings = std::make_shared<const TKwFormatSettings>(KwLocaleFormatSettings());
            cache.language = language;
            cache.generation = state.localeGeneration;
            cache.regionalLocale = std::move(region);
        }
        return cache.settings;
    });
}

TKwDateFormat KwSystemDateFormat() {
    return KwDateFormatOf(RegionalSettings().shortDateFormat);
}

TKwDateYear KwSystemDateYear() {
    return KwDateYearOf(RegionalSettings().shortDateFormat);
}

}  // namespace kw
