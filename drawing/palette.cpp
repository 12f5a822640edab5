#include "drawing/palette.h"

#include <limits>

#include "drawing/state.h"

namespace kw {

namespace {

constexpr int kCubeFirst = 10;
constexpr int kRampFirst = 226;
constexpr int kRampSize = 20;
constexpr int kStaticHead = 10;

// The display depth of the screen the library runs on; the platform's screen is a true-colour
// surface, so only the test switch turns the palette path on.
constexpr int kScreenBitsPerPixel = 32;

}  // namespace

const std::array<TKwPaletteEntry, 20>& KwSystemPaletteEntries() {
    static const std::array<TKwPaletteEntry, 20> entries{{
        {0, 0, 0, 0},       {128, 0, 0, 0},     {0, 128, 0, 0},     {128, 128, 0, 0},
        {0, 0, 128, 0},     {128, 0, 128, 0},   {0, 128, 128, 0},   {192, 192, 192, 0},
        {192, 220, 192, 0}, {166, 202, 240, 0}, {255, 251, 240, 0}, {160, 160, 164, 0},
        {128, 128, 128, 0}, {255, 0, 0, 0},     {0, 255, 0, 0},     {255, 255, 0, 0},
        {0, 0, 255, 0},     {255, 0, 255, 0},   {0, 255, 255, 0},   {255, 255, 255, 0},
    }};
    return entries;
}

int TKwPalette::NearestIndex(TColor color) const {
    const TColor rgb = ColorToRGB(color);
    int best = 0;
    int bestDistance = std::numeric_limits<int>::max();
    for (int i = 0; i < static_cast<int>(Entries.size()); ++i) {
        const int dr = Entries[i].Red - GetRValue(rgb);
        const int dg = Entries[i].Green - GetGValue(rgb);
        const int db = Entries[i].Blue - GetBValue(rgb);
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

TColor TKwPalette::EntryColor(int index) const {
    const TKwPaletteEntry& e = Entries.at(index);
    return RGB(e.Red, e.Green, e.Blue);
}

bool Kw8BitPalette() {
    const int forced = KwDrawingState().forcedDisplayBits;
    return (forced != 0 ? forced : kScreenBitsPerPixel) == 8;
}

std::unique_ptr<TKwPalette> KwCreatePalette() {
    auto palette = std::make_unique<TKwPalette>();
    auto& entries = palette->Entries;
    const auto& system = KwSystemPaletteEntries();
    for (int i = 0; i < kStaticHead; ++i) {
        entries[i] = system[i];
        entries[entries.size() - kStaticHead + i] = system[kStaticHead + i];
    }
    for (int b = 0; b < 6; ++b) {
        for (int g = 0; g < 6; ++g) {
            for (int r = 0; r < 6; ++r) {
                entries[kCubeFirst + r + 6 * g + 36 * b] = {
                    static_cast<Byte>(51 * r), static_cast<Byte>(51 * g), static_cast<Byte>(51 * b),
                    kPcNoCollapse};
            }
        }
    }
    for (int k = 0; k < kRampSize; ++k) {
        const auto grey = static_cast<Byte>(13 * k);
        entries[kRampFirst + k] = {grey, grey, grey, kPcNoCollapse};
    }
    return palette;
}

const TKwPalette* KwGetPalette() {
    return KwDrawingState().palette.get();
}

void KwSetPalette(const TKwPalette& palette) {
    if (Kw8BitPalette())
        KwDrawingState().palette = std::make_unique<TKwPalette>(palette);
}

const TKwPalette* KwInitPalette() {
    auto& shared = KwDrawingState().palette;
    if (!Kw8BitPalette())
        shared.reset();
    else if (!shared)
        shared = KwCreatePalette();
    return shared.get();
}

TColor KwRealizedColor(TColor color) {
    const bool paletteRelative = (color >> 24) == 0x02;
    const TKwPalette* palette = paletteRelative ? KwInitPalette() : nullptr;
    if (palette)
        return palette->EntryColor(palette->NearestIndex(color));
    return ColorToRGB(color);
}

}  // namespace kw
