#include "drawing/gradient.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <memory>

#include "display/memory_image.h"
#include "display/package_image.h"
#include "drawing/canvas_saver.h"
#include "drawing/colors.h"
#include "drawing/palette.h"
#include "drawing/rects.h"
#include "drawing/state.h"
#include "platform/core/numbers.h"
#include "platform/core/stream.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/canvas.h"

namespace kw {

namespace {

constexpr int kGridSize = 8;

bool HorizontalExtent(TKwBackGroundStyle style) {
    return style == bgsLeft || style == bgsRight || style == bgsHorzIn || style == bgsHorzOut;
}

bool RunsFromStart(TKwBackGroundStyle style) {
    return style == bgsDown || style == bgsRight || style == bgsHorzOut || style == bgsVertOut;
}

bool Mirrored(TKwBackGroundStyle style) {
    return style == bgsHorzIn || style == bgsHorzOut || style == bgsVertIn || style == bgsVertOut;
}

struct TExtents {
    int width = 0;
    int height = 0;
    bool paintable = false;
};

TExtents ExtentsOf(const TRect& rect) {
    if (!KwPaintable(rect))
        return {};
    return {rect.Width(), rect.Height(), true};
}

// Edge `i` of `parts` equal parts of `span` pixels from `origin`, rounded as MulDiv rounds.
int BandEdge(int origin, int i, int span, int parts) {
    return KwClampToInt(std::int64_t{origin} + MulDiv(i, span, parts));
}

void FillWith(TCanvas& canvas, const TRect& rect, TColor color) {
    canvas.Brush().Style = TBrushStyle::bsSolid;
    canvas.Brush().Color = KwRealizedColor(color);
    canvas.FillRect(rect);
}

// The image a background style shows, as a bitmap: none when the reference resolves to nothing
// or its data does not decode. With `transparent` the image's see-through pixels take `solid`.
std::unique_ptr<TBitmap> WorkingBitmap(TKwMemoryImage* image, bool transparent, TColor solid) {
    TKwPkgImagesImage* info = image != nullptr ? image->Info() : nullptr;
    TStream* data = info != nullptr ? info->ReadStream(true) : nullptr;
    if (data == nullptr)
        return nullptr;
    auto loaded = std::make_unique<TBitmap>();
    try {
        data->SetPosition(0);
        loaded->LoadFromStream(*data);
    } catch (const Exception&) {
        return nullptr;
    }
    if (loaded->Empty())
        return nullptr;
    if (!transparent)
        return loaded;
    auto working = std::make_unique<TBitmap>(loaded->Width(), loaded->Height());
    KwAssignBitmapPalette(*working);
    const TRect all(0, 0, loaded->Width(), loaded->Height());
    FillWith(working->Canvas(), all, solid);
    working->Canvas().DrawBitmap(all, *loaded, all, TBlendMode::bmColorKey,
                                 loaded->TransparentColor());
    return working;
}

// Rows of the strip that vertical bands are copied down the rectangle with.
constexpr int kBandStripRows = 32;

// Bands side by side repeat one row all the way down: that row is built once, for the columns
// that can be seen, repeated into a short strip, and the strip is copied down the visible rows
// one plain blit at a time, instead of filling every band row by row. Only for colour targets
// copied plainly, where the blits put down exactly what a fill would; false when it does not
// apply.
bool PaintBandRow(TCanvas& canvas, const TRect& rect, const std::vector<TKwGradientBand>& bands,
                  const std::vector<TColor>& table) {
    if (canvas.Target().Monochrome() || canvas.CopyMode() != cmSrcCopy)
        return false;
    const TRect visible = rect.Intersect(canvas.ClipRect());
    if (visible.IsEmpty() || bands.empty())
        return true;
    const int width = visible.Width();
    const int rows = std::min(visible.Height(), kBandStripRows);
    TBitmap strip(width, rows, TPixelFormat::pf32bit);
    auto* pixels = reinterpret_cast<std::uint32_t*>(strip.ScanLine(0));
    for (const TKwGradientBand& band : bands) {
        const int from = std::max(band.Rect.Left, visible.Left) - visible.Left;
        const int to = std::min(band.Rect.Right, visible.Right) - visible.Left;
        if (from < to)
            std::fill(pixels + from, pixels + to,
                      ColorToArgb(ColorToRGB(KwRealizedColor(table[band.Entry]))));
    }
    for (int y = 1; y < rows; ++y)
        std::copy(pixels, pixels + width, reinterpret_cast<std::uint32_t*>(strip.ScanLine(y)));
    strip.PixelsChanged();
    for (std::int64_t top = visible.Top; top < visible.Bottom; top += rows) {
        const int height = static_cast<int>(std::min<std::int64_t>(rows, visible.Bottom - top));
        canvas.DrawBitmap(TRect(visible.Left, static_cast<int>(top), visible.Right,
                                static_cast<int>(top) + height),
                          strip, TRect(0, 0, width, height), TBlendMode::bmCopy);
    }
    return true;
}

void PaintGradient(TCanvas& canvas, const TRect& rect, TKwBackGroundStyle style, TColor start,
                   TColor end, int colors) {
    const int count = KwGradientColorCount(style, rect, colors);
    if (count < 1)
        return;
    const std::vector<TColor> table = KwGradientTable(style, start, end, count);
    const std::vector<TKwGradientBand> bands = KwGradientBands(style, rect, count);
    if (HorizontalExtent(style) && PaintBandRow(canvas, rect, bands, table))
        return;
    canvas.Brush().Style = TBrushStyle::bsSolid;
    for (const TKwGradientBand& band : bands) {
        canvas.Brush().Color = KwRealizedColor(table[band.Entry]);
        canvas.FillRect(band.Rect);
    }
}

void PaintTiles(TCanvas& canvas, const TRect& rect, TBitmap& bitmap) {
    for (std::int64_t y = rect.Top; y < rect.Bottom; y += bitmap.Height()) {
        const int h = static_cast<int>(std::min<std::int64_t>(bitmap.Height(), rect.Bottom - y));
        for (std::int64_t x = rect.Left; x < rect.Right; x += bitmap.Width()) {
            const int w = static_cast<int>(std::min<std::int64_t>(bitmap.Width(), rect.Right - x));
            const TRect dest = TRect::Bounds(static_cast<int>(x), static_cast<int>(y), w, h);
            canvas.CopyRect(dest, bitmap.Canvas(), TRect(0, 0, w, h));
        }
    }
}

// One axis of an anchored image: the source and destination offsets of the shown part.
struct TAnchorOffsets {
    int source = 0;
    int dest = 0;
};

// `place` 0 anchors at the start, 1 at the centre, 2 at the end of the axis.
TAnchorOffsets AnchorAxis(int place, int imageSide, int side, int shown) {
    const int overhang = imageSide > side ? imageSide - side : 0;
    switch (place) {
        case 1:
            return {overhang / 2, (side - shown) / 2};
        case 2:
            return {overhang, side - shown};
        default:
            return {};
    }
}

void PaintAnchored(TCanvas& canvas, const TRect& rect, const TExtents& size,
                   TKwBackGroundStyle style, TBitmap& bitmap, TColor solid) {
    const int anchor = style - bgsLeftTop;
    const int w = std::min(bitmap.Width(), size.width);
    const int h = std::min(bitmap.Height(), size.height);
    const TAnchorOffsets ax = AnchorAxis(anchor / 3, bitmap.Width(), size.width, w);
    const TAnchorOffsets ay = AnchorAxis(anchor % 3, bitmap.Height(), size.height, h);
    const TRect source = TRect::Bounds(ax.source, ay.source, w, h);
    const TRect dest = TRect::Bounds(rect.Left + ax.dest, rect.Top + ay.dest, w, h);
    canvas.CopyRect(dest, bitmap.Canvas(), source);
    TKwCanvasSaver saver(canvas);
    ExcludeClipRect(canvas.Handle(), dest.Left, dest.Top, dest.Right, dest.Bottom);
    FillWith(canvas, rect, solid);
}

void PaintImage(TCanvas& canvas, const TRect& rect, const TExtents& size, TKwBackGroundStyle style,
                TKwMemoryImage* image, bool transparent, TColor solid) {
    std::unique_ptr<TBitmap> bitmap = WorkingBitmap(image, transparent, solid);
    if (!bitmap) {
        FillWith(canvas, rect, solid);
        return;
    }
    const TRect whole(0, 0, bitmap->Width(), bitmap->Height());
    if (style == bgsStretchImage) {
        if (Kw8BitPalette())
            canvas.CopyRect(rect, bitmap->Canvas(), whole);
        else
            canvas.StretchDraw(rect, *bitmap);
    } else if (style == bgsTileImage) {
        PaintTiles(canvas, rect, *bitmap);
    } else {
        PaintAnchored(canvas, rect, size, style, *bitmap, solid);
    }
}

// A one-pixel checkerboard of the colour and white, from the grid bitmap as brush pattern.
void PaintGrid(TCanvas& canvas, const TRect& rect, TColor solid) {
    canvas.Brush().Style = TBrushStyle::bsSolid;
    canvas.Brush().Bitmap = &KwCreateBrushGrid(solid);
    canvas.FillRect(rect);
    canvas.Brush().Bitmap = nullptr;
}

}  // namespace

bool KwIsGradientStyle(TKwBackGroundStyle style) {
    return style >= bgsUp && style <= bgsVertOut;
}

bool KwIsImageStyle(TKwBackGroundStyle style) {
    return style >= bgsStretchImage && style <= bgsRightBottom;
}

int KwGradientColorCount(TKwBackGroundStyle style, const TRect& rect, int colors) {
    const TExtents size = ExtentsOf(rect);
    if (!KwIsGradientStyle(style) || !size.paintable || colors < 0)
        return 0;
    const int extent = HorizontalExtent(style) ? size.width : size.height;
    const int count = colors != 0 && colors <= extent ? colors : extent;
    return std::min(count, kKwMaxGradientBands);
}

std::vector<TColor> KwGradientTable(TKwBackGroundStyle style, TColor startColor, TColor endColor,
                                    int count) {
    if (count < 1)
        return {};
    const bool fromStart = RunsFromStart(style);
    const TColor a = ColorToRGB(KwSolidColor(fromStart ? startColor : endColor));
    const TColor b = ColorToRGB(KwSolidColor(fromStart ? endColor : startColor));
    auto channel = [count](Byte from, Byte to, int i) {
        const double step = (static_cast<double>(to) - from) / count;
        return static_cast<Byte>(Round(from + i * step) & 0xFF);
    };
    std::vector<TColor> table(count);
    for (int i = 0; i < count; ++i) {
        table[i] = KwSolidColor(RGB(channel(GetRValue(a), GetRValue(b), i),
                                    channel(GetGValue(a), GetGValue(b), i),
                                    channel(GetBValue(a), GetBValue(b), i)));
    }
    return table;
}

std::vector<TKwGradientBand> KwGradientBands(TKwBackGroundStyle style, const TRect& rect,
                                             int count) {
    const TExtents size = ExtentsOf(rect);
    if (!KwIsGradientStyle(style) || !size.paintable || count < 1)
        return {};
    const bool mirrored = Mirrored(style);
    const int half = count / 2;
    const int parts = mirrored ? 2 * half : count;
    const bool across = HorizontalExtent(style);
    const int origin = across ? rect.Left : rect.Top;
    const int span = across ? size.width : size.height;
    std::vector<TKwGradientBand> bands;
    bands.reserve(parts);
    for (int i = 0; i < parts; ++i) {
        const int from = BandEdge(origin, i, span, parts);
        const int to = BandEdge(origin, i + 1, span, parts);
        const int entry = !mirrored ? i : i < half ? 2 * i : 2 * (2 * half - i - 1);
        const TRect band = across ? TRect(from, rect.Top, to, rect.Bottom)
                                  : TRect(rect.Left, from, rect.Right, to);
        bands.push_back({band, entry});
    }
    return bands;
}

TBitmap& KwCreateBrushGrid(TColor color) {
    auto& grid = KwDrawingState().brushGrid;
    if (!grid)
        grid = std::make_unique<TBitmap>();
    grid->SetSize(kGridSize, kGridSize);
    FillWith(grid->Canvas(), TRect(0, 0, kGridSize, kGridSize), KwSolidColor(color));
    for (int y = 0; y < kGridSize; ++y) {
        for (int x = y % 2; x < kGridSize; x += 2)
            grid->SetPixel(x, y, clWhite);
    }
    return *grid;
}

void KwDrawGradient(TCanvas& canvas, const TRect& rect, TKwBackGroundStyle style, TColor startColor,
                    TColor endColor, TColor solidColor, TKwMemoryImage* image, bool transparent,
                    int colors) {
    const TExtents size = ExtentsOf(rect);
    if (!size.paintable || style >= kKwBackGroundStyles)
        return;
    const TColor start = KwSolidColor(startColor);
    const TColor end = KwSolidColor(endColor);
    const TColor solid = KwSolidColor(solidColor);
    TKwCanvasSaver saver(canvas);
    if (style == bgsSolid)
        FillWith(canvas, rect, solid);
    else if (KwIsGradientStyle(style))
        PaintGradient(canvas, rect, style, start, end, colors);
    else if (KwIsImageStyle(style))
        PaintImage(canvas, rect, size, style, image, transparent, solid);
    else
        PaintGrid(canvas, rect, solid);
}

}  // namespace kw
