#include "util/mask_edit.h"

#include <gtest/gtest.h>

#include "util/mask_value.h"

namespace kw {
namespace {

using enum TKwDataType;

struct Field {
    Field(TKwDataType type, StringView mask, const TKwFormatSettings& s = TKwFormatSettings())
        : settings(s), dataType(type), info(KwMaskScanned(type, mask, TKwDateYear::dyeYear4, s)) {
        edit.text = KwMaskClear(info);
    }

    // Types each character; returns the characters that were refused.
    String Type(StringView keys) {
        String refused;
        for (Char c : keys) {
            String key(1, c);
            KwMaskKeyPress(info, edit, dataType, size, decimals, key, settings);
            if (key.empty())
                refused.push_back(c);
        }
        return refused;
    }

    Word Down(Word key) {
        KwMaskKeyDown(info, edit, dataType, size, decimals, key, settings);
        return key;
    }

    void Backspace() {
        Down(kKwKeyBack);
        Type(u"\b");
    }

    TKwFormatSettings settings;
    TKwDataType dataType;
    TKwMaskInfo info;
    TKwMaskEditState edit;
    int size = 0;
    int decimals = 0;
};

TEST(MaskEditTest, PatternTypingSkipsLiteralsAndRefusesKinds) {
    Field code(dtyString, u"uad;###-####;_");
    EXPECT_EQ(code.Type(u"ab1"), u"");
    EXPECT_EQ(code.edit.text, u"AB1-____");
    EXPECT_EQ(code.edit.selStart, 4);
    EXPECT_EQ(code.Type(u"-#"), u"-#");

    Field letters(dtyString, u"ua;###-####;_");
    EXPECT_EQ(letters.Type(u"a1b"), u"1");
    EXPECT_EQ(letters.edit.text, u"AB_-____");
    Field nothing(dtyString, u"u;###-####;_");
    EXPECT_EQ(nothing.Type(u"a1 "), u"a1 ");
    EXPECT_EQ(nothing.edit.text, u"___-____");
    Field lower(dtyString, u"las");
    EXPECT_EQ(lower.Type(u"A\u00c9!"), u"");
    EXPECT_EQ(lower.edit.text, u"a\u00e9!");
}

TEST(MaskEditTest, BackspaceAndDeleteOverAPattern) {
    Field code(dtyString, u"uad;###-####;_");
    code.Type(u"ab12");
    EXPECT_EQ(code.edit.selStart, 5);
    code.Backspace();
    EXPECT_EQ(code.edit.text, u"AB1-____");
    EXPECT_EQ(code.edit.selStart, 4);
    code.Backspace();  // across the literal
    EXPECT_EQ(code.edit.text, u"AB_-____");
    EXPECT_EQ(code.edit.selStart, 2);
    code.edit.selStart = 0;
    EXPECT_EQ(code.Down(kKwKeyBack), 0);
    EXPECT_EQ(code.edit.selLength, 0);
    EXPECT_EQ(code.Down(kKwKeyDelete), 0);
    EXPECT_EQ(code.edit.text, u"_B_-____");

    code.edit.text = u"AB1-23__";
    code.edit.selStart = 1;
    code.edit.selLength = 1;
    KwMaskClearChar(code.info, code.edit);
    EXPECT_EQ(code.edit.text, u"A12-3___");
    EXPECT_EQ(code.edit.selStart, 1);
}

TEST(MaskEditTest, DateSeparatorsMoveTheCaretAndPastesSkipThem) {
    TKwFormatSettings dayFirst;
    dayFirst.dateFormat = TKwDateFormat::dfodmy;
    dayFirst.dateSeparator = u'.';
    Field date(dtyDateTime, u"dmy", dayFirst);
    EXPECT_EQ(date.edit.text, u"__.__.____");
    EXPECT_EQ(date.Type(u"1.6/24"), u"./");
    EXPECT_EQ(date.edit.text, u"1_.6_.24__");
    EXPECT_EQ(KwMaskToValue(date.info, Variant(), date.edit.text, 0, 0, TKwDateYear::dyeYear4, {},
                            dayFirst)
                  .AsDate(),
              EncodeDate(2024, 6, 1));
    EXPECT_EQ(date.Type(u"x"), u"x");

    Field pasted(dtyDateTime, u"dmy", dayFirst);
    KwMaskAddChar(pasted.info, pasted.edit, dtyDateTime, 0, 0, u"01.06.2024", dayFirst);
    EXPECT_EQ(pasted.edit.text, u"01.06.2024");
}

TEST(MaskEditTest, DayHalfLettersOnlyInTheirZone) {
    Field clock(dtyDateTime, u"hno");
    EXPECT_EQ(clock.edit.text, u"__:__ __");
    EXPECT_EQ(clock.Type(u"p"), u"p");
    EXPECT_EQ(clock.Type(u"0130p"), u"");
    EXPECT_EQ(clock.edit.text, u"01:30 p_");
    EXPECT_EQ(clock.Type(u"x"), u"x");
}

TEST(MaskEditTest, NumberKeys) {
    TKwFormatSettings comma;
    comma.decimalSeparator = u',';
    comma.thousandSeparator = u'.';
    Field money(dtyDouble, u"-", comma);
    money.decimals = 2;
    EXPECT_EQ(money.Type(u"12.345"), u"5");
    EXPECT_EQ(money.edit.text, u"12,34");
    EXPECT_EQ(money.Type(u","), u",");
    money.edit.selStart = 0;
    EXPECT_EQ(money.Type(u"-"), u"");
    EXPECT_EQ(money.Type(u"-"), u"-");
    EXPECT_EQ(money.edit.text, u"-12,34");

    Field whole(dtyInteger, u"");
    EXPECT_EQ(whole.Type(u"-1.a2"), u"-.a");
    EXPECT_EQ(whole.edit.text, u"12");

    Field ranged(dtyDouble, u"k-");
    ranged.size = 6;
    ranged.decimals = 2;
    EXPECT_EQ(ranged.Type(u"123.45"), u"3");
    EXPECT_EQ(ranged.edit.text, u"12.45");
    ranged.edit.selStart = 0;
    EXPECT_EQ(ranged.Down(kKwKeyDelete), kKwKeyDelete);
    ranged.edit.selStart = 2;  // deleting the separator would join "12" and "45"
    EXPECT_EQ(ranged.Down(kKwKeyDelete), 0);
    ranged.edit.selLength = 3;
    EXPECT_EQ(ranged.Down(kKwKeyDelete), kKwKeyDelete);

    Field scientific(dtyDouble, u"1");
    EXPECT_EQ(scientific.Type(u"1E+3"), u"");
}

TEST(MaskEditTest, FreeTextHonoursSizeAndOverwrite) {
    Field name(dtyString, u"");
    name.size = 3;
    EXPECT_EQ(name.Type(u"abcd"), u"d");
    EXPECT_EQ(name.edit.text, u"abc");
    name.edit.insertMode = false;
    name.edit.selStart = 1;
    EXPECT_EQ(name.Type(u"x"), u"");
    EXPECT_EQ(name.edit.text, u"axc");
    name.Type(u"\b");
    EXPECT_EQ(name.edit.text, u"ac");
    String control = u"\x03";
    EXPECT_FALSE(KwMaskKeyPress(name.info, name.edit, dtyString, 3, 0, control, name.settings));
    EXPECT_EQ(control, u"\x03");
}

}  // namespace
}  // namespace kw
