// Loading an image package of 1,000 PNG images against reading the file's bytes: the package
// keeps the native bytes as they come, so loading should cost little more than the read.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "display/image_package.h"
#include "display/state.h"
#include "packages/package_scopes.h"
#include "platform/core/stream.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/graphic.h"
#include "platform/text/unicode.h"

namespace kw {
namespace {

constexpr int kImages = 1000;
constexpr int kSide = 32;

std::vector<Byte> PngBytes(int seed) {
    TBitmap pixels(kSide, kSide, TPixelFormat::pf32bit);
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x)
            pixels.SetPixel(x, y,
                            RGB(static_cast<Byte>(x * 8 + seed), static_cast<Byte>(y * 8),
                                static_cast<Byte>(seed)));
    }
    TPngImage png;
    png.Assign(&pixels);
    TMemoryStream stream;
    png.SaveToStream(stream);
    return stream.Bytes();
}

const String& PackageFile() {
    static const String path = [] {
        TKwPkgImages package;
        {
            TKwLoadingScope building(package);
            for (int id = 0; id < kImages; ++id) {
                const std::vector<Byte> bytes = PngBytes(id % 256);
                TMemoryStream stream;
                stream.Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
                package.Images().Add(id).LoadFromStream(stream, &TPngImage::StaticClass());
            }
        }
        const auto file = std::filesystem::temp_directory_path() / "kw_bench_images.pim";
        const String name = Utf8ToString(file.string());
        package.SaveToFile(name);
        return name;
    }();
    return path;
}

void BM_ReadImagePackageBytes(benchmark::State& state) {
    for (auto _ : state) {
        TMemoryStream bytes;
        bytes.LoadFromFile(PackageFile());
        benchmark::DoNotOptimize(bytes.Memory());
    }
}
BENCHMARK(BM_ReadImagePackageBytes)->Unit(benchmark::kMillisecond);

void BM_LoadImagePackage(benchmark::State& state) {
    KwResetDisplayState();
    TKwPkgImages package;
    for (auto _ : state)
        package.LoadFromFile(PackageFile());
    state.counters["images"] = package.Images().Count();
}
BENCHMARK(BM_LoadImagePackage)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kw
