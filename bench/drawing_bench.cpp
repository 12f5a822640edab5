// Gradients over a 1920 x 1080 bitmap against memset of the same bytes, and a gradient-filled
// ellipse against a solid fill of its rectangle, each measured in the same run. The counter
// "ratio" is the library's time over the baseline's: a vertical-band gradient aims at 3.3 or
// less (at least 0.3 of memset's speed).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <functional>

#include "display/display_package.h"
#include "display/set_references.h"
#include "display/state.h"
#include "drawing/gradient.h"
#include "drawing/shape_paint.h"
#include "framework/application.h"
#include "framework/state.h"
#include "packages/package_scopes.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/canvas.h"

namespace kw {
namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

double Seconds(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double MemsetFrame(TBitmap& bitmap, int value) {
    const std::size_t bytes = static_cast<std::size_t>(bitmap.BytesPerLine()) * bitmap.Height();
    return Seconds([&] {
        std::memset(bitmap.ScanLine(0), value, bytes);
        benchmark::ClobberMemory();
    });
}

void GradientAgainstMemset(benchmark::State& state, TKwBackGroundStyle style) {
    TBitmap bitmap(kWidth, kHeight);
    const TRect all(0, 0, kWidth, kHeight);
    double ours = 0;
    double baseline = 0;
    for (auto _ : state) {
        ours += Seconds([&] {
            KwDrawGradient(bitmap.Canvas(), all, style, RGB(255, 0, 0), RGB(0, 0, 255), 0, nullptr,
                           false, 0);
        });
        if (bitmap.Pixel(0, 0) == bitmap.Pixel(kWidth - 1, kHeight - 1)) {
            state.SkipWithError("the gradient painted nothing");
            return;
        }
        baseline += MemsetFrame(bitmap, 0x5A);
    }
    state.counters["ratio"] = ours / baseline;
    state.counters["bands"] = KwGradientColorCount(style, all, 0);
}

void BM_GradientVerticalBands(benchmark::State& state) {
    GradientAgainstMemset(state, bgsRight);
}
BENCHMARK(BM_GradientVerticalBands)->Unit(benchmark::kMillisecond);

void BM_GradientHorizontalBands(benchmark::State& state) {
    GradientAgainstMemset(state, bgsDown);
}
BENCHMARK(BM_GradientHorizontalBands)->Unit(benchmark::kMillisecond);

// A 400 x 300 ellipse filled from a vertical gradient set through the shape painter, against a
// solid fill of its rectangle.
void BM_GradientEllipse(benchmark::State& state) {
    KwResetFrameworkState();
    KwResetDisplayState();
    TKwCApplication app;
    TKwPkgDisplay* owned = KwAppDisplay(app);
    TKwPkgDisplay& display = owned != nullptr ? *owned : Create<TKwPkgDisplay>(app);
    TKwPkgDisplaySetBackGround& entry = display.SetsBackGround().Add(u"Face");
    entry.SetStyle(bgsDown);
    entry.SetStartGraColor(RGB(255, 255, 255));
    entry.SetEndGraColor(RGB(0, 64, 128));
    TKwSetBackGround face;
    face.SetName(u"Face");
    TBitmap bitmap(400, 300);
    const TRect rect(0, 0, 400, 300);
    double ours = 0;
    double baseline = 0;
    for (auto _ : state) {
        ours += Seconds([&] {
            KwPaintShape(bitmap.Canvas(), rect, bosNone, 1, shaEllipse, false, sorDefault, false,
                         &face, nullptr, nullptr, nullptr, false, 1);
        });
        if (bitmap.Pixel(200, 10) == bitmap.Pixel(200, 290)) {
            state.SkipWithError("the ellipse shows no gradient");
            return;
        }
        baseline += Seconds([&] {
            bitmap.Canvas().Brush().Color = RGB(10, 20, 30);
            bitmap.Canvas().FillRect(rect);
        });
    }
    state.counters["ratio"] = ours / baseline;
}
BENCHMARK(BM_GradientEllipse)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kw
