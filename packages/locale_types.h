#pragma once

#include <cstdint>

#include "platform/core/types.h"

namespace kw {

// Regional enumerations, stored by ordinal in language files.

// Where the currency string goes: before or after the number, joined or with one blank.
enum TKwCurrencyFormat : std::int32_t { cfoc1, cfo1c, cfocc1, cfo1cc };
// Order of day, month and year in a date.
enum TKwDateFormat : std::int32_t { dfodmy, dfomdy, dfoymd };
// Year of a masked date: absent, two digits, four digits.
enum TKwDateYear : std::int32_t { dyeNone, dyeYear2, dyeYear4 };
enum TKwStartOfWeek : std::int32_t { sweMon, sweTue, sweWed, sweThu, sweFri, sweSat, sweSun };
// Which week is week 1: the one holding 1 January, the first full one, the first with four
// days in the new year.
enum TKwStartWeekYear : std::int32_t { swyJanuary, swyFullWeek, swyFourDays };

// The platform's positive currency format (0 "$1", 1 "1$", 2 "$ 1", 3 "1 $") as the library's.
TKwCurrencyFormat KwCurrencyFormatOf(int platformFormat);
// Date order of a platform short date format: "M..." month first, "y..." year first (either
// case), anything else day first.
TKwDateFormat KwDateFormatOf(StringView shortDateFormat);
// Four-digit years when the format holds "yyyy", else two.
TKwDateYear KwDateYearOf(StringView shortDateFormat);

}  // namespace kw
