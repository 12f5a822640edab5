// Switching the active application object against resolving from scratch. 10,000 live references
// of every kind (labels, messages, texts, images, colour, background and font sets, privileges)
// point into two application objects with the same contents. Each iteration makes the other
// object active (mark, re-resolve and notify every reference inside one screen update) and, as
// the baseline, resolves the same references freshly created; the ratio shows what a run-time
// restyle costs over the resolution itself.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "bench_ratio.h"
#include "display/display_package.h"
#include "display/image_package.h"
#include "display/memory_image.h"
#include "display/set_references.h"
#include "framework/application.h"
#include "packages/language_package.h"
#include "packages/memory_refs.h"
#include "packages/privilege.h"
#include "packages/privileges_items.h"
#include "packages/privileges_package.h"
#include "packages/strings_package.h"
#include "platform/core/stream.h"
#include "platform/graphics/bitmap.h"
#include "platform/text/strings.h"

namespace {

using namespace kw;

constexpr int kReferences = 10000;
constexpr int kSets = 100;

String SetName(int i) {
    return u"Set" + IntToStr(i % kSets);
}

void Fill(TKwCApplication& app) {
    TKwPkgStrings& strings = app.PkgLanguage().SystemStrings();
    TBitmap pixel;
    pixel.SetSize(1, 1);
    TMemoryStream bytes;
    pixel.SaveToStream(bytes);
    for (int id = 0; id < kReferences; ++id) {
        strings.Labels().Add(id, IntToStr(id), String());
        strings.Messages().Add(id, IntToStr(id));
        strings.Texts().Add(id, IntToStr(id));
        bytes.SetPosition(0);
        app.PkgDisplay().SystemImages().Images().Add(id).LoadFromStream(bytes,
                                                                        &TBitmap::StaticClass());
        app.Privileges().Add(id).SetAccess(accRead);
    }
    for (int i = 0; i < kSets; ++i) {
        app.PkgDisplay().SetsColor().Add(SetName(i));
        app.PkgDisplay().SetsBackGround().Add(SetName(i));
        app.PkgDisplay().SetsFont().Add(SetName(i));
    }
}

// One reference of every kind per id.
struct References {
    std::vector<std::unique_ptr<TKwMemoryLabel>> labels;
    std::vector<std::unique_ptr<TKwMemoryMessage>> messages;
    std::vector<std::unique_ptr<TKwMemoryText>> texts;
    std::vector<std::unique_ptr<TKwMemoryImage>> images;
    std::vector<std::unique_ptr<TKwSetColor>> colors;
    std::vector<std::unique_ptr<TKwSetBackGround>> backgrounds;
    std::vector<std::unique_ptr<TKwSetFont>> fonts;
    std::vector<std::unique_ptr<TKwPrivilege>> privileges;

    References() {
        for (int id = 0; id < kReferences; ++id) {
            labels.push_back(std::make_unique<TKwMemoryLabel>(u"System", id, true));
            messages.push_back(std::make_unique<TKwMemoryMessage>(u"System", id, true));
            texts.push_back(std::make_unique<TKwMemoryText>(u"System", id, true));
            images.push_back(std::make_unique<TKwMemoryImage>(u"System", id, true));
            colors.push_back(std::make_unique<TKwSetColor>());
            colors.back()->SetName(SetName(id));
            backgrounds.push_back(std::make_unique<TKwSetBackGround>());
            backgrounds.back()->SetName(SetName(id));
            fonts.push_back(std::make_unique<TKwSetFont>());
            fonts.back()->SetName(SetName(id));
            privileges.push_back(std::make_unique<TKwPrivilege>(id));
        }
    }

    std::size_t ResolveAll() {
        std::size_t found = 0;
        for (int i = 0; i < kReferences; ++i) {
            found += labels[i]->InfoItem() != nullptr;
            found += messages[i]->InfoItem() != nullptr;
            found += texts[i]->InfoItem() != nullptr;
            found += images[i]->Info() != nullptr;
            found += colors[i]->Info() != nullptr;
            found += backgrounds[i]->Info() != nullptr;
            found += fonts[i]->Info() != nullptr;
            privileges[i]->CheckAccess();
            found += privileges[i]->Access() == accRead;
        }
        return found;
    }
};

constexpr int kKinds = 8;

// Each iteration times the switch and, as the baseline, the same references created fresh and
// resolved once against the newly active object ("ratio": switch over scratch).
void BM_SwitchActiveApplication(benchmark::State& state) {
    TKwCApplication first, second;
    Fill(first);
    Fill(second);
    References references;
    references.ResolveAll();
    bench::RatioTimer timer;
    bool toSecond = true;
    std::size_t scratchFound = 0;
    for (auto _ : state) {
        timer.Library([&] { (toSecond ? second : first).SetActive(true); });
        toSecond = !toSecond;
        auto fresh = std::make_unique<References>();
        timer.Baseline([&] { scratchFound = fresh->ResolveAll(); });
        fresh.reset();
    }
    const std::size_t found = references.ResolveAll();
    state.SetItemsProcessed(state.iterations() * kReferences * kKinds);
    timer.Report(state, found == kReferences * kKinds && scratchFound == found ? found : 0,
                 "references did not all resolve after the switch");
}
BENCHMARK(BM_SwitchActiveApplication)->Unit(benchmark::kMillisecond);

}  // namespace
