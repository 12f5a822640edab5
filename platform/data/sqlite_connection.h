#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/core/component.h"
#include "platform/core/variant.h"
#include "platform/data/db_error.h"

struct sqlite3;
struct sqlite3_stmt;

namespace kw {

class TSQLiteConnection;
class TSQLiteDataSet;

// An error of the SQLite engine; the message is the engine's, the code its extended result code.
class ESQLiteError : public EDatabaseError {
public:
    ESQLiteError(String message, int extendedCode)
        : EDatabaseError(std::move(message)), extendedCode_(extendedCode) {}
    String ClassName() const override { return u"ESQLiteError"; }
    // SQLITE_BUSY, SQLITE_CONSTRAINT, SQLITE_FULL, ...
    int ResultCode() const { return extendedCode_ & 0xFF; }
    int ExtendedCode() const { return extendedCode_; }

private:
    int extendedCode_;
};

// One prepared statement. Values are always bound, never written into the SQL text.
class TSQLiteStatement {
public:
    // Prepares the first statement of `sql`; raises ESQLiteError.
    TSQLiteStatement(TSQLiteConnection& connection, StringView sql);
    TSQLiteStatement(sqlite3* db, std::string_view sqlUtf8);
    // UTF-8 bytes of the text taken by this statement; the next one starts there. A text of
    // blanks and comments gives a statement that has no rows.
    std::size_t Consumed() const { return consumed_; }
    TSQLiteStatement(const TSQLiteStatement&) = delete;
    TSQLiteStatement& operator=(const TSQLiteStatement&) = delete;
    ~TSQLiteStatement();

    int ParamCount() const;
    // Names include their prefix (":id"); a name given without one is also tried with ":", "@"
    // and "$". 0 when there is no such parameter.
    int ParamIndex(StringView name) const;
    // Indexes from 1.
    void BindNull(int index);
    void BindInteger(int index, std::int64_t value);
    void BindFloat(int index, double value);
    void BindText(int index, StringView value);
    void BindUtf8(int index, std::string_view value);
    // The bytes must stay valid until the statement is stepped or reset.
    void BindBytes(int index, const void* data, std::size_t size);
    // As "yyyy-mm-dd hh:nn:ss" text, with ".zzz" when there are milliseconds.
    void BindDateTime(int index, TDateTime value);
    // As its amount: an integer when whole, else a float.
    void BindCurrency(int index, Currency value);
    // Booleans as 0 or 1; dates and currency as above; null and empty as NULL.
    void Bind(int index, const Variant& value);

    // True with a row, false when done; raises ESQLiteError.
    bool Step();
    void Reset();

    int ColumnCount() const;
    String ColumnName(int column) const;
    // Declared type, table and column of origin; empty for expressions.
    String ColumnDeclType(int column) const;
    String ColumnTable(int column) const;
    String ColumnOrigin(int column) const;
    sqlite3_stmt* Handle() const { return stmt_; }

private:
    [[noreturn]] void Fail(int code) const;
    void Check(int code) const;

    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
    std::size_t consumed_ = 0;
};

// The text BindDateTime stores, and the reverse: "yyyy-mm-dd", "yyyy-mm-dd hh:nn:ss" or
// "yyyy-mm-dd hh:nn:ss.zzz" exactly; false for anything else.
String SQLiteDateTimeText(TDateTime value);
bool TryParseSQLiteDateTime(std::string_view text, TDateTime& value);

// A connection to one SQLite database file (or ":memory:"). Like every component it belongs to
// one thread at a time; the engine does not guard it against use from two threads at once.
class TSQLiteConnection : public TComponent {
    KW_CLASS(TSQLiteConnection)
public:
    explicit TSQLiteConnection(TComponent* owner = nullptr);
    ~TSQLiteConnection() override;

    const String& DatabaseName() const { return databaseName_; }
    // Raises EDatabaseError while connected.
    void SetDatabaseName(const String& name);
    // How long a statement waits for another connection's lock before failing with
    // SQLITE_BUSY, in milliseconds.
    int BusyTimeout() const { return busyTimeout_; }
    void SetBusyTimeout(int milliseconds);

    // Creates the file when it does not exist.
    void Open();
    // Closes the datasets that use the connection first.
    void Close();
    bool Connected() const { return db_ != nullptr; }
    sqlite3* Handle() const { return db_; }

    // Runs every statement of `sql`, binding `params` by position to each statement that has
    // parameters; returns the number of rows the last one changed.
    int ExecSQL(StringView sql, const std::vector<Variant>& params = {});

    // Rows changed by the last INSERT, UPDATE or DELETE, and the rowid of the last insert.
    int Changes() const;
    std::int64_t LastInsertRowId() const;

    bool InTransaction() const;
    void StartTransaction();
    void Commit();
    void Rollback();
    // Runs `work` as one write transaction (BEGIN IMMEDIATE ... COMMIT), or as a savepoint
    // inside a transaction already open; rolls back and re-raises when anything fails.
    void WriteTransaction(const std::function<void()>& work);

private:
    friend class TSQLiteDataSet;
    void AddClient(TSQLiteDataSet& dataSet);
    void RemoveClient(TSQLiteDataSet& dataSet);
    void CheckConnected() const;
    void Execute(const char* sql);
    void ExecuteQuietly(const char* sql) noexcept;

    String databaseName_;
    int busyTimeout_ = 5000;
    sqlite3* db_ = nullptr;
    std::vector<TSQLiteDataSet*> clients_;
};

}  // namespace kw
