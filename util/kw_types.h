#pragma once

#include <cstdint>

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
// Year digits of a masked date.
enum class TKwDateYear : std::uint8_t { dyeNone, dyeYear2, dyeYear4 };
// Order of day, month and year.
enum class TKwDateFormat : std::uint8_t { dfodmy, dfomdy, dfoymd };
// Where a currency text goes: before or after the number, with or without a blank between.
enum class TKwCurrencyFormat : std::uint8_t { cfoc1, cfo1c, cfocc1, cfo1cc };
enum class TKwStartOfWeek : std::uint8_t { sweMon, sweTue, sweWed, sweThu, sweFri, sweSat, sweSun };
// Week 1 of a year: the week holding 1 January, the first full week, or the first week with at
// least four days in the new year.
enum class TKwStartWeekYear : std::uint8_t { swyJanuary, swyFullWeek, swyFourDays };
enum class TKwDateChunk : std::uint8_t { dchYear, dchMonth, dchDay };
enum class TKwUnit : std::uint8_t { ruuCentimeter, ruuMillimeter, ruuInch, ruuPixel };

}  // namespace kw
