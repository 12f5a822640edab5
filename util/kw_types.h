#pragma once

#include <cstdint>

// The regional enumerations (date order, year digits, currency placement, week rules) are
// shared with the language package.
#include "packages/locale_types.h"

namespace kw {

// The value kinds of masked and data-aware controls; the last two are blob kinds.
enum class TKwDataType : std::uint8_t {
    dtyInteger,
    dtyCurrency,
    dtyDouble,
    dtyString,
    dtyDateTime,
    dtyBinary,
    dtyMemo
};

// Which part of a date-time a database literal carries.
enum class TKwDateType : std::uint8_t { detDateTime, detDate, detTime };
enum class TKwDateChunk : std::uint8_t { dchYear, dchMonth, dchDay };
// The three states of check boxes and checkable items.
enum class TKwCheckState : std::uint8_t { cksUnChecked, cksGrayed, cksChecked };
enum class TKwUnit : std::uint8_t { ruuCentimeter, ruuMillimeter, ruuInch, ruuPixel };

}  // namespace kw
