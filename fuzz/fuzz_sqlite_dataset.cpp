// Fills a table with arbitrary values under arbitrary declared types, as a database file from
// elsewhere may hold them, then opens it as a dataset and reads every field every way. Reading
// may refuse a value with an error but must never crash, and a value read as text and written
// back must read the same.

#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>
#include <set>
#include <string>
#include <string_view>

#include "platform/data/sqlite_dataset.h"
#include "platform/text/unicode.h"

namespace {

constexpr const char16_t* kTypes[] = {u"INTEGER",  u"CURRENCY", u"REAL", u"VARCHAR(20)",
                                      u"DATETIME", u"BLOB",     u"MEMO", u""};
constexpr int kTypeCount = sizeof(kTypes) / sizeof(kTypes[0]);
constexpr int kColumns = 3;

class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool Empty() const { return pos_ >= size_; }
    std::uint8_t Byte() { return Empty() ? 0 : data_[pos_++]; }
    std::string_view Take(std::size_t count) {
        count = std::min(count, size_ - pos_);
        const std::string_view taken(reinterpret_cast<const char*>(data_ + pos_), count);
        pos_ += count;
        return taken;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

void BindValue(kw::TSQLiteStatement& insert, int index, Input& input) {
    const std::uint8_t tag = input.Byte();
    const std::string_view bytes = input.Take(tag >> 3);
    std::uint64_t bits = 0;
    for (char c : bytes.substr(0, 8))
        bits = bits << 8 | static_cast<unsigned char>(c);
    const auto number = static_cast<std::int64_t>(bits);
    switch (tag & 7) {
        case 0:
            return insert.BindNull(index);
        case 1:
            return insert.BindInteger(index, number);
        case 2:
            return insert.BindFloat(index, static_cast<double>(number) / 1024.0);
        case 3:
        case 4:
            return insert.BindUtf8(index, bytes);
        default:
            return insert.BindBytes(index, bytes.data(), bytes.size());
    }
}

void ReadEveryWay(kw::TField& field) {
    auto attempt = [](auto read) {
        try {
            read();
        } catch (const kw::Exception&) {  // refusing a value is allowed
        }
    };
    attempt([&] { field.Value(); });
    attempt([&] { field.AsString(); });
    attempt([&] { field.AsBytes(); });
    attempt([&] { field.AsLargeInt(); });
    attempt([&] { field.AsFloat(); });
    attempt([&] { field.AsCurrency(); });
    attempt([&] { field.AsDateTime(); });
}

// One in-memory database for the whole run: opening one per input costs more than the input.
std::unique_ptr<kw::TSQLiteConnection> OpenMemoryDatabase() {
    auto connection = std::make_unique<kw::TSQLiteConnection>();
    connection->SetDatabaseName(u":memory:");
    connection->Open();
    return connection;
}

kw::TSQLiteConnection& Connection() {
    static const std::unique_ptr<kw::TSQLiteConnection> connection = OpenMemoryDatabase();
    return *connection;
}

// An empty table with the declared types the input chose. Each combination of types gets its
// own table, created the first time and emptied for every later input: changing the schema per
// input costs more than the input. Emptied, a table numbers its rows from 1 again, as a new one.
kw::String EmptyTable(kw::TSQLiteConnection& connection, Input& input) {
    kw::String name = u"t";
    kw::String columns;
    for (int column = 0; column < kColumns; ++column) {
        const int type = input.Byte() % kTypeCount;
        name += static_cast<char16_t>(u'0' + type);
        columns += u", c" + kw::Utf8ToString(std::to_string(column)) + u" " + kTypes[type];
    }
    static std::set<kw::String> created;
    if (created.insert(name).second) {
        connection.ExecSQL(u"CREATE TABLE " + name + u" (id INTEGER PRIMARY KEY" + columns + u")");
    } else {
        connection.ExecSQL(u"DELETE FROM " + name);
    }
    return name;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input input(data, size);
    kw::TDateTime parsed = 0;
    kw::TryParseSQLiteDateTime(input.Take(input.Byte() % 32), parsed);

    kw::TSQLiteConnection& connection = Connection();
    const kw::String table = EmptyTable(connection, input);
    kw::TSQLiteStatement insert(connection,
                                u"INSERT INTO " + table + u" (c0, c1, c2) VALUES (?1, ?2, ?3)");
    while (!input.Empty()) {
        for (int column = 1; column <= kColumns; ++column)
            BindValue(insert, column, input);
        insert.Step();
        insert.Reset();
    }

    kw::TSQLiteDataSet dataSet;
    dataSet.SetConnection(&connection);
    dataSet.SetSQL(u"SELECT * FROM " + table);
    dataSet.Open();
    for (; !dataSet.Eof(); dataSet.Next()) {
        for (const auto& field : dataSet.Fields())
            ReadEveryWay(*field);
        kw::TField& text = dataSet.Fields()[1];
        if (text.DataType() != kw::TFieldType::ftString)
            continue;
        const kw::String before = text.AsString();
        dataSet.Edit();
        text.SetAsString(before);
        dataSet.Post();
        if (text.AsString() != before)
            std::terminate();
    }
    return 0;
}
