#pragma once

#include <array>

#include "platform/graphics/device.h"

namespace kw {

class TBitmap;

// Entry flag that keeps an entry from being mapped onto another of the same colour.
inline constexpr Byte PC_NOCOLLAPSE = 4;
inline constexpr Word kKwPaletteVersion = 0x0300;

// The 256 entries of the palette the library realises on 8-bit displays: the system's 20
// static colours at both ends, a 6x6x6 colour cube and a grey ramp between them.
std::array<PALETTEENTRY, 256> KwPaletteEntries();

// True when the screen has 8 bits per pixel.
bool Kw8BitPalette();
// A new palette with the library's entries; the caller owns it.
HPALETTE KwCreatePalette();
// The shared palette, or none.
HPALETTE KwGetPalette();
// Only on an 8-bit display: the shared palette becomes a copy of `palette`.
void KwSetPalette(HPALETTE palette);
// On an 8-bit display makes sure the shared palette exists, elsewhere drops it. Selects and
// realises it in `dc` when it exists and returns the palette it replaced (none otherwise).
HPALETTE KwInitPalette(HDC dc);
// Undoes KwInitPalette: selects `previous` back, when given, and realises it.
void KwEndPalette(HDC dc, HPALETTE previous);
// Only on an 8-bit display: gives the bitmap's canvas the shared palette.
void KwAssignBitmapPalette(TBitmap& bitmap);
// What an explicit colour becomes on the display: on an 8-bit display a palette-relative colour
// (see KwSolidColor) snaps to its nearest entry of the shared palette; elsewhere only its RGB
// remains.
TColor KwRealizedColor(TColor color);

}  // namespace kw
