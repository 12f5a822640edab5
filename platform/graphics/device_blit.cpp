// Bit-block transfers and palettes of the raster device.

#include <algorithm>
#include <cstring>
#include <limits>

#include "platform/graphics/device.h"
#include "platform/graphics/painter.h"

namespace kw {

namespace {

bool UsesSource(std::uint32_t rop) {
    const std::uint32_t code = (rop >> 16) & 0xFF;
    return ((code >> 2) & 0x33) != (code & 0x33);
}

bool UsesPattern(std::uint32_t rop) {
    const std::uint32_t code = (rop >> 16) & 0xFF;
    return ((code >> 4) & 0x0F) != (code & 0x0F);
}

// Normalises a negative extent: the run then starts `extent + 1` earlier.
void Unflip(std::int64_t& start, std::int64_t& extent) {
    if (extent < 0) {
        start += extent + 1;
        extent = -extent;
    }
}

// A source pixel as the destination sees it, converting between colour and monochrome.
struct SourceReader {
    const TBitmap& bitmap;
    bool toMono;
    bool fromMono;
    std::uint32_t sourceBack;  // colour source: this value becomes 1 in a monochrome target
    std::uint32_t one;         // monochrome source into colour: 1 bits, 0 bits
    std::uint32_t zero;

    std::uint32_t At(int x, int y) const {
        if (fromMono) {
            const bool set = (bitmap.ScanLine(y)[x >> 3] >> (7 - (x & 7))) & 1;
            if (toMono)
                return set ? 0xFFFFFFu : 0u;
            return set ? one : zero;
        }
        const std::uint32_t v =
            reinterpret_cast<const std::uint32_t*>(bitmap.ScanLine(y))[x] & 0xFFFFFFu;
        if (toMono)
            return v == sourceBack ? 0xFFFFFFu : 0u;
        return v;
    }
};

SourceReader ReaderFor(const GdiDC& dest, const GdiDC& source) {
    const TBitmap& from = source.Target();
    const TBitmap& to = dest.Target();
    return {from,
            to.Monochrome(),
            from.Monochrome(),
            ColorToArgb(ColorToRGB(source.state.bkColor)) & 0xFFFFFFu,
            DeviceValue(to, dest.state.bkColor),
            DeviceValue(to, dest.state.textColor)};
}

// Runs the raster operation over destination `rect` (device units), taking the source pixel
// for each destination pixel from `sourceAt` (already converted, may be empty when unused).
template <class SourceAt>
void Transfer(GdiDC& dc, const TRect& rect, std::uint32_t rop, SourceAt&& sourceAt) {
    Painter painter(dc);
    const bool pattern = UsesPattern(rop);
    const Ink brush = pattern ? Ink::FromBrush(dc, *dc.state.brush) : Ink::Solid(0);
    const int top = std::max(rect.Top, painter.Box().Top);
    const int bottom = std::min(rect.Bottom, painter.Box().Bottom);
    for (int y = top; y < bottom; ++y) {
        painter.ForVisible(y, rect.Left, rect.Right, [&](int a, int b) {
            for (int x = a; x < b; ++x) {
                std::uint32_t p = 0;
                if (pattern && !brush.At(x, y, p))
                    p = 0;
                const std::uint32_t s = sourceAt(x, y);
                painter.Put(x, y, Rop3Bits(rop, p, s, painter.Get(x, y)));
            }
        });
    }
}

}  // namespace

bool PatBlt(HDC dc, int x, int y, int width, int height, std::uint32_t rop) {
    const auto device = FindDC(dc);
    if (!device)
        return false;
    const TPoint p = device->ToDevice(x, y);
    std::int64_t left = p.X, top = p.Y, w = width, h = height;
    Unflip(left, w);
    Unflip(top, h);
    const TRect rect(static_cast<int>(std::clamp<std::int64_t>(left, INT32_MIN, INT32_MAX)),
                     static_cast<int>(std::clamp<std::int64_t>(top, INT32_MIN, INT32_MAX)),
                     static_cast<int>(std::clamp<std::int64_t>(left + w, INT32_MIN, INT32_MAX)),
                     static_cast<int>(std::clamp<std::int64_t>(top + h, INT32_MIN, INT32_MAX)));
    if (rect.IsEmpty())
        return true;
    if (rop == PATCOPY) {
        Painter painter(*device);
        const Ink ink = Ink::FromBrush(*device, *device->state.brush);
        // A clear brush still paints in a raster operation: its pattern is black.
        const Ink used = ink.Empty() ? Ink::Solid(0) : ink;
        const int y0 = std::max(rect.Top, painter.Box().Top);
        const int y1 = std::min(rect.Bottom, painter.Box().Bottom);
        for (int row = y0; row < y1; ++row)
            painter.Span(row, rect.Left, rect.Right, used, 0);
        return true;
    }
    Transfer(*device, rect, rop, [](int, int) { return 0u; });
    return true;
}

bool StretchBlt(HDC dest, int x, int y, int width, int height, HDC source, int sx, int sy, int sw,
                int sh, std::uint32_t rop) {
    const auto to = FindDC(dest);
    if (!to)
        return false;
    const auto from = UsesSource(rop) ? FindDC(source) : nullptr;
    if (UsesSource(rop) && !from)
        return false;
    const TPoint d = to->ToDevice(x, y);
    std::int64_t dl = d.X, dt = d.Y, dw = width, dh = height;
    const bool flipX = (dw < 0) != (sw < 0);
    const bool flipY = (dh < 0) != (sh < 0);
    Unflip(dl, dw);
    Unflip(dt, dh);
    if (dw == 0 || dh == 0)
        return true;
    const auto clamp = [](std::int64_t v) {
        return static_cast<int>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
    };
    const TRect rect(clamp(dl), clamp(dt), clamp(dl + dw), clamp(dt + dh));
    if (!from) {
        Transfer(*to, rect, rop, [](int, int) { return 0u; });
        return true;
    }
    std::int64_t sl = 0, st = 0, sww = sw, shh = sh;
    const TPoint s = from->ToDevice(sx, sy);
    sl = s.X;
    st = s.Y;
    Unflip(sl, sww);
    Unflip(st, shh);
    if (sww == 0 || shh == 0)
        return true;
    // Read the source first: copies within one bitmap then behave like memmove.
    const TBitmap& bitmap = from->Target();
    const SourceReader reader = ReaderFor(*to, *from);
    const TRect visible = rect.Intersect(TRect(0, 0, to->Target().Width(), to->Target().Height()));
    if (visible.IsEmpty())
        return true;
    const int vw = visible.Width();
    std::vector<std::uint32_t> sampled(static_cast<std::size_t>(vw) * visible.Height());
    std::vector<std::int64_t> columns(vw);
    for (int i = 0; i < vw; ++i) {
        std::int64_t k = std::int64_t{visible.Left} + i - dl;
        if (flipX)
            k = dw - 1 - k;
        columns[i] = sl + static_cast<std::int64_t>((__int128{k} * sww) / dw);
    }
    for (int row = 0; row < visible.Height(); ++row) {
        std::int64_t k = std::int64_t{visible.Top} + row - dt;
        if (flipY)
            k = dh - 1 - k;
        const std::int64_t sy2 = st + static_cast<std::int64_t>((__int128{k} * shh) / dh);
        for (int i = 0; i < vw; ++i) {
            const std::int64_t sx2 = columns[i];
            // Outside the source reads as black (0 bits in monochrome).
            sampled[static_cast<std::size_t>(row) * vw + i] =
                sx2 < 0 || sy2 < 0 || sx2 >= bitmap.Width() || sy2 >= bitmap.Height()
                    ? 0u
                    : reader.At(static_cast<int>(sx2), static_cast<int>(sy2));
        }
    }
    Transfer(*to, visible, rop, [&](int px, int py) {
        return sampled[static_cast<std::size_t>(py - visible.Top) * vw + (px - visible.Left)];
    });
    return true;
}

bool BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int sx, int sy,
            std::uint32_t rop) {
    // Negative extents shift both rectangles to end at the given corner; no mirroring.
    std::int64_t dx = x, dy = y, sxx = sx, syy = sy, w = width, h = height;
    if (w < 0) {
        dx += w + 1;
        sxx += w + 1;
        w = -w;
    }
    if (h < 0) {
        dy += h + 1;
        syy += h + 1;
        h = -h;
    }
    const auto clamp = [](std::int64_t v) {
        return static_cast<int>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
    };
    return StretchBlt(dest, clamp(dx), clamp(dy), clamp(w), clamp(h), source, clamp(sxx),
                      clamp(syy), clamp(w), clamp(h), rop);
}

// ---- Palettes --------------------------------------------------------------------------------

namespace {

std::shared_ptr<GdiPalette> FindPalette(HPALETTE palette) {
    return FindGdi<GdiPalette>(palette, TGdiKind::Palette);
}

std::array<PALETTEENTRY, 256>& SystemPalette() {
    return GdiSystemPalette();
}

void FillStaticEntries() {
    auto& system = SystemPalette();
    const auto defaults = FindPalette(HPALETTE(GetStockObject(DEFAULT_PALETTE)));
    for (int i = 0; i < 10; ++i) {
        system[i] = defaults->entries[i];
        system[246 + i] = defaults->entries[10 + i];
    }
}

}  // namespace

HPALETTE CreatePalette(std::span<const PALETTEENTRY> entries) {
    if (entries.empty() || entries.size() > 65536)
        return HPALETTE();
    auto object = std::make_shared<GdiPalette>();
    object->entries.assign(entries.begin(), entries.end());
    return HPALETTE(AddGdiObject(object));
}

HPALETTE CopyPalette(HPALETTE palette) {
    const auto object = FindPalette(palette);
    return object ? CreatePalette(object->entries) : HPALETTE();
}

unsigned GetPaletteEntries(HPALETTE palette, unsigned start, std::span<PALETTEENTRY> out) {
    const auto object = FindPalette(palette);
    if (!object || start >= object->entries.size())
        return 0;
    const auto count = std::min<std::size_t>(out.size(), object->entries.size() - start);
    std::copy_n(object->entries.begin() + start, count, out.begin());
    return static_cast<unsigned>(count);
}

HPALETTE SelectPalette(HDC dc, HPALETTE palette, bool) {
    const auto device = FindDC(dc);
    const auto object = FindPalette(palette);
    if (!device || !object)
        return HPALETTE();
    device->state.palette = object;
    return std::exchange(device->state.paletteHandle, palette);
}

unsigned RealizePalette(HDC dc) {
    const auto device = FindDC(dc);
    if (!device || GetDeviceCaps(dc, RASTERCAPS) != RC_PALETTE)
        return 0;
    FillStaticEntries();
    auto& system = SystemPalette();
    const auto& entries = device->state.palette->entries;
    unsigned mapped = 0;
    for (std::size_t i = 0; i < entries.size() && mapped < 236; ++i) {
        PALETTEENTRY e = entries[i];
        e.peFlags = 0;
        system[10 + mapped++] = e;
    }
    return mapped;
}

unsigned GetSystemPaletteEntries(HDC dc, unsigned start, std::span<PALETTEENTRY> out) {
    if (!FindDC(dc) || GetDeviceCaps(dc, RASTERCAPS) != RC_PALETTE || start >= 256)
        return 0;
    FillStaticEntries();
    const auto count = std::min<std::size_t>(out.size(), 256 - start);
    std::copy_n(SystemPalette().begin() + start, count, out.begin());
    return static_cast<unsigned>(count);
}

unsigned GetNearestPaletteIndex(HPALETTE palette, TColor color) {
    const auto object = FindPalette(palette);
    if (!object)
        return 0xFFFFFFFFu;
    const TColor rgb = ColorToRGB(color);
    unsigned best = 0;
    int bestDistance = std::numeric_limits<int>::max();
    for (std::size_t i = 0; i < object->entries.size(); ++i) {
        const PALETTEENTRY& e = object->entries[i];
        const int dr = e.peRed - GetRValue(rgb), dg = e.peGreen - GetGValue(rgb),
                  db = e.peBlue - GetBValue(rgb);
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = static_cast<unsigned>(i);
        }
    }
    return best;
}

}  // namespace kw
