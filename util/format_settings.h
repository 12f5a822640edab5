#pragma once

#include <array>
#include <functional>
#include <memory>

#include "platform/core/types.h"
#include "util/kw_types.h"

namespace kw {

// The regional values the application-form conversions read. A conversion takes the settings
// it is given and never changes shared state, so calls with different settings may run on
// several threads at once.
struct TKwFormatSettings {
    Char thousandSeparator = u',';
    Char decimalSeparator = u'.';
    Char dateSeparator = u'/';
    Char timeSeparator = u':';
    TKwDateFormat dateFormat = TKwDateFormat::dfomdy;
    String timeAMString = u"AM";
    String timePMString = u"PM";
    String currencyString = u"$";
    TKwCurrencyFormat currencyFormat = TKwCurrencyFormat::cfoc1;
    // January first.
    std::array<String, 12> monthShortNames{u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun",
                                           u"Jul", u"Aug", u"Sep", u"Oct", u"Nov", u"Dec"};
    std::array<String, 12> monthLongNames{u"January",   u"February", u"March",    u"April",
                                          u"May",       u"June",     u"July",     u"August",
                                          u"September", u"October",  u"November", u"December"};
    // Sunday first.
    std::array<String, 7> dayShortNames{u"Sun", u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat"};
    std::array<String, 7> dayLongNames{u"Sunday",   u"Monday", u"Tuesday", u"Wednesday",
                                       u"Thursday", u"Friday", u"Saturday"};
    // Last year of the hundred-year window that two-digit years expand into.
    int dateCentury = 2049;
    // Defaults for masks that take their decimals and year digits from the application.
    int maskDecimals = 0;
    TKwDateYear maskDateYear = TKwDateYear::dyeYear4;
    TKwStartOfWeek startOfWeek = TKwStartOfWeek::sweSun;
    TKwStartWeekYear startWeekYear = TKwStartWeekYear::swyFourDays;
};

// How values are written into SQL text.
struct TKwDbSettings {
    TKwDateFormat dateFormat = TKwDateFormat::dfomdy;
    Char dateSeparator = u'/';
    Char timeSeparator = u':';
    Char decimalSeparator = u'.';
    bool quotedNumber = false;
};

// The settings of the application routines come from a provider: the language package installs
// one that answers from the active application object's locale. Without an answer the platform's
// regional settings apply (KwPlatformFormatSettings). The provider may run on several threads.
using TKwFormatSettingsProvider = std::function<std::shared_ptr<const TKwFormatSettings>()>;
void KwSetApplicationSettingsProvider(TKwFormatSettingsProvider provider);
std::shared_ptr<const TKwFormatSettings> KwApplicationSettingsPtr();
// The current application settings; valid until the end of the full expression that asked,
// which makes it usable as a default argument.
inline const TKwFormatSettings& KwApplicationSettings(
    std::shared_ptr<const TKwFormatSettings>&& holder = KwApplicationSettingsPtr()) {
    return *holder;
}

// The database literal rules; the setup package installs a provider that reads the active
// application object's setup. Without one the defaults above apply.
using TKwDbSettingsProvider = std::function<TKwDbSettings()>;
void KwSetDbSettingsProvider(TKwDbSettingsProvider provider);
TKwDbSettings KwDbSettings();

// Removes both providers (between tests).
void KwResetConversionProviders();

}  // namespace kw
