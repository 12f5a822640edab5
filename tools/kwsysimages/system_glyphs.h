#pragma once

#include <vector>

#include "kwsysimages/glyph_geometry.h"

namespace kwsysimages {

// Sizes of the System images: message icons and glyphs of buttons and navigator buttons.
inline constexpr int kIconSize = 32;
inline constexpr int kGlyphSize = 16;

struct TSystemGlyph {
    int id;
    int size;
    TGlyph glyph;
};

// Every System image the library shows by number, in id order: the message icons 2 to 5, the
// button kinds' glyphs 9 to 21 and the navigator's glyphs in colour, black and white.
std::vector<TSystemGlyph> SystemGlyphs();

}  // namespace kwsysimages
