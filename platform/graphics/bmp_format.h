#pragma once

#include <span>
#include <vector>

#include "platform/graphics/graphics_types.h"

namespace kw {

class TBitmap;

// The bitmap file format, and the bitmap images stored inside icon files.
namespace bmp {

// Reads a whole bitmap file into `out`; raises EInvalidGraphic.
void ReadFile(std::span<const Byte> file, TBitmap& out);
std::vector<Byte> WriteFile(const TBitmap& bitmap);

// An icon image: a bitmap header that counts twice the height, the colour rows, then a 1-bit
// mask whose set bits are see-through. The result is pf32bit with defined alpha.
void ReadIconImage(std::span<const Byte> image, TBitmap& out);
TSize IconImageSize(std::span<const Byte> image);
// The image's colour depth, for choosing among the entries of an icon.
int IconImageDepth(std::span<const Byte> image);
std::vector<Byte> WriteIconImage(const TBitmap& bitmap);

}  // namespace bmp
}  // namespace kw
