#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <random>
#include <string>

#include "platform/data/blob_stream.h"
#include "platform/data/sqlite_dataset.h"
#include "platform/text/unicode.h"

namespace kw {
namespace {

// A raw second connection to the same file, as another program would have.
class RawConnection {
public:
    explicit RawConnection(const std::string& path) {
        sqlite3_open(path.c_str(), &db_);
        sqlite3_busy_timeout(db_, 5000);
    }
    ~RawConnection() { sqlite3_close(db_); }
    int Exec(const char* sql) { return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr); }
    // The first column of the first row as text, "<none>" without a row.
    std::string Query(const char* sql) {
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(db_, sql, -1, &statement, nullptr);
        std::string result = "<none>";
        if (sqlite3_step(statement) == SQLITE_ROW) {
            const auto* text = sqlite3_column_text(statement, 0);
            result = text != nullptr ? reinterpret_cast<const char*>(text) : "<null>";
        }
        sqlite3_finalize(statement);
        return result;
    }

private:
    sqlite3* db_ = nullptr;
};

class SQLiteDataSetTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir =
            std::filesystem::temp_directory_path() / ("kw_sqlite_" + std::to_string(getpid()) +
                                                      "_" + std::to_string(std::random_device()()));
        std::filesystem::create_directories(dir);
        path = (dir / "test.db").string();
        connection.SetDatabaseName(Utf8ToString(path));
        connection.Open();
        connection.ExecSQL(
            u"CREATE TABLE people (id INTEGER PRIMARY KEY, name VARCHAR(40) UNIQUE NOT NULL,"
            u" salary CURRENCY, born DATETIME, score REAL, photo BLOB, notes MEMO,"
            u" status TEXT DEFAULT 'new');"
            u"INSERT INTO people (name, salary, born, score) VALUES"
            u" ('ann', 1234.5678, '1990-05-17 08:30:00', 1.5), ('bob', 10, NULL, 2.5)");
        data.SetConnection(&connection);
        data.SetSQL(u"SELECT * FROM people ORDER BY id");
        data.Open();
    }
    void TearDown() override {
        data.Close();
        connection.Close();
        std::filesystem::remove_all(dir);
    }
    TField& F(const char16_t* name) { return data.FieldByName(name); }

    std::filesystem::path dir;
    std::string path;
    TSQLiteConnection connection;
    TSQLiteDataSet data;
};

TEST_F(SQLiteDataSetTest, ColumnTypesMapOntoFieldTypes) {
    const std::vector<TFieldType> expected{
        TFieldType::ftInteger, TFieldType::ftString, TFieldType::ftCurrency, TFieldType::ftDateTime,
        TFieldType::ftFloat,   TFieldType::ftBlob,   TFieldType::ftMemo,     TFieldType::ftString};
    ASSERT_EQ(data.FieldCount(), static_cast<int>(expected.size()));
    for (int i = 0; i < data.FieldCount(); ++i)
        EXPECT_EQ(data.Fields()[i].DataType(), expected[static_cast<std::size_t>(i)]) << i;
    EXPECT_EQ(F(u"salary").AsCurrency().scaled, 12345678);
    EXPECT_DOUBLE_EQ(F(u"born").AsDateTime(), EncodeDate(1990, 5, 17) + EncodeTime(8, 30, 0, 0));
    EXPECT_EQ(data.KeyFields(), std::vector<String>{u"id"});
    EXPECT_TRUE(data.CanModify());

    TSQLiteDataSet summary;
    summary.SetConnection(&connection);
    summary.SetSQL(u"SELECT count(*) AS n, max(name) AS top FROM people");
    summary.Open();
    EXPECT_EQ(summary.FieldByName(u"n").DataType(), TFieldType::ftInteger);
    EXPECT_EQ(summary.FieldByName(u"top").AsString(), u"bob");
    EXPECT_FALSE(summary.CanModify()) << "expressions have no table to write to";
}

TEST_F(SQLiteDataSetTest, PostsInsertsAndDeletesReachTheFile) {
    RawConnection other(path);
    data.Edit();
    F(u"name").SetAsString(u"Grüße ☃");
    F(u"born").SetAsDateTime(EncodeDate(2001, 2, 3) + EncodeTime(4, 5, 6, 789));
    data.Post();
    EXPECT_EQ(other.Query("SELECT name || '|' || born FROM people WHERE id = 1"),
              "Grüße ☃|2001-02-03 04:05:06.789");

    data.Append();
    F(u"name").SetAsString(u"it's \"quoted\"');DROP TABLE people;--");
    F(u"salary").SetAsString(u"-0.25");
    data.Post();
    EXPECT_EQ(F(u"id").AsInteger(), 3) << "the generated key is read back";
    EXPECT_EQ(F(u"status").AsString(), u"new") << "so are defaults";
    EXPECT_EQ(other.Query("SELECT salary FROM people WHERE name LIKE 'it''s%'"), "-0.25");

    data.First();
    data.Delete();
    EXPECT_EQ(other.Query("SELECT group_concat(id) FROM people"), "2,3");
}

TEST_F(SQLiteDataSetTest, ParametersAreBoundNotSpliced) {
    data.Close();
    data.SetSQL(u"SELECT id, name FROM people WHERE name = :name OR id = ?2");
    data.SetParam(u"name", u"x' OR '1'='1");
    data.SetParam(2, 2);
    data.Open();
    EXPECT_EQ(data.RecordCount(), 1);
    EXPECT_EQ(F(u"name").AsString(), u"bob");
    data.Close();
    data.SetParam(u"missing", 1);
    EXPECT_THROW(data.Open(), EDatabaseError);
    EXPECT_FALSE(data.Active());
}

TEST_F(SQLiteDataSetTest, AConstraintViolationKeepsTheInsertAndChangesNothing) {
    RawConnection other(path);
    data.Append();
    F(u"name").SetAsString(u"ann");
    F(u"score").SetAsFloat(9.0);
    try {
        data.Post();
        FAIL() << "a duplicate name was accepted";
    } catch (const ESQLiteError& error) {
        EXPECT_EQ(error.ResultCode(), SQLITE_CONSTRAINT);
        EXPECT_NE(error.Message().find(u"UNIQUE"), String::npos);
    }
    EXPECT_EQ(data.State(), TDataSetState::dsInsert);
    EXPECT_EQ(F(u"score").AsFloat(), 9.0);
    EXPECT_EQ(other.Query("SELECT count(*) FROM people"), "2");
    F(u"name").SetAsString(u"cat");
    data.Post();
    EXPECT_EQ(other.Query("SELECT count(*) FROM people"), "3");
    EXPECT_EQ(data.RecordCount(), 3);
}

TEST_F(SQLiteDataSetTest, InsideATransactionAFailedPostUndoesOnlyItself) {
    RawConnection other(path);
    connection.StartTransaction();
    data.AppendRecord({Variant::Null(), u"cat"});
    data.Append();
    F(u"name").SetAsString(u"ann");
    EXPECT_THROW(data.Post(), ESQLiteError);
    data.Cancel();
    EXPECT_TRUE(connection.InTransaction());
    EXPECT_EQ(other.Query("SELECT count(*) FROM people"), "2") << "nothing committed yet";
    connection.Commit();
    EXPECT_EQ(other.Query("SELECT group_concat(name) FROM people"), "ann,bob,cat");
}

TEST_F(SQLiteDataSetTest, ALockedDatabaseFailsThePostUntilRetried) {
    RawConnection other(path);
    connection.SetBusyTimeout(50);
    ASSERT_EQ(other.Exec("BEGIN IMMEDIATE"), SQLITE_OK);
    data.Edit();
    F(u"score").SetAsFloat(7.0);
    try {
        data.Post();
        FAIL() << "posted past another writer's lock";
    } catch (const ESQLiteError& error) {
        EXPECT_EQ(error.ResultCode(), SQLITE_BUSY);
    }
    EXPECT_EQ(data.State(), TDataSetState::dsEdit);
    EXPECT_EQ(F(u"score").AsFloat(), 7.0);

    int failures = 0;
    data.OnPostError = [&](TDataSet&, const std::exception&, TDataAction& action) {
        ++failures;
        other.Exec("ROLLBACK");
        action = TDataAction::daRetry;
    };
    data.Post();
    EXPECT_EQ(failures, 1);
    EXPECT_EQ(other.Query("SELECT score FROM people WHERE id = 1"), "7.0");
}

TEST_F(SQLiteDataSetTest, AFullDiskKeepsTheInsertAndTheFileUnchanged) {
    RawConnection other(path);
    connection.ExecSQL(u"PRAGMA max_page_count = 8");
    data.Append();
    F(u"name").SetAsString(u"big");
    F(u"photo").SetAsBytes(TBytes(1 << 20, 0x5A));
    try {
        data.Post();
        FAIL() << "a megabyte fitted into eight pages";
    } catch (const ESQLiteError& error) {
        EXPECT_EQ(error.ResultCode(), SQLITE_FULL);
    }
    EXPECT_EQ(data.State(), TDataSetState::dsInsert);
    EXPECT_EQ(F(u"photo").AsBytes().size(), std::size_t{1} << 20);
    EXPECT_EQ(other.Query("SELECT count(*) FROM people"), "2");
}

struct Observer {
    RawConnection* reader;
    std::vector<std::string> seen;
};

// Runs inside the post's transaction, after the row was written and before it commits.
void ReadDuringPost(void* context, int, const char*, const char*, sqlite3_int64) {
    auto* observer = static_cast<Observer*>(context);
    observer->seen.push_back(
        observer->reader->Query("SELECT name || score FROM people WHERE id = 1"));
}

int RefuseCommit(void*) {
    return 1;
}

TEST_F(SQLiteDataSetTest, ASecondConnectionSeesNoPartialRecordDuringAPost) {
    RawConnection reader(path);
    Observer observer{&reader, {}};
    sqlite3_update_hook(connection.Handle(), ReadDuringPost, &observer);
    data.Edit();
    F(u"name").SetAsString(u"anne");
    F(u"score").SetAsFloat(3.0);
    data.Post();
    sqlite3_update_hook(connection.Handle(), nullptr, nullptr);
    EXPECT_EQ(observer.seen, std::vector<std::string>{"ann1.5"});
    EXPECT_EQ(reader.Query("SELECT name || score FROM people WHERE id = 1"), "anne3.0");

    sqlite3_commit_hook(connection.Handle(), RefuseCommit, nullptr);
    data.Edit();
    F(u"name").SetAsString(u"annie");
    EXPECT_THROW(data.Post(), ESQLiteError);
    EXPECT_EQ(data.State(), TDataSetState::dsEdit);
    EXPECT_EQ(F(u"name").AsString(), u"annie");
    EXPECT_EQ(reader.Query("SELECT name FROM people WHERE id = 1"), "anne");
    sqlite3_commit_hook(connection.Handle(), nullptr, nullptr);
}

TEST_F(SQLiteDataSetTest, AnotherProcessNeverSeesHalfAPost) {
    connection.ExecSQL(u"UPDATE people SET score = -salary");
    // The child must not inherit open connections to the file.
    connection.Close();
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        RawConnection reader(path);
        int torn = 0;
        for (int i = 0; i < 200; ++i)
            torn += reader.Query("SELECT count(*) FROM people WHERE score <> -salary") != "0";
        _exit(torn == 0 ? 0 : 1);
    }
    data.Open();
    for (int i = 0; i < 100; ++i) {
        data.Edit();
        F(u"salary").SetAsInteger(i);
        F(u"score").SetAsFloat(-i);
        data.Post();
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the reader saw a salary without its score";
}

TEST_F(SQLiteDataSetTest, SixteenMegabyteBlobsRoundTripThroughStreams) {
    TBytes bytes(16u << 20);
    std::mt19937 random(7);
    for (auto& byte : bytes)
        byte = static_cast<std::uint8_t>(random());
    data.Edit();
    {
        auto stream = data.CreateBlobStream(F(u"photo"), TBlobStreamMode::bmWrite);
        stream->WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    }
    data.Post();
    data.Close();
    data.Open();
    auto stream = data.CreateBlobStream(F(u"photo"), TBlobStreamMode::bmRead);
    ASSERT_EQ(stream->Size(), static_cast<std::int64_t>(bytes.size()));
    TBytes back(bytes.size());
    stream->ReadBuffer(back.data(), static_cast<std::int64_t>(back.size()));
    EXPECT_TRUE(back == bytes);
}

TEST_F(SQLiteDataSetTest, RefreshShowsOtherWritersAndKeepsTheRecord) {
    data.Last();
    RawConnection(path).Exec(
        "INSERT INTO people (id, name) VALUES (0, 'zed');"
        "UPDATE people SET score = 5 WHERE id = 2");
    data.Refresh();
    EXPECT_EQ(data.RecordCount(), 3);
    EXPECT_EQ(F(u"name").AsString(), u"bob");
    EXPECT_EQ(F(u"score").AsFloat(), 5.0);
    RawConnection(path).Exec("DELETE FROM people WHERE id = 2");
    data.Edit();
    F(u"score").SetAsFloat(6.0);
    EXPECT_THROW(data.Post(), EDatabaseError) << "the record is gone from the file";
}

TEST_F(SQLiteDataSetTest, KeysAndTablesDecideWhetherTheQueryIsWritable) {
    connection.ExecSQL(
        u"CREATE TABLE plain (v TEXT); INSERT INTO plain VALUES ('a');"
        u"CREATE TABLE tags (k TEXT PRIMARY KEY, n INT) WITHOUT ROWID;");
    TSQLiteDataSet query;
    query.SetConnection(&connection);
    query.SetSQL(u"SELECT v FROM plain");
    query.Open();
    EXPECT_FALSE(query.CanModify()) << "no key among the columns";
    query.Close();
    query.SetSQL(u"SELECT rowid, v FROM plain");
    query.Open();
    EXPECT_EQ(query.KeyFields(), std::vector<String>{u"rowid"});
    EXPECT_TRUE(query.FieldByName(u"rowid").ReadOnly());
    query.Edit();
    query.FieldByName(u"v").SetAsString(u"b");
    query.Post();
    query.Close();
    query.SetSQL(u"SELECT * FROM tags");
    query.Open();
    query.AppendRecord({u"red", 1});
    EXPECT_EQ(query.FieldByName(u"n").AsInteger(), 1);
    EXPECT_EQ(RawConnection(path).Query("SELECT v || n FROM plain, tags"), "b1");
}

TEST_F(SQLiteDataSetTest, ClosingCancelsPendingEditsAndFreeingDetaches) {
    data.Edit();
    F(u"name").SetAsString(u"never");
    data.Close();
    EXPECT_EQ(RawConnection(path).Query("SELECT count(*) FROM people WHERE name = 'never'"), "0");
    auto owned = std::make_unique<TSQLiteConnection>();
    owned->SetDatabaseName(Utf8ToString(path));
    data.SetConnection(owned.get());
    data.Open();
    owned.reset();
    EXPECT_FALSE(data.Active());
    EXPECT_EQ(data.Connection(), nullptr);
    EXPECT_THROW(data.Open(), EDatabaseError);
}

}  // namespace
}  // namespace kw
