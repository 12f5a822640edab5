// Loading and saving a strings file of 30,000 entries against reading and writing its bytes, and
// a language switch with 10,000 live label references against applying the new texts one label
// at a time (each change re-resolving and repainting on its own). Every benchmark reports "ratio"
// (library over baseline, measured in the same iterations) and fails when its scene did nothing.
#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

#include "bench_ratio.h"
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

// Every third entry carries accented and non-Latin text, as translated files do.
String EntryText(int id) {
    static const String kTails[] = {u"", u" \u00E9t\u00E9 \u00FCber",
                                    u" \u0417\u0430\u043F\u0438\u0441\u044C"};
    return u"Entry number " + IntToStr(id) + kTails[id % 3];
}

int Entries(const TKwPkgStrings& package) {
    return package.Labels().Count() + package.Messages().Count() + package.Texts().Count();
}

void Fill(TKwPkgStrings& package) {
    TKwLoadingScope building(package);
    for (int id = 0; id < kEntriesPerKind; ++id) {
        const String text = EntryText(id);
        package.Labels().Add(id, text, u"Hint of " + text);
        package.Messages().Add(id, text);
        package.Texts().Add(id, text);
    }
}

String TempPath(const char* name) {
    return Utf8ToString((std::filesystem::temp_directory_path() / name).string());
}

const String& StringsFile() {
    static const String path = [] {
        TKwPkgStrings package;
        Fill(package);
        const String name = TempPath("kw_bench_strings.pst");
        package.SaveToFile(name);
        return name;
    }();
    return path;
}

void BM_LoadStringsFile(benchmark::State& state) {
    KwResetPackagesState();
    TKwPkgStrings package;
    bench::RatioTimer timer;
    for (auto _ : state) {
        timer.Library([&] { package.LoadFromFile(StringsFile()); });
        timer.Baseline([&] {
            TMemoryStream bytes;
            bytes.LoadFromFile(StringsFile());
            benchmark::DoNotOptimize(bytes.Memory());
        });
    }
    const bool live =
        Entries(package) == 3 * kEntriesPerKind &&
        package.Labels().FindId(kEntriesPerKind - 1)->Text() == EntryText(kEntriesPerKind - 1);
    timer.Report(state, live ? Entries(package) : 0, "the loaded package lacks entries");
}
BENCHMARK(BM_LoadStringsFile)->Unit(benchmark::kMillisecond);

void BM_LoadStringsStream(benchmark::State& state) {
    KwResetPackagesState();
    TMemoryStream file;
    file.LoadFromFile(StringsFile());
    TKwPkgStrings package;
    std::vector<std::uint8_t> copy(file.Bytes().size());
    bench::RatioTimer timer;
    for (auto _ : state) {
        file.SetPosition(0);
        timer.Library([&] { package.LoadFromStream(file); });
        timer.Baseline([&] {
            std::memcpy(copy.data(), file.Memory(), copy.size());
            benchmark::ClobberMemory();
        });
    }
    timer.Report(state, Entries(package) == 3 * kEntriesPerKind ? Entries(package) : 0,
                 "the loaded package lacks entries");
}
BENCHMARK(BM_LoadStringsStream)->Unit(benchmark::kMillisecond);

void BM_SaveStringsFile(benchmark::State& state) {
    KwResetPackagesState();
    TKwPkgStrings package;
    Fill(package);
    const String target = TempPath("kw_bench_strings_saved.pst");
    TMemoryStream expected;
    expected.LoadFromFile(StringsFile());
    bench::RatioTimer timer;
    for (auto _ : state) {
        timer.Library([&] { package.SaveToFile(target); });
        timer.Baseline([&] { expected.SaveToFile(target); });
    }
    TMemoryStream saved;
    package.SaveToFile(target);
    saved.LoadFromFile(target);
    timer.Report(state, saved.Bytes() == expected.Bytes() ? Entries(package) : 0,
                 "the saved file differs from the reference bytes");
}
BENCHMARK(BM_SaveStringsFile)->Unit(benchmark::kMillisecond);

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
    String paths[2] = {TempPath("kw_bench_switch_english.lan"),
                       TempPath("kw_bench_switch_spanish.lan")};
    bool fromFile = false;
    std::vector<std::unique_ptr<Control>> controls;
    std::vector<std::unique_ptr<TKwMemoryLabel>> refs;

    explicit LanguageScene(bool loadFromFile) : fromFile(loadFromFile) {
        KwResetFrameworkState();
        KwResetPackagesState();
        app = std::make_unique<TKwCApplication>();
        language = &app->PkgLanguage();
        for (int i = 0; i < 2; ++i) {
            TKwPkgLanguage source;
            TKwLoadingScope building(source);
            for (int id = 0; id < kLabels; ++id)
                source.SystemStrings().Labels().Add(id, texts[i][static_cast<size_t>(id)], u"");
            TMemoryStream stream;
            source.SaveToStream(stream);
            files[i] = stream.Bytes();
            source.SaveToFile(paths[i]);
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
        for (const String& path : paths)
            std::filesystem::remove(StringToUtf8(path));
        KwResetPackagesState();
        KwResetFrameworkState();
    }
    void Load(int which) {
        if (fromFile) {
            language->LoadFromFile(paths[which]);
            return;
        }
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

// The same scene switched in one load of the other language (from memory, or from its file as an
// application does), against the same change made one label at a time. Goal: the batched switch
// within 1 ms and at least five times faster (ratio at most 0.2).
void SwitchLanguage(benchmark::State& state, bool fromFile) {
    LanguageScene scene(fromFile);
    bench::RatioTimer timer;
    int which = 0;
    size_t painted = 0;
    for (auto _ : state) {
        const size_t before = scene.Painted();
        timer.Library([&] { scene.Load(which ^= 1); });
        painted += scene.Painted() - before;
        timer.Baseline([&] { scene.ApplyOneByOne(which ^= 1); });
        which ^= 1;
        scene.Load(which);
    }
    const bool live = painted > 0 && scene.refs.front()->Text() == scene.texts[which][0];
    timer.Report(state, live ? static_cast<double>(painted) : 0,
                 "the switch repainted nothing or left stale texts");
}

void BM_SwitchLanguageBatched(benchmark::State& state) {
    SwitchLanguage(state, false);
}
BENCHMARK(BM_SwitchLanguageBatched)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_SwitchLanguageBatchedFile(benchmark::State& state) {
    SwitchLanguage(state, true);
}
BENCHMARK(BM_SwitchLanguageBatchedFile)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
}  // namespace kw
