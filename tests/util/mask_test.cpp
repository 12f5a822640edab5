#include "util/mask.h"

#include <gtest/gtest.h>

#include "framework/errors.h"
#include "platform/core/exception.h"
#include "platform/core/properties.h"
#include "util/mask_value.h"

namespace kw {
namespace {

using enum TKwDataType;
using enum TKwDateYear;

TKwFormatSettings DayFirst() {
    TKwFormatSettings s;
    s.dateFormat = TKwDateFormat::dfodmy;
    s.dateSeparator = u'.';
    s.decimalSeparator = u',';
    s.thousandSeparator = u'.';
    return s;
}

String Positions(StringView mask) {
    String shown(mask);
    for (Char& c : shown)
        if (c == kKwMaskPosition)
            c = u'#';
    return shown;
}

// The value an edit control reads back from `text`.
Variant Read(const TKwMaskInfo& info, StringView text, const TKwFormatSettings& s, int size = 0,
             int decimals = 0) {
    return KwMaskToValue(info, Variant(), text, size, decimals, dyeYear4, {}, s);
}

int MessageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const EKwError& e) {
        return e.MessageId();
    }
    return -1;
}

TEST(MaskScanTest, PrefixesDefaultsAndFlags) {
    const TKwFormatSettings us;
    TKwMaskInfo info = KwMaskScanned(dtyDouble, u" ", dyeYear4, us);
    EXPECT_EQ(info.MaskSource, u">&>.-");
    EXPECT_EQ(info.nSep, u'.');
    EXPECT_EQ(info.nTypSig, u'-');
    info = KwMaskScanned(dtyString, u"%ws$", dyeYear4, us);
    EXPECT_EQ(info.MaskSource, u"<%ws$");
    EXPECT_EQ(info.MaskAlign, u'%');
    EXPECT_EQ(info.cWhite, 0);  // "$" clears it
    EXPECT_EQ(info.cAll, u'$');
    info = KwMaskScanned(dtyString, u"u; #( 3 )-~#~~ ;  _", dyeYear4, us);
    EXPECT_EQ(Positions(info.Mask), u" ###-#~ ");
    EXPECT_EQ(info.MaskSpc, u'_');
    EXPECT_EQ(KwMaskScanned(dtyString, u";#(3)", dyeYear4, us).Mask,
              KwMaskScanned(dtyString, u";###", dyeYear4, us).Mask);
    EXPECT_EQ(KwMaskScanned(dtyBinary, u" x; y ", dyeYear4, us).MaskSource, u"x; y");
    EXPECT_EQ(MessageOf([&] { KwMaskScanned(dtyDateTime, u"d;m", dyeYear4, us); }), 5);
    EXPECT_EQ(MessageOf([&] { KwMaskScanned(dtyInteger, u"s", dyeYear4, us); }), 5);
    EXPECT_EQ(MessageOf([&] { KwMaskScanned(dtyString, u";#(99999)", dyeYear4, us); }), 5);
}

TEST(MaskScanTest, DateTemplatesFollowTheLocale) {
    const TKwFormatSettings dayFirst = DayFirst();
    TKwMaskInfo info = KwMaskScanned(dtyDateTime, u"dmy", dyeYear4, dayFirst);
    EXPECT_EQ(Positions(info.Mask), u"##.##.####");
    EXPECT_EQ(info.MaskSpc, u'_');
    EXPECT_EQ(Positions(KwMaskScanned(dtyDateTime, u"dmy", dyeNone, dayFirst).Mask), u"##.##");
    EXPECT_EQ(Positions(KwMaskScanned(dtyDateTime, u"ymd", dyeYear2,
                                      TKwFormatSettings{.dateSeparator = u'-',
                                                        .dateFormat = TKwDateFormat::dfoymd})
                            .Mask),
              u"##-##-##");
    TKwFormatSettings us;
    us.timeAMString = u"a.m.";
    us.timePMString = u"p.m.";
    EXPECT_EQ(Positions(KwMaskScanned(dtyDateTime, u"dmyhnso", dyeYear2, us).Mask),
              u"##/##/## ##:##:## ####");
    EXPECT_EQ(Positions(KwMaskScanned(dtyDateTime, u"hs", dyeYear4, us).Mask), u"##:##");
    EXPECT_EQ(Positions(KwMaskScanned(dtyDateTime, u"bns", dyeYear4, us).Mask), u"#####:##");
}

TEST(MaskValueTest, TextsOfValues) {
    const TKwFormatSettings dayFirst = DayFirst();
    const TKwMaskInfo date = KwMaskScanned(dtyDateTime, u"dmy", dyeYear4, dayFirst);
    const Variant june = Variant::FromDate(EncodeDate(2024, 6, 1));
    EXPECT_EQ(KwMaskShort(date, june, 0, 0, dyeYear4, dayFirst), u"01.06.2024");
    EXPECT_EQ(KwMaskShort(date, Variant::Null(), 0, 0, dyeYear4, dayFirst), u"__.__.____");
    EXPECT_EQ(KwMaskClear(date), u"__.__.____");
    EXPECT_EQ(KwMaskData(date, u"01.0_.2"), u"010 2");
    const TKwMaskInfo money = KwMaskScanned(dtyCurrency, u".@", dyeYear4, dayFirst);
    EXPECT_EQ(KwMaskLong(money, Variant(1234.5), 0, 2, dyeYear4, dayFirst), u"1.234,50");
    EXPECT_EQ(KwMaskShort(money, Variant(1234.5), 0, 2, dyeYear4, dayFirst), u"1234,5");
    EXPECT_EQ(KwMaskLongEx(money, Variant(5), 0, 0, dyeYear4, u"EUR", TKwCurrencyFormat::cfo1cc,
                           dayFirst),
              u"5 EUR");
    const TKwMaskInfo plain = KwMaskScanned(dtyInteger, u".", dyeYear4, dayFirst);
    EXPECT_EQ(KwMaskLongEx(plain, Variant(5), 0, 0, dyeYear4, u"EUR", TKwCurrencyFormat::cfo1cc,
                           dayFirst),
              u"5");
    EXPECT_EQ(KwMaskLongEx(plain, Variant::Null(), 0, 0, dyeYear4, u"EUR",
                           TKwCurrencyFormat::cfo1cc, dayFirst),
              u"");
    const TKwMaskInfo phone = KwMaskScanned(dtyString, u"d;(###) ###;_", dyeYear4, dayFirst);
    EXPECT_EQ(KwMaskShort(phone, Variant(u"555"), 0, 0, dyeYear4, dayFirst), u"(555) ___");
    EXPECT_EQ(KwMaskData(phone, u"(555) _1_"), u"555 1");
}

TEST(MaskValueTest, NumbersReadBack) {
    const TKwFormatSettings dayFirst = DayFirst();
    const TKwMaskInfo real = KwMaskScanned(dtyDouble, u"", dyeYear4, dayFirst);
    EXPECT_TRUE(Read(real, u"  ", dayFirst, 0, 2).IsNull());
    EXPECT_EQ(Read(real, u"-", dayFirst, 0, 2), Variant(0));
    EXPECT_EQ(Read(real, u"1.234,567", dayFirst, 0, 2), Variant(1234.57));
    const TKwMaskInfo money = KwMaskScanned(dtyCurrency, u"", dyeYear4, dayFirst);
    EXPECT_EQ(Read(money, u"0,1", dayFirst, 0, 2).VarType(), varCurrency);
    const TKwMaskInfo whole = KwMaskScanned(dtyInteger, u"$", dyeYear4, dayFirst);
    EXPECT_EQ(Read(whole, u"1.234", dayFirst, 4, 0), Variant(1234));
    EXPECT_EQ(MessageOf([&] { Read(whole, u"12", dayFirst, 4, 0); }), 6);
    EXPECT_THROW(Read(whole, u"1,5", dayFirst), EConvertError);
    const TKwMaskInfo scientific = KwMaskScanned(dtyDouble, u"2", dyeYear4, dayFirst);
    EXPECT_EQ(Read(scientific, u"1,23456E+3", dayFirst, 0, 2), Variant(1234.56));
}

TEST(MaskValueTest, DatesReadBackFromPartialTexts) {
    const TKwFormatSettings dayFirst = DayFirst();
    const TKwMaskInfo date = KwMaskScanned(dtyDateTime, u"dmy", dyeYear4, dayFirst);
    const Variant old = Variant::FromDate(EncodeDate(2020, 3, 15) + 0.5);
    auto read = [&](StringView text) {
        return KwMaskToValue(date, old, text, 0, 0, dyeYear4, {}, dayFirst);
    };
    EXPECT_TRUE(read(u"__.__.____").IsNull());
    EXPECT_EQ(read(u"01.06.2024").AsDate(), EncodeDate(2024, 6, 1) + 0.5);
    EXPECT_EQ(read(u"01.06.50__").AsDate(), EncodeDate(1950, 6, 1) + 0.5);
    EXPECT_EQ(read(u"01.06.49__").AsDate(), EncodeDate(2049, 6, 1) + 0.5);
    EXPECT_EQ(read(u"01.06.2049").AsDate(), EncodeDate(2049, 6, 1) + 0.5);
    EXPECT_EQ(read(u"01.__.____").AsDate(), EncodeDate(2020, 3, 1) + 0.5);
    EXPECT_EQ(read(u"1_.1_.____").AsDate(), EncodeDate(2020, 1, 1) + 0.5);
    EXPECT_THROW(read(u"31.02.2024"), EConvertError);
    EXPECT_THROW(read(u"3a.02.2024"), EConvertError);
    const Variant early =
        KwMaskToValue(KwMaskScanned(dtyDateTime, u"dmyhn", dyeYear4, dayFirst), Variant(),
                      u"29.12.1899 06:00", 0, 0, dyeYear4, {}, dayFirst);
    EXPECT_EQ(early.AsDate(), -1.25);
    TKwFormatSettings century = dayFirst;
    century.dateCentury = 2010;
    EXPECT_EQ(KwMaskToValue(date, old, u"01.06.11__", 0, 0, dyeYear4, {}, century).AsDate(),
              EncodeDate(1911, 6, 1) + 0.5);
}

TEST(MaskValueTest, TwelveHourClockAndDurations) {
    TKwFormatSettings us;
    const TKwMaskInfo clock = KwMaskScanned(dtyDateTime, u"hno", dyeYear4, us);
    auto read = [&](const TKwMaskInfo& info, StringView text) {
        return KwMaskToValue(info, Variant::FromDate(EncodeDate(2024, 6, 1)), text, 0, 0, dyeYear4,
                             {}, us);
    };
    const TDateTime day = EncodeDate(2024, 6, 1);
    EXPECT_DOUBLE_EQ(read(clock, u"01:30 PM").AsDate(), day + EncodeTime(13, 30, 0, 0));
    EXPECT_DOUBLE_EQ(read(clock, u"01:30 p_").AsDate(), day + EncodeTime(13, 30, 0, 0));
    EXPECT_DOUBLE_EQ(read(clock, u"11:30 __").AsDate(), day + EncodeTime(11, 30, 0, 0));
    EXPECT_DOUBLE_EQ(read(clock, u"12:30 PM").AsDate(), day + EncodeTime(12, 30, 0, 0));
    EXPECT_THROW(read(clock, u"12:30 AM"), EConvertError);
    EXPECT_THROW(read(clock, u"13:30 PM"), EConvertError);
    EXPECT_EQ(MessageOf([&] { read(clock, u"01:30 XM"); }), 73);
    const TKwMaskInfo adjusted = KwMaskScanned(dtyDateTime, u"hnok", dyeYear4, us);
    EXPECT_DOUBLE_EQ(read(adjusted, u"12:30 AM").AsDate(), day + EncodeTime(0, 30, 0, 0));
    EXPECT_DOUBLE_EQ(read(adjusted, u"26:00 AM").AsDate(), day + EncodeTime(2, 0, 0, 0));
    const TKwMaskInfo elapsed = KwMaskScanned(dtyDateTime, u"chn", dyeYear4, us);
    EXPECT_DOUBLE_EQ(read(elapsed, u"036:03").AsDate(), 1.5 + 3.0 / 1440);
    EXPECT_THROW(read(elapsed, u"036:63"), EConvertError);
    EXPECT_TRUE(read(elapsed, u"___:__").IsNull());
}

TEST(MaskValueTest, TextsReadBackAndCompleteness) {
    const TKwFormatSettings us;
    const TKwMaskInfo code = KwMaskScanned(dtyString, u"u$ad;###-##;_", dyeYear4, us);
    EXPECT_EQ(Read(code, u"AB1-23", us), Variant(u"AB123"));
    EXPECT_EQ(MessageOf([&] { Read(code, u"AB1-2_", us); }), 6);
    // Every position blank is no less incomplete; only an empty text is no value at all.
    EXPECT_EQ(MessageOf([&] { Read(code, u"___-__", us); }), 6);
    EXPECT_TRUE(Read(code, u"", us).IsNull());
    const TKwMaskInfo optional = KwMaskScanned(dtyString, u"uad;###-##;_", dyeYear4, us);
    EXPECT_TRUE(Read(optional, u"___-__", us).IsNull());
    // With the literals saved, the edit text is the value even when no position is filled.
    const TKwMaskInfo saved = KwMaskScanned(dtyString, u"dawrmt;AB-###;*", dyeYear4, us);
    EXPECT_EQ(Read(saved, u"AB-***", us), Variant(u"AB-***"));
    const TKwMaskInfo kept = KwMaskScanned(dtyString, u"m;##/##", dyeYear4, us);
    EXPECT_EQ(Read(kept, u"12/34", us), Variant(u"12/34"));
    const TKwMaskInfo free = KwMaskScanned(dtyString, u"$f", dyeYear4, us);
    EXPECT_EQ(Read(free, u" jOHN smith ", us), Variant(u"John Smith"));
    EXPECT_EQ(MessageOf([&] { Read(free, u"ab", us, 5, 0); }), 6);
    const TKwMaskInfo untrimmed = KwMaskScanned(dtyString, u"t", dyeYear4, us);
    EXPECT_EQ(Read(untrimmed, u" a ", us), Variant(u" a "));
}

TEST(MaskValueTest, SteppingThePartUnderTheCaret) {
    const TKwFormatSettings dayFirst = DayFirst();
    const TKwMaskInfo info = KwMaskScanned(dtyDateTime, u"dmyhn", dyeYear4, dayFirst);
    const Variant value = Variant::FromDate(EncodeDate(2024, 1, 31) + EncodeTime(23, 30, 0, 0));
    auto step = [&](int caret, int by) {
        return KwMaskDateTimePosCalc(info, dyeYear4, value, caret, by, dayFirst);
    };
    EXPECT_EQ(step(0, 1), EncodeDate(2024, 2, 1) + EncodeTime(23, 30, 0, 0));
    EXPECT_EQ(step(4, 1), EncodeDate(2024, 2, 29) + EncodeTime(23, 30, 0, 0));
    EXPECT_EQ(step(8, -1), EncodeDate(2023, 1, 31) + EncodeTime(23, 30, 0, 0));
    EXPECT_DOUBLE_EQ(step(11, 1), EncodeDate(2024, 2, 1) + EncodeTime(0, 30, 0, 0));
    EXPECT_DOUBLE_EQ(step(15, -31), EncodeDate(2024, 1, 31) + EncodeTime(22, 59, 0, 0));
    EXPECT_EQ(KwMaskDateTimePosCalc(info, dyeYear4, Variant::Null(), 0, -1, dayFirst), -1.0);
}

class TTestMask : public TKwMask {
public:
    using TKwMask::TKwMask;
    TKwDataType GetDataType() const override { return dataType; }
    void SetDataType(TKwDataType type) override { dataType = type; }
    void UpdateMask(const String& text, int size, int decimals, TKwDateYear year) override {
        ++updates;
        TKwMask::UpdateMask(text, size, decimals, year);
    }
    std::optional<TKwMaskDefaults> FormDefaults() const override { return form; }

    TKwDataType dataType = dtyString;
    int updates = 0;
    std::optional<TKwMaskDefaults> form;
};

TEST(MaskObjectTest, SettersNotifyOnceAndTakeDecidesDecimals) {
    TTestMask mask;
    mask.SetText(u"dmy");
    mask.SetText(u"dmy");
    mask.SetDecimals(3);
    EXPECT_EQ(mask.updates, 2);
    EXPECT_EQ(mask.Decimals(), 3);
    mask.SetTake(TKwMaskTake::mtaForm);
    EXPECT_EQ(mask.Decimals(), 0);
    mask.form = TKwMaskDefaults{4, dyeYear2};
    EXPECT_EQ(mask.Decimals(), 4);
    EXPECT_EQ(mask.DateYear(), dyeYear2);
    mask.SetDecimals(7);
    EXPECT_EQ(mask.Decimals(), 4);
    mask.SetTake(TKwMaskTake::mtaApplication);
    KwSetApplicationSettingsProvider([] {
        auto settings = std::make_shared<TKwFormatSettings>();
        settings->maskDecimals = 6;
        return settings;
    });
    EXPECT_EQ(mask.Decimals(), 6);
    KwResetConversionProviders();
    EXPECT_EQ(mask.Decimals(), 0);

    const TPropInfoPtr decimals = FindProperty(TKwMask::StaticClass(), u"Decimals");
    ASSERT_TRUE(decimals);
    EXPECT_FALSE(decimals->stored(mask));
    EXPECT_TRUE(decimals->stored(TTestMask()));

    TTestMask copy;
    mask.dataType = dtyDateTime;
    copy.Assign(&mask);
    EXPECT_EQ(copy.dataType, dtyDateTime);
    EXPECT_EQ(copy.Text(), u"dmy");
    EXPECT_EQ(copy.Take(), TKwMaskTake::mtaNone);
    EXPECT_TRUE(copy.HasDate());
    EXPECT_FALSE(copy.HasTime());
}

}  // namespace
}  // namespace kw
