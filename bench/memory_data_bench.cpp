// The memory store against plain C++ containers holding the same values, each pair measured in
// the same run and reported as the counter "ratio" (store time / baseline time):
//   - sorting 1,000,000 rows on an integer column, then a text column, against std::stable_sort
//     of tuples; both compare texts with the same locale collation, so the ratio shows what the
//     store's row layout and null handling add (goal: at most 2);
//   - reading every cell of 1,000,000 rows of five kinds against a walk over an array of structs.
#include <benchmark/benchmark.h>

#include <time.h>

#include <cstdint>
#include <functional>
#include <random>
#include <tuple>
#include <vector>

#include "data/memory_data.h"
#include "platform/text/strings.h"

namespace kw {
namespace {

using enum TKwDataType;

constexpr int kRows = 1000000;

// The thread's processor time: on a shared machine, wall time mostly measures the neighbours.
double ThreadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double Seconds(const std::function<void()>& work) {
    const double start = ThreadSeconds();
    work();
    return ThreadSeconds() - start;
}

String RandomWord(std::mt19937& random) {
    String word;
    const int length = 3 + static_cast<int>(random() % 6);
    for (int i = 0; i < length; ++i)
        word.push_back(static_cast<Char>((random() % 2 ? u'a' : u'A') + random() % 26));
    return word;
}

void BM_SortIntegerThenText(benchmark::State& state) {
    std::mt19937 random(1);
    TKwMemoryTable table;
    TKwMemoryField& number = table.Fields().Add(dtyInteger);
    TKwMemoryField& text = table.Fields().Add(dtyString);
    using Tuple = std::tuple<std::int64_t, String>;
    std::vector<Tuple> tuples;
    tuples.reserve(kRows);
    table.Rows().reserve(kRows);
    for (int i = 0; i < kRows; ++i) {
        // About ten rows share each integer, so the text column decides often.
        tuples.emplace_back(random() % (kRows / 10), RandomWord(random));
        table.AppendRow();
        number.SetAsInteger(std::get<0>(tuples.back()));
        text.SetAsString(std::get<1>(tuples.back()));
    }
    const std::vector<TKwRecordBuffer> unsorted = table.Rows();
    const TKwMemorySortColumns columns = {{&number, false}, {&text, false}};
    double ours = 0, baseline = 0;
    std::int64_t moved = 0;
    for (auto _ : state) {
        std::vector<TKwRecordBuffer> rows = unsorted;
        ours += Seconds([&] { table.Sort(rows, columns); });
        for (int i = 0; i < kRows; ++i)
            moved += rows[i] != unsorted[i];
        std::vector<Tuple> copy = tuples;
        baseline += Seconds([&] {
            std::stable_sort(copy.begin(), copy.end(), [](const Tuple& a, const Tuple& b) {
                if (std::get<0>(a) != std::get<0>(b))
                    return std::get<0>(a) < std::get<0>(b);
                return AnsiCompareText(std::get<1>(a), std::get<1>(b)) < 0;
            });
        });
        benchmark::DoNotOptimize(copy.data());
    }
    if (moved == 0)
        return state.SkipWithError("the sort moved no row");
    state.counters["ratio"] = ours / baseline;
    state.counters["moved"] = static_cast<double>(moved);
}
BENCHMARK(BM_SortIntegerThenText)->Unit(benchmark::kMillisecond)->Iterations(2);

struct PlainRow {
    std::int64_t integer;
    std::int64_t currency;
    double number;
    double date;
    String text;
};

void BM_ReadEveryCell(benchmark::State& state) {
    TKwMemoryTable table;
    TKwMemoryField& integer = table.Fields().Add(dtyInteger);
    TKwMemoryField& currency = table.Fields().Add(dtyCurrency);
    TKwMemoryField& number = table.Fields().Add(dtyDouble);
    TKwMemoryField& date = table.Fields().Add(dtyDateTime);
    TKwMemoryField& text = table.Fields().Add(dtyString);
    std::vector<PlainRow> plain;
    plain.reserve(kRows);
    table.Rows().reserve(kRows);
    for (int i = 0; i < kRows; ++i) {
        plain.push_back({i, i * 137LL, i * 0.5, 40000.0 + i / 1440.0, u"item " + IntToStr(i)});
        table.AppendRow();
        integer.SetAsInteger(plain.back().integer);
        currency.SetAsCurrency(Currency::FromScaled(plain.back().currency));
        number.SetAsDouble(plain.back().number);
        date.SetAsDateTime(plain.back().date);
        text.SetAsString(plain.back().text);
    }
    double ours = 0, baseline = 0;
    std::int64_t sumOurs = 0, sumPlain = 0;
    for (auto _ : state) {
        ours += Seconds([&] {
            for (TKwRecordBuffer row : table.Rows()) {
                table.SetCurrentBuffer(row);
                sumOurs += integer.GetAsInteger() + currency.GetAsCurrency().scaled;
                sumOurs += static_cast<std::int64_t>(number.GetAsDouble() + date.GetAsDateTime());
                const String value = text.GetAsString();
                sumOurs += static_cast<std::int64_t>(value.size()) + value[0];
            }
        });
        baseline += Seconds([&] {
            for (const PlainRow& row : plain) {
                sumPlain += row.integer + row.currency;
                sumPlain += static_cast<std::int64_t>(row.number + row.date);
                const String value = row.text;
                sumPlain += static_cast<std::int64_t>(value.size()) + value[0];
            }
        });
    }
    if (sumOurs == 0 || sumOurs != sumPlain)
        return state.SkipWithError("the two walks read different values");
    state.counters["ratio"] = ours / baseline;
}
BENCHMARK(BM_ReadEveryCell)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace kw
