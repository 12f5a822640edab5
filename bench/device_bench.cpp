// The raster device against plain baselines, each pair timed in one run so the ratio is fair:
// a full-HD vertical band fill against memset of the same bytes, an elliptic region against
// filling the same ellipse, and DrawText of 10,000 captions with glyph rasters cached against
// rasterised afresh for every caption.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "platform/graphics/bitmap.h"
#include "platform/graphics/device.h"
#include "platform/graphics/font_face.h"
#include "platform/graphics/region.h"

namespace {

using kw::HDC;

template <class F>
double Seconds(F&& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// ratio: how fast the library is next to the baseline (baseline time / library time).
void Report(benchmark::State& state, double library, double baseline) {
    state.counters["ratio"] = library > 0 ? baseline / library : 0;
}

void BM_BandFillAgainstMemset(benchmark::State& state) {
    constexpr int kWidth = 1920, kHeight = 1080;
    const kw::TRect band(480, 0, 1440, kHeight);
    kw::TBitmap bitmap(kWidth, kHeight, kw::TPixelFormat::pf32bit);
    const HDC dc = kw::CreateBitmapDC(bitmap);
    const kw::HBRUSH brush = kw::CreateSolidBrush(kw::clRed);
    std::vector<std::uint32_t> plain(static_cast<std::size_t>(kWidth) * kHeight);
    double library = 0, baseline = 0;
    for (auto _ : state) {
        library += Seconds([&] { kw::FillRect(dc, band, brush); });
        baseline += Seconds([&] {
            for (int y = 0; y < kHeight; ++y)
                std::memset(&plain[static_cast<std::size_t>(y) * kWidth + band.Left], 0x5A,
                            static_cast<std::size_t>(band.Width()) * 4);
            benchmark::DoNotOptimize(plain.data());
        });
    }
    if (bitmap.Pixel(band.Left, kHeight - 1) != kw::clRed ||
        bitmap.Pixel(band.Left - 1, 0) == kw::clRed)
        state.SkipWithError("the band was not painted as asked");
    state.counters["pixels"] = static_cast<double>(band.Width()) * band.Height();
    Report(state, library, baseline);
    kw::DeleteDC(dc);
    kw::ResetGdiForTesting();
}
BENCHMARK(BM_BandFillAgainstMemset)->Unit(benchmark::kMillisecond);

void BM_EllipticRegionAgainstFill(benchmark::State& state) {
    kw::TBitmap bitmap(1000, 800, kw::TPixelFormat::pf32bit);
    const HDC dc = kw::CreateBitmapDC(bitmap);
    kw::SelectObject(dc, kw::HBRUSH(kw::GetStockObject(kw::BLACK_BRUSH)));
    kw::SelectObject(dc, kw::HPEN(kw::GetStockObject(kw::NULL_PEN)));
    double library = 0, baseline = 0;
    int rects = 0;
    for (auto _ : state) {
        library += Seconds([&] {
            const kw::HRGN region = kw::CreateEllipticRgn(0, 0, 1001, 801);
            rects = kw::RegionOf(region)->RectCount();
            kw::DeleteObject(region);
        });
        baseline += Seconds([&] { kw::Ellipse(dc, 0, 0, 1001, 801); });
    }
    if (rects == 0 || bitmap.Pixel(500, 400) != kw::clBlack)
        state.SkipWithError("neither the region nor the fill holds the ellipse");
    state.counters["rects"] = rects;
    Report(state, library, baseline);
    kw::DeleteDC(dc);
    kw::ResetGdiForTesting();
}
BENCHMARK(BM_EllipticRegionAgainstFill)->Unit(benchmark::kMillisecond);

void BM_DrawTextCachedAgainstUncachedGlyphs(benchmark::State& state) {
    constexpr int kCaptions = 10000;
    kw::TBitmap bitmap(256, 32, kw::TPixelFormat::pf32bit);
    const HDC dc = kw::CreateBitmapDC(bitmap);
    kw::LOGFONT log;
    log.lfHeight = -13;
    kw::SetFaceName(log, u"Sans");
    kw::SelectObject(dc, kw::CreateFontIndirect(log));
    kw::SetBkMode(dc, kw::TRANSPARENT);
    std::vector<kw::String> captions;
    for (int i = 0; i < kCaptions; ++i)
        captions.push_back(u"Caption " + kw::String(1, static_cast<kw::Char>(u'A' + i % 26)) +
                           kw::String(1, static_cast<kw::Char>(u'0' + i % 10)));
    const auto face = kw::ResolveFontFace(log);
    auto drawAll = [&](bool dropGlyphs) {
        for (const kw::String& caption : captions) {
            if (dropGlyphs)
                face->DropGlyphs();
            kw::TRect r(2, 2, 250, 30);
            kw::DrawText(dc, caption, &r, kw::DT_LEFT | kw::DT_SINGLELINE | kw::DT_VCENTER);
        }
    };
    double library = 0, baseline = 0;
    for (auto _ : state) {
        library += Seconds([&] { drawAll(false); });
        baseline += Seconds([&] { drawAll(true); });
    }
    int inked = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 256; ++x)
            inked += bitmap.Pixel(x, y) != kw::clWhite;
    if (inked == 0 || face->CachedGlyphs() == 0)
        state.SkipWithError("no caption was drawn");
    state.counters["captions"] = kCaptions;
    state.counters["truetype"] =
        (face->Metrics().tmPitchAndFamily & kw::TMPF_TRUETYPE) != 0 ? 1 : 0;
    Report(state, library, baseline);
    kw::DeleteDC(dc);
    kw::ResetGdiForTesting();
}
BENCHMARK(BM_DrawTextCachedAgainstUncachedGlyphs)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
