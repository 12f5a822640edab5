#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/data/blob_stream.h"
#include "platform/data/data_link.h"
#include "platform/data/memory_dataset.h"

namespace kw {
namespace {

class FieldLinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        data = std::make_unique<TMemoryDataSet>();
        data->AddFieldDef(u"Name", TFieldType::ftString);
        data->AddFieldDef(u"Rights", TFieldType::ftBlob);
        data->Open();
        data->AppendRecord({u"ann"});
        data->AppendRecord({u"bob"});
        source = std::make_unique<TDataSource>();
        source->SetDataSet(data.get());
        link.OnDataChange = [this](TFieldDataLink& l) {
            seen.push_back(l.Field() != nullptr ? l.Field()->AsString() : u"<none>");
        };
        link.OnEditingChange = [this](TFieldDataLink& l) {
            seen.push_back(l.FieldEditing() ? u"<editing>" : u"<browsing>");
        };
        link.SetFieldName(u"Name");
        link.SetDataSource(source.get());
        seen.clear();
    }

    std::unique_ptr<TMemoryDataSet> data;
    std::unique_ptr<TDataSource> source;
    TFieldDataLink link;
    std::vector<String> seen;
};

TEST_F(FieldLinkTest, FollowsTheFieldThroughScrollsEditsAndPosts) {
    ASSERT_EQ(link.Field(), &data->FieldByName(u"Name"));
    data->First();
    data->Edit();
    data->FieldByName(u"Rights").SetAsBytes({1});  // another field: not this link's business
    data->FieldByName(u"Name").SetAsString(u"al");
    data->Post();
    EXPECT_EQ(seen,
              (std::vector<String>{u"ann", u"<editing>", u"ann", u"al", u"<browsing>", u"al"}));
}

TEST_F(FieldLinkTest, UpdateDataRunsOnlyForModifiedValuesWithoutEcho) {
    int updates = 0;
    link.OnUpdateData = [&](TFieldDataLink& l) {
        ++updates;
        l.Field()->SetAsString(u"from control");
    };
    data->Edit();
    data->Post();
    EXPECT_EQ(updates, 0);
    ASSERT_TRUE(link.Edit());
    link.Modified();
    seen.clear();
    data->Post();
    EXPECT_EQ(updates, 1);
    EXPECT_FALSE(link.IsModified());
    EXPECT_EQ(data->FieldByName(u"Name").AsString(), u"from control");
    EXPECT_EQ(seen.front(), u"<browsing>") << "the value it wrote is not echoed back to it";
}

TEST_F(FieldLinkTest, ADisabledSourceMakesItsLinksInactive) {
    int stateChanges = 0;
    source->OnStateChange = [&](TDataSource&) { ++stateChanges; };
    source->SetEnabled(false);
    EXPECT_FALSE(link.Active());
    EXPECT_EQ(link.Field(), nullptr);
    EXPECT_EQ(source->State(), TDataSetState::dsInactive);
    data->Next();
    EXPECT_EQ(seen, (std::vector<String>{u"<none>"}));
    source->SetEnabled(true);
    EXPECT_TRUE(link.Active());
    EXPECT_EQ(stateChanges, 2);
}

TEST_F(FieldLinkTest, AutoEditDecidesWhetherALinkMayStartAnEdit) {
    source->SetAutoEdit(false);
    EXPECT_FALSE(link.Edit());
    source->SetAutoEdit(true);
    link.SetReadOnly(true);
    EXPECT_FALSE(link.Edit());
    link.SetReadOnly(false);
    EXPECT_TRUE(link.Edit());
    EXPECT_EQ(data->State(), TDataSetState::dsEdit);
}

TEST_F(FieldLinkTest, AnUnknownFieldNameIsReportedWhenTheLinkActivates) {
    TFieldDataLink other;
    other.SetFieldName(u"Missing");
    EXPECT_THROW(other.SetDataSource(source.get()), EDatabaseError);
}

TEST_F(FieldLinkTest, FreeingTheDataSourceClearsItsLinks) {
    source.reset();
    EXPECT_EQ(link.DataSource(), nullptr);
    EXPECT_EQ(link.Field(), nullptr);
    EXPECT_FALSE(link.Active());
    EXPECT_EQ(seen, (std::vector<String>{u"<none>"}));
    data->Next();  // the dataset no longer knows the freed source
}

TEST_F(FieldLinkTest, FreeingTheDatasetLeavesTheSourceEmpty) {
    data.reset();
    EXPECT_EQ(source->DataSet(), nullptr);
    EXPECT_FALSE(link.Active());
    EXPECT_EQ(link.Field(), nullptr);
}

TEST_F(FieldLinkTest, AFreedLinkLeavesItsSource) {
    auto transient = std::make_unique<TFieldDataLink>();
    transient->SetFieldName(u"Name");
    transient->SetDataSource(source.get());
    transient.reset();
    data->Next();  // would reach the freed link if it were still listed
    EXPECT_EQ(seen, (std::vector<String>{u"bob"}));
}

TEST_F(FieldLinkTest, SourceEventsReportFieldAndRecordChanges) {
    std::vector<TField*> changes;
    int updates = 0;
    source->OnDataChange = [&](TDataSource&, TField* field) { changes.push_back(field); };
    source->OnUpdateData = [&](TDataSource&) { ++updates; };
    data->Edit();
    data->FieldByName(u"Rights").SetAsBytes({2});
    data->Post();
    EXPECT_EQ(changes, (std::vector<TField*>{nullptr, &data->FieldByName(u"Rights"), nullptr}));
    EXPECT_EQ(updates, 1);
}

}  // namespace
}  // namespace kw
