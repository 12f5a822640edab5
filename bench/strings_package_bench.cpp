// Loading a strings file of 30,000 entries against reading its bytes, and a language switch
// with 10,000 live label references against applying the new texts one label at a time (each
// change re-resolving and repainting on its own).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <vector>

#include "framework/application.h"
#include "framework/link.h"
#include "framework/state.h"
#include "packages/language_package.h"
#include "packages/memory_refs.h"
#include "packages/package_scopes.h"
#include "packages/state.h"
#include "platform/core/stream.h"
#include "platform/text/strings.h"
#include "platform/text/unicode.h"

namespace kw {
namespace {

constexpr int kEntriesPerKind = 10000;
constexpr int kLabels = 1000;
constexpr int kReferences = 10000;
constexpr int kReferencesPerControl = 10;

const String& StringsFile() {
    static const String path = [] {
        TKwPkgStrings package;
        {
            TKwLoadingScope building(package);
            for (int id = 0; id < kEntriesPerKind; ++id) {
                const String text = u"Entry number " + IntToStr(id);
                package.Labels().Add(id, text, u"Hint of " + text);
                package.Messages().Add(id, text);
                package.Texts().Add(id, text);
            }
        }
        const auto file = std::filesystem::temp_directory_path() / "kw_bench_strings.pst";
        const String name = Utf8ToString(file.string());
        package.SaveToFile(name);
        return name;
    }();
    return path;
}

void BM_ReadStringsFileBytes(benchmark::State& state) {
    for (auto _ : state) {
        TMemoryStream bytes;
        bytes.LoadFromFile(StringsFile());
        benchmark::DoNotOptimize(bytes.Memory());
    }
}
BENCHMARK(BM_ReadStringsFileBytes)->Unit(benchmark::kMillisecond);

void BM_LoadStringsFile(benchmark::State& state) {
    KwResetPackagesState();
    TKwPkgStrings package;
    for (auto _ : state)
        package.LoadFromFile(StringsFile());
    state.counters["entries"] =
        package.Labels().Count() + package.Messages().Count() + package.Texts().Count();
}
BENCHMARK(BM_LoadStringsFile)->Unit(benchmark::kMillisecond);

// A control stand-in: repainting reads the texts of its references.
struct Control {
    TComponent owner;
    TKwLinkEvt link{&owner, kwInitControl};
    std::vector<TKwMemoryLabel*> refs;
    size_t painted = 0;
    Control() {
        link.Init();
        link.OnUpdate = [this](TKwLinkEvt&) {
            for (TKwMemoryLabel* ref : refs)
                painted += ref->Text().size();
        };
    }
};

std::vector<String> Texts(const String& prefix) {
    std::vector<String> texts;
    for (int id = 0; id < kLabels; ++id)
        texts.push_back(prefix + IntToStr(id));
    return texts;
}

// An application whose language has 1,000 labels shown by 10,000 references on 1,000 controls.
struct LanguageScene {
    std::unique_ptr<TKwCApplication> app;
    TKwPkgLanguage* language = nullptr;
    std::vector<String> texts[2] = {Texts(u"English caption "), Texts(u"Título en español ")};
    std::vector<std::uint8_t> files[2];
    std::vector<std::unique_ptr<Control>> controls;
    std::vector<std::unique_ptr<TKwMemoryLabel>> refs;

    LanguageScene() {
        KwResetFrameworkState();
        KwResetPackagesState();
        app = std::make_unique<TKwCApplication>();
        language = &Create<TKwPkgLanguage>(*app);
        for (int i = 0; i < 2; ++i) {
            TKwPkgLanguage source;
            TKwLoadingScope building(source);
            for (int id = 0; id < kLabels; ++id)
                source.SystemStrings().Labels().Add(id, texts[i][static_cast<size_t>(id)], u"");
            TMemoryStream stream;
            source.SaveToStream(stream);
            files[i] = stream.Bytes();
        }
        Load(0);
        for (int i = 0; i < kReferences; ++i) {
            if (i % kReferencesPerControl == 0)
                controls.push_back(std::make_unique<Control>());
            Control& control = *controls.back();
            refs.push_back(std::make_unique<TKwMemoryLabel>());
            refs.back()->PkgId(u"System", i % kLabels);
            refs.back()->OnChange = [&control](TKwMemoryReference&) { control.link.Change(); };
            control.refs.push_back(refs.back().get());
            refs.back()->Text();
        }
    }
    ~LanguageScene() {
        refs.clear();
        controls.clear();
        app.reset();
        KwResetPackagesState();
        KwResetFrameworkState();
    }
    void Load(int which) {
        TMemoryStream stream;
        stream.Write(files[which].data(), static_cast<std::int64_t>(files[which].size()));
        language->LoadFromStream(stream);
    }
    void ApplyOneByOne(int which) {
        TKwPkgStringsLabels& labels = language->SystemStrings().Labels();
        for (int id = 0; id < kLabels; ++id)
            labels.FindId(id)->SetText(texts[which][static_cast<size_t>(id)]);
    }
    size_t Painted() const {
        size_t total = 0;
        for (const auto& control : controls)
            total += control->painted;
        return total;
    }
};

void BM_SwitchLanguageBatched(benchmark::State& state) {
    LanguageScene scene;
    int which = 0;
    for (auto _ : state)
        scene.Load(which ^= 1);
    benchmark::DoNotOptimize(scene.Painted());
}
BENCHMARK(BM_SwitchLanguageBatched)->Unit(benchmark::kMillisecond);

void BM_SwitchLanguageOneByOne(benchmark::State& state) {
    LanguageScene scene;
    int which = 0;
    for (auto _ : state)
        scene.ApplyOneByOne(which ^= 1);
    benchmark::DoNotOptimize(scene.Painted());
}
BENCHMARK(BM_SwitchLanguageOneByOne)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kw
