// Opening a query over 1,000,000 rows and walking it with Next, reading every field, against
// stepping the same statement with the SQLite C API and reading every column. The ratio
// direct/dataset is the share of the direct speed the dataset keeps; the goal is at least 0.5.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "platform/data/sqlite_dataset.h"
#include "platform/text/unicode.h"

namespace {

constexpr int kRows = 1000000;
constexpr const char* kQuery = "SELECT id, name, amount, qty, price, created FROM items";

// The database file, built once and removed when the program ends.
class Database {
public:
    Database() {
        path_ = (std::filesystem::temp_directory_path() /
                 ("kw_dataset_bench_" + std::to_string(getpid()) + ".db"))
                    .string();
        kw::TSQLiteConnection connection;
        connection.SetDatabaseName(kw::Utf8ToString(path_));
        connection.Open();
        connection.ExecSQL(
            u"CREATE TABLE items (id INTEGER PRIMARY KEY, name VARCHAR(30), amount REAL,"
            u" qty INTEGER, price CURRENCY, created DATETIME)");
        connection.WriteTransaction([&] {
            kw::TSQLiteStatement insert(connection,
                                        u"INSERT INTO items (name, amount, qty, price, created)"
                                        u" VALUES (?1, ?2, ?3, ?4, ?5)");
            for (int i = 0; i < kRows; ++i) {
                insert.BindText(1, u"item number " + kw::Utf8ToString(std::to_string(i)));
                insert.BindFloat(2, i * 0.5);
                insert.BindInteger(3, i % 1000);
                insert.BindCurrency(4, kw::Currency::FromScaled(i * 137LL));
                insert.BindDateTime(5, 40000.0 + i / 1440.0);
                insert.Step();
                insert.Reset();
            }
        });
    }
    ~Database() { std::filesystem::remove(path_); }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

const Database& TheDatabase() {
    static const Database database;
    return database;
}

void BM_DirectWalk(benchmark::State& state) {
    // Opened as the dataset's connection is: one thread, so no locking inside the engine.
    sqlite3* db = nullptr;
    sqlite3_open_v2(TheDatabase().Path().c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX,
                    nullptr);
    std::int64_t sum = 0;
    for (auto _ : state) {
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(db, kQuery, -1, &statement, nullptr);
        while (sqlite3_step(statement) == SQLITE_ROW) {
            sum += sqlite3_column_int64(statement, 0);
            sum += sqlite3_column_bytes(statement, 1) + *sqlite3_column_text(statement, 1);
            sum += static_cast<std::int64_t>(sqlite3_column_double(statement, 2));
            sum += sqlite3_column_int64(statement, 3);
            sum += static_cast<std::int64_t>(sqlite3_column_double(statement, 4));
            sum += sqlite3_column_bytes(statement, 5) + *sqlite3_column_text(statement, 5);
        }
        sqlite3_finalize(statement);
    }
    benchmark::DoNotOptimize(sum);
    sqlite3_close(db);
    state.SetItemsProcessed(state.iterations() * kRows);
}

void BM_DataSetWalk(benchmark::State& state) {
    kw::TSQLiteConnection connection;
    connection.SetDatabaseName(kw::Utf8ToString(TheDatabase().Path()));
    kw::TSQLiteDataSet data;
    data.SetConnection(&connection);
    data.SetSQL(kw::Utf8ToString(kQuery));
    std::int64_t sum = 0;
    for (auto _ : state) {
        data.Open();
        kw::TField& id = data.Fields()[0];
        kw::TField& name = data.Fields()[1];
        kw::TField& amount = data.Fields()[2];
        kw::TField& qty = data.Fields()[3];
        kw::TField& price = data.Fields()[4];
        kw::TField& created = data.Fields()[5];
        for (; !data.Eof(); data.Next()) {
            sum += id.AsLargeInt();
            const kw::String text = name.AsString();
            sum += static_cast<std::int64_t>(text.size()) + text[0];
            sum += static_cast<std::int64_t>(amount.AsFloat());
            sum += qty.AsLargeInt();
            sum += price.AsCurrency().scaled;
            sum += static_cast<std::int64_t>(created.AsDateTime());
        }
        data.Close();
    }
    benchmark::DoNotOptimize(sum);
    state.SetItemsProcessed(state.iterations() * kRows);
}

BENCHMARK(BM_DirectWalk)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(BM_DataSetWalk)->Unit(benchmark::kMillisecond)->MinTime(3);

}  // namespace
