#include "util/convert.h"

#include <gtest/gtest.h>

#include "platform/core/exception.h"
#include "platform/text/regional.h"
#include "util/db_literals.h"

namespace kw {
namespace {

TEST(CanonicalTest, DatesUseMonthDayYearAndDropMidnight) {
    EXPECT_EQ(KwCDateToStr(EncodeDate(2024, 6, 1)), u"06/01/2024");
    EXPECT_EQ(KwCDateToStr(EncodeDate(2024, 6, 1) + EncodeTime(13, 5, 9, 0)),
              u"06/01/2024 13:05:09");
    EXPECT_EQ(KwCDateToStr(-1.25), u"12/29/1899 06:00:00");
    EXPECT_EQ(KwCDateToStr(EncodeDate(1066, 10, 14)), u"10/14/1066");
    EXPECT_EQ(KwCStrToDate(u"12/29/1899 06:00:00"), -1.25);
    EXPECT_EQ(KwCStrToDate(u" 6/1/2024 "), EncodeDate(2024, 6, 1));
    EXPECT_EQ(KwCStrToDate(u"6/1/24"), EncodeDate(2024, 6, 1));
    EXPECT_EQ(KwCStrToDate(u"6/1/50"), EncodeDate(1950, 6, 1));
    EXPECT_EQ(KwCStrToDate(u"13:30"), EncodeTime(13, 30, 0, 0));
    EXPECT_THROW(KwCStrToDate(u"02/30/2024"), EConvertError);
    EXPECT_THROW(KwCStrToDate(u"06/01/2024 25:00"), EConvertError);
    EXPECT_THROW(KwCStrToDate(u"06/01/202412:00"), EConvertError);
    EXPECT_THROW(KwCStrToDate(u"2024-06-01"), EConvertError);
}

TEST(CanonicalTest, Numbers) {
    EXPECT_EQ(KwCNumericToStr(1234.5), u"1234.5");
    EXPECT_EQ(KwCNumericToStr(-0.1), u"-0.1");
    EXPECT_EQ(KwCStrToNumeric(u"1,234.5"), 1234.5);
    EXPECT_EQ(KwCStrToInt64(u"-5"), -5);
    EXPECT_THROW(KwCStrToInt64(u"$10"), EConvertError);
    EXPECT_THROW(KwCStrToInt64(u"1.5"), EConvertError);
    try {
        KwCStrToNumeric(u"abc");
        FAIL() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), u"'abc' is not a valid floating point value");
    }
    EXPECT_EQ(KwCRemoveThousandSeparator(u"1,234,567.5"), u"1234567.5");
}

TEST(ApplicationParseTest, UsesTheSettingsAndRoundsToTheDecimals) {
    TKwFormatSettings de;
    de.decimalSeparator = u',';
    de.thousandSeparator = u'.';
    de.dateSeparator = u'.';
    de.dateFormat = TKwDateFormat::dfodmy;
    EXPECT_EQ(KwAStrToNumeric(u"1.234,567", 2, de), 1234.57);
    EXPECT_EQ(KwAStrToNumeric(u"2,345", 2, de), 2.35);
    EXPECT_EQ(KwAStrToNumeric(u"-2,345", 2, de), -2.35);
    EXPECT_EQ(KwAStrToNumeric(u"0,1234567890123456789", -1, de), 0.123456789012346);
    EXPECT_THROW(KwAStrToNumeric(u"1.5", 2, TKwFormatSettings{.decimalSeparator = u','}),
                 EConvertError);
    EXPECT_EQ(KwAStrToInt64(u"-1.234.567", de), -1234567);
    EXPECT_EQ(KwARemoveThousandSeparator(u"1.234,5", de), u"1234,5");
    EXPECT_EQ(KwAStrToDate(u"01.06.2024 13:30", de), EncodeDate(2024, 6, 1) + 13.5 / 24);
    EXPECT_THROW(KwAStrToDate(u"06/01/2024", de), EConvertError);

    TKwFormatSettings us;
    EXPECT_EQ(KwAStrToDate(u"6/1/2024 1:30 pm", us), EncodeDate(2024, 6, 1) + 13.5 / 24);
    EXPECT_EQ(KwAStrToDate(u"6/1/2024 12:00 AM", us), EncodeDate(2024, 6, 1));
    EXPECT_THROW(KwAStrToDate(u"6/1/2024 13:00 PM", us), EConvertError);
    TKwFormatSettings iso;
    iso.dateFormat = TKwDateFormat::dfoymd;
    iso.dateSeparator = u'-';
    EXPECT_EQ(KwAStrToDate(u"2024-06-01", iso), EncodeDate(2024, 6, 1));
}

TEST(RoundDecTest, HalvesAwayFromZeroAndClampsDecimals) {
    EXPECT_DOUBLE_EQ(KwRoundDec(2.345, 2), 2.35);
    EXPECT_DOUBLE_EQ(KwRoundDec(-2.345, 2), -2.35);
    EXPECT_DOUBLE_EQ(KwRoundDec(2.344, 2), 2.34);
    EXPECT_DOUBLE_EQ(KwRoundDec(0.5, 0), 1.0);
    EXPECT_DOUBLE_EQ(KwRoundDec(-0.5, 0), -1.0);
    EXPECT_DOUBLE_EQ(KwRoundDec(1.25, -3), 1.0);
    EXPECT_DOUBLE_EQ(KwRoundDec(0.1, 45), KwRoundDec(0.1, 30));
    EXPECT_DOUBLE_EQ(KwRoundDec(1.23456789, 30), 1.23456789);
}

TEST(DatabaseLiteralTest, FollowsTheSettings) {
    const TDateTime value = EncodeDate(2024, 6, 1) + EncodeTime(8, 5, 0, 0);
    TKwDbSettings db;
    EXPECT_EQ(KwDBDateToStr(value, TKwDateType::detDateTime, db), u"06/01/2024 08:05:00");
    EXPECT_EQ(KwDBDateToStr(value, TKwDateType::detTime, db), u"08:05:00");
    db.dateFormat = TKwDateFormat::dfoymd;
    db.dateSeparator = u'-';
    db.decimalSeparator = u',';
    EXPECT_EQ(KwDBDateToStr(value, TKwDateType::detDate, db), u"2024-06-01");
    EXPECT_EQ(KwDBNumericToStr(-1234.5, db), u"-1234,5");
    EXPECT_EQ(KwDBString(Variant(12.5), TKwDataType::dtyDouble, TKwDateType::detDate, db), u"12,5");
    db.quotedNumber = true;
    EXPECT_EQ(KwDBString(Variant::Null(), TKwDataType::dtyInteger, TKwDateType::detDate, db),
              u"'0'");
    EXPECT_EQ(KwDBString(Variant(u"O'Neil"), TKwDataType::dtyString, TKwDateType::detDate, db),
              u"'O''Neil'");
    EXPECT_EQ(KwDBString(Variant::Null(), TKwDataType::dtyDateTime, TKwDateType::detDate, db),
              u"'1899-12-30'");
    EXPECT_EQ(KwDBString(Variant(u"x"), TKwDataType::dtyMemo, TKwDateType::detDate, db), u"");
}

TEST(DatabaseLiteralTest, ReadsTheInstalledProvider) {
    KwSetDbSettingsProvider([] {
        TKwDbSettings db;
        db.dateFormat = TKwDateFormat::dfodmy;
        db.dateSeparator = u'.';
        return db;
    });
    EXPECT_EQ(KwDBDateToStr(EncodeDate(2024, 6, 1), TKwDateType::detDate), u"01.06.2024");
    KwResetConversionProviders();
    EXPECT_EQ(KwDBDateToStr(EncodeDate(2024, 6, 1), TKwDateType::detDate), u"06/01/2024");
    EXPECT_EQ(KwDBString(Variant(7), TKwDataType::dtyInteger, TKwDateType::detDate), u"7");
}

TEST(ApplicationFormTest, WithoutAProviderThePlatformsRegionalSettingsApply) {
    KwResetConversionProviders();
    SetRegionalLocale("de_DE");
    EXPECT_DOUBLE_EQ(KwAStrToNumeric(u"1.234,5", 2), 1234.5);
    EXPECT_EQ(KwAStrToDate(u"24.12.2026"), EncodeDate(2026, 12, 24));
    EXPECT_EQ(KwApplicationSettings().monthLongNames[2], u"März");
    EXPECT_EQ(KwApplicationSettings().maskDecimals, 0);  // no application object
    SetRegionalLocale("en_US");
    EXPECT_DOUBLE_EQ(KwAStrToNumeric(u"1,234.5", 2), 1234.5);
}

}  // namespace
}  // namespace kw
