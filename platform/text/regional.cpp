#include "platform/text/regional.h"

#include <unicode/dcfmtsym.h>
#include <unicode/decimfmt.h>
#include <unicode/dtfmtsym.h>
#include <unicode/locid.h>
#include <unicode/numfmt.h>
#include <unicode/smpdtfmt.h>
#include <unicode/uloc.h>

#include <cstdlib>
#include <memory>
#include <optional>

#include "platform/core/no_destructor.h"

namespace kw {

namespace {

constexpr const char* kDefaultLocale = "en_US";
constexpr Char kCurrencySign = u'\u00A4';

struct RegionalState {
    std::string localeId = LocaleIdFromEnvironment();
    std::optional<TRegionalSettings> cached;
};

RegionalState& State() {
    static TNoDestructor<RegionalState> state;
    return *state;
}

String ToString(const icu::UnicodeString& text) {
    return String(text.getBuffer(), static_cast<size_t>(text.length()));
}

icu::Locale MakeLocale(const std::string& localeId) {
    UErrorCode status = U_ZERO_ERROR;
    icu::Locale locale = localeId.find('-') != std::string::npos
                             ? icu::Locale::forLanguageTag(localeId, status)
                             : icu::Locale(localeId.c_str());
    if (U_FAILURE(status) || locale.isBogus())
        locale = icu::Locale::getRoot();
    // Day and month names and date patterns of the civil calendar, whatever the locale's default.
    status = U_ZERO_ERROR;
    locale.setKeywordValue("calendar", "gregorian", status);
    return locale;
}

bool IsBlank(Char c) {
    return c == u' ' || c == u'\u00A0' || c == u'\u202F' || c == u'\u2009';
}

bool IsPatternLetter(Char c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// Calls `field(letter, count)` for each run of pattern letters and `literal(c)` for each literal
// character, quoted text included.
template <class Field, class Literal>
void WalkPattern(StringView pattern, Field field, Literal literal) {
    size_t i = 0;
    while (i < pattern.size()) {
        const Char c = pattern[i];
        if (c == u'\'') {
            size_t end = i + 1;
            if (end < pattern.size() && pattern[end] == u'\'') {
                literal(u'\'');
                i = end + 1;
                continue;
            }
            while (end < pattern.size() && pattern[end] != u'\'')
                literal(pattern[end++]);
            i = end + 1;
        } else if (IsPatternLetter(c)) {
            size_t end = i;
            while (end < pattern.size() && pattern[end] == c)
                ++end;
            field(c, static_cast<int>(end - i));
            i = end;
        } else {
            literal(c);
            ++i;
        }
    }
}

// Keeps the day, month and year fields and the characters between them, in platform letters.
String PlatformDateFormat(StringView icuPattern) {
    String result;
    bool afterField = false;
    String pendingLiteral;
    WalkPattern(
        icuPattern,
        [&](Char letter, int count) {
            String text;
            if (letter == u'd') {
                text.assign(static_cast<size_t>(std::min(count, 2)), u'd');
            } else if (letter == u'M' || letter == u'L') {
                text.assign(static_cast<size_t>(std::min(count, 4)), u'M');
            } else if (letter == u'y') {
                text = count == 2 ? u"yy" : u"yyyy";
            } else {
                return;
            }
            if (afterField)
                result += pendingLiteral;
            pendingLiteral.clear();
            result += text;
            afterField = true;
        },
        [&](Char c) {
            if (afterField)
                pendingLiteral.push_back(c);
        });
    return result;
}

// The first character after the first field that is not a blank; `fallback` when none.
Char FirstSeparator(StringView pattern, Char fallback) {
    Char found = 0;
    bool afterField = false;
    WalkPattern(
        pattern, [&](Char, int) { afterField = true; },
        [&](Char c) {
            if (afterField && found == 0 && !IsBlank(c))
                found = c;
        });
    return found != 0 ? found : fallback;
}

icu::UnicodeString ShortPattern(bool date, const icu::Locale& locale) {
    std::unique_ptr<icu::DateFormat> format(
        date ? icu::DateFormat::createDateInstance(icu::DateFormat::kShort, locale)
             : icu::DateFormat::createTimeInstance(icu::DateFormat::kShort, locale));
    icu::UnicodeString pattern;
    if (auto* simple = dynamic_cast<icu::SimpleDateFormat*>(format.get()))
        simple->toPattern(pattern);
    return pattern;
}

// 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $" from the positive part of the currency pattern.
int CurrencyPlacement(StringView pattern) {
    const StringView positive = pattern.substr(0, pattern.find(u';'));
    const size_t sign = positive.find(kCurrencySign);
    const size_t digit = positive.find_first_of(u"#0");
    if (sign == StringView::npos || digit == StringView::npos)
        return 0;
    if (sign < digit) {
        size_t after = sign;
        while (after < positive.size() && positive[after] == kCurrencySign)
            ++after;
        return after < positive.size() && IsBlank(positive[after]) ? 2 : 0;
    }
    return sign > 0 && IsBlank(positive[sign - 1]) ? 3 : 1;
}

void ReadNumbers(const icu::Locale& locale, TRegionalSettings& s) {
    UErrorCode status = U_ZERO_ERROR;
    icu::DecimalFormatSymbols symbols(locale, status);
    if (U_SUCCESS(status)) {
        const String group =
            ToString(symbols.getSymbol(icu::DecimalFormatSymbols::kGroupingSeparatorSymbol));
        const String decimal =
            ToString(symbols.getSymbol(icu::DecimalFormatSymbols::kDecimalSeparatorSymbol));
        if (!group.empty())
            s.thousandSeparator = group.front();
        if (!decimal.empty())
            s.decimalSeparator = decimal.front();
        s.currencyString = ToString(symbols.getSymbol(icu::DecimalFormatSymbols::kCurrencySymbol));
    }
    status = U_ZERO_ERROR;
    std::unique_ptr<icu::NumberFormat> currency(
        icu::NumberFormat::createCurrencyInstance(locale, status));
    if (U_SUCCESS(status) && currency) {
        s.currencyDecimals = currency->getMaximumFractionDigits();
        if (auto* decimalFormat = dynamic_cast<icu::DecimalFormat*>(currency.get())) {
            icu::UnicodeString pattern;
            decimalFormat->toPattern(pattern);
            s.currencyFormat = CurrencyPlacement(ToString(pattern));
        }
    }
}

template <size_t N>
void CopyNames(const icu::UnicodeString* names, int count, int first, std::array<String, N>& out) {
    for (size_t i = 0; i < N; ++i) {
        const int index = first + static_cast<int>(i);
        out[i] = index < count ? ToString(names[index]) : String();
    }
}

void ReadDates(const icu::Locale& locale, TRegionalSettings& s) {
    const String datePattern = ToString(ShortPattern(true, locale));
    s.shortDateFormat = PlatformDateFormat(datePattern);
    s.dateSeparator = FirstSeparator(s.shortDateFormat, u'/');
    s.timeSeparator = FirstSeparator(ToString(ShortPattern(false, locale)), u':');

    UErrorCode status = U_ZERO_ERROR;
    icu::DateFormatSymbols symbols(locale, status);
    if (U_FAILURE(status))
        return;
    using Symbols = icu::DateFormatSymbols;
    int count = 0;
    const icu::UnicodeString* names = symbols.getAmPmStrings(count);
    if (count >= 2) {
        s.timeAMString = ToString(names[0]);
        s.timePMString = ToString(names[1]);
    }
    names = symbols.getMonths(count, Symbols::STANDALONE, Symbols::ABBREVIATED);
    CopyNames(names, count, 0, s.shortMonthNames);
    names = symbols.getMonths(count, Symbols::STANDALONE, Symbols::WIDE);
    CopyNames(names, count, 0, s.longMonthNames);
    // Weekday arrays start at index 1 (Sunday).
    names = symbols.getWeekdays(count, Symbols::STANDALONE, Symbols::ABBREVIATED);
    CopyNames(names, count, 1, s.shortDayNames);
    names = symbols.getWeekdays(count, Symbols::STANDALONE, Symbols::WIDE);
    CopyNames(names, count, 1, s.longDayNames);
}

const char* StandardGetEnv(const char* name) {
    return std::getenv(name);
}

}  // namespace

std::string LocaleIdFromEnvironment(const char* (*getEnv)(const char*)) {
    std::string id;
    for (const char* name : {"LC_ALL", "LC_NUMERIC", "LC_TIME", "LANG"}) {
        const char* value = getEnv(name);
        if (value != nullptr && *value != '\0') {
            id = value;
            break;
        }
    }
    id = id.substr(0, id.find_first_of(".@"));
    if (id.empty() || id == "C" || id == "POSIX")
        return kDefaultLocale;
    return id;
}

std::string LocaleIdFromEnvironment() {
    return LocaleIdFromEnvironment(&StandardGetEnv);
}

TRegionalSettings RegionalSettingsFor(const std::string& localeId) {
    const icu::Locale locale = MakeLocale(localeId);
    TRegionalSettings settings;
    ReadNumbers(locale, settings);
    ReadDates(locale, settings);
    return settings;
}

void SetRegionalLocale(const std::string& localeId) {
    RegionalState& state = State();
    if (state.localeId == localeId)
        return;
    state.localeId = localeId;
    state.cached.reset();
}

std::string RegionalLocale() {
    return State().localeId;
}

void ResetRegionalLocale() {
    SetRegionalLocale(LocaleIdFromEnvironment());
}

const TRegionalSettings& RegionalSettings() {
    RegionalState& state = State();
    if (!state.cached)
        state.cached = RegionalSettingsFor(state.localeId);
    return *state.cached;
}

std::vector<std::string> AvailableLocaleIds() {
    std::vector<std::string> ids;
    const int32_t count = uloc_countAvailable();
    ids.reserve(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i)
        ids.emplace_back(uloc_getAvailable(i));
    return ids;
}

std::uint32_t LocaleIdToLcid(const std::string& localeId) {
    return uloc_getLCID(localeId.c_str());
}

std::string LcidToLocaleId(std::uint32_t lcid) {
    if (lcid == 0)
        return {};
    char buffer[ULOC_FULLNAME_CAPACITY] = {};
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length = uloc_getLocaleForLCID(lcid, buffer, sizeof buffer, &status);
    const std::string id(buffer, length > 0 ? static_cast<size_t>(length) : 0);
    return U_FAILURE(status) || id == "root" ? std::string() : id;
}

String LocaleLanguageName(const std::string& localeId) {
    icu::UnicodeString name;
    icu::Locale(localeId.c_str()).getDisplayLanguage(icu::Locale::getEnglish(), name);
    return ToString(name);
}

String LocaleCountryName(const std::string& localeId) {
    icu::UnicodeString name;
    icu::Locale(localeId.c_str()).getDisplayCountry(icu::Locale::getEnglish(), name);
    return ToString(name);
}

}  // namespace kw
