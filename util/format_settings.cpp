#include "util/format_settings.h"

#include <mutex>
#include <string>

#include "platform/core/no_destructor.h"
#include "platform/text/regional.h"
#include "util/platform_settings.h"

namespace kw {

namespace {

// Every piece of process-wide state of the conversion routines.
struct TKwConversionState {
    std::mutex mutex;
    std::shared_ptr<const TKwFormatSettingsProvider> applicationProvider;
    std::shared_ptr<const TKwDbSettingsProvider> dbProvider;
    // The platform's settings and the locale they were built for.
    std::shared_ptr<const TKwFormatSettings> platform;
    std::string platformLocale;
};

TKwConversionState& State() {
    static TNoDestructor<TKwConversionState> state;
    return *state;
}

TKwFormatSettings FromPlatform(const TRegionalSettings& platform) {
    TKwFormatSettings s;
    s.thousandSeparator = platform.thousandSeparator;
    s.decimalSeparator = platform.decimalSeparator;
    s.dateSeparator = platform.dateSeparator;
    s.timeSeparator = platform.timeSeparator;
    const String& shortDate = platform.shortDateFormat;
    s.dateFormat = !shortDate.empty() && shortDate.front() == u'd' ? dfodmy : dfomdy;
    s.timeAMString = platform.timeAMString;
    s.timePMString = platform.timePMString;
    s.currencyString = platform.currencyString;
    s.currencyFormat = KwCurrencyFormatOf(platform.currencyFormat);
    s.monthShortNames = platform.shortMonthNames;
    s.monthLongNames = platform.longMonthNames;
    s.dayShortNames = platform.shortDayNames;
    s.dayLongNames = platform.longDayNames;
    return s;
}

}  // namespace

void KwSetApplicationSettingsProvider(TKwFormatSettingsProvider provider) {
    std::lock_guard lock(State().mutex);
    State().applicationProvider =
        provider ? std::make_shared<const TKwFormatSettingsProvider>(std::move(provider)) : nullptr;
}

std::shared_ptr<const TKwFormatSettings> KwApplicationSettingsPtr() {
    std::shared_ptr<const TKwFormatSettingsProvider> provider;
    {
        std::lock_guard lock(State().mutex);
        provider = State().applicationProvider;
    }
    if (provider) {
        if (auto settings = (*provider)())
            return settings;
    }
    return KwPlatformFormatSettings();
}

std::shared_ptr<const TKwFormatSettings> KwPlatformFormatSettings() {
    std::string locale = RegionalLocale();
    std::lock_guard lock(State().mutex);
    TKwConversionState& state = State();
    if (!state.platform || state.platformLocale != locale) {
        state.platform =
            std::make_shared<const TKwFormatSettings>(FromPlatform(RegionalSettings()));
        state.platformLocale = std::move(locale);
    }
    return state.platform;
}

void KwSetDbSettingsProvider(TKwDbSettingsProvider provider) {
    std::lock_guard lock(State().mutex);
    State().dbProvider =
        provider ? std::make_shared<const TKwDbSettingsProvider>(std::move(provider)) : nullptr;
}

TKwDbSettings KwDbSettings() {
    std::shared_ptr<const TKwDbSettingsProvider> provider;
    {
        std::lock_guard lock(State().mutex);
        provider = State().dbProvider;
    }
    return provider ? (*provider)() : TKwDbSettings();
}

void KwResetConversionProviders() {
    std::lock_guard lock(State().mutex);
    State().applicationProvider = nullptr;
    State().dbProvider = nullptr;
}

}  // namespace kw
