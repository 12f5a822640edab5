#pragma once

#include <cstdint>

#include "platform/core/datetime.h"
#include "platform/core/types.h"
#include "util/format_settings.h"
#include "util/kw_types.h"

namespace kw {

// Application-form texts of values, shaped by a mask text (scanned for the kind) and the
// settings. "Show" routines give the display text, the others the edit text a user types
// into. A negative `decimals` means 15; `size` is the field width for zero fill.

String KwANumericToStrShow(double value, StringView mask, int size, int decimals,
                           const TKwFormatSettings& settings = KwApplicationSettings());
// With a currency text joined by the currency format (also to an empty number text).
String KwANumericToStrShowEx(double value, StringView mask, int size, int decimals,
                             StringView currency, TKwCurrencyFormat currencyFormat,
                             const TKwFormatSettings& settings = KwApplicationSettings());
// Never a trailing sign, grouping, zero fill, empty zero or trailing fraction zeros.
String KwANumericToStr(double value, StringView mask, int size, int decimals,
                       const TKwFormatSettings& settings = KwApplicationSettings());

String KwAInt64ToStrShow(std::int64_t value, StringView mask, int size,
                         const TKwFormatSettings& settings = KwApplicationSettings());
String KwAInt64ToStrShowEx(std::int64_t value, StringView mask, int size, StringView currency,
                           TKwCurrencyFormat currencyFormat,
                           const TKwFormatSettings& settings = KwApplicationSettings());
String KwAInt64ToStr(std::int64_t value, StringView mask, int size,
                     const TKwFormatSettings& settings = KwApplicationSettings());

// Display text of a date-time: weekday and month names, the settings' date order, 12-hour
// clock and AM/PM texts, or an elapsed time for duration masks.
String KwADateTimeToStrShow(TDateTime value, StringView mask, TKwDateYear dateYear,
                            const TKwFormatSettings& settings = KwApplicationSettings());
// Edit text of a date-time: numbers only, laid out like the mask's position template.
String KwADateTimeToStr(TDateTime value, StringView mask, TKwDateYear dateYear,
                        const TKwFormatSettings& settings = KwApplicationSettings());

// Text laid into a string mask, with its case rule applied.
String KwAStringToStr(StringView text, StringView mask);
String KwAStringToStrShow(StringView text, StringView mask);
// The input characters of an edit text, trimmed.
String KwAStrToString(StringView text, StringView mask);

// The number joined with a currency text by the currency format.
String KwJoinCurrency(StringView number, StringView currency, TKwCurrencyFormat currencyFormat);

}  // namespace kw
