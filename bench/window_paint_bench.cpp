// Invalidating and repainting a form of 1,000 controls (each fills its own rectangle), against
// one fill of the same area on the same surface, measured in the same run and reported as the
// counter "ratio". The gap is what invalidation, coalescing, clipping and paint dispatch cost.
#include <benchmark/benchmark.h>

#include <chrono>
#include <functional>

#include "counting_cell.h"
#include "platform/graphics/bitmap.h"
#include "platform/ui/form.h"
#include "platform/ui/headless.h"
#include "platform/ui/paint_context.h"

namespace kw {
namespace {

constexpr int kColumns = 40;
constexpr int kRows = 25;
constexpr int kCellWidth = 20;
constexpr int kCellHeight = 16;

using Cell = bench::CountingCell;

double Seconds(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_RepaintThousandControls(benchmark::State& state) {
    ResetWindowLayer();
    TForm form;
    form.SetBorderStyle(TFormBorderStyle::bsNone);
    form.SetBounds(0, 0, kColumns * kCellWidth, kRows * kCellHeight);
    int paints = 0;
    std::vector<Cell*> cells;
    for (int i = 0; i < kColumns * kRows; ++i) {
        auto& cell = Create<Cell>(form, paints);
        cell.SetParent(&form);
        cell.SetBounds(i % kColumns * kCellWidth, i / kColumns * kCellHeight, kCellWidth,
                       kCellHeight);
        cell.SetColor(static_cast<TColor>(i * 2654435761u) & 0xFFFFFF);
        cells.push_back(&cell);
    }
    form.Show();
    form.PaintNow();
    TCanvas baselineCanvas(*form.Surface());
    double ours = 0, baseline = 0;
    paints = 0;
    for (auto _ : state) {
        ours += Seconds([&] {
            for (Cell* cell : cells)
                cell->Invalidate();
            form.PaintNow();
        });
        baseline += Seconds([&] {
            baselineCanvas.Brush().Color = clSilver;
            baselineCanvas.FillRect(TRect(0, 0, form.Width(), form.Height()));
        });
    }
    if (paints < kColumns * kRows) {
        state.SkipWithError("the controls were not repainted");
        return;
    }
    state.counters["paints"] =
        static_cast<double>(paints) / static_cast<double>(state.iterations());
    state.counters["ratio"] = ours / baseline;
    ResetWindowLayer();
}
BENCHMARK(BM_RepaintThousandControls)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kw
