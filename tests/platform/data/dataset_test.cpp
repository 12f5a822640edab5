#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/data/blob_stream.h"
#include "platform/data/data_link.h"
#include "platform/data/memory_dataset.h"
#include "platform/text/strings.h"
#include "platform/text/unicode.h"

namespace kw {
namespace {

// Writes down what a data link hears, in order.
class RecordingLink : public TDataLink {
public:
    std::vector<std::string> log;

protected:
    void ActiveChanged() override { log.push_back(Active() ? "active" : "inactive"); }
    void EditingChanged() override { log.push_back(Editing() ? "editing" : "not editing"); }
    void DataSetChanged() override { log.push_back("changed"); }
    void DataSetScrolled(int distance) override {
        log.push_back("scrolled " + std::to_string(distance));
    }
    void RecordChanged(TField* field) override {
        log.push_back(field != nullptr ? "field " + StringToUtf8(field->FieldName()) : "record");
    }
    void UpdateData() override { log.push_back("update"); }
};

class DataSetTest : public ::testing::Test {
protected:
    void SetUp() override {
        data.AddFieldDef(u"Id", TFieldType::ftInteger);
        data.AddFieldDef(u"Name", TFieldType::ftString);
        data.AddFieldDef(u"Price", TFieldType::ftCurrency);
        data.AddFieldDef(u"Data", TFieldType::ftBlob);
        data.Open();
        for (int id = 1; id <= 3; ++id)
            data.AppendRecord({id, u"n" + IntToStr(id)});
        data.First();
    }
    int Id() const { return data.FieldByName(u"Id").AsInteger(); }
    std::vector<int> Ids() {
        std::vector<int> ids;
        for (data.First(); !data.Eof(); data.Next())
            ids.push_back(Id());
        return ids;
    }
    void Watch() {
        source.SetDataSet(&data);
        link.SetDataSource(&source);
        link.log.clear();
    }

    TMemoryDataSet data;
    TDataSource source;
    RecordingLink link;
};

TEST_F(DataSetTest, BofAndEofFollowTheNavigationRules) {
    EXPECT_TRUE(data.Bof());
    EXPECT_FALSE(data.Eof());
    data.Next();
    EXPECT_FALSE(data.Bof());
    data.Prior();
    EXPECT_FALSE(data.Bof()) << "moved back onto the first record, not past it";
    EXPECT_EQ(data.MoveBy(-1), 0);
    EXPECT_TRUE(data.Bof());
    EXPECT_EQ(data.MoveBy(5), 2);
    EXPECT_TRUE(data.Eof());
    EXPECT_EQ(data.RecNo(), 3);
    EXPECT_EQ(data.MoveBy(1), 0);
    data.Prior();
    EXPECT_FALSE(data.Eof());
    EXPECT_EQ(Id(), 2);
    data.Last();
    EXPECT_TRUE(data.Eof());
    EXPECT_EQ(Ids(), (std::vector<int>{1, 2, 3}));

    TMemoryDataSet empty;
    empty.AddFieldDef(u"X", TFieldType::ftInteger);
    empty.Open();
    EXPECT_TRUE(empty.Bof() && empty.Eof() && empty.IsEmpty());
    empty.AppendRecord({7});
    empty.First();
    empty.Next();
    EXPECT_TRUE(empty.Eof());
    EXPECT_FALSE(empty.Bof());
}

TEST_F(DataSetTest, EditInsertAppendCancelAndPost) {
    data.Next();
    data.Edit();
    EXPECT_EQ(data.State(), TDataSetState::dsEdit);
    EXPECT_FALSE(data.Modified());
    data.FieldByName(u"Name").SetAsString(u"changed");
    EXPECT_TRUE(data.Modified());
    data.Cancel();
    EXPECT_EQ(data.FieldByName(u"Name").AsString(), u"n2");

    data.Insert();
    EXPECT_EQ(data.RecNo(), 0);
    data.FieldByName(u"Id").SetAsInteger(9);
    data.Post();
    EXPECT_EQ(data.RecNo(), 2);
    data.Append();
    data.FieldByName(u"Id").SetAsInteger(10);
    data.Next();  // moving posts a modified record
    EXPECT_EQ(Ids(), (std::vector<int>{1, 9, 2, 3, 10}));

    data.Insert();
    data.First();  // an unmodified insert is dropped
    EXPECT_EQ(data.RecordCount(), 5);

    TMemoryDataSet empty;
    empty.AddFieldDef(u"X", TFieldType::ftInteger);
    empty.Open();
    empty.Edit();
    EXPECT_EQ(empty.State(), TDataSetState::dsInsert);
}

TEST_F(DataSetTest, DeleteMovesToTheNextRecordOrTheNewLast) {
    data.Next();
    data.Delete();
    EXPECT_EQ(Id(), 3);
    data.Delete();
    EXPECT_EQ(Id(), 1);
    data.Insert();
    data.Delete();  // cancels the insert
    EXPECT_EQ(data.RecordCount(), 1);
    data.Delete();
    EXPECT_TRUE(data.Bof() && data.Eof());
    EXPECT_THROW(data.Delete(), EDatabaseError);
}

TEST_F(DataSetTest, ReadOnlyDatasetsAndFieldsRefuseChanges) {
    EXPECT_THROW(data.FieldByName(u"Name").SetAsString(u"x"), EDatabaseError);
    data.FieldByName(u"Id").SetReadOnly(true);
    data.Edit();
    EXPECT_THROW(data.FieldByName(u"Id").SetAsInteger(5), EDatabaseError);
    data.Cancel();
    data.SetReadOnly(true);
    EXPECT_FALSE(data.CanModify());
    EXPECT_THROW(data.Edit(), EDatabaseError);
    EXPECT_THROW(data.Append(), EDatabaseError);
    EXPECT_THROW(data.Delete(), EDatabaseError);
    EXPECT_EQ(data.RecordCount(), 3);
}

TEST_F(DataSetTest, BookmarksSurviveChangesAroundTheirRecord) {
    data.Last();
    const TBookmark third = data.GetBookmark();
    data.First();
    const TBookmark first = data.GetBookmark();
    data.Insert();
    data.FieldByName(u"Id").SetAsInteger(0);
    data.Post();
    data.GotoBookmark(third);
    EXPECT_EQ(Id(), 3);
    data.GotoBookmark(first);
    data.Delete();
    EXPECT_FALSE(data.BookmarkValid(first));
    EXPECT_THROW(data.GotoBookmark(first), EDatabaseError);
    EXPECT_TRUE(data.BookmarkValid(third));
}

TEST_F(DataSetTest, AFailedPostKeepsTheRecordBeingEdited) {
    data.BeforePost = [](TDataSet&) { throw EDatabaseError(u"refused"); };
    data.Append();
    data.FieldByName(u"Name").SetAsString(u"kept");
    EXPECT_THROW(data.Post(), EDatabaseError);
    EXPECT_EQ(data.State(), TDataSetState::dsInsert);
    EXPECT_EQ(data.FieldByName(u"Name").AsString(), u"kept");
    data.BeforePost = nullptr;
    data.FieldByName(u"Id").SetRequired(true);
    EXPECT_THROW(data.Post(), EDatabaseError);
    data.FieldByName(u"Id").SetAsInteger(4);
    data.Post();
    EXPECT_EQ(data.RecordCount(), 4);
}

TEST_F(DataSetTest, DataEventsFollowEveryOperationInOrder) {
    Watch();
    data.Next();
    data.Last();
    data.Next();  // already at EOF: nothing to tell
    data.Edit();
    data.FieldByName(u"Name").SetAsString(u"x");
    data.Post();
    EXPECT_EQ(link.log,
              (std::vector<std::string>{"scrolled 1", "changed", "editing", "record", "field Name",
                                        "update", "not editing", "changed"}));
    link.log.clear();
    data.Insert();
    data.Cancel();
    data.Delete();
    data.Refresh();
    data.Close();
    EXPECT_EQ(link.log, (std::vector<std::string>{"editing", "changed", "not editing", "changed",
                                                  "changed", "changed", "inactive"}));

    std::vector<std::string> events;
    auto note = [&](const char* name) {
        return [&events, name](TDataSet&) { events.push_back(name); };
    };
    data.BeforeOpen = note("BeforeOpen");
    data.AfterOpen = note("AfterOpen");
    data.BeforeScroll = note("BeforeScroll");
    data.AfterScroll = note("AfterScroll");
    data.BeforePost = note("BeforePost");
    data.AfterPost = note("AfterPost");
    data.OnNewRecord = note("OnNewRecord");
    data.Open();
    data.Append();
    data.FieldByName(u"Id").SetAsInteger(1);
    data.Post();
    EXPECT_EQ(events,
              (std::vector<std::string>{"BeforeOpen", "AfterOpen", "AfterScroll", "BeforeScroll",
                                        "OnNewRecord", "AfterScroll", "BeforePost", "AfterPost"}));
}

TEST_F(DataSetTest, DisabledControlsHearOneChangeWhenEnabledAgain) {
    Watch();
    data.DisableControls();
    data.Next();
    data.Edit();
    data.Cancel();
    EXPECT_TRUE(link.log.empty());
    data.EnableControls();
    EXPECT_EQ(link.log, (std::vector<std::string>{"changed"}));
}

TEST_F(DataSetTest, KeySearchAndLocate) {
    data.SetKey();
    data.FieldByName(u"Name").SetAsString(u"n2");
    EXPECT_TRUE(data.GotoKey());
    EXPECT_EQ(Id(), 2);
    data.SetKey();
    data.FieldByName(u"Id").SetAsInteger(42);
    EXPECT_FALSE(data.GotoKey());
    EXPECT_EQ(data.State(), TDataSetState::dsBrowse);
    EXPECT_TRUE(data.Locate(u"id", 3));
    EXPECT_EQ(data.RecNo(), 3);
    EXPECT_FALSE(data.Locate(u"Name", u"none"));
}

TEST_F(DataSetTest, FieldsConvertBetweenValueKinds) {
    TField& id = data.FieldByName(u"Id");
    TField& price = data.FieldByName(u"Price");
    TField& blob = data.FieldByName(u"Data");
    EXPECT_TRUE(price.IsNull());
    EXPECT_EQ(price.AsLargeInt(), 0);
    EXPECT_EQ(price.AsString(), u"");
    data.Edit();
    price.SetAsString(u"12.3456");
    EXPECT_EQ(price.AsCurrency().scaled, 123456);
    EXPECT_EQ(price.AsLargeInt(), 12);
    EXPECT_EQ(price.Value().VarType(), varCurrency);
    id.SetValue(u"17");
    EXPECT_EQ(id.AsLargeInt(), 17);
    EXPECT_ANY_THROW(id.SetAsString(u"abc"));
    EXPECT_EQ(id.AsLargeInt(), 17);
    id.SetValue(Variant::Null());
    EXPECT_TRUE(id.IsNull());
    blob.SetAsBytes({1, 2, 3});
    EXPECT_THROW(blob.Value(), EDatabaseError);
    EXPECT_THROW(blob.AsString(), EDatabaseError);
    EXPECT_EQ(blob.AsBytes(), (TBytes{1, 2, 3}));
    data.Post();
    EXPECT_EQ(price.AsCurrency().scaled, 123456);
    EXPECT_EQ(blob.AsBytes(), (TBytes{1, 2, 3}));
}

TEST_F(DataSetTest, BlobStreamsReadAndWriteTheFieldValue) {
    TField& blob = data.FieldByName(u"Data");
    EXPECT_THROW(data.CreateBlobStream(blob, TBlobStreamMode::bmWrite), EDatabaseError);
    EXPECT_THROW(data.CreateBlobStream(data.FieldByName(u"Id"), TBlobStreamMode::bmRead),
                 EDatabaseError);
    data.Edit();
    {
        auto stream = data.CreateBlobStream(blob, TBlobStreamMode::bmWrite);
        stream->WriteBuffer("abcdef", 6);
    }
    {
        auto stream = data.CreateBlobStream(blob, TBlobStreamMode::bmReadWrite);
        stream->Seek(0, TSeekOrigin::soEnd);
        stream->WriteBuffer("g", 1);
    }
    data.Post();
    auto reader = data.CreateBlobStream(blob, TBlobStreamMode::bmRead);
    std::string text(7, '\0');
    reader->ReadBuffer(text.data(), 7);
    EXPECT_EQ(text, "abcdefg");
    EXPECT_THROW(reader->WriteBuffer("x", 1), EStreamError);

    data.Edit();
    auto late = data.CreateBlobStream(blob, TBlobStreamMode::bmWrite);
    data.Cancel();
    late->WriteBuffer("zz", 2);
    late.reset();  // the edit it belonged to is over: dropped
    EXPECT_EQ(blob.AsBytes().size(), 7u);
}

TEST(MemoryDataSet, ClosingWithAPendingEditCancelsIt) {
    TMemoryDataSet data;
    data.AddFieldDef(u"X", TFieldType::ftInteger);
    data.Open();
    EXPECT_THROW(data.AddFieldDef(u"Y", TFieldType::ftString), EDatabaseError);
    data.Append();
    data.Fields()[0].SetAsInteger(1);
    data.Close();
    EXPECT_EQ(data.State(), TDataSetState::dsInactive);
    EXPECT_EQ(data.FieldCount(), 0);
    EXPECT_THROW(data.Next(), EDatabaseError);
    data.Open();
    EXPECT_TRUE(data.IsEmpty());
}

}  // namespace
}  // namespace kw
