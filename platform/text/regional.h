#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/types.h"

namespace kw {

// The regional settings of one locale, in the terms the desktop platform reports them.
struct TRegionalSettings {
    Char thousandSeparator = u',';
    Char decimalSeparator = u'.';
    String currencyString;
    // Placement of the currency in a positive amount: 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $".
    int currencyFormat = 0;
    int currencyDecimals = 2;
    Char dateSeparator = u'/';
    Char timeSeparator = u':';
    // Day, month and year fields only, with the platform's letters: "M/d/yy", "dd.MM.yyyy".
    String shortDateFormat;
    String timeAMString;
    String timePMString;
    std::array<String, 12> shortMonthNames;  // January first
    std::array<String, 12> longMonthNames;
    std::array<String, 7> shortDayNames;  // Sunday first
    std::array<String, 7> longDayNames;
};

// Settings of an ICU locale id such as "de_DE"; an id ICU does not know gives its root data.
TRegionalSettings RegionalSettingsFor(const std::string& localeId);

// The user's locale as a desktop reads it from the environment: LC_ALL, then LC_NUMERIC, then
// LC_TIME, then LANG; the encoding and modifier are dropped ("de_DE.UTF-8@euro" gives "de_DE"),
// and "C", "POSIX" or nothing at all give "en_US". `getEnv` answers like std::getenv.
std::string LocaleIdFromEnvironment(const char* (*getEnv)(const char*));
std::string LocaleIdFromEnvironment();

// The locale the program runs in, process-wide: the user's (from the environment) until set.
// Tests pin one with SetRegionalLocale so that results never depend on the machine.
void SetRegionalLocale(const std::string& localeId);
std::string RegionalLocale();
// Back to the user's locale.
void ResetRegionalLocale();
// The settings of RegionalLocale(), computed once per locale.
const TRegionalSettings& RegionalSettings();

// Locale ids ICU has data for, in ICU's order.
std::vector<std::string> AvailableLocaleIds();
// Windows-style 32-bit locale identifiers; 0 when the locale has none.
std::uint32_t LocaleIdToLcid(const std::string& localeId);
// Empty when the identifier is unknown.
std::string LcidToLocaleId(std::uint32_t lcid);
// English names of the locale's language and country; empty when unknown.
String LocaleLanguageName(const std::string& localeId);
String LocaleCountryName(const std::string& localeId);

}  // namespace kw
