#include "platform/data/sqlite_dataset.h"

#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <string_view>

#include "platform/text/strings.h"
#include "platform/text/unicode.h"

namespace kw {

KW_IMPLEMENT_CLASS(TSQLiteDataSet, TDataSet)

namespace {

bool ContainsAny(const String& text, std::initializer_list<const Char*> words) {
    return std::any_of(words.begin(), words.end(),
                       [&](const Char* word) { return text.find(word) != String::npos; });
}

TFieldType TypeFromDeclaration(StringView declared) {
    const String upper = UpperCase(declared);
    if (ContainsAny(upper, {u"DATE", u"TIME"}))
        return TFieldType::ftDateTime;
    if (ContainsAny(upper, {u"CURRENCY", u"MONEY"}))
        return TFieldType::ftCurrency;
    if (ContainsAny(upper, {u"MEMO", u"CLOB", u"LONGTEXT"}))
        return TFieldType::ftMemo;
    if (ContainsAny(upper, {u"INT", u"BOOL"}))
        return TFieldType::ftInteger;
    if (ContainsAny(upper, {u"CHAR", u"TEXT", u"STRING"}))
        return TFieldType::ftString;
    if (ContainsAny(upper, {u"BLOB", u"BINARY"}))
        return TFieldType::ftBlob;
    return TFieldType::ftFloat;
}

TFieldType TypeFromValue(sqlite3_stmt* statement, int column) {
    switch (sqlite3_column_type(statement, column)) {
        case SQLITE_INTEGER:
            return TFieldType::ftInteger;
        case SQLITE_FLOAT:
            return TFieldType::ftFloat;
        case SQLITE_BLOB:
            return TFieldType::ftBlob;
        default:
            return TFieldType::ftString;
    }
}

String QuoteName(StringView name) {
    String quoted = u"\"";
    for (Char c : name) {
        quoted += c;
        if (c == u'"')
            quoted += c;
    }
    return quoted + u"\"";
}

// Values are read once per column through sqlite3_value, which costs less than a column call
// per access; the statement stays on its row meanwhile.
std::string_view ValueUtf8(sqlite3_value* value) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
    return {text, static_cast<std::size_t>(sqlite3_value_bytes(value))};
}

void AddValueBytes(TRowEncoder& row, sqlite3_value* value) {
    const void* data = sqlite3_value_blob(value);
    row.AddBytes(data, static_cast<std::size_t>(sqlite3_value_bytes(value)));
}

// Julian day numbers are SQLite's convention for dates held as floats.
constexpr double kJulianDayOfDateZero = 2415018.5;

void AddIntegerValue(TRowEncoder& row, sqlite3_value* value, TFieldType type) {
    const std::int64_t number = sqlite3_value_int64(value);
    std::int64_t scaled = 0;
    switch (type) {
        case TFieldType::ftCurrency:
            if (__builtin_mul_overflow(number, Currency::kScale, &scaled))
                return row.AddFloat(static_cast<double>(number));
            return row.AddInteger(scaled);
        case TFieldType::ftFloat:
            return row.AddFloat(static_cast<double>(number));
        case TFieldType::ftDateTime:
            return row.AddFloat(UnixToDateTime(number));
        case TFieldType::ftString:
        case TFieldType::ftMemo:
            return row.AddUtf8(ValueUtf8(value));
        case TFieldType::ftBlob:
            return AddValueBytes(row, value);
        default:
            return row.AddInteger(number);
    }
}

// Amounts are written as the double nearest to four decimals, so below 2^53 / 10,000 scaling
// and rounding to the nearest integer gives them back exactly (they are never near a half).
void AddCurrency(TRowEncoder& row, double amount) {
    constexpr double kExactLimit = 9e11;
    constexpr double kLimit = 9e14;
    if (std::fabs(amount) < kExactLimit) {
        const double scaled = amount * Currency::kScale;
        return row.AddInteger(static_cast<std::int64_t>(scaled + (scaled < 0 ? -0.5 : 0.5)));
    }
    if (std::fabs(amount) < kLimit)
        return row.AddInteger(Currency::FromDouble(amount).scaled);
    row.AddFloat(amount);
}

void AddFloatValue(TRowEncoder& row, sqlite3_value* value, TFieldType type) {
    const double number = sqlite3_value_double(value);
    switch (type) {
        case TFieldType::ftCurrency:
            return AddCurrency(row, number);
        case TFieldType::ftDateTime:
            return row.AddFloat(number - kJulianDayOfDateZero);
        case TFieldType::ftString:
        case TFieldType::ftMemo:
            return row.AddUtf8(ValueUtf8(value));
        case TFieldType::ftBlob:
            return AddValueBytes(row, value);
        default:
            return row.AddFloat(number);
    }
}

void AddTextValue(TRowEncoder& row, sqlite3_value* value, TFieldType type) {
    if (type == TFieldType::ftBlob)
        return AddValueBytes(row, value);
    const std::string_view text = ValueUtf8(value);
    if (type == TFieldType::ftDateTime) {
        TDateTime date = 0;
        if (TryParseSQLiteDateTime(text, date))
            return row.AddFloat(date);
        try {
            return row.AddFloat(Variant(Utf8ToString(text)).AsDate());
        } catch (const EVariantError&) {  // not a date: kept as the text it is
        }
    }
    row.AddUtf8(text);
}

// Stores a column in the field's natural kind where it converts without loss.
void AddColumn(TRowEncoder& row, sqlite3_stmt* statement, int column, TFieldType type) {
    sqlite3_value* value = sqlite3_column_value(statement, column);
    switch (sqlite3_value_type(value)) {
        case SQLITE_NULL:
            return row.AddNull();
        case SQLITE_INTEGER:
            return AddIntegerValue(row, value, type);
        case SQLITE_FLOAT:
            return AddFloatValue(row, value, type);
        case SQLITE_TEXT:
            return AddTextValue(row, value, type);
        default:
            if (type == TFieldType::ftString || type == TFieldType::ftMemo)
                return row.AddUtf8(ValueUtf8(value));
            return AddValueBytes(row, value);
    }
}

void BindCell(TSQLiteStatement& statement, int index, const TCellView& cell, TFieldType type) {
    switch (cell.kind) {
        case TCellKind::ckNull:
            return statement.BindNull(index);
        case TCellKind::ckInteger:
            if (type == TFieldType::ftCurrency)
                return statement.BindCurrency(index, Currency::FromScaled(cell.integer));
            return statement.BindInteger(index, cell.integer);
        case TCellKind::ckFloat:
            if (type == TFieldType::ftDateTime)
                return statement.BindDateTime(index, cell.number);
            return statement.BindFloat(index, cell.number);
        case TCellKind::ckText:
            return statement.BindUtf8(index, cell.Utf8());
        case TCellKind::ckBytes:
            return statement.BindBytes(index, cell.data, cell.size);
    }
}

}  // namespace

TSQLiteDataSet::TSQLiteDataSet(TComponent* owner) : TDataSet(owner) {}

TSQLiteDataSet::~TSQLiteDataSet() {
    CloseForDestruction();
    SetConnection(nullptr);
}

void TSQLiteDataSet::SetConnection(TSQLiteConnection* connection) {
    if (connection_ == connection)
        return;
    Close();
    if (connection_ != nullptr)
        connection_->RemoveClient(*this);
    connection_ = connection;
    if (connection_ != nullptr)
        connection_->AddClient(*this);
}

void TSQLiteDataSet::SetSQL(const String& sql) {
    if (Active())
        throw EDatabaseError(u"Cannot change the query of an open dataset");
    sql_ = sql;
}

void TSQLiteDataSet::SetUpdateTable(const String& table) {
    if (Active())
        throw EDatabaseError(u"Cannot change the update table of an open dataset");
    updateTable_ = table;
}

void TSQLiteDataSet::SetParam(int index, const Variant& value) {
    for (Param& param : params_) {
        if (param.name.empty() && param.index == index) {
            param.value = value;
            return;
        }
    }
    params_.push_back(Param{String(), index, value});
}

void TSQLiteDataSet::SetParam(const String& name, const Variant& value) {
    for (Param& param : params_) {
        if (param.name == name) {
            param.value = value;
            return;
        }
    }
    params_.push_back(Param{name, 0, value});
}

std::vector<String> TSQLiteDataSet::KeyFields() const {
    std::vector<String> names;
    for (int key : target_.keys)
        names.push_back(Fields()[key].FieldName());
    return names;
}

void TSQLiteDataSet::CheckConnection() const {
    if (connection_ == nullptr)
        throw EDatabaseError(u"No connection assigned");
}

// --- Reading -------------------------------------------------------------------------------

void TSQLiteDataSet::BindParams(TSQLiteStatement& statement) const {
    for (const Param& param : params_) {
        const int index = param.name.empty() ? param.index : statement.ParamIndex(param.name);
        if (index <= 0 || index > statement.ParamCount()) {
            const String name = param.name.empty() ? IntToStr(param.index) : param.name;
            throw EDatabaseError(u"Parameter '" + name + u"' not found");
        }
        statement.Bind(index, param.value);
    }
}

void TSQLiteDataSet::DefineFields(TSQLiteStatement& statement, bool hasRow) {
    for (int column = 0; column < statement.ColumnCount(); ++column) {
        const String declared = statement.ColumnDeclType(column);
        TFieldType type = TFieldType::ftString;
        if (!declared.empty())
            type = TypeFromDeclaration(declared);
        else if (hasRow)
            type = TypeFromValue(statement.Handle(), column);
        AddField(statement.ColumnName(column), type);
    }
}

namespace {

// The one table the query's columns come from; empty when none or several.
String SourceTable(const TSQLiteStatement& statement) {
    String table;
    for (int column = 0; column < statement.ColumnCount(); ++column) {
        const String source = statement.ColumnTable(column);
        if (source.empty())
            continue;
        if (!table.empty() && !SameText(source, table))
            return {};
        table = source;
    }
    return table;
}

}  // namespace

void TSQLiteDataSet::ResolveTarget(TSQLiteStatement& statement) {
    target_ = Target();
    const String table = updateTable_.empty() ? SourceTable(statement) : updateTable_;
    if (table.empty())
        return;
    std::vector<String> tableColumns;
    std::vector<String> primaryKey;
    TSQLiteStatement info(*connection_, u"SELECT name, pk FROM pragma_table_info(?1) ORDER BY pk");
    info.BindText(1, table);
    while (info.Step()) {
        const String name = Utf8ToString(ValueUtf8(sqlite3_column_value(info.Handle(), 0)));
        tableColumns.push_back(name);
        if (sqlite3_column_int(info.Handle(), 1) > 0)
            primaryKey.push_back(name);
    }
    if (tableColumns.empty())
        return;

    Target target;
    target.table = table;
    try {
        TSQLiteStatement probe(*connection_, u"SELECT rowid FROM " + QuoteName(table));
    } catch (const ESQLiteError&) {
        target.withoutRowid = true;
    }
    auto isTableColumn = [&](StringView name) {
        return std::any_of(tableColumns.begin(), tableColumns.end(),
                           [&](const String& c) { return SameText(c, name); });
    };
    for (int column = 0; column < statement.ColumnCount(); ++column) {
        const bool fromTable = SameText(statement.ColumnTable(column), table);
        const String origin = fromTable ? statement.ColumnOrigin(column) : String();
        target.columns.push_back(origin);
        // Expressions, other tables' columns and the rowid are read-only.
        if (!isTableColumn(origin))
            Fields()[column].SetReadOnly(true);
    }
    if (primaryKey.empty() && !target.withoutRowid)
        primaryKey.push_back(u"rowid");
    for (const String& keyColumn : primaryKey) {
        auto it = std::find_if(target.columns.begin(), target.columns.end(),
                               [&](const String& c) { return SameText(c, keyColumn); });
        if (it == target.columns.end())
            return;  // a key column is missing: read-only
        target.keys.push_back(static_cast<int>(it - target.columns.begin()));
    }
    target_ = std::move(target);
}

void TSQLiteDataSet::LoadRows(TSQLiteStatement& statement, bool hasRow, TRecordStore& rows) {
    std::vector<TFieldType> types;
    for (const auto& field : Fields())
        types.push_back(field->DataType());
    const int count = FieldCount();
    TRowEncoder row;
    while (hasRow) {
        row.Begin(count);
        for (int column = 0; column < count; ++column)
            AddColumn(row, statement.Handle(), column, types[static_cast<std::size_t>(column)]);
        rows.Append(row.Finish());
        hasRow = statement.Step();
    }
}

void TSQLiteDataSet::RunQuery(bool defineFields, TRecordStore& rows) {
    CheckConnection();
    connection_->Open();
    TSQLiteStatement statement(*connection_, sql_);
    BindParams(statement);
    const bool hasRow = statement.Step();
    if (defineFields) {
        DefineFields(statement, hasRow);
        ResolveTarget(statement);
    } else if (statement.ColumnCount() != FieldCount()) {
        throw EDatabaseError(u"The columns of the query changed");
    }
    LoadRows(statement, hasRow, rows);
}

void TSQLiteDataSet::InternalOpen() {
    RunQuery(true, Rows());
}

void TSQLiteDataSet::InternalClose() {
    target_ = Target();
}

int TSQLiteDataSet::InternalRefresh(int current) {
    TRecordCells key(static_cast<std::size_t>(FieldCount()));
    if (current >= 0) {
        for (int field : target_.keys)
            key[static_cast<std::size_t>(field)] =
                TRecordCell::FromView(Rows().Cell(current, field));
    }
    // Loaded aside, so that a failure keeps the rows there are.
    TRecordStore fresh;
    fresh.SetColumnCount(FieldCount());
    RunQuery(false, fresh);
    Rows().TakeRows(std::move(fresh));
    const int row = target_.keys.empty() || current < 0 ? -1 : FindRow(key);
    return row >= 0 ? row : current;
}

// --- Writing -------------------------------------------------------------------------------

String TSQLiteDataSet::KeyCondition(int firstIndex) const {
    String condition;
    for (std::size_t i = 0; i < target_.keys.size(); ++i) {
        if (i > 0)
            condition += u" AND ";
        condition += QuoteName(target_.columns[static_cast<std::size_t>(target_.keys[i])]) + u"=?" +
                     IntToStr(firstIndex + static_cast<int>(i));
    }
    return condition;
}

void TSQLiteDataSet::BindKey(TSQLiteStatement& statement, int firstIndex, int row) const {
    for (std::size_t i = 0; i < target_.keys.size(); ++i) {
        const int field = target_.keys[i];
        BindCell(statement, firstIndex + static_cast<int>(i), Rows().Cell(row, field),
                 Fields()[field].DataType());
    }
}

namespace {

// The fields assigned since the edit began that belong to the update table.
std::vector<int> WrittenFields(const TFields& fields, const std::vector<bool>& changed) {
    std::vector<int> written;
    for (int field = 0; field < fields.Count(); ++field) {
        if (changed[static_cast<std::size_t>(field)] && !fields[field].ReadOnly())
            written.push_back(field);
    }
    return written;
}

}  // namespace

void TSQLiteDataSet::InternalPost(TRecordCells& values, const std::vector<bool>& changed, int row) {
    if (row >= 0 && WrittenFields(Fields(), changed).empty())
        return;
    TRecordCells stored;
    connection_->WriteTransaction([&] {
        if (row < 0)
            stored = InsertRow(values, changed);
        else
            UpdateRow(values, changed, row);
    });
    if (row < 0)
        values = std::move(stored);
}

void TSQLiteDataSet::UpdateRow(const TRecordCells& values, const std::vector<bool>& changed,
                               int row) {
    const std::vector<int> written = WrittenFields(Fields(), changed);
    String sql = u"UPDATE " + QuoteName(target_.table) + u" SET ";
    for (std::size_t i = 0; i < written.size(); ++i) {
        sql += (i > 0 ? u"," : u"") +
               QuoteName(target_.columns[static_cast<std::size_t>(written[i])]) + u"=?" +
               IntToStr(static_cast<int>(i) + 1);
    }
    const int keyIndex = static_cast<int>(written.size()) + 1;
    sql += u" WHERE " + KeyCondition(keyIndex);
    TSQLiteStatement statement(*connection_, sql);
    for (std::size_t i = 0; i < written.size(); ++i) {
        const auto field = static_cast<std::size_t>(written[i]);
        BindCell(statement, static_cast<int>(i) + 1, values[field].View(),
                 Fields()[written[i]].DataType());
    }
    BindKey(statement, keyIndex, row);
    statement.Step();
    if (connection_->Changes() != 1)
        throw EDatabaseError(u"Record not found or changed by another user");
}

TRecordCells TSQLiteDataSet::InsertRow(const TRecordCells& values,
                                       const std::vector<bool>& changed) {
    const std::vector<int> written = WrittenFields(Fields(), changed);
    String sql = u"INSERT INTO " + QuoteName(target_.table);
    if (written.empty()) {
        sql += u" DEFAULT VALUES";
    } else {
        String names;
        String marks;
        for (std::size_t i = 0; i < written.size(); ++i) {
            names += (i > 0 ? u"," : u"") +
                     QuoteName(target_.columns[static_cast<std::size_t>(written[i])]);
            marks += (i > 0 ? u",?" : u"?") + IntToStr(static_cast<int>(i) + 1);
        }
        sql += u" (" + names + u") VALUES (" + marks + u")";
    }
    TSQLiteStatement insert(*connection_, sql);
    for (std::size_t i = 0; i < written.size(); ++i) {
        const auto field = static_cast<std::size_t>(written[i]);
        BindCell(insert, static_cast<int>(i) + 1, values[field].View(),
                 Fields()[written[i]].DataType());
    }
    insert.Step();

    // Read the stored row back: defaults, generated keys and conversions by the table.
    String columns;
    for (const String& column : target_.columns)
        columns += (columns.empty() ? u"" : u",") + (column.empty() ? u"NULL" : QuoteName(column));
    String where = u"rowid=?1";
    if (target_.withoutRowid)
        where = KeyCondition(1);
    TSQLiteStatement select(*connection_, u"SELECT " + columns + u" FROM " +
                                              QuoteName(target_.table) + u" WHERE " + where);
    if (target_.withoutRowid) {
        for (std::size_t i = 0; i < target_.keys.size(); ++i) {
            const auto field = static_cast<std::size_t>(target_.keys[i]);
            BindCell(select, static_cast<int>(i) + 1, values[field].View(),
                     Fields()[target_.keys[i]].DataType());
        }
    } else {
        select.BindInteger(1, connection_->LastInsertRowId());
    }
    return ReadBack(select, values);
}

TRecordCells TSQLiteDataSet::ReadBack(TSQLiteStatement& statement, const TRecordCells& values) {
    if (!statement.Step())
        throw EDatabaseError(u"The inserted record cannot be read back");
    const int count = FieldCount();
    TRowEncoder row;
    row.Begin(count);
    for (int column = 0; column < count; ++column)
        AddColumn(row, statement.Handle(), column, Fields()[column].DataType());
    const TPackedRow packed = row.Finish();
    TRecordCells stored;
    for (int column = 0; column < count; ++column) {
        stored.push_back(target_.columns[static_cast<std::size_t>(column)].empty()
                             ? values[static_cast<std::size_t>(column)]
                             : TRecordCell::FromView(PackedCell(packed.data(), count, column)));
    }
    return stored;
}

void TSQLiteDataSet::InternalDelete(int row) {
    connection_->WriteTransaction([&] {
        TSQLiteStatement statement(*connection_, u"DELETE FROM " + QuoteName(target_.table) +
                                                     u" WHERE " + KeyCondition(1));
        BindKey(statement, 1, row);
        statement.Step();
        if (connection_->Changes() != 1)
            throw EDatabaseError(u"Record not found or changed by another user");
    });
}

}  // namespace kw
