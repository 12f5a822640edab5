// Element painting against what it saves. BM_ProgressBarCached moves a 600 x 20 gradient progress
// bar through its range, copying from the cached background, against painting that gradient
// afresh each time (what a bar without a cache pays): "ratio" well below 1 shows the cache at
// work. BM_SpeedTextAgainstEngine draws a two-line centred caption through the fast DrawText
// path against the library's own text engine: "ratio" is fast path over engine.
#include <benchmark/benchmark.h>

#include <memory>

#include "bench_ratio.h"
#include "display/display_package.h"
#include "display/set_references.h"
#include "display/state.h"
#include "drawing/backgrounds.h"
#include "drawing/progress_bar.h"
#include "drawing/text_draw.h"
#include "framework/application.h"
#include "framework/state.h"
#include "packages/package_scopes.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/font.h"

namespace kw {
namespace {

void BM_ProgressBarCached(benchmark::State& state) {
    KwResetFrameworkState();
    KwResetDisplayState();
    TKwCApplication app;
    TKwPkgDisplay* owned = KwAppDisplay(app);
    TKwPkgDisplay& display = owned != nullptr ? *owned : Create<TKwPkgDisplay>(app);
    TKwPkgDisplaySetBackGround& entry = display.SetsBackGround().Add(u"Bar");
    entry.SetStyle(bgsLeft);
    entry.SetStartGraColor(RGB(255, 0, 0));
    entry.SetEndGraColor(RGB(0, 0, 255));
    TKwSetBackGround bar;
    bar.SetName(u"Bar");
    TBitmap target(600, 20);
    TBitmap fresh(600, 20);
    const TRect rect(0, 0, 600, 20);
    std::unique_ptr<TBitmap> cache;
    bench::RatioTimer timer;
    int position = 0;
    double filled = 0;
    for (auto _ : state) {
        position = position % 100 + 1;
        int shown = position;
        target.Canvas().Brush().Color = clWhite;
        target.Canvas().FillRect(rect);
        timer.Library([&] {
            KwDrawProgressBar(target.Canvas(), rect, cache, 0, 100, shown, 0, tbaSolid, bar, 1, 0,
                              pboRight);
        });
        filled += target.Pixel(0, 10) != clWhite;
        timer.Baseline([&] { KwPaintBackGroundEx(fresh.Canvas(), rect, bar, 0); });
    }
    timer.Report(state, filled, "the bar filled nothing");
}
BENCHMARK(BM_ProgressBarCached);

void BM_SpeedTextAgainstEngine(benchmark::State& state) {
    TBitmap target(200, 40);
    TFont font;
    font.SetName(u"Kw Fixed");
    font.SetHeight(-8);
    const TRect rect(0, 0, 200, 40);
    const TKwTextLook look{.Alignment = aliCenter, .Layout = layCenter, .ShowAccelChar = true};
    bench::RatioTimer timer;
    double inked = 0;
    for (auto _ : state) {
        target.Canvas().Brush().Color = clWhite;
        target.Canvas().FillRect(rect);
        timer.Library([&] {
            KwDrawSpeedText(target.Canvas(), rect, u"&Open the file\nnow", font, clBlack, look);
        });
        for (int x = 0; x < 200; ++x)
            inked += target.Pixel(x, 18) == clBlack;
        timer.Baseline([&] {
            KwDrawText(target.Canvas(), rect, u"&Open the file\nnow", font, clBlack, clRed, look);
        });
    }
    timer.Report(state, inked, "the caption drew nothing");
}
BENCHMARK(BM_SpeedTextAgainstEngine);

}  // namespace
}  // namespace kw
