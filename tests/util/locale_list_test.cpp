#include "util/locale_list.h"

#include <gtest/gtest.h>

#include "platform/core/exception.h"
#include "platform/text/regional.h"

namespace kw {
namespace {

TEST(LocaleListTest, DerivedPartsOfAnIdentifier) {
    TKwLocaleList list;
    list.Add(0x0C0A);  // Spanish, modern sort
    list.Insert(0, 0x10407);
    EXPECT_EQ(list.IndexOf(0x0C0A), 1);
    EXPECT_EQ(list.PrimaryLanguage(1), 0x0A);
    EXPECT_EQ(list.SubLanguage(1), 3);
    EXPECT_EQ(list.LanguageSort(0), 1);
    EXPECT_EQ(list.LanguageName(1), u"Spanish");
    EXPECT_EQ(list.LanguageCountry(1), u"Spain");
    EXPECT_THROW(list.Items(2), EListError);
    EXPECT_THROW(list.Insert(3, 1), EListError);
}

TEST(LocaleListTest, InstalledLocalesAreASubsetOfTheSupportedOnes) {
    TKwLocaleList supported, installed;
    supported.Add(0x7FFFFFFF);
    KwGetLocaleList(supported, letSUPPORTED);
    KwGetLocaleList(installed, letINSTALLED);
    EXPECT_EQ(supported.IndexOf(0x7FFFFFFF), -1);  // the list was cleared first
    EXPECT_GT(installed.Count(), 50);
    EXPECT_LT(installed.Count(), supported.Count());
    for (int i = 0; i < installed.Count(); ++i) {
        ASSERT_GE(supported.IndexOf(installed.Items(i)), 0);
        ASSERT_EQ(installed.IndexOf(installed.Items(i)), i) << "listed twice";
    }
    EXPECT_GE(installed.IndexOf(0x0407), 0);
    SetRegionalLocale("fr_FR");
    EXPECT_EQ(KwGetApplicationLocale(), 0x040Cu);
    SetRegionalLocale("en_US");
}

}  // namespace
}  // namespace kw
