#pragma once

#include <array>
#include <memory>

#include "platform/graphics/graphics_types.h"

namespace kw {

class TBitmap;

// Entry flag that keeps an entry from being mapped onto another of the same colour.
inline constexpr Byte kPcNoCollapse = 4;

struct TKwPaletteEntry {
    Byte Red = 0;
    Byte Green = 0;
    Byte Blue = 0;
    Byte Flags = 0;
    friend bool operator==(const TKwPaletteEntry&, const TKwPaletteEntry&) = default;
};

// The logical palette the library realises on 8-bit displays: the 20 static colours of the
// system at both ends, a 6x6x6 colour cube and a grey ramp between them.
struct TKwPalette {
    static constexpr Word kVersion = 0x0300;
    std::array<TKwPaletteEntry, 256> Entries{};

    // The entry nearest to `color` (system colours resolved), by squared distance; the first
    // of equally near ones.
    int NearestIndex(TColor color) const;
    TColor EntryColor(int index) const;
};

// The system's 20 static colours: entries 0-9 and 246-255 of every realised palette.
const std::array<TKwPaletteEntry, 20>& KwSystemPaletteEntries();

bool Kw8BitPalette();
// A new palette with the library's 256 entries; the caller owns it.
std::unique_ptr<TKwPalette> KwCreatePalette();
// The shared palette, or none.
const TKwPalette* KwGetPalette();
// Only on an 8-bit display: the shared palette becomes a copy of `palette`.
void KwSetPalette(const TKwPalette& palette);
// On an 8-bit display makes sure the shared palette exists, elsewhere drops it. Returns the
// palette to paint with (none off the palette path).
const TKwPalette* KwInitPalette();
// What an explicit colour becomes on the display: on the palette path a palette-relative colour
// (see KwSolidColor) snaps to its nearest shared-palette entry; elsewhere only the RGB remains.
TColor KwRealizedColor(TColor color);

}  // namespace kw
