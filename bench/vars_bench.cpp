// Reading the ratios: each pair runs the same work on a variables package and on a std::map keyed
// by the full path; the package costs (its time) / (the map's time) times the map.
// The tree has 100,000 variables five levels deep: 10 areas, 10 groups, 10 sections, 10 blocks,
// 10 values. Saves reuse one memory stream, so that both sides write into memory already mapped.
// The first lookups after a load also compute the collation keys of each level they pass;
// "Cold" measures that pass.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>
#include <random>
#include <vector>

#include "packages/vars_package.h"
#include "platform/core/filer.h"
#include "platform/core/stream.h"
#include "platform/text/strings.h"

namespace {

using kw::String;

constexpr int kFanOut = 10;
constexpr int kVariables = kFanOut * kFanOut * kFanOut * kFanOut * kFanOut;
const kw::Char* const kLevelNames[] = {u"Area", u"Group", u"Section", u"Block", u"Value"};

struct MapValue {
    kw::TKwPkgVarsItemType type;
    std::int32_t integer = 0;
    double real = 0;
    String text;
};
using PathMap = std::map<String, MapValue>;

MapValue ValueFor(int index) {
    switch (index % 4) {
        case 0:
            return {kw::vitInteger, index};
        case 1:
            return {kw::vitFloat, 0, index * 0.5};
        case 2:
            return {kw::vitBoolean, index % 3};
        default:
            return {kw::vitString, 0, 0, u"text " + kw::IntToStr(index)};
    }
}

const std::vector<String>& Paths() {
    static const std::vector<String> paths = [] {
        std::vector<String> all;
        for (int i = 0; i < kVariables; ++i) {
            String path;
            for (int level = 0, scale = kVariables / kFanOut; level < 5;
                 ++level, scale /= kFanOut) {
                const int digit = i / scale % kFanOut;
                path += (level > 0 ? u"/" : u"") + String(kLevelNames[level]) + kw::IntToStr(digit);
            }
            all.push_back(path);
        }
        return all;
    }();
    return paths;
}

void Fill(kw::TKwPkgVars& vars) {
    const auto& paths = Paths();
    for (size_t i = 0; i < paths.size(); ++i) {
        const MapValue value = ValueFor(static_cast<int>(i));
        kw::TKwPkgVarsItem& item = vars.Add(paths[i], value.type);
        switch (value.type) {
            case kw::vitInteger:
                item.SetVInteger(value.integer);
                break;
            case kw::vitFloat:
                item.SetVFloat(value.real);
                break;
            case kw::vitBoolean:
                item.SetVBoolean(value.integer != 0);
                break;
            default:
                item.SetVString(value.text);
                break;
        }
    }
}

PathMap FilledMap() {
    PathMap map;
    const auto& paths = Paths();
    for (size_t i = 0; i < paths.size(); ++i)
        map.emplace(paths[i], ValueFor(static_cast<int>(i)));
    return map;
}

void SaveMap(const PathMap& map, kw::TStream& stream) {
    kw::TWriter writer(stream);
    for (const auto& [path, value] : map) {
        writer.WriteString(path);
        writer.WriteInteger(std::int32_t{value.type});
        switch (value.type) {
            case kw::vitInteger:
                writer.WriteInteger(value.integer);
                break;
            case kw::vitFloat:
                writer.WriteFloat(value.real);
                break;
            case kw::vitBoolean:
                writer.WriteBoolean(value.integer != 0);
                break;
            default:
                writer.WriteString(value.text);
                break;
        }
    }
    writer.WriteString(u"");
}

PathMap LoadMap(kw::TStream& stream) {
    PathMap map;
    kw::TReader reader(stream);
    while (true) {
        String path = reader.ReadString();
        if (path.empty())
            return map;
        MapValue value;
        value.type = static_cast<kw::TKwPkgVarsItemType>(reader.ReadInteger());
        switch (value.type) {
            case kw::vitInteger:
                value.integer = reader.ReadInteger();
                break;
            case kw::vitFloat:
                value.real = reader.ReadFloat();
                break;
            case kw::vitBoolean:
                value.integer = reader.ReadBoolean();
                break;
            default:
                value.text = reader.ReadString();
                break;
        }
        map.emplace_hint(map.end(), std::move(path), std::move(value));
    }
}

std::vector<String> ShuffledPaths() {
    std::vector<String> paths = Paths();
    std::shuffle(paths.begin(), paths.end(), std::mt19937(42));
    return paths;
}

void BM_VarsSave(benchmark::State& state) {
    kw::TKwPkgVars vars;
    Fill(vars);
    kw::TMemoryStream stream;
    for (auto _ : state) {
        stream.Clear();
        vars.SaveToStream(stream);
        state.counters["bytes"] = static_cast<double>(stream.Size());
    }
}
BENCHMARK(BM_VarsSave)->Unit(benchmark::kMillisecond);

void BM_MapSave(benchmark::State& state) {
    const PathMap map = FilledMap();
    kw::TMemoryStream stream;
    for (auto _ : state) {
        stream.Clear();
        SaveMap(map, stream);
        state.counters["bytes"] = static_cast<double>(stream.Size());
    }
}
BENCHMARK(BM_MapSave)->Unit(benchmark::kMillisecond);

void BM_VarsLoad(benchmark::State& state) {
    kw::TKwPkgVars source;
    Fill(source);
    kw::TMemoryStream stream;
    source.SaveToStream(stream);
    kw::TKwPkgVars vars;
    for (auto _ : state) {
        vars.LoadFromStream(stream);
        benchmark::DoNotOptimize(vars.Count());
    }
}
BENCHMARK(BM_VarsLoad)->Unit(benchmark::kMillisecond);

void BM_MapLoad(benchmark::State& state) {
    kw::TMemoryStream stream;
    SaveMap(FilledMap(), stream);
    for (auto _ : state) {
        stream.SetPosition(0);
        PathMap map = LoadMap(stream);
        benchmark::DoNotOptimize(map.size());
    }
}
BENCHMARK(BM_MapLoad)->Unit(benchmark::kMillisecond);

void BM_VarsLookup(benchmark::State& state) {
    kw::TKwPkgVars vars;
    Fill(vars);
    const std::vector<String> paths = ShuffledPaths();
    for (auto _ : state) {
        for (const String& path : paths)
            benchmark::DoNotOptimize(vars.Find(path));
    }
}
BENCHMARK(BM_VarsLookup)->Unit(benchmark::kMillisecond);

void BM_VarsLookupCold(benchmark::State& state) {
    kw::TKwPkgVars source;
    Fill(source);
    kw::TMemoryStream stream;
    source.SaveToStream(stream);
    kw::TKwPkgVars vars;
    const std::vector<String> paths = ShuffledPaths();
    for (auto _ : state) {
        state.PauseTiming();
        vars.LoadFromStream(stream);
        state.ResumeTiming();
        for (const String& path : paths)
            benchmark::DoNotOptimize(vars.Find(path));
    }
}
BENCHMARK(BM_VarsLookupCold)->Unit(benchmark::kMillisecond);

void BM_MapLookup(benchmark::State& state) {
    const PathMap map = FilledMap();
    const std::vector<String> paths = ShuffledPaths();
    for (auto _ : state) {
        for (const String& path : paths)
            benchmark::DoNotOptimize(map.find(path));
    }
}
BENCHMARK(BM_MapLookup)->Unit(benchmark::kMillisecond);

}  // namespace
