// Random values of every kind written as text and read back.
#include <gtest/gtest.h>

#include <charconv>
#include <random>
#include <string>
#include <vector>

#include "platform/text/strings.h"
#include "platform/text/unicode.h"
#include "util/app_format.h"
#include "util/convert.h"
#include "util/mask_value.h"
#include "util/variants.h"

namespace kw {
namespace {

using enum TKwDataType;
using enum TKwDateYear;

class RoundTripTest : public ::testing::Test {
protected:
    std::mt19937_64 random_{20240601};

    int Uniform(int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random_);
    }

    // A double that has a decimal form of at most `digits` significant digits, scaled by a power
    // of ten between the two exponents.
    double Decimal(int digits, int minExponent, int maxExponent) {
        std::string text = Uniform(0, 1) ? "-" : "";
        const int count = Uniform(1, digits);
        for (int i = 0; i < count; ++i)
            text.push_back(static_cast<char>('0' + Uniform(i == 0 ? 1 : 0, 9)));
        text += "e" + std::to_string(Uniform(minExponent, maxExponent));
        double value = 0;
        std::from_chars(text.data(), text.data() + text.size(), value);
        return value;
    }

    TDateTime DateTime(int firstYear, int lastYear, bool withTime) {
        const int year = Uniform(firstYear, lastYear);
        const int month = Uniform(1, 12);
        const TDateTime date = EncodeDate(year, month, Uniform(1, DaysInMonth(year, month)));
        if (!withTime)
            return date;
        return ComposeDateTime(date, EncodeTime(Uniform(0, 23), Uniform(0, 59), Uniform(0, 59), 0));
    }

    static std::vector<TKwFormatSettings> Locales() {
        using enum TKwDateFormat;
        return {{},
                {.thousandSeparator = u'.',
                 .decimalSeparator = u',',
                 .dateSeparator = u'.',
                 .dateFormat = dfodmy},
                {.thousandSeparator = u' ', .decimalSeparator = u',', .dateFormat = dfodmy},
                {.thousandSeparator = u'\'',
                 .dateSeparator = u'-',
                 .timeSeparator = u'.',
                 .dateFormat = dfoymd,
                 .timeAMString = u"vorm.",
                 .timePMString = u"nachm."}};
    }
};

TEST_F(RoundTripTest, CanonicalTextGivesBackEveryKind) {
    for (int i = 0; i < 3000; ++i) {
        const std::int64_t integer = static_cast<std::int64_t>(random_());
        EXPECT_EQ(KwDataCast(KwDataString(integer), dtyInteger).AsInt64(), integer);
        const double real = Decimal(15, -300, 290);
        EXPECT_EQ(KwDataCast(KwDataString(real), dtyDouble).AsDouble(), real)
            << StringToUtf8(KwDataString(real));
        const Currency money = Currency::FromDouble(Decimal(15, -4, -4));
        EXPECT_EQ(KwDataCast(KwDataString(money), dtyCurrency).AsCurrency(), money);
        const TDateTime date = DateTime(1, 9999, true);
        EXPECT_EQ(KwDataCast(KwDataString(Variant::FromDate(date)), dtyDateTime).AsDate(), date);
        const String text = KwDataString(Variant(u"  any text\t"));
        EXPECT_EQ(KwDataCast(text, dtyString).AsString(), u"  any text\t");
    }
}

TEST_F(RoundTripTest, NumberEditTextsGiveBackTheValue) {
    const std::vector<String> masks = {u"",  u"-",  u"+*0", u".&", u"z-", u"k@-",
                                       u"<", u"%+", u"0z.", u"&+", u"-$"};
    for (const TKwFormatSettings& locale : Locales()) {
        for (const String& mask : masks) {
            for (int i = 0; i < 150; ++i) {
                const int decimals = Uniform(0, 6);
                const double value = Decimal(15, -decimals, 0);
                const String edit = KwANumericToStr(value, mask, 20, decimals, locale);
                const TKwMaskInfo info = KwMaskScanned(dtyDouble, mask, dyeYear4, locale);
                EXPECT_EQ(KwMaskToValue(info, {}, edit, 0, decimals, dyeYear4, {}, locale),
                          Variant(value))
                    << "mask " << StringToUtf8(mask) << " text " << StringToUtf8(edit);
                const std::int64_t integer = static_cast<std::int64_t>(random_()) >> Uniform(0, 60);
                const String integerEdit = KwAInt64ToStr(integer, mask, 20, locale);
                const TKwMaskInfo integerInfo = KwMaskScanned(dtyInteger, mask, dyeYear4, locale);
                EXPECT_EQ(KwMaskToValue(integerInfo, {}, integerEdit, 0, 0, dyeYear4, {}, locale)
                              .AsInt64(),
                          integer);
            }
        }
    }
}

TEST_F(RoundTripTest, NumberDisplayTextsReadBackWithoutRightSigns) {
    const std::vector<String> masks = {u".-", u".+", u"&.", u"+", u""};
    for (const TKwFormatSettings& locale : Locales()) {
        for (const String& mask : masks) {
            for (int i = 0; i < 150; ++i) {
                const int decimals = Uniform(0, 6);
                const double value = Decimal(15, -decimals, 0);
                const String shown = KwANumericToStrShow(value, mask, 0, decimals, locale);
                EXPECT_EQ(KwAStrToNumeric(shown, decimals, locale), value) << StringToUtf8(shown);
            }
        }
    }
}

TEST_F(RoundTripTest, DateEditTextsGiveBackTheValue) {
    struct Case {
        String mask;
        TKwDateYear year;
        bool time;
        int firstYear, lastYear;
    };
    const std::vector<Case> cases = {
        {u"dmy", dyeYear4, false, 1, 9999},         {u"<dmyhns", dyeYear4, true, 1, 9999},
        {u"1d2yhnsok", dyeYear4, true, 1600, 2400}, {u"dMyhnsak", dyeYear4, true, 1899, 1900},
        {u"dmyhns", dyeYear2, true, 1950, 2049},
    };
    for (const TKwFormatSettings& locale : Locales()) {
        for (const Case& c : cases) {
            const TKwMaskInfo info = KwMaskScanned(dtyDateTime, c.mask, c.year, locale);
            for (int i = 0; i < 300; ++i) {
                const TDateTime value = DateTime(c.firstYear, c.lastYear, c.time);
                const String edit = KwADateTimeToStr(value, c.mask, c.year, locale);
                EXPECT_EQ(
                    KwMaskToValue(info, Variant::Null(), edit, 0, 0, c.year, {}, locale).AsDate(),
                    value)
                    << StringToUtf8(c.mask) << " " << StringToUtf8(edit);
                EXPECT_EQ(
                    KwAStrToDate(KwADateTimeToStr(value, u"dmyhns", dyeYear4, locale), locale),
                    value);
            }
        }
        const TKwMaskInfo elapsed = KwMaskScanned(dtyDateTime, u"chns", dyeYear4, locale);
        for (int i = 0; i < 300; ++i) {
            const double value =
                Uniform(0, 999) / 24.0 + Uniform(0, 59) / 1440.0 + Uniform(0, 59) / 86400.0;
            const String edit = KwADateTimeToStr(value, u"chns", dyeYear4, locale);
            EXPECT_EQ(KwMaskToValue(elapsed, {}, edit, 0, 0, dyeYear4, {}, locale).AsDate(), value)
                << StringToUtf8(edit);
        }
    }
}

TEST_F(RoundTripTest, StringEditTextsGiveBackTheText) {
    const String alphabet = u"abcXYZ019-+ \u00e9\u4e2d";
    const std::vector<String> masks = {u"", u"sadw", u";#(12);_", u"r;#(12)", u"t;###-#(9)"};
    for (const String& mask : masks) {
        const TKwMaskInfo info = KwMaskScanned(dtyString, mask, dyeYear4);
        for (int i = 0; i < 300; ++i) {
            String text;
            const int length = Uniform(1, 12);
            for (int k = 0; k < length; ++k)
                text.push_back(alphabet[Uniform(0, static_cast<int>(alphabet.size()) - 1)]);
            text = Trim(text);
            if (text.empty() || text.find(u"  ") != String::npos)
                continue;
            const String edit = KwAStringToStr(text, mask);
            const Variant back = KwMaskToValue(info, {}, edit, 0, 0, dyeYear4);
            EXPECT_EQ(Trim(back.AsString()), text) << StringToUtf8(mask);
        }
    }
}

}  // namespace
}  // namespace kw
