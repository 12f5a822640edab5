// A live switch of language and skin on the gallery form: from loading the other language and
// display files to the end of the repaint they cause, against one full repaint of the same form
// in the same run (counter "ratio"; the goal is a switch costing at most two repaints).
#include <benchmark/benchmark.h>

#include "bench_ratio.h"
#include "gallery.h"
#include "gallery_view.h"
#include "platform/text/unicode.h"
#include "platform/ui/headless.h"

namespace kw {
namespace {

String Packages() {
    const char* given = std::getenv("KW_PACKAGES_DIR");
    return KwGalleryPackagesFolder(given != nullptr ? Utf8ToString(given) : String());
}

void BM_GallerySwitchAgainstRepaint(benchmark::State& state) {
    ResetWindowLayer();
    const String packages = Packages();
    if (packages.empty()) {
        state.SkipWithError("no reference files (set KW_PACKAGES_DIR)");
        return;
    }
    bench::RatioTimer timer;
    double switches = 0;
    {
        TKwGallery gallery(packages, u"English", u"standard");
        bool german = false;
        for (auto _ : state) {
            german = !german;
            const int before = gallery.View().PaintCount();
            timer.Library([&] {
                gallery.Switch(german ? u"German" : u"English", german ? u"dark" : u"standard");
                gallery.Repaint();
            });
            // Only a switch that repainted the form counts.
            switches += gallery.View().PaintCount() > before;
            timer.Baseline([&] {
                gallery.View().Invalidate();
                gallery.Repaint();
            });
        }
    }
    ResetWindowLayer();
    timer.Report(state, switches, "the switches repainted nothing");
}
BENCHMARK(BM_GallerySwitchAgainstRepaint)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kw
