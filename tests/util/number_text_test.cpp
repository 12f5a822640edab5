#include "util/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kw {
namespace {

TEST(NumberTextTest, FixedRoundsTheShownDigitsHalfAwayFromZero) {
    EXPECT_EQ(KwFloatToFixed(2.345, 2, u'.'), u"2.35");
    EXPECT_EQ(KwFloatToFixed(-2.345, 2, u'.'), u"-2.35");
    EXPECT_EQ(KwFloatToFixed(1.005, 2, u'.'), u"1.01");
    EXPECT_EQ(KwFloatToFixed(0.5, 0, u'.'), u"1");
    EXPECT_EQ(KwFloatToFixed(9.995, 2, u'.'), u"10.00");
    EXPECT_EQ(KwFloatToFixed(-0.001, 2, u'.'), u"0.00");
    EXPECT_EQ(KwFloatToFixed(0.06, 1, u','), u"0,1");
    EXPECT_EQ(KwFloatToFixed(0.006, 1, u'.'), u"0.0");
}

TEST(NumberTextTest, FixedKeepsFifteenSignificantDigitsAndGroups) {
    EXPECT_EQ(KwFloatToFixed(1234567.891, 2, u'.', u','), u"1,234,567.89");
    EXPECT_EQ(KwFloatToFixed(-999.5, 0, u'.', u','), u"-1,000");
    EXPECT_EQ(KwFloatToFixed(123456789012345678.0, 1, u'.'), u"123456789012346000.0");
    EXPECT_EQ(KwFloatToFixed(0.1, 20, u'.'), u"0.100000000000000000");
    EXPECT_EQ(KwFloatToFixed(1e300, 0, u'.').size(), 301u);
    EXPECT_EQ(KwFloatToFixed(-INFINITY, 2, u'.'), u"-INF");
    EXPECT_EQ(KwFloatToFixed(NAN, 2, u'.'), u"NAN");
}

TEST(NumberTextTest, GeneralAndScientificForms) {
    EXPECT_EQ(KwFloatToGeneral(0.1 + 0.2, 15, u'.'), u"0.3");
    EXPECT_EQ(KwFloatToGeneral(1.0 / 3, 15, u'.'), u"0.333333333333333");
    EXPECT_EQ(KwFloatToGeneral(999999999999999.0, 15, u'.'), u"999999999999999");
    EXPECT_EQ(KwFloatToGeneral(1e15, 15, u'.'), u"1E15");
    EXPECT_EQ(KwFloatToGeneral(-1.5e20, 15, u','), u"-1,5E20");
    EXPECT_EQ(KwFloatToGeneral(0.0001, 15, u'.'), u"0.0001");
    EXPECT_EQ(KwFloatToGeneral(0.00001, 15, u'.'), u"1E-5");
    EXPECT_EQ(KwFloatToGeneral(0.0, 15, u'.'), u"0");
    EXPECT_EQ(KwFloatToScientific(1234.5, 4, 2, u'.'), u"1.235E+03");
    EXPECT_EQ(KwFloatToScientific(-0.00012, 3, 1, u','), u"-1,20E-4");
    EXPECT_EQ(KwFloatToScientific(0.0, 2, 3, u'.'), u"0.0E+000");
    EXPECT_EQ(KwFloatToShortest(1e20, 15, u'.'), u"1E20");
    EXPECT_EQ(KwFloatToShortest(123.456, 15, u'.'), u"123.456");
    EXPECT_EQ(KwFloatToShortest(0.000001, 15, u'.'), u"1E-6");
    EXPECT_EQ(KwInt64ToText(-1234567, u','), u"-1,234,567");
    EXPECT_EQ(KwInt64ToText(-123, u','), u"-123");
    EXPECT_EQ(KwInt64ToText(std::numeric_limits<std::int64_t>::min(), 0), u"-9223372036854775808");
}

TEST(NumberTextTest, ParsingAcceptsGroupingOnlyBetweenDigitsOfTheWholePart) {
    EXPECT_EQ(KwParseFloat(u" 1,234.5 ", u'.', u','), 1234.5);
    EXPECT_EQ(KwParseFloat(u"1.234,5", u',', u'.'), 1234.5);
    EXPECT_EQ(KwParseFloat(u"+.5", u'.'), 0.5);
    EXPECT_EQ(KwParseFloat(u"5.", u'.'), 5.0);
    EXPECT_EQ(KwParseFloat(u"1e-400", u'.'), 0.0);
    EXPECT_EQ(KwParseFloat(u"1e99999999999999999999", u'.'), std::nullopt);
    EXPECT_EQ(KwParseFloat(u"1,5", u'.'), std::nullopt);
    EXPECT_EQ(KwParseFloat(u",5", u'.', u','), std::nullopt);
    EXPECT_EQ(KwParseFloat(u"1.2.3", u'.'), std::nullopt);
    EXPECT_EQ(KwParseFloat(u"1e", u'.'), std::nullopt);
    EXPECT_EQ(KwParseFloat(u"-", u'.'), std::nullopt);
    EXPECT_EQ(KwParseFloat(u"INF", u'.'), std::nullopt);
    EXPECT_EQ(KwParseInt64(u"-9223372036854775808"), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(KwParseInt64(u"9223372036854775808"), std::nullopt);
    EXPECT_EQ(KwParseInt64(u" 1 000 ", u' '), 1000);
    EXPECT_EQ(KwParseInt64(u"1.000.000", u'.'), 1000000);
    EXPECT_EQ(KwParseInt64(u"0x10"), std::nullopt);
}

}  // namespace
}  // namespace kw
