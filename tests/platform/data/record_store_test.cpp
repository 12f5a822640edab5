#include <gtest/gtest.h>

#include <string>

#include "platform/data/record_store.h"

namespace kw {
namespace {

TPackedRow Encode(TRowEncoder& encoder, const TRecordCells& cells) {
    encoder.Begin(static_cast<int>(cells.size()));
    for (const TRecordCell& cell : cells)
        encoder.AddView(cell.View());
    return encoder.Finish();
}

TEST(RecordStore, EveryKindReadsBackAfterValuesOfOddLength) {
    const TRecordCells cells{
        TRecordCell::Bytes({1, 2, 3}), TRecordCell::Text(u"Grüße ☃"), TRecordCell(),
        TRecordCell::Integer(-5),      TRecordCell::Float(2.5),       TRecordCell::Utf8("x")};
    TRecordStore store;
    store.SetColumnCount(static_cast<int>(cells.size()));
    TRowEncoder encoder;
    store.Append(Encode(encoder, cells));
    for (int column = 0; column < store.ColumnCount(); ++column) {
        const TCellView stored = store.Cell(0, column);
        const TCellView original = cells[static_cast<std::size_t>(column)].View();
        EXPECT_EQ(stored.kind, original.kind) << column;
        EXPECT_EQ(stored.integer, original.integer) << column;
        EXPECT_EQ(stored.number, original.number) << column;
        EXPECT_EQ(stored.Utf8(), original.Utf8()) << column;
    }
    EXPECT_EQ(store.Cell(0, 1).Utf8(), "Grüße ☃");
}

TEST(RecordStore, IdsFollowRowsThroughReplaceEraseAndReload) {
    TRecordStore store;
    store.SetColumnCount(1);
    TRowEncoder encoder;
    for (int i = 0; i < 3; ++i)
        store.Append(Encode(encoder, {TRecordCell::Integer(i)}));
    const std::uint64_t last = store.RowId(2);
    const std::string big(100000, 'b');  // above the size kept in shared blocks
    store.Replace(2, Encode(encoder, {TRecordCell::Utf8(big)}));
    store.Replace(2, Encode(encoder, {TRecordCell::Integer(7)}));
    EXPECT_EQ(store.RowId(2), last);
    EXPECT_EQ(store.Cell(2, 0).integer, 7);
    store.Erase(0);
    EXPECT_EQ(store.IndexOfId(last), 1);

    TRecordStore fresh;
    fresh.SetColumnCount(1);
    fresh.Append(Encode(encoder, {TRecordCell::Utf8(big)}));
    store.TakeRows(std::move(fresh));
    EXPECT_EQ(store.Count(), 1);
    EXPECT_EQ(store.IndexOfId(last), -1) << "reloaded rows never reuse an id";
    EXPECT_EQ(store.Cell(0, 0).size, big.size());
}

}  // namespace
}  // namespace kw
