#pragma once

#include <cstdint>

#include "platform/core/datetime.h"
#include "platform/core/types.h"
#include "util/date_text.h"
#include "util/format_settings.h"

namespace kw {

// --- Canonical form: culture-independent text for storage and casts ------------------------
// "mm/dd/yyyy hh:mm:ss"; the time is left out when it is midnight.
String KwCDateToStr(TDateTime value);
// Reads "mm/dd/yyyy" with an optional "hh:mm:ss" (also "h:mm", one-digit day and month and
// two-digit years); raises EConvertError for anything else.
TDateTime KwCStrToDate(StringView text);
// Shortest general form with at most 15 significant digits, "." as separator, no grouping.
String KwCNumericToStr(double value);
// Reads a number with "," grouping the whole part and "." as decimal separator.
double KwCStrToNumeric(StringView text);
// Reads a signed 64-bit decimal integer.
std::int64_t KwCStrToInt64(StringView text);
String KwCRemoveThousandSeparator(StringView text);

// --- Application form: the parsing side (formatting goes through masks, util/app_format.h) ----
// Date order, separators and AM/PM texts of the settings; "yyyy/mm/dd" for year-first orders.
TDateTime KwAStrToDate(StringView text,
                       const TKwFormatSettings& settings = KwApplicationSettings());
// Reads a number with the settings' separators and rounds it to `decimals` places (15 when
// negative) as its fixed text would show it.
double KwAStrToNumeric(StringView text, int decimals,
                       const TKwFormatSettings& settings = KwApplicationSettings());
std::int64_t KwAStrToInt64(StringView text,
                           const TKwFormatSettings& settings = KwApplicationSettings());
String KwARemoveThousandSeparator(StringView text,
                                  const TKwFormatSettings& settings = KwApplicationSettings());

// Decimal rounding: decimals clamp to 0..30; halves (and a hair below) go away from zero, so
// 2.345 gives 2.35 at two decimals.
double KwRoundDec(double value, int decimals);

// The rules the application form reads dates with.
TKwDateTextRules KwApplicationDateRules(const TKwFormatSettings& settings);

// EConvertError "'<text>' is not a valid ..." for the routines above.
[[noreturn]] void KwRaiseInvalidNumber(StringView text);
[[noreturn]] void KwRaiseInvalidInteger(StringView text);
[[noreturn]] void KwRaiseInvalidDate(StringView text);

}  // namespace kw
