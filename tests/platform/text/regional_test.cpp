#include "platform/text/regional.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace kw {
namespace {

class RegionalTest : public testing::Test {
protected:
    void TearDown() override { SetRegionalLocale("en_US"); }
};

TEST_F(RegionalTest, NumbersAndCurrencyPlacementFollowTheLocale) {
    const TRegionalSettings us = RegionalSettingsFor("en_US");
    EXPECT_EQ(us.thousandSeparator, u',');
    EXPECT_EQ(us.decimalSeparator, u'.');
    EXPECT_EQ(us.currencyString, u"$");
    EXPECT_EQ(us.currencyFormat, 0);
    EXPECT_EQ(us.currencyDecimals, 2);
    const TRegionalSettings german = RegionalSettingsFor("de_DE");
    EXPECT_EQ(german.decimalSeparator, u',');
    EXPECT_EQ(german.currencyFormat, 3);
    EXPECT_EQ(RegionalSettingsFor("nl_NL").currencyFormat, 2);
    EXPECT_EQ(RegionalSettingsFor("ja_JP").currencyDecimals, 0);
}

TEST_F(RegionalTest, ShortDateFormatKeepsOnlyDayMonthAndYear) {
    EXPECT_EQ(RegionalSettingsFor("en_US").shortDateFormat, u"M/d/yy");
    EXPECT_EQ(RegionalSettingsFor("ja_JP").shortDateFormat, u"yyyy/MM/dd");
    const TRegionalSettings german = RegionalSettingsFor("de-DE");
    EXPECT_EQ(german.shortDateFormat, u"dd.MM.yy");
    EXPECT_EQ(german.dateSeparator, u'.');
    // Separators that are followed by a blank, as in "yy. M. d", count without the blank.
    EXPECT_EQ(RegionalSettingsFor("ko_KR").dateSeparator, u'.');
    EXPECT_EQ(RegionalSettingsFor("fi_FI").timeSeparator, u'.');
}

TEST_F(RegionalTest, NamesStartWithJanuaryAndSunday) {
    const TRegionalSettings french = RegionalSettingsFor("fr_FR");
    EXPECT_EQ(french.longMonthNames[0], u"janvier");
    EXPECT_EQ(french.longMonthNames[11], u"décembre");
    EXPECT_EQ(french.longDayNames[0], u"dimanche");
    EXPECT_EQ(french.shortDayNames[6], u"sam.");
    EXPECT_EQ(RegionalSettingsFor("en_US").timePMString, u"PM");
}

// A fake environment for the locale look-up.
struct FakeEnvironment {
    static inline std::map<std::string, std::string> values;
    static const char* Get(const char* name) {
        const auto found = values.find(name);
        return found != values.end() ? found->second.c_str() : nullptr;
    }
};

TEST_F(RegionalTest, TheUserLocaleComesFromTheEnvironmentInPriorityOrder) {
    auto localeOf = [](std::map<std::string, std::string> values) {
        FakeEnvironment::values = std::move(values);
        return LocaleIdFromEnvironment(&FakeEnvironment::Get);
    };
    EXPECT_EQ(localeOf({{"LANG", "de_DE.UTF-8"}}), "de_DE");
    EXPECT_EQ(localeOf({{"LANG", "de_DE.UTF-8"}, {"LC_TIME", "fr_FR@euro"}}), "fr_FR");
    EXPECT_EQ(localeOf({{"LC_TIME", "fr_FR"}, {"LC_NUMERIC", "it_IT.ISO-8859-1"}}), "it_IT");
    EXPECT_EQ(localeOf({{"LC_ALL", "es_ES.UTF-8"}, {"LC_NUMERIC", "it_IT"}}), "es_ES");
    // An empty variable is skipped; C and POSIX mean the neutral English locale.
    EXPECT_EQ(localeOf({{"LC_ALL", ""}, {"LANG", "pt_BR"}}), "pt_BR");
    EXPECT_EQ(localeOf({{"LC_ALL", "C.UTF-8"}, {"LANG", "de_DE"}}), "en_US");
    EXPECT_EQ(localeOf({{"LANG", "POSIX"}}), "en_US");
    EXPECT_EQ(localeOf({}), "en_US");
}

TEST_F(RegionalTest, TheProgramLocaleIsProcessWideAndResettableToTheUsers) {
    EXPECT_EQ(RegionalLocale(), "en_US");  // pinned by the test runner
    SetRegionalLocale("it_IT");
    EXPECT_EQ(RegionalSettings().longMonthNames[0], u"gennaio");
    ResetRegionalLocale();
    EXPECT_EQ(RegionalLocale(), LocaleIdFromEnvironment());
    SetRegionalLocale("en_US");
    EXPECT_EQ(RegionalSettings().longMonthNames[0], u"January");
    // Unknown ids fall back to root data rather than failing.
    EXPECT_EQ(RegionalSettingsFor("zz_ZZ").decimalSeparator, u'.');
}

TEST_F(RegionalTest, LocaleIdentifiersMapBothWays) {
    EXPECT_EQ(LocaleIdToLcid("de_DE"), 0x0407u);
    EXPECT_EQ(LcidToLocaleId(0x0409), "en_US");
    EXPECT_EQ(LcidToLocaleId(0), "");
    EXPECT_EQ(LcidToLocaleId(0x7FFFFFFF), "");
    EXPECT_EQ(LocaleLanguageName("es_ES"), u"Spanish");
    EXPECT_EQ(LocaleCountryName("es_ES"), u"Spain");
    EXPECT_GT(AvailableLocaleIds().size(), 100u);
}

}  // namespace
}  // namespace kw
