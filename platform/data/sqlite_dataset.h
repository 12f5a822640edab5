#pragma once

#include <vector>

#include "platform/data/dataset.h"
#include "platform/data/sqlite_connection.h"

namespace kw {

// A dataset over the rows of a query on a SQLite connection. Opening runs the query and reads
// all its rows, so the file holds no lock while the dataset browses.
//
// Field types follow the declared column types: names with DATE or TIME give date-time fields,
// CURRENCY or MONEY currency, MEMO, CLOB or LONGTEXT memos, INT (and BOOL) integers, CHAR,
// TEXT or STRING strings, BLOB or BINARY blobs, anything else floats. Columns without a
// declared type (expressions) take the kind of their first value.
//
// Posts and deletes go to the update table (by default the one table the query's columns come
// from) through its primary key, or its rowid when it has none; the key columns (or the rowid)
// must be among the query's columns, otherwise the dataset is read-only. Each post or delete is
// one transaction: when it fails nothing of it reaches the file. Columns of other tables and
// expressions give read-only fields. An insert reads the stored row back, so defaults and
// generated keys appear in the record.
class TSQLiteDataSet : public TDataSet {
    KW_CLASS(TSQLiteDataSet)
public:
    explicit TSQLiteDataSet(TComponent* owner = nullptr);
    ~TSQLiteDataSet() override;

    TSQLiteConnection* Connection() const { return connection_; }
    // Closes the dataset when the connection changes.
    void SetConnection(TSQLiteConnection* connection);
    const String& SQL() const { return sql_; }
    // Raises EDatabaseError while open.
    void SetSQL(const String& sql);
    const String& UpdateTable() const { return updateTable_; }
    void SetUpdateTable(const String& table);

    // Query parameters: by position from 1, or by name (see TSQLiteStatement::ParamIndex).
    void SetParam(int index, const Variant& value);
    void SetParam(const String& name, const Variant& value);
    void ClearParams() { params_.clear(); }

    // The table written to and the fields that find a row in it; empty when read-only.
    const String& TargetTable() const { return target_.table; }
    std::vector<String> KeyFields() const;

protected:
    void InternalOpen() override;
    void InternalClose() override;
    void InternalPost(TRecordCells& values, const std::vector<bool>& changed, int row) override;
    void InternalDelete(int row) override;
    int InternalRefresh(int current) override;
    bool ProviderCanModify() const override { return !target_.keys.empty(); }

private:
    struct Param {
        String name;
        int index;
        Variant value;
    };
    struct Target {
        String table;
        bool withoutRowid = false;
        std::vector<String> columns;  // per field: its column in the table, or empty
        std::vector<int> keys;        // fields of the key
    };

    void CheckConnection() const;
    void BindParams(TSQLiteStatement& statement) const;
    void DefineFields(TSQLiteStatement& statement, bool hasRow);
    void ResolveTarget(TSQLiteStatement& statement);
    void LoadRows(TSQLiteStatement& statement, bool hasRow, TRecordStore& rows);
    void RunQuery(bool defineFields, TRecordStore& rows);
    void BindKey(TSQLiteStatement& statement, int firstIndex, int row) const;
    String KeyCondition(int firstIndex) const;
    void UpdateRow(const TRecordCells& values, const std::vector<bool>& changed, int row);
    TRecordCells InsertRow(const TRecordCells& values, const std::vector<bool>& changed);
    TRecordCells ReadBack(TSQLiteStatement& statement, const TRecordCells& values);

    TSQLiteConnection* connection_ = nullptr;
    String sql_;
    String updateTable_;
    std::vector<Param> params_;
    Target target_;
};

}  // namespace kw
