#include "data/memory_dataset_bridge.h"

#include <gtest/gtest.h>

#include "platform/core/stream.h"
#include "platform/data/memory_dataset.h"
#include "platform/data/sqlite_dataset.h"

namespace kw {
namespace {

using enum TKwDataType;

TEST(MemoryBridgeTest, LoadsSortsAndWritesBackAMemoryDataSet) {
    TMemoryDataSet data;
    data.AddFieldDef(u"id", TFieldType::ftInteger);
    data.AddFieldDef(u"name", TFieldType::ftString);
    data.AddFieldDef(u"price", TFieldType::ftCurrency);
    data.AddFieldDef(u"notes", TFieldType::ftMemo);
    data.Open();
    data.AppendRecord({3, u"cherry", Currency::FromScaled(15000), u"line 1\nline 2"});
    data.AppendRecord({1, u"apple", Variant::Null(), Variant::Null()});
    data.AppendRecord({2, u"banana", Currency::FromScaled(5000), u"x"});

    TKwMemoryTable table;
    table.Fields().Add(dtyDouble);  // replaced by the dataset's columns
    KwLoadMemoryTable(table, data);
    ASSERT_EQ(table.Fields().Count(), 4);
    ASSERT_EQ(table.RowCount(), 3);
    EXPECT_EQ(table.Fields().Field(2).DataType(), dtyCurrency);
    table.SetRow(1);
    EXPECT_TRUE(table.Fields().Field(2).GetIsNull());

    table.Sort(table.Rows(), {{&table.Fields().Field(0), false}});
    table.DeleteRow(0);  // apple goes
    KwSaveMemoryTable(table, data);
    ASSERT_EQ(data.RecordCount(), 2);
    data.First();
    EXPECT_EQ(data.Fields()[1].AsString(), u"banana");
    data.Next();
    EXPECT_EQ(data.Fields()[1].AsString(), u"cherry");
    EXPECT_EQ(data.Fields()[2].AsCurrency().scaled, 15000);
    EXPECT_EQ(data.Fields()[3].AsString(), u"line 1\nline 2");  // memo bytes unchanged

    TKwMemoryTable other;
    other.Fields().Add(dtyString);
    EXPECT_THROW(KwSaveMemoryTable(other, data), EKwMemoryDataError);
}

TEST(MemoryBridgeTest, RoundTripsASQLiteTable) {
    TSQLiteConnection connection;
    connection.SetDatabaseName(u":memory:");
    connection.Open();
    connection.ExecSQL(
        u"CREATE TABLE t (id INTEGER PRIMARY KEY, born DATETIME, score REAL, photo BLOB);"
        u"INSERT INTO t (born, score, photo) VALUES ('2001-02-03 04:05:06', 1.5, x'00ff'),"
        u" (NULL, NULL, NULL)");
    TSQLiteDataSet data;
    data.SetConnection(&connection);
    data.SetSQL(u"SELECT id, born, score, photo FROM t ORDER BY id");
    data.Open();

    TKwMemoryTable table;
    KwLoadMemoryTable(table, data);
    ASSERT_EQ(table.RowCount(), 2);
    table.SetRow(0);
    EXPECT_EQ(table.Fields().Field(1).GetAsString(), u"02/03/2001 04:05:06");
    EXPECT_EQ(table.Fields().Field(3).ReadStream()->Size(), 2);
    table.Fields().Field(2).SetAsDouble(9.25);
    table.SetRow(1);
    EXPECT_TRUE(table.Fields().Field(1).GetIsNull());
    table.Fields().Field(2).SetAsInteger(4);
    KwSaveMemoryTable(table, data);

    data.Close();
    data.Open();
    EXPECT_EQ(data.Fields()[2].AsFloat(), 9.25);
    EXPECT_EQ(data.Fields()[3].AsBytes(), (TBytes{0x00, 0xff}));
    data.Next();
    EXPECT_EQ(data.Fields()[2].AsFloat(), 4.0);
    EXPECT_TRUE(data.Fields()[1].IsNull());
}

}  // namespace
}  // namespace kw
