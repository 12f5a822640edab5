#include "util/app_format.h"

#include <gtest/gtest.h>

#include "framework/errors.h"

namespace kw {
namespace {

using enum TKwDateYear;

TKwFormatSettings German() {
    TKwFormatSettings s;
    s.decimalSeparator = u',';
    s.thousandSeparator = u'.';
    s.dateSeparator = u'.';
    s.dateFormat = TKwDateFormat::dfodmy;
    s.timeAMString = u"";
    s.timePMString = u"";
    s.monthLongNames[5] = u"JUNI";
    s.dayLongNames[6] = u"samstag";
    return s;
}

const TKwFormatSettings kUs;

TEST(NumberDisplayTest, SeparatorsAndSigns) {
    EXPECT_EQ(KwANumericToStrShow(-1234.5, u".-", 0, 2, kUs), u"-1,234.50");
    EXPECT_EQ(KwANumericToStrShow(-1234.5, u"&.", 0, 2, kUs), u"-1,234.5");
    EXPECT_EQ(KwANumericToStrShow(-1234.5, u"+*", 0, 2, kUs), u"1234.50-");
    EXPECT_EQ(KwANumericToStrShow(7, u"+*", 0, 2, kUs), u"7.00+");
    EXPECT_EQ(KwANumericToStrShow(0, u"+", 0, 1, kUs), u"+0.0");
    EXPECT_EQ(KwANumericToStrShow(-1234.5, u".", 0, 2, German()), u"-1.234,50");
    EXPECT_EQ(KwANumericToStrShow(-0.001, u"+", 0, 2, kUs), u"+0.00");
    EXPECT_EQ(KwANumericToStrShow(12, u"&", 0, 2, kUs), u"12");
    EXPECT_EQ(KwANumericToStrShow(1.0 / 3, u"", 0, -1, kUs), u"0.333333333333333");
    EXPECT_EQ(KwAInt64ToStrShow(-1234567, u".", 0, kUs), u"-1,234,567");
    EXPECT_EQ(KwAInt64ToStrShow(-123, u".", 0, kUs), u"-123");
    // A blank mask is the default number mask, which groups integers too.
    EXPECT_EQ(KwAInt64ToStrShow(1234567, u"", 0, kUs), u"1,234,567");
    EXPECT_EQ(KwAInt64ToStrShow(3214, u"", 6, German()), u"3.214");
    EXPECT_EQ(KwAInt64ToStrShow(-3214, u"  ", 0, German()), u"-3.214");
    EXPECT_EQ(KwAInt64ToStr(3214, u"", 6, German()), u"3214");
}

TEST(NumberDisplayTest, ZeroFillZeroSuppressionAndCurrency) {
    EXPECT_EQ(KwANumericToStrShow(-5, u"0", 4, 0, kUs), u"00-5");
    EXPECT_EQ(KwAInt64ToStrShow(42, u"0+", 6, kUs), u"000+42");
    EXPECT_EQ(KwAInt64ToStrShow(123456, u"0", 3, kUs), u"123456");
    EXPECT_EQ(KwANumericToStrShow(0, u"z", 0, 2, kUs), u"");
    EXPECT_EQ(KwANumericToStrShowEx(0, u"z", 0, 2, u"EUR", TKwCurrencyFormat::cfo1c, kUs), u"EUR");
    EXPECT_EQ(KwANumericToStrShowEx(5, u"", 0, 0, u"EUR", TKwCurrencyFormat::cfo1cc, kUs),
              u"5 EUR");
    EXPECT_EQ(KwAInt64ToStrShowEx(-5, u"", 0, u"$", TKwCurrencyFormat::cfoc1, kUs), u"$-5");
    EXPECT_EQ(KwAInt64ToStrShowEx(5, u"", 0, u"\u00a3", TKwCurrencyFormat::cfocc1, kUs),
              u"\u00a3 5");
}

TEST(NumberDisplayTest, ScientificMasksKeepTheirOwnText) {
    EXPECT_EQ(KwANumericToStrShow(-1234.5, u"2+*0", 12, 4, kUs), u"-1.235E+03");
    EXPECT_EQ(KwANumericToStrShow(0.00012, u"3", 0, 2, German()), u"1,2E-004");
    EXPECT_EQ(KwANumericToStrShow(1e20, u"4", 0, 15, kUs), u"1E20");
    EXPECT_EQ(KwANumericToStrShow(1234.5, u"4", 0, 15, kUs), u"1234.5");
}

TEST(NumberEditTest, NoSignRightGroupingFillOrTrailingZeros) {
    EXPECT_EQ(KwANumericToStr(12.5, u"&>.-", 0, 2, kUs), u"12.5");
    EXPECT_EQ(KwANumericToStr(12, u"&>.-", 0, 2, kUs), u"12");
    EXPECT_EQ(KwANumericToStr(1234.5, u"", 0, 2, kUs), u"1234.5");
    EXPECT_EQ(KwANumericToStr(100, u"-", 0, 2, kUs), u"100");
    EXPECT_EQ(KwANumericToStr(-1234.5, u"+*0.", 10, 2, kUs), u"-1234.5");
    EXPECT_EQ(KwANumericToStr(0, u"z", 0, 2, kUs), u"0");
    EXPECT_EQ(KwANumericToStr(1234.5, u"1", 0, 3, kUs), u"1.23E+3");
    EXPECT_EQ(KwAInt64ToStr(-1234567, u".0", 12, kUs), u"-1234567");
    EXPECT_EQ(KwAInt64ToStr(100, u"", 0, kUs), u"100");
}

TEST(DateDisplayTest, NamesOrderAndClock) {
    const TDateTime value = EncodeDate(2024, 6, 1) + EncodeTime(13, 5, 9, 0);
    EXPECT_EQ(KwADateTimeToStrShow(value, u"dmy", dyeYear4, German()), u"01.06.2024");
    EXPECT_EQ(KwADateTimeToStrShow(value, u"1d2y", dyeYear4, German()), u"Samstag, 01 Juni 2024");
    EXPECT_EQ(KwADateTimeToStrShow(value, u"dMy", dyeYear2, kUs), u"Jun 01, 24");
    EXPECT_EQ(KwADateTimeToStrShow(value, u"Ddmy", dyeNone, kUs), u"Sat, 06/01");
    EXPECT_EQ(KwADateTimeToStrShow(value, u"dmyhns", dyeYear4, kUs), u"06/01/2024 13:05:09");
    EXPECT_EQ(KwADateTimeToStrShow(value, u"hno", dyeYear4, kUs), u"01:05 PM");
    EXPECT_EQ(KwADateTimeToStrShow(EncodeTime(0, 30, 0, 0), u"hna", dyeYear4, kUs), u"00:30 AM");
    EXPECT_EQ(KwADateTimeToStrShow(EncodeTime(0, 30, 0, 0), u"hs", dyeYear4, kUs), u"00:00");
    EXPECT_EQ(KwADateTimeToStrShow(EncodeDate(1850, 3, 7) - 0.75, u"dmyhn", dyeYear4, kUs),
              u"03/07/1850 18:00");
}

TEST(DateEditTest, NumbersOnlyAndDurations) {
    const TDateTime value = EncodeDate(2024, 6, 1) + EncodeTime(13, 5, 9, 0);
    EXPECT_EQ(KwADateTimeToStr(value, u"<dmy", dyeYear4, German()), u"01.06.2024");
    EXPECT_EQ(KwADateTimeToStr(value, u"1d2y", dyeYear4, German()), u"01.06.2024");
    EXPECT_EQ(KwADateTimeToStr(value, u"hna", dyeYear4, kUs), u"13:05");
    EXPECT_EQ(KwADateTimeToStr(value, u"hnao", dyeYear4, kUs), u"01:05 PM");
    const TDateTime elapsed = 1 + EncodeTime(12, 3, 4, 0);  // 36:03:04
    EXPECT_EQ(KwADateTimeToStrShow(elapsed, u"zhns", dyeYear4, kUs), u"36:03:04");
    EXPECT_EQ(KwADateTimeToStr(elapsed, u"chn", dyeYear4, kUs), u"036:03");
    EXPECT_EQ(KwADateTimeToStr(elapsed, u"zh", dyeYear4, kUs), u"3");
    EXPECT_EQ(KwADateTimeToStrShow(elapsed, u"vns", dyeYear4, kUs), u"2163:04");
}

TEST(StringMaskTest, FillsThePattern) {
    EXPECT_EQ(KwAStringToStr(u"ab1", u"uad;###-####;_"), u"AB1-____");
    EXPECT_EQ(KwAStringToStr(u"5551234", u";(###) #(4)"), u"(555) 1234");
    EXPECT_EQ(KwAStringToStr(u"12", u"r;###-##"), u"   -12");
    EXPECT_EQ(KwAStringToStr(u"12345", u"r;###-##;*"), u"123-45");
    EXPECT_EQ(KwAStringToStr(u"1", u"r;###-##;*"), u"***-*1");
    EXPECT_EQ(KwAStringToStr(u"12-34", u"m;##-##"), u"12-34");
    EXPECT_EQ(KwAStringToStr(u"12-34", u"mr;##-##"), u"12-34");
    EXPECT_EQ(KwAStringToStr(u"hello woRLD", u"f"), u"Hello World");
    EXPECT_EQ(KwAStringToStr(u"x", u";~#~~#"), u"#~x");
    EXPECT_EQ(KwAStrToString(u"AB1-____", u"uad;###-####;_"), u"AB1");
    EXPECT_EQ(KwAStrToString(u" a_-c___", u";###-####;_"), u"a c");
    EXPECT_EQ(KwAStrToString(u"  free  ", u""), u"free");
}

TEST(StringMaskTest, BadMasksRaiseMessageFive) {
    try {
        KwAStringToStr(u"x", u";#(x)");
        FAIL() << "no exception";
    } catch (const EKwError& e) {
        EXPECT_EQ(e.Group(), u"System");
        EXPECT_EQ(e.MessageId(), 5);
    }
    EXPECT_THROW(KwAStringToStr(u"x", u";#(3"), EKwError);
    EXPECT_THROW(KwAStringToStr(u"x", u"q"), EKwError);
    EXPECT_THROW(KwAStringToStr(u"x", u";#;_;more"), EKwError);
    EXPECT_THROW(KwADateTimeToStr(0, u"d;m", dyeYear4, kUs), EKwError);
    EXPECT_THROW(KwANumericToStr(0, u"d", 0, 0, kUs), EKwError);
}

}  // namespace
}  // namespace kw
