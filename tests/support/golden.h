#pragma once

#include <string>

namespace kw {
class TBitmap;
}

namespace kw::test {

// Compares `picture` pixel for pixel with the PNG at `name` under tests/ (for example
// "drawing/golden/shape_3.png"). With KW_UPDATE_GOLDEN=1 it writes the PNG instead; look at
// every rewritten picture before committing it.
void ExpectMatchesGolden(const TBitmap& picture, const std::string& name);

}  // namespace kw::test
