#pragma once

#include <optional>

#include "platform/core/datetime.h"
#include "platform/core/types.h"
#include "util/kw_types.h"

namespace kw {

// How a date-time is written and read in one of the text conventions: the day, month and year
// order, the separators, the century window for two-digit years and the optional AM/PM texts.
struct TKwDateTextRules {
    TKwDateFormat order = TKwDateFormat::dfomdy;
    Char dateSeparator = u'/';
    Char timeSeparator = u':';
    int centuryYear = 2049;
    String amText;
    String pmText;
};

// Two-digit year `year` in the hundred-year window ending at `centuryYear`: with 2049, 49 gives
// 2049 and 50 gives 1950.
int KwExpandYear(int year, int centuryYear);

// "dd/mm/yyyy" in the rules' order and separator, "hh:mm:ss" with its time separator; both
// joined by one blank when both are asked for.
String KwFormatDateText(TDateTime value, const TKwDateTextRules& rules, bool withDate,
                        bool withTime);
// Reads a date, a time or a date and a time: day and month of one or two digits, a year of up
// to four (two or fewer expand by the century window), "h:mm", "h:mm:ss" or "h:mm:ss.zzz" with
// an optional AM/PM text. Nothing for text that does not follow the rules or an impossible
// date.
std::optional<TDateTime> KwParseDateText(StringView text, const TKwDateTextRules& rules);

}  // namespace kw
