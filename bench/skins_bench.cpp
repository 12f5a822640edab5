// A nine-slice skin painted to 400 x 300 against one stretch of the same image to that size, and
// the region of a 512 x 512 mask against counting its set pixels, each measured in the same run.
// The counter "ratio" is the library's time over the baseline's.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "bench_ratio.h"
#include "display/package_image.h"
#include "drawing/skins.h"
#include "drawing/state.h"
#include "platform/core/stream.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/device.h"

namespace kw {
namespace {

constexpr int kSkin = 64;
constexpr int kCorner = 16;
constexpr int kMask = 512;

TBitmap& SkinPixels() {
    static const std::unique_ptr<TBitmap> pixels = [] {
        auto b = std::make_unique<TBitmap>(kSkin, kSkin);
        for (int y = 0; y < kSkin; ++y) {
            for (int x = 0; x < kSkin; ++x)
                b->SetPixel(x, y, RGB(static_cast<Byte>(x * 4), static_cast<Byte>(y * 4), 90));
        }
        return b;
    }();
    return *pixels;
}

std::unique_ptr<TKwPkgImagesImage> SlicedSkin() {
    auto image = std::make_unique<TKwPkgImagesImage>(nullptr);
    TMemoryStream stream;
    SkinPixels().SaveToStream(stream);
    image->LoadFromStream(stream, &TBitmap::StaticClass());
    TKwImageSkin& skin = image->Skin();
    skin.adjusts = true;
    skin.up1 = skin.up2 = skin.down1 = skin.down2 = kCorner;
    skin.left1 = skin.left2 = skin.right1 = skin.right2 = kCorner;
    return image;
}

void BM_PaintSkinAgainstStretch(benchmark::State& state) {
    KwResetDrawingState();
    ResetGdiForTesting();
    const auto skin = SlicedSkin();
    TBitmap target(400, 300);
    const TRect all(0, 0, 400, 300);
    bench::RatioTimer timer;
    double painted = 0;
    for (auto _ : state) {
        target.Canvas().Brush().Color = clWhite;
        target.Canvas().FillRect(all);
        timer.Library([&] { KwPaintSkin(all, target.Canvas(), skin.get(), nullptr, nullptr); });
        // The far corner holds the image's far corner when the skin was painted.
        painted += target.Pixel(399, 299) == SkinPixels().Pixel(kSkin - 1, kSkin - 1) &&
                   target.Pixel(200, 0) != clWhite;
        timer.Baseline([&] {
            target.Canvas().CopyRect(all, SkinPixels().Canvas(), TRect(0, 0, kSkin, kSkin));
        });
    }
    timer.Report(state, painted, "the skin painted nothing");
}
BENCHMARK(BM_PaintSkinAgainstStretch)->Unit(benchmark::kMicrosecond);

// Rings and stripes: many runs per row, as a window shape traced from a picture has.
TBitmap& MaskBitmap() {
    static const std::unique_ptr<TBitmap> mask = [] {
        auto b = std::make_unique<TBitmap>(kMask, kMask);
        for (int y = 0; y < kMask; ++y) {
            for (int x = 0; x < kMask; ++x) {
                const int dx = x - kMask / 2;
                const int dy = y - kMask / 2;
                const bool set = ((dx * dx + dy * dy) / 900) % 2 == 0 && (x / 7) % 3 != 0;
                b->SetPixel(x, y, set && y != kMask - 1 ? clBlack : clWhite);
            }
        }
        return b;
    }();
    return *mask;
}

void BM_CreateBitmapRgnAgainstCounting(benchmark::State& state) {
    const TBitmap& mask = MaskBitmap();
    bench::RatioTimer timer;
    double rects = 0;
    std::int64_t counted = 0;
    for (auto _ : state) {
        timer.Library([&] {
            const TRegion region = KwCreateBitmapRgn(&mask);
            rects += region.RectCount();
        });
        timer.Baseline([&] {
            const std::uint32_t key = mask.PixelArgb(0, kMask - 1) & 0xFFFFFFu;
            std::vector<std::uint32_t> row(kMask);
            std::int64_t set = 0;
            for (int y = 0; y < kMask; ++y) {
                mask.ReadArgbRow(y, 0, kMask, row.data());
                for (const std::uint32_t p : row)
                    set += (p & 0xFFFFFFu) != key;
            }
            counted += set;
            benchmark::DoNotOptimize(set);
        });
    }
    timer.Report(state, counted > 0 ? rects : 0, "the mask gave an empty region");
}
BENCHMARK(BM_CreateBitmapRgnAgainstCounting)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kw
