#pragma once

#include <cstdint>

#include "platform/core/datetime.h"
#include "platform/core/variant.h"
#include "util/format_settings.h"
#include "util/kw_types.h"

namespace kw {

// Date, time or both in the database order and separators: "mm/dd/yyyy hh:mm:ss" by default.
String KwDBDateToStr(TDateTime value, TKwDateType dateType,
                     const TKwDbSettings& settings = KwDbSettings());
// Shortest general form with the database decimal separator.
String KwDBNumericToStr(double value, const TKwDbSettings& settings = KwDbSettings());
String KwDBInt64ToStr(std::int64_t value, const TKwDbSettings& settings = KwDbSettings());
// The SQL literal of a value: numbers (null as 0) quoted only when the settings ask for it,
// texts and date-times (null as the base date 12/30/1899) always quoted; blob kinds give "".
String KwDBString(const Variant& value, TKwDataType dataType, TKwDateType dateType,
                  const TKwDbSettings& settings = KwDbSettings());
// The text in single quotes with inner quotes doubled.
String KwQuotedStr(StringView text);

}  // namespace kw
