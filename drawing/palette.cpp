#include "drawing/palette.h"

#include <span>

#include "drawing/state.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/canvas.h"

namespace kw {

namespace {

constexpr int kStaticHead = 10;
constexpr int kCubeFirst = 10;
constexpr int kRampFirst = 226;
constexpr int kRampSize = 20;

// The system's 20 static colours: from the screen's palette when it has one, else those of the
// default palette, which holds the same colours.
std::array<PALETTEENTRY, 20> StaticColors() {
    std::array<PALETTEENTRY, 256> system{};
    std::array<PALETTEENTRY, 20> colors{};
    const HDC screen = GetDC(nullptr);
    const bool fromScreen = GetSystemPaletteEntries(screen, 0, system) == 256;
    ReleaseDC(nullptr, screen);
    if (fromScreen) {
        std::copy_n(system.begin(), kStaticHead, colors.begin());
        std::copy_n(system.end() - kStaticHead, kStaticHead, colors.begin() + kStaticHead);
    } else {
        GetPaletteEntries(HPALETTE(GetStockObject(DEFAULT_PALETTE)), 0, colors);
    }
    return colors;
}

void Realise(HDC dc, HPALETTE palette) {
    SelectPalette(dc, palette, false);
    RealizePalette(dc);
}

}  // namespace

std::array<PALETTEENTRY, 256> KwPaletteEntries() {
    std::array<PALETTEENTRY, 256> entries{};
    const auto statics = StaticColors();
    std::copy_n(statics.begin(), kStaticHead, entries.begin());
    std::copy_n(statics.begin() + kStaticHead, kStaticHead, entries.end() - kStaticHead);
    for (int b = 0; b < 6; ++b) {
        for (int g = 0; g < 6; ++g) {
            for (int r = 0; r < 6; ++r) {
                entries[kCubeFirst + r + 6 * g + 36 * b] = {
                    static_cast<Byte>(51 * r), static_cast<Byte>(51 * g), static_cast<Byte>(51 * b),
                    PC_NOCOLLAPSE};
            }
        }
    }
    for (int k = 0; k < kRampSize; ++k) {
        const auto grey = static_cast<Byte>(13 * k);
        entries[kRampFirst + k] = {grey, grey, grey, PC_NOCOLLAPSE};
    }
    return entries;
}

bool Kw8BitPalette() {
    const HDC screen = GetDC(nullptr);
    const int bits = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
    ReleaseDC(nullptr, screen);
    return bits == 8;
}

HPALETTE KwCreatePalette() {
    const auto entries = KwPaletteEntries();
    return CreatePalette(entries);
}

HPALETTE KwGetPalette() {
    return KwDrawingState().palette;
}

void KwSetPalette(HPALETTE palette) {
    if (!Kw8BitPalette())
        return;
    HPALETTE& shared = KwDrawingState().palette;
    if (shared)
        DeleteObject(shared);
    shared = CopyPalette(palette);
}

namespace {

// The shared palette as the display needs it: made on an 8-bit display, dropped elsewhere.
HPALETTE SharedPalette() {
    HPALETTE& shared = KwDrawingState().palette;
    if (!Kw8BitPalette()) {
        if (shared)
            DeleteObject(shared);
        shared = HPALETTE();
    } else if (!shared) {
        shared = KwCreatePalette();
    }
    return shared;
}

}  // namespace

HPALETTE KwInitPalette(HDC dc) {
    const HPALETTE shared = SharedPalette();
    if (!shared)
        return HPALETTE();
    const HPALETTE previous = SelectPalette(dc, shared, false);
    RealizePalette(dc);
    return previous;
}

void KwEndPalette(HDC dc, HPALETTE previous) {
    if (previous)
        Realise(dc, previous);
}

void KwAssignBitmapPalette(TBitmap& bitmap) {
    if (!Kw8BitPalette())
        return;
    Realise(bitmap.Canvas().Handle(), SharedPalette());
}

TColor KwRealizedColor(TColor color) {
    const bool paletteRelative = (color >> 24) == 0x02;
    const HPALETTE shared = paletteRelative ? SharedPalette() : HPALETTE();
    if (!shared)
        return ColorToRGB(color);
    PALETTEENTRY entry;
    GetPaletteEntries(shared, GetNearestPaletteIndex(shared, ColorToRGB(color)),
                      std::span(&entry, 1));
    return RGB(entry.peRed, entry.peGreen, entry.peBlue);
}

}  // namespace kw
