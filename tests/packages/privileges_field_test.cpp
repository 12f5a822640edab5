#include "platform/data/data_link.h"
#include "platform/data/sqlite_connection.h"
#include "platform/data/sqlite_dataset.h"
#include "platform/ui/form.h"
#include "privileges_fixture.h"

namespace kw {
namespace {

// Two users in an in-memory database, each with the rights of a form package in a blob.
class PrivilegesFieldTest : public PrivilegesTest {
protected:
    void SetUp() override {
        PrivilegesTest::SetUp();
        connection.SetDatabaseName(u":memory:");
        connection.Open();
        connection.ExecSQL(
            u"CREATE TABLE users (id INTEGER PRIMARY KEY, name TEXT, rights BLOB);"
            u"INSERT INTO users (name) VALUES ('ann'), ('bob')");
        data.SetConnection(&connection);
        data.SetSQL(u"SELECT * FROM users ORDER BY id");
        data.Open();
        source.SetDataSet(&data);

        TKwPkgPrivileges& app = StartTree();
        form = std::make_unique<TForm>();
        user = &Create<TKwPkgPrivileges>(*form);
        user->SetParentComponent(form.get());
    }
    void TearDown() override {
        form.reset();
        data.Close();
        connection.Close();
        PrivilegesTest::TearDown();
    }
    void Link(const String& field) {
        user->SetDataSource(&source);
        user->SetDataField(field);
    }
    void SaveRecord(const std::function<void()>& change) {
        data.Edit();
        change();
        data.Post();
    }

    TSQLiteConnection connection;
    TSQLiteDataSet data;
    TDataSource source;
    std::unique_ptr<TForm> form;
    TKwPkgPrivileges* user = nullptr;
};

TEST_F(PrivilegesFieldTest, RightsFollowTheUserRecord) {
    Link(u"rights");
    ASSERT_EQ(user->Count(), 5);
    EXPECT_EQ(user->ReadAccess(10, accReadWrite), accNone) << "an empty blob grants nothing";

    data.First();
    SaveRecord([&] {
        user->WriteAccess(10, accReadWrite);
        user->WriteAccess(11, accRead);
    });
    data.Next();
    EXPECT_EQ(user->ReadAccess(10, accReadWrite), accNone);
    SaveRecord([&] { user->WriteAccess(20, accReadWrite); });

    data.First();
    EXPECT_EQ(user->ReadAccess(10, accNone), accReadWrite);
    EXPECT_EQ(user->ReadAccess(11, accNone), accRead);
    EXPECT_EQ(user->ReadAccess(20, accReadWrite), accNone);
    data.Next();
    EXPECT_EQ(user->ReadAccess(20, accNone), accReadWrite);
    EXPECT_EQ(user->ReadAccess(10, accReadWrite), accNone);

    // The blob is an access stream written without a file name.
    data.First();
    TKwPkgPrivileges reader(nullptr);
    reader.Assign(user);
    reader.LoadFromField(&data.FieldByName(u"rights"));
    EXPECT_EQ(reader.ReadAccess(11, accNone), accRead);
    EXPECT_GT(data.FieldByName(u"rights").AsBytes().size(), 34u);

    // The rows survive a reopen of the dataset.
    data.Close();
    data.Open();
    EXPECT_EQ(user->ReadAccess(11, accNone), accRead);
}

TEST_F(PrivilegesFieldTest, VisiblesCanBeKeptInsteadOfAccess) {
    user->SetInfoType(pitVisibles);
    Link(u"rights");
    EXPECT_FALSE(user->FindId(10)->Visible()) << "an empty blob shows nothing";
    SaveRecord([&] { user->FindId(12)->SetVisible(true); });
    data.Next();
    EXPECT_FALSE(user->FindId(12)->Visible());
    data.First();
    EXPECT_TRUE(user->FindId(12)->Visible());
    EXPECT_TRUE(user->FindId(10)->Visible());
    EXPECT_FALSE(user->FindId(21)->Visible());
}

TEST_F(PrivilegesFieldTest, ReloadsReportASimpleRebuild) {
    Link(u"rights");
    std::vector<TKwOperation> ops;
    user->OnPrivilegesChanged = [&](TKwPkgPrivileges&, TKwPkgPrivilegesItem*, TKwOperation op) {
        ops.push_back(op);
    };
    data.Next();
    EXPECT_EQ(ops, std::vector<TKwOperation>{TKwOperation::opeRebuildSimple});
}

TEST_F(PrivilegesFieldTest, AFieldThatIsNotBinaryRaisesMessageOne) {
    user->SetDataSource(&source);
    EXPECT_EQ(MessageIdOf([&] { user->SetDataField(u"name"); }), 1);
    EXPECT_FALSE(user->FieldChange());
}

TEST_F(PrivilegesFieldTest, TheApplicationRightsReachFormPackagesWithoutAField) {
    KwAppPrivileges()->WriteAccess(21, accRead);
    EXPECT_EQ(user->ReadAccess(21, accNone), accRead);
    KwAppPrivileges()->Add(50);
    EXPECT_NE(user->FindId(50), nullptr);
}

}  // namespace
}  // namespace kw
