// Batched against immediate updates: 100,000 links each change once, either inside one screen
// update (every handler runs once when the update ends) or with no update held (each change
// runs its handler at once). Compare the two times: the batch costs one extra walk over the link
// list, so the ratio batched/immediate shows what that walk adds per change.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "framework/kw_screen.h"
#include "framework/link.h"
#include "framework/state.h"

namespace {

constexpr int kLinks = 100000;

struct Links {
    std::vector<std::unique_ptr<kw::TKwLinkEvt>> links;
    long updates = 0;
    Links() {
        links.reserve(kLinks);
        for (int i = 0; i < kLinks; ++i) {
            links.push_back(std::make_unique<kw::TKwLinkEvt>(nullptr, 0));
            links.back()->OnUpdate = [this](kw::TKwLinkEvt&) { ++updates; };
        }
    }
};

void BM_ChangesInsideOneUpdate(benchmark::State& state) {
    Links set;
    for (auto _ : state) {
        kw::KwScreen().BeginUpdate();
        for (auto& link : set.links)
            link->Change();
        kw::KwScreen().EndUpdate();
    }
    benchmark::DoNotOptimize(set.updates);
    state.SetItemsProcessed(state.iterations() * kLinks);
}
BENCHMARK(BM_ChangesInsideOneUpdate)->Unit(benchmark::kMillisecond);

void BM_ChangesWithoutUpdate(benchmark::State& state) {
    Links set;
    for (auto _ : state) {
        for (auto& link : set.links)
            link->Change();
    }
    benchmark::DoNotOptimize(set.updates);
    state.SetItemsProcessed(state.iterations() * kLinks);
}
BENCHMARK(BM_ChangesWithoutUpdate)->Unit(benchmark::kMillisecond);

void BM_CreateAndFreeLinks(benchmark::State& state) {
    for (auto _ : state) {
        Links set;
        benchmark::DoNotOptimize(set.links.data());
    }
    state.SetItemsProcessed(state.iterations() * kLinks);
}
BENCHMARK(BM_CreateAndFreeLinks)->Unit(benchmark::kMillisecond);

}  // namespace
