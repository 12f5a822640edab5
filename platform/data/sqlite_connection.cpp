#include "platform/data/sqlite_connection.h"

#include <sqlite3.h>

#include <algorithm>

#include "platform/data/sqlite_dataset.h"
#include "platform/text/strings.h"
#include "platform/text/unicode.h"

namespace kw {

KW_IMPLEMENT_CLASS(TSQLiteConnection, TComponent)

String SQLiteDateTimeText(TDateTime value) {
    int year = 0, month = 0, day = 0, hour = 0, min = 0, sec = 0, msec = 0;
    DecodeDateTime(value, year, month, day, hour, min, sec, msec);
    String text = Format(u"%.4d-%.2d-%.2d %.2d:%.2d:%.2d", {year, month, day, hour, min, sec});
    if (msec != 0)
        text += Format(u".%.3d", {msec});
    return text;
}

namespace {

// The number in text[first, first + count), or -1 when those are not all digits.
int Digits(std::string_view text, std::size_t first, std::size_t count) {
    int value = 0;
    for (std::size_t i = first; i < first + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

}  // namespace

bool TryParseSQLiteDateTime(std::string_view text, TDateTime& value) {
    const std::size_t size = text.size();
    if ((size != 10 && size != 19 && size != 23) || text[4] != '-' || text[7] != '-')
        return false;
    TDateTime date = 0;
    if (!TryEncodeDate(Digits(text, 0, 4), Digits(text, 5, 2), Digits(text, 8, 2), date))
        return false;
    TDateTime time = 0;
    if (size > 10) {
        if (text[10] != ' ' || text[13] != ':' || text[16] != ':' ||
            (size == 23 && text[19] != '.'))
            return false;
        const int msec = size == 23 ? Digits(text, 20, 3) : 0;
        if (!TryEncodeTime(Digits(text, 11, 2), Digits(text, 14, 2), Digits(text, 17, 2), msec,
                           time))
            return false;
    }
    value = ComposeDateTime(date, time);
    return true;
}

// --- TSQLiteStatement ----------------------------------------------------------------------

TSQLiteStatement::TSQLiteStatement(TSQLiteConnection& connection, StringView sql)
    : TSQLiteStatement(connection.Handle(), StringToUtf8(sql)) {}

TSQLiteStatement::TSQLiteStatement(sqlite3* db, std::string_view sqlUtf8) : db_(db) {
    if (db == nullptr)
        throw EDatabaseError(u"Database not connected");
    const char* tail = nullptr;
    const int code =
        sqlite3_prepare_v2(db, sqlUtf8.data(), static_cast<int>(sqlUtf8.size()), &stmt_, &tail);
    if (code != SQLITE_OK)
        Fail(code);
    consumed_ = tail == nullptr ? sqlUtf8.size() : static_cast<std::size_t>(tail - sqlUtf8.data());
}

TSQLiteStatement::~TSQLiteStatement() {
    sqlite3_finalize(stmt_);
}

void TSQLiteStatement::Fail(int code) const {
    String message = Utf8ToString(sqlite3_errmsg(db_));
    const int extended = sqlite3_extended_errcode(db_);
    if (stmt_ != nullptr)
        sqlite3_reset(stmt_);
    throw ESQLiteError(std::move(message), (extended & 0xFF) == (code & 0xFF) ? extended : code);
}

void TSQLiteStatement::Check(int code) const {
    if (code != SQLITE_OK)
        Fail(code);
}

int TSQLiteStatement::ParamCount() const {
    return sqlite3_bind_parameter_count(stmt_);
}

int TSQLiteStatement::ParamIndex(StringView name) const {
    const std::string utf8 = StringToUtf8(name);
    int index = sqlite3_bind_parameter_index(stmt_, utf8.c_str());
    if (index != 0 || name.empty() || name[0] == u':' || name[0] == u'@' || name[0] == u'$')
        return index;
    for (const char* prefix : {":", "@", "$"}) {
        index = sqlite3_bind_parameter_index(stmt_, (prefix + utf8).c_str());
        if (index != 0)
            break;
    }
    return index;
}

void TSQLiteStatement::BindNull(int index) {
    Check(sqlite3_bind_null(stmt_, index));
}

void TSQLiteStatement::BindInteger(int index, std::int64_t value) {
    Check(sqlite3_bind_int64(stmt_, index, value));
}

void TSQLiteStatement::BindFloat(int index, double value) {
    Check(sqlite3_bind_double(stmt_, index, value));
}

void TSQLiteStatement::BindText(int index, StringView value) {
    Check(sqlite3_bind_text16(stmt_, index, value.data(),
                              static_cast<int>(value.size() * sizeof(Char)), SQLITE_TRANSIENT));
}

void TSQLiteStatement::BindUtf8(int index, std::string_view value) {
    Check(sqlite3_bind_text64(stmt_, index, value.data(), value.size(), SQLITE_TRANSIENT,
                              SQLITE_UTF8));
}

void TSQLiteStatement::BindBytes(int index, const void* data, std::size_t size) {
    Check(sqlite3_bind_blob64(stmt_, index, size == 0 ? "" : data, size, SQLITE_STATIC));
}

void TSQLiteStatement::BindDateTime(int index, TDateTime value) {
    BindText(index, SQLiteDateTimeText(value));
}

void TSQLiteStatement::BindCurrency(int index, Currency value) {
    if (value.scaled % Currency::kScale == 0)
        BindInteger(index, value.scaled / Currency::kScale);
    else
        BindFloat(index, value.ToDouble());
}

void TSQLiteStatement::Bind(int index, const Variant& value) {
    if (value.IsClear())
        BindNull(index);
    else if (value.VarType() == varBoolean)
        BindInteger(index, value.AsBoolean() ? 1 : 0);
    else if (value.IsOrdinal())
        BindInteger(index, value.AsInt64());
    else if (value.VarType() == varCurrency)
        BindCurrency(index, value.AsCurrency());
    else if (value.IsFloat())
        BindFloat(index, value.AsDouble());
    else if (value.IsDate())
        BindDateTime(index, value.AsDate());
    else if (value.IsStr())
        BindText(index, value.AsString());
    else
        throw EDatabaseError(u"Cannot bind a value of type " + VarTypeAsText(value.VarType()));
}

bool TSQLiteStatement::Step() {
    if (stmt_ == nullptr)
        return false;
    const int code = sqlite3_step(stmt_);
    if (code == SQLITE_ROW)
        return true;
    if (code == SQLITE_DONE)
        return false;
    Fail(code);
}

void TSQLiteStatement::Reset() {
    sqlite3_reset(stmt_);
}

int TSQLiteStatement::ColumnCount() const {
    return sqlite3_column_count(stmt_);
}

namespace {

String TextOrEmpty(const char* utf8) {
    return utf8 == nullptr ? String() : Utf8ToString(utf8);
}

}  // namespace

String TSQLiteStatement::ColumnName(int column) const {
    return TextOrEmpty(sqlite3_column_name(stmt_, column));
}

String TSQLiteStatement::ColumnDeclType(int column) const {
    return TextOrEmpty(sqlite3_column_decltype(stmt_, column));
}

String TSQLiteStatement::ColumnTable(int column) const {
    return TextOrEmpty(sqlite3_column_table_name(stmt_, column));
}

String TSQLiteStatement::ColumnOrigin(int column) const {
    return TextOrEmpty(sqlite3_column_origin_name(stmt_, column));
}

// --- TSQLiteConnection ---------------------------------------------------------------------

TSQLiteConnection::TSQLiteConnection(TComponent* owner) : TComponent(owner) {}

TSQLiteConnection::~TSQLiteConnection() {
    Destroying();
    while (!clients_.empty())
        clients_.back()->SetConnection(nullptr);
    Close();
}

void TSQLiteConnection::SetDatabaseName(const String& name) {
    if (Connected())
        throw EDatabaseError(u"Cannot change the database of an open connection");
    databaseName_ = name;
}

void TSQLiteConnection::SetBusyTimeout(int milliseconds) {
    busyTimeout_ = std::max(milliseconds, 0);
    if (db_ != nullptr)
        sqlite3_busy_timeout(db_, busyTimeout_);
}

void TSQLiteConnection::Open() {
    if (db_ != nullptr)
        return;
    sqlite3* db = nullptr;
    // A connection is used by one thread at a time, so the engine need not lock every call.
    const int code =
        sqlite3_open_v2(StringToUtf8(databaseName_).c_str(), &db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (code != SQLITE_OK) {
        const String reason =
            Utf8ToString(db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(code));
        sqlite3_close_v2(db);
        throw ESQLiteError(u"Cannot open database \"" + databaseName_ + u"\": " + reason, code);
    }
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, busyTimeout_);
    db_ = db;
}

void TSQLiteConnection::Close() {
    if (db_ == nullptr)
        return;
    for (std::size_t i = clients_.size(); i > 0; --i)
        clients_[i - 1]->Close();
    sqlite3_close_v2(db_);
    db_ = nullptr;
}

void TSQLiteConnection::CheckConnected() const {
    if (db_ == nullptr)
        throw EDatabaseError(u"Database not connected");
}

int TSQLiteConnection::ExecSQL(StringView sql, const std::vector<Variant>& params) {
    CheckConnected();
    const std::string utf8 = StringToUtf8(sql);
    std::string_view rest = utf8;
    int changes = 0;
    while (!rest.empty()) {
        TSQLiteStatement statement(db_, rest);
        rest.remove_prefix(std::min(statement.Consumed(), rest.size()));
        if (statement.Handle() == nullptr)
            continue;
        const int count = std::min<int>(statement.ParamCount(), static_cast<int>(params.size()));
        for (int i = 0; i < count; ++i)
            statement.Bind(i + 1, params[static_cast<std::size_t>(i)]);
        while (statement.Step()) {
        }
        changes = sqlite3_changes(db_);
    }
    return changes;
}

void TSQLiteConnection::Execute(const char* sql) {
    TSQLiteStatement statement(db_, sql);
    statement.Step();
}

void TSQLiteConnection::ExecuteQuietly(const char* sql) noexcept {
    sqlite3_exec(db_, sql, nullptr, nullptr, nullptr);
}

int TSQLiteConnection::Changes() const {
    CheckConnected();
    return sqlite3_changes(db_);
}

std::int64_t TSQLiteConnection::LastInsertRowId() const {
    CheckConnected();
    return sqlite3_last_insert_rowid(db_);
}

bool TSQLiteConnection::InTransaction() const {
    return db_ != nullptr && sqlite3_get_autocommit(db_) == 0;
}

void TSQLiteConnection::StartTransaction() {
    CheckConnected();
    Execute("BEGIN");
}

void TSQLiteConnection::Commit() {
    CheckConnected();
    Execute("COMMIT");
}

void TSQLiteConnection::Rollback() {
    CheckConnected();
    Execute("ROLLBACK");
}

void TSQLiteConnection::WriteTransaction(const std::function<void()>& work) {
    CheckConnected();
    if (InTransaction()) {
        Execute("SAVEPOINT kw_write");
        try {
            work();
            Execute("RELEASE kw_write");
        } catch (...) {
            ExecuteQuietly("ROLLBACK TO kw_write; RELEASE kw_write");
            throw;
        }
        return;
    }
    Execute("BEGIN IMMEDIATE");
    try {
        work();
        Execute("COMMIT");
    } catch (...) {
        // A failed COMMIT may leave the transaction open; a rolled-back one makes this a no-op.
        if (InTransaction())
            ExecuteQuietly("ROLLBACK");
        throw;
    }
}

void TSQLiteConnection::AddClient(TSQLiteDataSet& dataSet) {
    clients_.push_back(&dataSet);
}

void TSQLiteConnection::RemoveClient(TSQLiteDataSet& dataSet) {
    std::erase(clients_, &dataSet);
}

}  // namespace kw
