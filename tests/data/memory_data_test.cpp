#include "data/memory_data.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <tuple>

#include "platform/core/filer.h"
#include "platform/core/stream.h"
#include "platform/text/string_list.h"
#include "platform/text/strings.h"

namespace kw {
namespace {

using enum TKwDataType;

class Counted : public TObject {
public:
    explicit Counted(int& alive) : alive_(alive) { ++alive_; }
    ~Counted() override { --alive_; }

private:
    int& alive_;
};

TEST(MemoryColumnsTest, AddingAndRemovingColumnsKeepsTheOtherValues) {
    TKwMemoryTable table;
    TKwMemoryField& a = table.Fields().Add(dtyInteger);
    TKwMemoryField& b = table.Fields().Add(dtyString);
    for (int i = 0; i < 3; ++i) {
        table.AppendRow();
        a.SetAsInteger(i);
        b.SetAsString(u"row" + IntToStr(i));
    }
    TKwMemoryField& c = table.Fields().Add(dtyDouble);
    EXPECT_EQ(table.RecordSize(), 27);
    for (int i = 0; i < 3; ++i) {
        table.SetRow(i);
        EXPECT_TRUE(c.GetIsNull());
        c.SetAsDouble(i + 0.5);
    }
    table.Fields().Remove(a);
    EXPECT_EQ(table.CurrentBuffer(), nullptr);
    EXPECT_EQ(table.RecordSize(), 18);
    EXPECT_EQ(b.Index(), 0);
    EXPECT_EQ(c.Offset(), 9);
    for (int i = 0; i < 3; ++i) {
        table.SetRow(i);
        EXPECT_EQ(b.GetAsString(), u"row" + IntToStr(i));
        EXPECT_EQ(c.GetAsDouble(), i + 0.5);
    }
}

TEST(MemoryColumnsTest, NewRowsAndOwnedObjects) {
    int alive = 0;
    {
        TKwMemoryTable table;
        TKwMemoryField& number = table.Fields().Add(dtyInteger);
        TKwMemoryField& object = table.Fields().AddObject();
        object.SetOwnsObject(true);
        table.OnNewBuffer = [&](TKwMemoryData&) { number.SetAsInteger(7); };
        table.AppendRow();
        EXPECT_EQ(number.GetAsInteger(), 7);
        object.SetAsObject(std::make_unique<Counted>(alive).release());
        object.SetAsObject(std::make_unique<Counted>(alive).release());
        EXPECT_EQ(alive, 1);  // the replaced one was freed
        EXPECT_THROW(number.GetAsObject(), EKwMemoryDataError);
        EXPECT_THROW(object.GetAsInteger(), EKwMemoryDataError);
        table.AppendRow();
        object.SetAsObject(std::make_unique<Counted>(alive).release());
        table.DeleteRow(0);
        EXPECT_EQ(alive, 1);
    }
    EXPECT_EQ(alive, 0);
}

TEST(MemoryValuesTest, NumericKindsConvert) {
    TKwMemoryTable table;
    TKwMemoryField& cur = table.Fields().Add(dtyCurrency);
    TKwMemoryField& text = table.Fields().Add(dtyString);
    TKwMemoryField& date = table.Fields().Add(dtyDateTime);
    table.AppendRow();
    cur.SetAsDouble(12.3456);
    EXPECT_EQ(cur.GetAsInteger(), 12);
    cur.SetAsInteger(5);
    EXPECT_EQ(cur.GetAsCurrency().scaled, 50000);
    EXPECT_THROW(cur.SetAsInteger(INT64_MAX / 1000), EConvertError);
    EXPECT_EQ(cur.GetAsCurrency().scaled, 50000);

    text.SetAsString(u"");
    EXPECT_FALSE(text.GetIsNull());
    text.SetAsDouble(2.5);
    EXPECT_EQ(text.GetAsString(), u"2.5");
    EXPECT_EQ(text.GetAsCurrency().scaled, 25000);

    date.SetAsString(u"03/04/2021 10:20:30");
    EXPECT_EQ(date.GetAsString(), u"03/04/2021 10:20:30");
    EXPECT_THROW(date.SetAsString(u"not a date"), EConvertError);
    EXPECT_EQ(date.GetAsString(), u"03/04/2021 10:20:30");
    EXPECT_TRUE(date.GetAsVariant().IsDate());
    date.SetAsVariant(Variant::Null());
    EXPECT_TRUE(date.GetIsNull());
    EXPECT_TRUE(date.GetAsVariant().IsNull());
}

TEST(MemoryValuesTest, BlobColumnsHoldStreams) {
    TKwMemoryTable table;
    TKwMemoryField& memo = table.Fields().Add(dtyMemo);
    TKwMemoryField& binary = table.Fields().Add(dtyBinary);
    TKwMemoryField& text = table.Fields().Add(dtyString);
    table.AppendRow();
    memo.SetAsString(u"one\r\ntwo");
    TStringList lines;
    memo.SaveToStrings(lines);
    ASSERT_EQ(lines.Count(), 2);
    EXPECT_EQ(lines.Strings(1), u"two");
    EXPECT_THROW(binary.GetAsString(), EKwMemoryDataError);
    EXPECT_THROW(text.ReadStream(), EKwMemoryDataError);
    EXPECT_EQ(binary.ReadStream(), nullptr);
    const std::uint8_t bytes[] = {0, 1, 2, 255};
    binary.WriteStream().Write(bytes, sizeof bytes);
    EXPECT_EQ(binary.ReadStream()->Size(), 4);
}

TEST(MemoryValuesTest, ValueStreamRoundTripsEveryKindAndNull) {
    TKwMemoryTable table;
    const TKwDataType kinds[] = {dtyInteger,  dtyCurrency, dtyDouble, dtyString,
                                 dtyDateTime, dtyBinary,   dtyMemo};
    for (TKwDataType kind : kinds)
        table.Fields().Add(kind);
    table.Fields().Add(dtyString);  // stays null
    table.AppendRow();
    table.Fields().Field(0).SetAsInteger(-5000000000);
    table.Fields().Field(1).SetAsString(u"-12.3456");
    table.Fields().Field(2).SetAsDouble(0.1);
    table.Fields().Field(3).SetAsString(u"héllo");
    table.Fields().Field(4).SetAsDateTime(EncodeDate(1999, 12, 31));
    const std::uint8_t bytes[] = {9, 8, 7};
    table.Fields().Field(5).WriteStream().Write(bytes, 3);
    table.Fields().Field(6).SetAsString(u"a\r\nb");
    TMemoryStream stream;
    {
        TWriter writer(stream);
        for (int i = 0; i < table.Fields().Count(); ++i)
            table.Fields().Field(i).WriteValue(writer);
    }
    TKwMemoryTable copy(table);
    EXPECT_EQ(copy.RowCount(), 0);  // a copy takes the columns only
    copy.AppendRow();
    copy.Fields().Field(7).SetAsString(u"overwritten by null");
    stream.SetPosition(0);
    TReader reader(stream);
    for (int i = 0; i < copy.Fields().Count(); ++i)
        copy.Fields().Field(i).ReadValue(reader);
    for (int i = 0; i < copy.Fields().Count(); ++i) {
        if (i == 5)
            continue;
        EXPECT_EQ(copy.Fields().Field(i).GetAsString(), table.Fields().Field(i).GetAsString());
    }
    EXPECT_EQ(copy.Fields().Field(5).ReadStream()->Bytes(),
              table.Fields().Field(5).ReadStream()->Bytes());
    EXPECT_TRUE(copy.Fields().Field(7).GetIsNull());
}

TEST(MemoryRetypeTest, ConvertibleValuesStayAndTheRestBecomeNull) {
    TKwMemoryTable table;
    TKwMemoryField& field = table.Fields().Add(dtyString);
    const std::optional<String> texts[] = {u"42", u"12.7", u"abc", std::nullopt, u"-3"};
    for (const auto& text : texts) {
        table.AppendRow();
        if (text)
            field.SetAsString(*text);
    }
    table.FieldChangeType(field, dtyInteger, false);
    const std::optional<std::int64_t> expected[] = {42, 12, std::nullopt, std::nullopt, -3};
    for (int i = 0; i < 5; ++i) {
        table.SetRow(i);
        ASSERT_EQ(field.GetIsNull(), !expected[i]) << i;
        if (expected[i])
            EXPECT_EQ(field.GetAsInteger(), *expected[i]);
    }
    table.FieldChangeType(field, dtyCurrency, false);
    table.SetRow(0);
    EXPECT_EQ(field.GetAsCurrency().scaled, 420000);
    table.FieldChangeType(field, dtyMemo, false);
    EXPECT_EQ(field.GetAsString(), u"42\r\n");
    table.FieldChangeType(field, dtyInteger, true);
    EXPECT_TRUE(field.GetIsNull());
    EXPECT_EQ(field.GetAsObject(), nullptr);
}

// Rows of (integer or null, text or null) sorted by the store and by std::stable_sort of
// tuples must come out in the same order, directions and ties included.
TEST(MemorySortTest, MatchesStableSortOnRandomRowsWithDuplicatesAndNulls) {
    using Row = std::tuple<std::optional<std::int64_t>, std::optional<String>, int>;
    std::mt19937 random(23);
    for (int round = 0; round < 4; ++round) {
        const bool descInt = round & 1, descText = round & 2;
        TKwMemoryTable table;
        TKwMemoryField& number = table.Fields().Add(dtyInteger);
        TKwMemoryField& text = table.Fields().Add(dtyString);
        TKwMemoryField& seq = table.Fields().Add(dtyInteger);
        std::vector<Row> expected;
        for (int i = 0; i < 500; ++i) {
            Row row{std::nullopt, std::nullopt, i};
            if (random() % 5)
                std::get<0>(row) = static_cast<std::int64_t>(random() % 7) - 3;
            if (random() % 5)
                std::get<1>(row) = String(1 + random() % 2, static_cast<Char>(u'a' + random() % 3));
            table.AppendRow();
            if (std::get<0>(row))
                number.SetAsInteger(*std::get<0>(row));
            if (std::get<1>(row))
                text.SetAsString(*std::get<1>(row));
            seq.SetAsInteger(i);
            expected.push_back(row);
        }
        auto order = [](const auto& a, const auto& b, bool desc) {
            if (!a || !b)
                return !a && b ? -1 : (a && !b ? 1 : 0);
            const int c = *a < *b ? -1 : (*b < *a ? 1 : 0);
            return desc ? -c : c;
        };
        std::stable_sort(expected.begin(), expected.end(), [&](const Row& a, const Row& b) {
            const int c = order(std::get<0>(a), std::get<0>(b), descInt);
            return (c ? c : order(std::get<1>(a), std::get<1>(b), descText)) < 0;
        });
        table.Sort(table.Rows(), {{&number, descInt}, {&text, descText}});
        for (int i = 0; i < 500; ++i) {
            table.SetRow(i);
            ASSERT_EQ(seq.GetAsInteger(), std::get<2>(expected[i])) << "round " << round;
        }
    }
}

TEST(MemorySortTest, TextIgnoresCaseAndTreesSortEveryLevel) {
    TKwMemoryTable table;
    TKwMemoryField& text = table.Fields().Add(dtyString);
    for (const Char* value : {u"b", u"A", u"a", u"B"}) {
        table.AppendRow();
        text.SetAsString(value);
    }
    std::vector<TKwMemoryNode> nodes(4);
    for (int i = 0; i < 4; ++i)
        nodes[i].buffer = table.Row(i);
    nodes[0].children = {&nodes[3], &nodes[2]};
    std::vector<TKwMemoryNode*> top = {&nodes[0], &nodes[1]};
    table.SortTree(top, {{&text, false}});
    EXPECT_EQ(top[0], &nodes[1]);
    EXPECT_EQ(nodes[0].children[0], &nodes[2]);
    EXPECT_EQ(TKwMemoryData::CompareRows({{&text, false}}, table.Row(1), table.Row(2)), 0);
    TKwMemoryField& object = table.Fields().AddObject();
    EXPECT_THROW(table.Sort(table.Rows(), {{&object, false}}), EKwMemoryDataError);
}

}  // namespace
}  // namespace kw
