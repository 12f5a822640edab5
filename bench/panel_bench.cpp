// Repainting a form of 500 nested panels with gradient backgrounds: through the off-screen
// buffer, painted directly, and one solid fill of the same area, measured in the same run. The
// counter "ratio" is buffered over the fill, "vs_direct" buffered over direct.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "bench_ratio.h"
#include "controls/controls_state.h"
#include "controls/single_panel.h"
#include "display/display_package.h"
#include "display/set_references.h"
#include "display/state.h"
#include "framework/application.h"
#include "framework/state.h"
#include "packages/state.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/canvas.h"
#include "platform/ui/form.h"
#include "platform/ui/headless.h"

namespace kw {
namespace {

constexpr int kChains = 50;  // 10 x 5 columns of panels
constexpr int kDepth = 10;   // panels nested in each
constexpr int kCellWidth = 100;
constexpr int kCellHeight = 120;

void ResetAll() {
    ResetWindowLayer();
    KwResetFrameworkState();
    KwResetPackagesState();
    KwResetDisplayState();
    KwResetControlsState();
}

void BM_RepaintNestedPanels(benchmark::State& state) {
    ResetAll();
    {
        TKwCApplication app;
        TKwPkgDisplay* found = KwAppDisplay(app);
        TKwPkgDisplay& display = found != nullptr ? *found : Create<TKwPkgDisplay>(app);
        auto& sky = display.SetsBackGround().Add(u"Sky");
        sky.SetStyle(bgsDown);
        sky.SetStartGraColor(clNavy);
        sky.SetEndGraColor(clAqua);
        TForm form;
        form.SetBorderStyle(TFormBorderStyle::bsNone);
        form.SetBounds(0, 0, 10 * kCellWidth, 5 * kCellHeight);
        std::vector<TKwSinglePanel*> panels;
        for (int c = 0; c < kChains; ++c) {
            TWinControl* parent = &form;
            for (int d = 0; d < kDepth; ++d) {
                auto& p = Create<TKwSinglePanel>(form);
                p.SetParent(parent);
                if (d == 0)
                    p.SetBounds(c % 10 * kCellWidth, c / 10 * kCellHeight, kCellWidth, kCellHeight);
                else
                    p.SetBounds(4, 4, parent->Width() - 8, parent->Height() - 8);
                p.SetBackGround().SetName(u"Sky");
                panels.push_back(&p);
                parent = &p;
            }
        }
        form.Show();
        form.PaintNow();
        TCanvas fill(*form.Surface());
        bench::RatioTimer versusFill, versusDirect;
        auto repaint = [&] {
            for (TKwSinglePanel* p : panels)
                p->Invalidate();
            form.PaintNow();
        };
        const auto buffered0 = KwControlsState().bufferedPaints;
        const auto direct0 = KwControlsState().directPaints;
        for (auto _ : state) {
            KwMaxDisplayBuffer() = 40000000;
            const double seconds = versusFill.Library(repaint);
            versusDirect.AddLibrary(seconds);
            KwMaxDisplayBuffer() = 1;
            versusDirect.Baseline(repaint);
            versusFill.Baseline([&] {
                fill.Brush().Color = clSilver;
                fill.FillRect(TRect(0, 0, form.Width(), form.Height()));
            });
        }
        const auto n = static_cast<double>(state.iterations());
        const double buffered = static_cast<double>(KwControlsState().bufferedPaints - buffered0);
        const double direct = static_cast<double>(KwControlsState().directPaints - direct0);
        // Every panel must have been repainted both ways in every iteration.
        const bool live = buffered >= n * kChains * kDepth && direct >= n * kChains * kDepth;
        versusFill.Report(state, live ? buffered : 0, "the panels were not repainted both ways");
        versusDirect.Report(state, live ? direct : 0, "the panels were not repainted both ways",
                            "vs_direct");
    }
    ResetAll();
}
BENCHMARK(BM_RepaintNestedPanels)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kw
