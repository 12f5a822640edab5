#pragma once

#include <cstdint>
#include <vector>

#include "platform/core/types.h"
#include "util/format_settings.h"
#include "util/kw_types.h"

namespace kw {

// In TKwMaskInfo::Mask, this character marks an input position; any other is a literal.
inline constexpr Char kKwMaskPosition = 1;

// A scanned mask. Each flag holds the mask letter that set it, or 0.
struct TKwMaskInfo {
    String MaskSource;  // the trimmed mask text with its alignment prefix
    TKwDataType MaskType = TKwDataType::dtyString;
    String Mask;  // position pattern
    Char MaskAlign = 0;
    Char MaskSpc = u' ';  // shown in an empty position
    // Strings.
    Char cSymbol = 0;
    Char cAlfa = 0;
    Char cDigitt = 0;
    Char cWhite = 0;
    Char cSaveMask = 0;
    Char cNoAutoTrim = 0;
    Char cTypCase = 0;
    Char cAll = 0;
    Char cPrivate = 0;
    Char cDataAlign = 0;
    // Dates and times.
    Char fLetDay = 0;
    Char fDay = 0;
    Char fMonth = 0;
    Char fYear = 0;
    Char fHour = 0;
    Char fMinute = 0;
    Char fSecond = 0;
    Char fMSecond = 0;
    Char f12H = 0;
    Char fAmPm = 0;
    Char fAAdjust = 0;
    Char fDuration = 0;
    // Numbers.
    Char nTypSig = 0;
    Char nSignRight = 0;
    Char nSep = 0;
    Char nAll = 0;
    Char nFillLeft = 0;
    Char nTrimDec = 0;
    Char nCheckRange = 0;
    Char nCurrency = 0;
    Char nNoZero = 0;
    Char nCientific = 0;

    bool HasPattern() const { return !Mask.empty(); }
    bool HasDate() const { return fDay != 0 || fMonth != 0 || fYear != 0; }
    bool HasTime() const { return fHour != 0 || fMinute != 0 || fSecond != 0; }
};

bool KwIsNumberType(TKwDataType dataType);
bool KwIsTextType(TKwDataType dataType);

// The mask used when a control's mask text is empty.
String KwDefaultMask(TKwDataType dataType);

// Scans a mask text for a value kind. Date templates follow the settings' date order and
// separators. A letter that the kind does not know, a wrong number of sections or a bad
// "#(n)" raise the "System" message 5 with the mask text, naming `source`.
void KwMaskScan(StringView source, TKwMaskInfo& info, TKwDataType dataType, StringView maskText,
                TKwDateYear dateYear, const TKwFormatSettings& settings = KwApplicationSettings());
TKwMaskInfo KwMaskScanned(TKwDataType dataType, StringView maskText, TKwDateYear dateYear,
                          const TKwFormatSettings& settings = KwApplicationSettings());

// Digits shown for the first unit of a duration mask (1..6), 0 without one.
int KwDurationWidth(const TKwMaskInfo& info);

// The fields of a date-time template, in template order.
enum class TKwDateField : std::uint8_t {
    dfDay,
    dfMonth,
    dfYear,
    dfHour,
    dfMinute,
    dfSecond,
    dfAmPm
};
struct TKwDateFieldSpan {
    TKwDateField field;
    int start;
    int length;
};
std::vector<TKwDateFieldSpan> KwDateFieldSpans(const TKwMaskInfo& info, TKwDateYear dateYear,
                                               const TKwFormatSettings& settings);

}  // namespace kw
