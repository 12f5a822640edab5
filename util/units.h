#pragma once

#include <cstdint>

#include "platform/core/types.h"
#include "util/kw_types.h"

namespace kw {

// Length conversion; pixels use the screen's pixels per inch.
double KwConvertUnit(double value, TKwUnit from, TKwUnit to);
// A pixel position as a length in `unit` at a zoom in percent (0 counts as 100), plus offset.
double KwPosPixelsToUnit(double pixels, TKwUnit unit, int zoom, double offset);
// "1023 Bytes", "1.5 KB", "2 MB"; with commaDecimal the decimal separator is ",".
String KwFormatCapacity(std::int64_t bytes, bool commaDecimal);

}  // namespace kw
