#include "platform/text/strings.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <locale>
#include <random>

#include "platform/core/exception.h"
#include "platform/text/unicode.h"

namespace kw {
namespace {

TEST(Strings, TrimRemovesBlanksAndControlCharactersAtTheEndsOnly) {
    EXPECT_EQ(Trim(u" \t\r\n a b \x01\x1F "), u"a b");
    EXPECT_EQ(TrimLeft(u"\t a "), u"a ");
    EXPECT_EQ(TrimRight(u" a \n"), u" a");
    EXPECT_EQ(Trim(u" \x00 "), u"");
    EXPECT_EQ(Trim(u"\u00A0x\u00A0"), u"\u00A0x\u00A0");  // no-break space is above U+0020
}

TEST(Strings, ReplaceAllAndPos) {
    EXPECT_EQ(StringReplaceAll(u"aXbxc", u"x", u"--"), u"aXb--c");
    EXPECT_EQ(StringReplaceAll(u"aXbxc", u"x", u"", true), u"abc");
    EXPECT_EQ(StringReplaceAll(u"aaaa", u"aa", u"a"), u"aa");
    EXPECT_EQ(StringReplaceAll(u"abc", u"", u"z"), u"abc");
    EXPECT_EQ(StringReplaceAll(u"%s%s", u"%s", u"%s%s"), u"%s%s%s%s");
    EXPECT_EQ(Pos(u"lo", u"hello"), 4);
    EXPECT_EQ(Pos(u"h", u"hello"), 1);
    EXPECT_EQ(Pos(u"x", u"hello"), 0);
    EXPECT_EQ(Pos(u"", u"hello"), 0);
}

TEST(Strings, AsciiCaseLeavesOtherLettersAlone) {
    EXPECT_EQ(UpperCase(u"abz\u00E9"), u"ABZ\u00E9");
    EXPECT_TRUE(SameText(u"Hello", u"hELLO"));
    EXPECT_FALSE(SameText(u"\u00E9", u"\u00C9"));
    EXPECT_EQ(CompareText(u"a_", u"AB"), 1);  // '_' sorts after the upper-case letters
}

TEST(Strings, UnicodeCaseMappingIsFullAndLocaleIndependent) {
    EXPECT_EQ(AnsiUpperCase(u"stra\u00DFe \u00E9"), u"STRASSE \u00C9");
    EXPECT_EQ(AnsiLowerCase(u"\u00C9COLE \u0391"), u"\u00E9cole \u03B1");
    EXPECT_EQ(AnsiUpperCase(u"i"), u"I");                    // not the dotted capital I
    EXPECT_EQ(AnsiLowerCase(u"\u0130"), u"i\u0307");         // dotted capital I, root rules
    EXPECT_EQ(AnsiUpperCase(u"\U00010428"), u"\U00010400");  // outside the BMP
    EXPECT_EQ(AnsiUpperCase(u""), u"");
    EXPECT_TRUE(AnsiSameText(u"Stra\u00DFe", u"STRASSE"));
    EXPECT_TRUE(AnsiSameText(u"\u00C9t\u00C9", u"\u00E9t\u00E9"));
    EXPECT_FALSE(AnsiSameText(u"e", u"\u00E9"));
    EXPECT_TRUE(AnsiSameText(u"", u""));
    // ASCII against ASCII is decided without ICU, so the cases around that shortcut matter.
    EXPECT_TRUE(AnsiSameText(u"System", u"sYSTEM"));
    EXPECT_FALSE(AnsiSameText(u"System", u"Systems"));
    EXPECT_FALSE(AnsiSameText(u"a[", u"A{"));     // brackets are no letters
    EXPECT_TRUE(AnsiSameText(u"\u212A", u"k"));   // Kelvin sign folds to an ASCII letter
    EXPECT_TRUE(AnsiSameText(u"ss", u"\u00DF"));  // lengths differ, texts still fold equal
}

class Collation : public ::testing::Test {
protected:
    void TearDown() override { ResetCollationLocale(); }
};

TEST_F(Collation, TextIgnoresCaseButNotAccents) {
    EXPECT_EQ(CollationLocale(), "en_US");
    EXPECT_EQ(AnsiCompareText(u"apple", u"BANANA"), -1);
    EXPECT_EQ(CompareText(u"\u00E9", u"f"), 1);       // code units put accents last
    EXPECT_EQ(AnsiCompareText(u"\u00E9", u"f"), -1);  // collation does not
    EXPECT_EQ(AnsiCompareText(u"Hello", u"hELLO"), 0);
    EXPECT_EQ(AnsiCompareText(u"cote", u"C\u00F4te"), -1);
    EXPECT_EQ(AnsiCompareText(u"", u""), 0);
}

TEST_F(Collation, StrDistinguishesCase) {
    EXPECT_EQ(AnsiCompareStr(u"a", u"A"), -1);
    EXPECT_EQ(AnsiCompareStr(u"A", u"a"), 1);
    EXPECT_EQ(AnsiCompareStr(u"a", u"a"), 0);
    EXPECT_EQ(AnsiCompareStr(u"A", u"b"), -1);  // letters before case
}

TEST_F(Collation, LocaleChangesTheOrderAndResets) {
    EXPECT_EQ(AnsiCompareText(u"\u00F6", u"z"), -1);
    SetCollationLocale("sv_SE");
    EXPECT_EQ(CollationLocale(), "sv_SE");
    EXPECT_EQ(AnsiCompareText(u"\u00F6", u"z"), 1);  // Swedish puts o-umlaut after z
    EXPECT_EQ(AnsiCompareStr(u"\u00F6", u"z"), 1);
    ResetCollationLocale();
    EXPECT_EQ(CollationLocale(), "en_US");
    EXPECT_EQ(AnsiCompareText(u"\u00F6", u"z"), -1);
}

struct FormatCase {
    const Char* format;
    std::vector<FormatArg> args;
    const Char* expected;
};

String FormatVector(const Char* format, const std::vector<FormatArg>& args) {
    switch (args.size()) {
        case 0:
            return Format(format, {});
        case 1:
            return Format(format, {args[0]});
        case 2:
            return Format(format, {args[0], args[1]});
        default:
            return Format(format, {args[0], args[1], args[2]});
    }
}

void ExpectFormats(const std::vector<FormatCase>& cases) {
    for (const FormatCase& c : cases) {
        SCOPED_TRACE(StringToUtf8(c.format));
        EXPECT_EQ(FormatVector(c.format, c.args), c.expected);
    }
}

TEST(Format, Integers) {
    ExpectFormats({
        {u"%d", {42}, u"42"},
        {u"[%5d]", {42}, u"[   42]"},
        {u"[%-5d]", {42}, u"[42   ]"},
        {u"%2.2d", {5}, u"05"},
        {u"%2.2d", {-5}, u"-05"},
        {u"%4.4d", {7}, u"0007"},
        {u"%.3d", {12345}, u"12345"},
        {u"%d", {std::numeric_limits<std::int64_t>::min()}, u"-9223372036854775808"},
        {u"%d", {std::numeric_limits<std::uint64_t>::max()}, u"18446744073709551615"},
        {u"%u", {-1}, u"4294967295"},
        {u"%u", {std::int64_t{-1}}, u"18446744073709551615"},
        {u"%x", {255}, u"FF"},
        {u"%X", {255}, u"FF"},
        {u"%.4x", {255}, u"00FF"},
        {u"%x", {-1}, u"FFFFFFFF"},
        {u"%x", {std::int64_t{-2}}, u"FFFFFFFFFFFFFFFE"},
        {u"%p", {0x1234}, u"00001234"},
        {u"%D", {3}, u"3"},
    });
}

TEST(Format, TextWidthPrecisionAndStars) {
    ExpectFormats({
        {u"[%5s]", {u"ab"}, u"[   ab]"},
        {u"[%-5s]", {u"ab"}, u"[ab   ]"},
        {u"[%-10s]", {u"abc"}, u"[abc       ]"},
        {u"%.3s", {u"abcdef"}, u"abc"},
        {u"%2s", {u"abcdef"}, u"abcdef"},
        {u"%s", {u'x'}, u"x"},
        {u"%s", {String(u"a\u00E9")}, u"a\u00E9"},
        {u"%*d", {4, 7}, u"   7"},
        {u"%-*d|", {3, 7}, u"7  |"},
        {u"%*d|", {-3, 7}, u"7  |"},
        {u"%.*f", {1, 2.25}, u"2.3"},
        {u"%0.*f", {3, 1.0}, u"1.000"},
        {u"%1:s %0:s %s", {u"a", u"b"}, u"b a b"},
        {u"100%% %s", {u"x"}, u"100% x"},
        {u"no specifiers", {}, u"no specifiers"},
    });
}

TEST(Format, FloatingPoint) {
    ExpectFormats({
        {u"%f", {1.0}, u"1.00"},
        {u"%.0f", {2.5}, u"3"},
        {u"%.0f", {-2.5}, u"-3"},
        {u"%.0f", {3.5}, u"4"},
        {u"%.2f", {0.125}, u"0.13"},  // an exact tie goes away from zero
        {u"%.2f", {2.675}, u"2.67"},  // the double is just below 2.675
        {u"%.2f", {-0.001}, u"0.00"},
        {u"%.1f", {9.96}, u"10.0"},
        {u"%8.3f", {-3.14159}, u"  -3.142"},
        {u"%.3f", {1e-7}, u"0.000"},
        {u"%.0f", {1e21}, u"1000000000000000000000"},
        {u"%n", {1234567.891}, u"1,234,567.89"},
        {u"%.0n", {999.5}, u"1,000"},
        {u"%n", {-123.0}, u"-123.00"},
        {u"%m", {1234.5}, u"1,234.50"},
        {u"%e", {1234.5}, u"1.23450000000000E+003"},
        {u"%.3e", {-0.00012345}, u"-1.23E-004"},
        {u"%.1e", {9.99}, u"1E+001"},
        {u"%e", {0.0}, u"0.00000000000000E+000"},
        {u"%.2e", {1e300}, u"1.0E+300"},
        {u"%g", {1.5}, u"1.5"},
        {u"%g", {0.1}, u"0.1"},
        {u"%g", {1e20}, u"1E20"},
        {u"%g", {0.00001}, u"1E-5"},
        {u"%g", {0.0001}, u"0.0001"},
        {u"%.3g", {1234.0}, u"1.23E3"},
        {u"%.3g", {123.456}, u"123"},
        {u"%f|%e|%g",
         {std::numeric_limits<double>::infinity(), -HUGE_VAL, std::nan("")},
         u"INF|-INF|NAN"},
    });
}

TEST(Format, WrongOrMissingArgumentsRaise) {
    const std::vector<FormatCase> bad = {
        {u"%d", {1.5}, nullptr},  {u"%f", {1}, nullptr},    {u"%s", {1}, nullptr},
        {u"%d", {u"1"}, nullptr}, {u"%d %d", {1}, nullptr}, {u"%d", {}, nullptr},
        {u"abc %", {1}, nullptr}, {u"%q", {1}, nullptr},    {u"%*d", {u"x", 1}, nullptr},
        {u"%5:d", {1}, nullptr},  {u"%p", {1.0}, nullptr},
    };
    for (const FormatCase& c : bad) {
        SCOPED_TRACE(StringToUtf8(c.format));
        try {
            FormatVector(c.format, c.args);
            ADD_FAILURE() << "no error";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(),
                      u"Format '" + String(c.format) + u"' invalid or incompatible with argument");
        }
    }
}

// A global locale with a comma decimal separator must not leak into the output.
TEST(Format, IgnoresTheGlobalLocale) {
    struct Comma : std::numpunct<char> {
        char do_decimal_point() const override { return ','; }
    };
    const std::locale previous = std::locale::global(std::locale(std::locale(), new Comma));
    const String formatted = Format(u"%.1f %g", {1.5, 2.5});
    const double parsed = StrToFloat(u"1.25");
    std::locale::global(previous);
    EXPECT_EQ(formatted, u"1.5 2.5");
    EXPECT_EQ(parsed, 1.25);
}

TEST(Convert, StrToIntAcceptsDecimalHexAndBlanks) {
    EXPECT_EQ(StrToInt(u"  42\t"), 42);
    EXPECT_EQ(StrToInt(u"-17"), -17);
    EXPECT_EQ(StrToInt(u"+8"), 8);
    EXPECT_EQ(StrToInt(u"$1f"), 31);
    EXPECT_EQ(StrToInt(u"0X1F"), 31);
    EXPECT_EQ(StrToInt(u"-$10"), -16);
    EXPECT_EQ(StrToInt(u"$FFFFFFFF"), -1);
    EXPECT_EQ(StrToInt(u"2147483647"), 2147483647);
    EXPECT_EQ(StrToInt(u"-2147483648"), std::numeric_limits<int>::min());
    EXPECT_EQ(StrToInt64(u"9223372036854775807"), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(StrToInt64(u"-9223372036854775808"), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(StrToInt64(u"$FFFFFFFF"), 0xFFFFFFFF);
    EXPECT_EQ(StrToInt64(u"0xFFFFFFFFFFFFFFFF"), -1);
}

TEST(Convert, StrToIntRejectsEverythingElse) {
    for (const Char* text : {u"", u"  ", u"1 2", u"12a", u"- 1", u"$", u"0x", u"1.0", u"+-1",
                             u"2147483648", u"-2147483649", u"$100000000", u"\uFF11", u"1e3"}) {
        SCOPED_TRACE(StringToUtf8(text));
        int value = 99;
        EXPECT_FALSE(TryStrToInt(text, value));
        EXPECT_EQ(value, 99);
        EXPECT_EQ(StrToIntDef(text, -7), -7);
        try {
            StrToInt(text);
            ADD_FAILURE() << "no error";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), u"'" + String(text) + u"' is not a valid integer value");
        }
    }
    std::int64_t wide = 0;
    EXPECT_FALSE(TryStrToInt64(u"9223372036854775808", wide));
    EXPECT_FALSE(TryStrToInt64(u"$10000000000000000", wide));
    EXPECT_EQ(StrToInt64Def(u"x", 5), 5);
    EXPECT_TRUE(TryStrToInt64(u" -3 ", wide));
    EXPECT_EQ(wide, -3);
}

TEST(Convert, StrToFloat) {
    EXPECT_EQ(StrToFloat(u" 1.5 "), 1.5);
    EXPECT_EQ(StrToFloat(u"-.5"), -0.5);
    EXPECT_EQ(StrToFloat(u"5."), 5.0);
    EXPECT_EQ(StrToFloat(u"+1.5E+3"), 1500.0);
    EXPECT_EQ(StrToFloat(u"25e-1"), 2.5);
    EXPECT_EQ(StrToFloat(u"1,25", u','), 1.25);
    EXPECT_EQ(StrToFloat(u"1e-400"), 0.0);
    EXPECT_EQ(StrToFloat(u"0.1"), 0.1);
    EXPECT_EQ(StrToFloatDef(u"1,5", -1.0), -1.0);
    for (const Char* text : {u"", u".", u"e5", u"1e", u"1e+", u"1.5.2", u"1,5", u"INF", u"NAN",
                             u"1e400", u"0x10", u"1 .5", u"--1"}) {
        SCOPED_TRACE(StringToUtf8(text));
        double value = 7;
        EXPECT_FALSE(TryStrToFloat(text, value));
        EXPECT_EQ(value, 7);
        try {
            StrToFloat(text);
            ADD_FAILURE() << "no error";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), u"'" + String(text) + u"' is not a valid floating point value");
        }
    }
}

TEST(Convert, IntToHexAndIntToStr) {
    EXPECT_EQ(IntToHex(255u, 4), u"00FF");
    EXPECT_EQ(IntToHex(0xABCDEFu, 2), u"ABCDEF");
    EXPECT_EQ(IntToHex(0u, 0), u"0");
    EXPECT_EQ(IntToHex(-1, 2), u"FFFFFFFF");
    EXPECT_EQ(IntToHex(std::int64_t{-1}, 2), u"FFFFFFFFFFFFFFFF");
    EXPECT_EQ(IntToStr(-123), u"-123");
}

TEST(Convert, FloatToStrIsShortestAndUsesExponentForExtremes) {
    EXPECT_EQ(FloatToStr(1.5), u"1.5");
    EXPECT_EQ(FloatToStr(-0.001), u"-0.001");
    EXPECT_EQ(FloatToStr(100.0), u"100");
    EXPECT_EQ(FloatToStr(0.1 + 0.2), u"0.30000000000000004");
    EXPECT_EQ(FloatToStr(1e20), u"1E20");
    EXPECT_EQ(FloatToStr(123456789012345.0), u"123456789012345");
    EXPECT_EQ(FloatToStr(1e15), u"1E15");
    EXPECT_EQ(FloatToStr(-2.5e-7), u"-2.5E-7");
    EXPECT_EQ(FloatToStr(0.0), u"0");
    EXPECT_EQ(FloatToStr(-0.0), u"0");
    EXPECT_EQ(FloatToStr(std::numeric_limits<double>::infinity()), u"INF");
    EXPECT_EQ(FloatToStr(-std::numeric_limits<double>::infinity()), u"-INF");
    EXPECT_EQ(FloatToStr(std::nan("")), u"NAN");
}

TEST(Convert, FloatToStrReadsBackExactly) {
    std::mt19937_64 random(12345);
    for (int i = 0; i < 20000; ++i) {
        const double value = std::bit_cast<double>(random());
        if (!std::isfinite(value))
            continue;
        const String text = FloatToStr(value);
        ASSERT_EQ(StrToFloat(text), value) << StringToUtf8(text);
    }
    EXPECT_EQ(StrToFloat(FloatToStr(std::numeric_limits<double>::denorm_min())),
              std::numeric_limits<double>::denorm_min());
}

}  // namespace
}  // namespace kw
