#include "platform/core/variant.h"

#include <gtest/gtest.h>

#include <limits>

namespace kw {
namespace {

TEST(VariantTest, ConstructorsPickThePlatformKinds) {
    EXPECT_EQ(Variant().VarType(), varEmpty);
    EXPECT_EQ(Variant::Null().VarType(), varNull);
    EXPECT_EQ(Variant(std::int8_t{1}).VarType(), varShortInt);
    EXPECT_EQ(Variant(std::int16_t{1}).VarType(), varSmallint);
    EXPECT_EQ(Variant(1).VarType(), varInteger);
    EXPECT_EQ(Variant(1LL).VarType(), varInt64);
    EXPECT_EQ(Variant(std::uint8_t{1}).VarType(), varByte);
    EXPECT_EQ(Variant(std::uint16_t{1}).VarType(), varWord);
    EXPECT_EQ(Variant(1u).VarType(), varLongWord);
    EXPECT_EQ(Variant(std::uint64_t{1}).VarType(), varUInt64);
    EXPECT_EQ(Variant(true).VarType(), varBoolean);
    EXPECT_EQ(Variant(1.0f).VarType(), varSingle);
    EXPECT_EQ(Variant(1.0).VarType(), varDouble);
    EXPECT_EQ(Variant(Currency::FromInt(1)).VarType(), varCurrency);
    EXPECT_EQ(Variant::FromDate(1.0).VarType(), varDate);
    EXPECT_EQ(Variant(u"x").VarType(), varUString);
    EXPECT_EQ(VarArrayOf({1, u"a"}).VarType(), varArray | varVariant);
    EXPECT_EQ(VarTypeAsText(varLongWord), u"Cardinal");
    EXPECT_EQ(VarTypeAsText(varArray | varVariant), u"Array Variant");
}

TEST(VariantTest, IntegerCastsRoundHalvesToEvenAndCheckRange) {
    EXPECT_EQ(Variant(2.5).AsInteger(), 2);
    EXPECT_EQ(Variant(3.5).AsInteger(), 4);
    EXPECT_EQ(Variant(-2.5).AsInt64(), -2);
    EXPECT_EQ(Variant(true).AsInteger(), -1);
    EXPECT_EQ(Variant().AsInteger(), 0);
    EXPECT_EQ(Variant(Currency::FromScaled(25000)).AsInteger(), 2);
    EXPECT_EQ(Variant(Currency::FromScaled(35000)).AsInteger(), 4);
    EXPECT_EQ(Variant(u" 42 ").AsInteger(), 42);
    EXPECT_EQ(Variant(u"1.5").AsInteger(), 2);
    EXPECT_THROW(Variant(3e9).AsInteger(), EVariantOverflowError);
    EXPECT_THROW(Variant(std::int64_t{1} << 40).AsInteger(), EVariantOverflowError);
    EXPECT_THROW(Variant(std::numeric_limits<std::uint64_t>::max()).AsInt64(),
                 EVariantOverflowError);
    EXPECT_EQ(Variant(std::numeric_limits<std::uint64_t>::max()).AsUInt64(),
              std::numeric_limits<std::uint64_t>::max());
    EXPECT_THROW(Variant(std::numeric_limits<double>::quiet_NaN()).AsInt64(),
                 EVariantOverflowError);
}

TEST(VariantTest, ImpossibleCastsNameBothTypes) {
    try {
        Variant::Null().AsInteger();
        FAIL() << "no exception";
    } catch (const EVariantTypeCastError& e) {
        EXPECT_EQ(e.Message(), u"Could not convert variant of type (Null) into type (Integer)");
    }
    EXPECT_THROW(Variant(u"abc").AsDouble(), EVariantTypeCastError);
    EXPECT_THROW(Variant(u"maybe").AsBoolean(), EVariantTypeCastError);
    EXPECT_THROW(Variant(u"31/31/2020").AsDate(), EVariantTypeCastError);
    EXPECT_THROW(VarArrayOf({1}).AsString(), EVariantTypeCastError);
    EXPECT_THROW(Variant(1).Items(), EVariantInvalidOpError);
    EXPECT_THROW(VarArrayOf({1})[1], EVariantError);
}

TEST(VariantTest, TextCasts) {
    EXPECT_EQ(Variant(true).AsString(), u"True");
    EXPECT_EQ(Variant(0.1f).AsString(), u"0.1");
    EXPECT_EQ(Variant(-1.5).AsString(), u"-1.5");
    EXPECT_EQ(Variant(Currency::FromScaled(-12345)).AsString(), u"-1.2345");
    EXPECT_EQ(Variant(std::numeric_limits<std::uint64_t>::max()).AsString(),
              u"18446744073709551615");
    EXPECT_EQ(Variant::FromDate(EncodeDate(2024, 6, 1)).AsString(), u"2024-06-01");
    EXPECT_EQ(Variant::FromDate(EncodeDate(2024, 6, 1) + 0.5).AsString(), u"2024-06-01 12:00:00");
    EXPECT_EQ(Variant::FromDate(0.75).AsString(), u"18:00:00");
    EXPECT_EQ(Variant::FromDate(-1.25).AsString(), u"1899-12-29 06:00:00");
    EXPECT_TRUE(Variant(u"TRUE").AsBoolean());
    EXPECT_FALSE(Variant(u"0").AsBoolean());
    EXPECT_DOUBLE_EQ(Variant(u"2024-06-01 12:00").AsDate(), EncodeDate(2024, 6, 1) + 0.5);
    EXPECT_DOUBLE_EQ(Variant(u"1899-12-29 06:00:00").AsDate(), -1.25);
    EXPECT_EQ(Variant(u"1.00005").AsCurrency().scaled, 10000);
    EXPECT_EQ(Variant(u"1.00015").AsCurrency().scaled, 10002);
    EXPECT_EQ(Variant(0.1).AsCurrency().scaled, 1000);
}

TEST(VariantTest, VarAsTypeChecksTheTargetRange) {
    EXPECT_EQ(VarAsType(Variant(300), varSmallint).VarType(), varSmallint);
    EXPECT_THROW(VarAsType(Variant(300), varByte), EVariantOverflowError);
    EXPECT_THROW(VarAsType(Variant(-1), varLongWord), EVariantOverflowError);
    EXPECT_EQ(VarAsType(Variant(u"7"), varInt64).AsInt64(), 7);
    EXPECT_EQ(VarAsType(Variant(7), varUString).AsString(), u"7");
    EXPECT_THROW(VarAsType(Variant::Null(), varInteger), EVariantTypeCastError);
    EXPECT_THROW(VarAsType(Variant(1e300), varSingle), EVariantOverflowError);
}

TEST(VariantTest, EqualityAcrossKinds) {
    EXPECT_EQ(Variant(1), Variant(1.0));
    EXPECT_EQ(Variant(std::int64_t{5}), Variant(Currency::FromInt(5)));
    EXPECT_NE(Variant(Currency::FromScaled(50001)), Variant(5));
    EXPECT_EQ(Variant(u"10"), Variant(10));
    EXPECT_EQ(Variant(), Variant(0));
    EXPECT_EQ(Variant(), Variant(u""));
    EXPECT_EQ(Variant::Null(), Variant::Null());
    EXPECT_NE(Variant::Null(), Variant());
    EXPECT_NE(Variant::Null(), Variant(0));
    EXPECT_NE(Variant(u"a"), Variant(u"A"));
    EXPECT_EQ(Variant(true), Variant(-1));
    EXPECT_EQ(Variant(true), Variant(u"True"));
    EXPECT_EQ(Variant::FromDate(EncodeDate(2020, 1, 2)), Variant(u"2020-01-02"));
    EXPECT_EQ(Variant(std::numeric_limits<std::uint64_t>::max()),
              Variant(std::numeric_limits<std::uint64_t>::max()));
    EXPECT_NE(Variant(std::numeric_limits<std::uint64_t>::max()), Variant(std::int64_t{-1}));
    EXPECT_EQ(VarArrayOf({1, u"a"}), VarArrayOf({1.0, u"a"}));
    EXPECT_NE(VarArrayOf({1, u"a"}), VarArrayOf({1}));
    EXPECT_THROW((void)(Variant(u"abc") == Variant(1)), EVariantTypeCastError);
}

TEST(VariantTest, OrderingPutsNullFirst) {
    EXPECT_LT(Variant::Null(), Variant(-1000));
    EXPECT_LT(Variant::Null(), Variant(u""));
    EXPECT_EQ(VarCompare(Variant::Null(), Variant::Null()), 0);
    EXPECT_LT(Variant(1), Variant(1.5));
    EXPECT_GT(Variant(u"b"), Variant(u"a"));
    EXPECT_LT(Variant(u"9"), Variant(10));  // read as a number, not as text
    EXPECT_LT(Variant(std::int64_t{9007199254740992}), Variant(std::int64_t{9007199254740993}));
    EXPECT_EQ(VarCompareValue(VarArrayOf({1}), VarArrayOf({2})), TVariantRelationship::vrNotEqual);
    EXPECT_THROW(VarCompare(VarArrayOf({1}), VarArrayOf({2})), EVariantInvalidOpError);
    EXPECT_EQ(VarCompareValue(Variant(std::numeric_limits<double>::quiet_NaN()), Variant(1.0)),
              TVariantRelationship::vrNotEqual);
}

TEST(VariantTest, CopiesOfArraysAreIndependent) {
    Variant a = VarArrayOf({1, 2});
    Variant b = a;
    b.Items()[0] = u"changed";
    EXPECT_EQ(a[0].AsInteger(), 1);
    EXPECT_EQ(b[0].AsString(), u"changed");
    a = b;
    EXPECT_EQ(a[0].AsString(), u"changed");
    EXPECT_EQ(VarToStr(Variant::Null()), u"");
    EXPECT_EQ(VarToStrDef(Variant::Null(), u"-"), u"-");
}

}  // namespace
}  // namespace kw
