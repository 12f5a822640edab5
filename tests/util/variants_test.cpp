#include "util/variants.h"

#include <gtest/gtest.h>

namespace kw {
namespace {

using enum TKwDataType;

TEST(DataCastTest, NullAndBlankTextStayNull) {
    EXPECT_TRUE(KwDataCast(Variant::Null(), dtyInteger).IsNull());
    EXPECT_TRUE(KwDataCast(Variant(u"  "), dtyDouble).IsNull());
    EXPECT_EQ(KwDataCast(Variant(u"  "), dtyString).AsString(), u"  ");
    EXPECT_EQ(KwDataString(Variant::Null()), u"");
}

TEST(DataCastTest, IntegersTruncateAndWidenWhenNeeded) {
    EXPECT_EQ(KwDataCast(Variant(true), dtyInteger).AsInteger(), 1);
    EXPECT_EQ(KwDataCast(Variant(-2.9), dtyInteger).AsInteger(), -2);
    EXPECT_EQ(KwDataCast(Variant(u"-5"), dtyInteger).VarType(), varInteger);
    EXPECT_EQ(KwDataCast(Variant(u"3000000000"), dtyInteger).VarType(), varInt64);
    EXPECT_EQ(KwDataCast(Variant(Currency::FromScaled(25000)), dtyInteger).AsInteger(), 2);
    // Failures give the zero of the kind.
    EXPECT_EQ(KwDataCast(Variant(u"12abc"), dtyInteger), Variant(0));
    EXPECT_EQ(KwDataCast(Variant(1e30), dtyInteger), Variant(0));
    EXPECT_EQ(KwDataCast(Variant(u"x"), dtyDateTime).VarType(), varDate);
}

TEST(DataCastTest, TextsGoThroughTheCanonicalForms) {
    EXPECT_EQ(KwDataCast(Variant(u"1,234.5"), dtyDouble).AsDouble(), 1234.5);
    EXPECT_EQ(KwDataCast(Variant(u"0.1"), dtyCurrency).AsCurrency().scaled, 1000);
    EXPECT_EQ(KwDataCast(Variant(u"06/01/2024 12:00:00"), dtyDateTime).AsDate(),
              EncodeDate(2024, 6, 1) + 0.5);
    EXPECT_EQ(KwDataString(Variant(true)), u"1");
    EXPECT_EQ(KwDataString(Variant::FromDate(EncodeDate(2024, 6, 1))), u"06/01/2024");
    EXPECT_EQ(KwDataString(Variant(0.1 + 0.2)), u"0.3");
    EXPECT_EQ(KwDataString(Variant(Currency::FromScaled(15))), u"0.0015");
    EXPECT_EQ(KwDataString(Variant(42)), u"42");
}

TEST(VarCastTest, NullBecomesTheZeroOfTheKind) {
    EXPECT_EQ(KwVarCast(Variant::Null(), dtyInteger).VarType(), varInt64);
    EXPECT_EQ(KwVarCast(Variant::Null(), dtyCurrency).VarType(), varCurrency);
    EXPECT_EQ(KwVarCast(Variant::Null(), dtyString).AsString(), u"");
    EXPECT_EQ(KwVarCast(Variant::Null(), dtyDateTime).VarType(), varDate);
    EXPECT_TRUE(KwVarCast(Variant::Null(), dtyBinary).IsNull());
    EXPECT_EQ(KwVarCast(Variant(u"7"), dtyInteger).VarType(), varUString);
}

TEST(VariantPredicateTest, SameValueAndEquals) {
    EXPECT_TRUE(KwVarSameValue(Variant(), Variant()));
    EXPECT_FALSE(KwVarSameValue(Variant(), Variant(0)));
    EXPECT_FALSE(KwVarSameValue(Variant(0), Variant()));
    EXPECT_TRUE(KwVarSameValue(Variant::Null(), Variant::Null()));
    EXPECT_FALSE(KwVarSameValue(Variant::Null(), Variant()));
    EXPECT_FALSE(KwVarSameValue(Variant(u"1"), Variant(1)));
    EXPECT_TRUE(KwVarSameValue(Variant(1), Variant(1.0)));
    EXPECT_FALSE(KwVarEquals(Variant(u"abc"), Variant(1)));
    EXPECT_TRUE(KwVarEquals(Variant(u"1"), Variant(1)));
    EXPECT_TRUE(KwVarIsNull(Variant()));
    EXPECT_FALSE(KwVarIsNull(Variant(u"")));
    EXPECT_EQ(KwVarArrayOf({1, 2, 3}, 2), VarArrayOf({1, 2}));
    EXPECT_EQ(KwVarArrayOf({1}, 5).Count(), 1);
}

TEST(VariantPredicateTest, TypeClasses) {
    EXPECT_TRUE(KwVarTypeIsOrdinal(varBoolean));
    EXPECT_TRUE(KwVarTypeIsOrdinal(varUInt64));
    EXPECT_FALSE(KwVarTypeIsOrdinal(varCurrency));
    EXPECT_TRUE(KwVarTypeIsFloat(varCurrency));
    EXPECT_FALSE(KwVarTypeIsFloat(varDate));
    EXPECT_FALSE(KwVarTypeIsNumeric(varDate));
    EXPECT_TRUE(KwVarTypeIsStr(varOleStr));
    EXPECT_TRUE(KwVarIsStr(Variant(u"")));
    EXPECT_TRUE(KwVarIsNumeric(Variant(std::uint8_t{1})));
    EXPECT_EQ(KwDataTypeToStr(dtyDateTime), u"DateTime");
    EXPECT_TRUE(KwIsBlob(dtyMemo));
    EXPECT_TRUE(KwIsVariant(dtyCurrency));
}

}  // namespace
}  // namespace kw
