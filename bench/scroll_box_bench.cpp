// Scrolling a box of 1,000 painted children by one line and repainting it, against one fill of
// the box's area on the same surface, measured in the same run and reported as "ratio". The gap
// is what moving the children, re-laying the bars and repainting the visible ones cost.
#include <benchmark/benchmark.h>

#include "bench_ratio.h"
#include "counting_cell.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/canvas.h"
#include "platform/ui/form.h"
#include "platform/ui/headless.h"
#include "platform/ui/paint_context.h"
#include "platform/ui/scrolling.h"

namespace kw {
namespace {

constexpr int kColumns = 20;
constexpr int kRows = 50;
constexpr int kCell = 16;

using Cell = bench::CountingCell;

void BM_ScrollBoxLineAndRepaint(benchmark::State& state) {
    ResetWindowLayer();
    TForm form;
    form.SetBorderStyle(TFormBorderStyle::bsNone);
    form.SetBounds(0, 0, 400, 300);
    auto& box = Create<TScrollBox>(form);
    box.SetParent(&form);
    box.SetBounds(0, 0, 400, 300);
    int paints = 0;
    box.DisableAutoRange();
    for (int i = 0; i < kColumns * kRows; ++i) {
        auto& cell = Create<Cell>(form, paints);
        cell.SetParent(&box);
        cell.SetBounds(i % kColumns * kCell, i / kColumns * kCell, kCell - 1, kCell - 1);
        cell.SetColor(static_cast<TColor>(i * 2654435761u) & 0xFFFFFF);
    }
    box.EnableAutoRange();
    form.Show();
    form.PaintNow();
    TCanvas baselineCanvas(*form.Surface());
    bench::RatioTimer timer;
    paints = 0;
    int moves = 0;
    bool down = true;
    for (auto _ : state) {
        timer.Library([&] {
            const int before = box.VertScrollBar().Position();
            box.Perform(WM_VSCROLL, ScrollWParam(down ? SB_LINEDOWN : SB_LINEUP, 0));
            form.PaintNow();
            moves += box.VertScrollBar().Position() != before ? 1 : 0;
        });
        down = !down;
        timer.Baseline([&] {
            baselineCanvas.Brush().Color = clSilver;
            baselineCanvas.FillRect(TRect(0, 0, box.Width(), box.Height()));
        });
    }
    state.counters["paints"] =
        static_cast<double>(paints) / static_cast<double>(std::max<int64_t>(state.iterations(), 1));
    timer.Report(state, paints > 0 ? moves : 0, "the box neither scrolled nor repainted");
    ResetWindowLayer();
}
BENCHMARK(BM_ScrollBoxLineAndRepaint)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kw
