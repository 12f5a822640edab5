// Resolving 100,000 set references after a display file is loaded, and restyling 10,000 live
// references to one renamed set; each against a plain hash-map lookup of the same names, measured
// in the same run and reported as the counter "ratio".
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <unordered_map>
#include <vector>

#include "display/display_package.h"
#include "display/set_references.h"
#include "display/state.h"
#include "framework/application.h"
#include "framework/state.h"
#include "packages/state.h"
#include "platform/core/stream.h"
#include "platform/text/strings.h"

namespace kw {
namespace {

constexpr int kSets = 500;
constexpr int kReferences = 100000;
constexpr int kLiveReferences = 10000;

String SetName(int i) {
    return u"Colour set " + IntToStr(i);
}

TKwPkgDisplay& DisplayOf(TKwCApplication& app) {
    TKwPkgDisplay* display = KwAppDisplay(app);
    return display != nullptr ? *display : Create<TKwPkgDisplay>(app);
}

std::vector<std::uint8_t> SkinFile() {
    TKwPkgDisplay skin;
    for (int i = 0; i < kSets; ++i)
        skin.SetsColor().Add(SetName(i)).SetColor(static_cast<TColor>(i));
    TMemoryStream stream;
    skin.SaveToStream(stream);
    return stream.Bytes();
}

double Seconds(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The baseline: the same names looked up in a map keyed by their upper-case form.
double MapLookups(int count) {
    std::unordered_map<String, TColor> map;
    for (int i = 0; i < kSets; ++i)
        map.emplace(AnsiUpperCase(SetName(i)), static_cast<TColor>(i));
    TColor sum = 0;
    const double seconds = Seconds([&] {
        for (int i = 0; i < count; ++i)
            sum += map.find(AnsiUpperCase(SetName(i % kSets)))->second;
    });
    benchmark::DoNotOptimize(sum);
    return seconds;
}

void BM_ResolveAfterLoad(benchmark::State& state) {
    KwResetFrameworkState();
    KwResetDisplayState();
    TKwCApplication app;
    TKwPkgDisplay& display = DisplayOf(app);
    TMemoryStream file;
    const auto bytes = SkinFile();
    file.Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    std::vector<std::unique_ptr<TKwSetColor>> refs;
    for (int i = 0; i < kReferences; ++i) {
        refs.push_back(std::make_unique<TKwSetColor>());
        refs.back()->SetName(SetName(i % kSets));
    }
    double ours = 0, baseline = 0;
    for (auto _ : state) {
        TColor sum = 0;
        // The load's update pass re-resolves every reference; the reads then hit the cache.
        ours += Seconds([&] {
            display.LoadFromStream(file);
            for (auto& ref : refs)
                sum += ref->Color();
        });
        benchmark::DoNotOptimize(sum);
        baseline += MapLookups(kReferences);
    }
    state.counters["ratio"] = ours / baseline;
}
BENCHMARK(BM_ResolveAfterLoad)->Unit(benchmark::kMillisecond);

void BM_RestyleRenamedSet(benchmark::State& state) {
    KwResetFrameworkState();
    KwResetDisplayState();
    TKwCApplication app;
    TKwPkgDisplay& display = DisplayOf(app);
    TKwPkgDisplaySetColor& target = display.SetsColor().Add(u"Target");
    std::vector<std::unique_ptr<TKwSetColor>> refs;
    int notified = 0;
    for (int i = 0; i < kLiveReferences; ++i) {
        refs.push_back(std::make_unique<TKwSetColor>());
        refs.back()->SetName(i % 2 == 0 ? u"Target" : u"Renamed");
        refs.back()->OnChange = [&](TKwSetReference&) { ++notified; };
        refs.back()->Color();
    }
    double ours = 0, baseline = 0;
    bool renamed = false;
    for (auto _ : state) {
        ours += Seconds([&] {
            target.SetName(renamed ? u"Target" : u"Renamed");
            for (auto& ref : refs)
                benchmark::DoNotOptimize(ref->Color());
        });
        renamed = !renamed;
        baseline += MapLookups(kLiveReferences);
    }
    state.counters["ratio"] = ours / baseline;
    state.counters["notified"] = notified;
}
BENCHMARK(BM_RestyleRenamedSet)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kw
