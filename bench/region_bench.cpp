// Union of two regions of 1,000 rectangles each, against the brute-force way of painting both
// rectangle sets into a byte mask of the field and reading the union back as row runs. The
// ratio bitmap/region shows what the banded region algebra saves.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "platform/graphics/region.h"

namespace {

constexpr int kRects = 1000;
constexpr int kField = 1024;
constexpr int kMaxSide = 64;

std::vector<kw::TRect> RandomRects(unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> origin(0, kField - kMaxSide), side(1, kMaxSide);
    std::vector<kw::TRect> rects;
    for (int i = 0; i < kRects; ++i)
        rects.push_back(kw::TRect::Bounds(origin(rng), origin(rng), side(rng), side(rng)));
    return rects;
}

const std::vector<kw::TRect>& SetA() {
    static const auto rects = RandomRects(1);
    return rects;
}

const std::vector<kw::TRect>& SetB() {
    static const auto rects = RandomRects(2);
    return rects;
}

void BM_RegionUnion(benchmark::State& state) {
    const kw::TRegion a = kw::TRegion::FromRects(SetA());
    const kw::TRegion b = kw::TRegion::FromRects(SetB());
    for (auto _ : state) {
        kw::TRegion result;
        result.Combine(a, b, kw::TRegionCombine::rgnOr);
        benchmark::DoNotOptimize(result.RectCount());
    }
}
BENCHMARK(BM_RegionUnion)->Unit(benchmark::kMicrosecond);

void BM_BitmapUnion(benchmark::State& state) {
    std::vector<unsigned char> mask(static_cast<std::size_t>(kField) * kField);
    for (auto _ : state) {
        std::fill(mask.begin(), mask.end(), 0);
        for (const auto* set : {&SetA(), &SetB()}) {
            for (const kw::TRect& r : *set) {
                for (int y = r.Top; y < r.Bottom; ++y)
                    std::fill_n(&mask[static_cast<std::size_t>(y) * kField + r.Left], r.Width(), 1);
            }
        }
        int runs = 0;
        for (int y = 0; y < kField; ++y) {
            const unsigned char* row = &mask[static_cast<std::size_t>(y) * kField];
            for (int x = 0; x < kField; ++x)
                runs += row[x] != 0 && (x == 0 || row[x - 1] == 0);
        }
        benchmark::DoNotOptimize(runs);
    }
}
BENCHMARK(BM_BitmapUnion)->Unit(benchmark::kMicrosecond);

}  // namespace
