// Restyling 1,000 visible buttons after a display switch: the display package is read again
// (from memory, so that file access stays out of the figure), every button's references resolve
// anew inside one screen update and the form repaints the buttons once. The baseline paints the
// same 1,000 buttons with their sets already resolved. "ratio" is restyle time over paint time.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "bench_ratio.h"
#include "controls/bit_btn.h"
#include "display/display_package.h"
#include "framework/application.h"
#include "platform/core/stream.h"
#include "platform/text/unicode.h"
#include "platform/ui/form.h"
#include "platform/ui/headless.h"

namespace kw {
namespace {

constexpr int kColumns = 40;
constexpr int kRows = 25;

// The reference display file of the build tree: <build>/share/kwctrls/standard.dis beside the
// benchmark's bin/ folder.
String StandardDisplay() {
    const auto exe = std::filesystem::read_symlink("/proc/self/exe");
    return Utf8ToString((exe.parent_path().parent_path() / "share/kwctrls/standard.dis").string());
}

void BM_RestyleButtonsAfterDisplaySwitch(benchmark::State& state) {
    ResetWindowLayer();
    TKwCApplication app;
    TMemoryStream display;
    display.LoadFromFile(StandardDisplay());
    app.PkgDisplay().LoadFromStream(display);
    TForm form;
    form.SetBorderStyle(TFormBorderStyle::bsNone);
    form.SetBounds(0, 0, kColumns * 30, kRows * 24);
    long paints = 0;
    for (int i = 0; i < kColumns * kRows; ++i) {
        auto& b = Create<TKwBitBtn>(form);
        b.SetParent(&form);
        b.SetBounds((i % kColumns) * 30, (i / kColumns) * 24, 28, 22);
        b.SetKind(static_cast<TKwButtonKind>(1 + i % (kKwButtonKinds - 1)));
        b.OnPaint = [&paints](TObject*, const TPaintContext&) { ++paints; };
    }
    form.Show();
    form.PaintNow();
    bench::RatioTimer timer;
    long restylePaints = 0;
    for (auto _ : state) {
        const long before = paints;
        timer.Library([&] {
            display.SetPosition(0);
            app.PkgDisplay().LoadFromStream(display);
            form.PaintNow();
        });
        restylePaints += paints - before;
        timer.Baseline([&] {
            form.InvalidateAll();
            form.PaintNow();
        });
    }
    timer.Report(state, static_cast<double>(restylePaints),
                 "the display switch repainted no button");
    ResetWindowLayer();
}
BENCHMARK(BM_RestyleButtonsAfterDisplaySwitch)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kw
