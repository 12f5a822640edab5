#pragma once

#include "platform/core/variant.h"
#include "util/format_settings.h"
#include "util/kw_types.h"
#include "util/mask_info.h"

namespace kw {

// Edit text of a value for a scanned mask (null gives the empty edit text).
String KwMaskShort(const TKwMaskInfo& info, const Variant& value, int size, int decimals,
                   TKwDateYear dateYear,
                   const TKwFormatSettings& settings = KwApplicationSettings());
// Display text of a value.
String KwMaskLong(const TKwMaskInfo& info, const Variant& value, int size, int decimals,
                  TKwDateYear dateYear,
                  const TKwFormatSettings& settings = KwApplicationSettings());
// Display text with the currency text, which numbers show only when the mask has "@".
String KwMaskLongEx(const TKwMaskInfo& info, const Variant& value, int size, int decimals,
                    TKwDateYear dateYear, StringView currency, TKwCurrencyFormat currencyFormat,
                    const TKwFormatSettings& settings = KwApplicationSettings());
// The empty edit text: the pattern with blanks in its positions, or "".
String KwMaskClear(const TKwMaskInfo& info);
// The stored text of an edit text: the characters at the input positions (blanks where
// missing or empty) without trailing blanks, or the trimmed text.
String KwMaskData(const TKwMaskInfo& info, StringView text);
// For text masks with "$": raises "System" 6 naming `source` when the text does not fill the
// mask.
void KwMaskFillAllChars(const TKwMaskInfo& info, int size, StringView text, StringView source = {});
// The value of an edit text; null for empty input. Dates start from `oldValue` (today when it
// is null) and keep the parts the mask does not show; two-digit years expand by the settings'
// century window. Raises EConvertError for text that is not a value of the kind, "System" 6
// for incomplete input under "$" and "System" 73 for an unknown AM/PM text.
Variant KwMaskToValue(const TKwMaskInfo& info, const Variant& oldValue, StringView text, int size,
                      int decimals, TKwDateYear dateYear, StringView source = {},
                      const TKwFormatSettings& settings = KwApplicationSettings());
// The date-time with the field under the caret stepped by `step` (days, months, years, hours,
// minutes or seconds); a null value counts as the base date.
TDateTime KwMaskDateTimePosCalc(const TKwMaskInfo& info, TKwDateYear dateYear, const Variant& value,
                                int caret, int step,
                                const TKwFormatSettings& settings = KwApplicationSettings());

}  // namespace kw
