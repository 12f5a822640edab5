#pragma once

#include "packages/locale_types.h"

namespace kw {

class TStringList;

// Regional values for formatting, masks and calendars: those of the active application's
// language package, or the platform's when there is no application object (or it has no
// language package).
Char KwLocaleDateSeparator();
Char KwLocaleTimeSeparator();
Char KwLocaleNumericThousandSeparator();
Char KwLocaleNumericDecimalSeparator();
String KwLocaleNumericCurrencyString();
TKwCurrencyFormat KwLocaleNumericCurrencyFormat();
TKwDateFormat KwLocaleDateFormat();
int KwLocaleDateCentury();
int KwLocaleYearFix();
String KwLocaleTimeAMString();
String KwLocaleTimePMString();
// Shared lists (never freed by callers), Sunday and January first.
const TStringList& KwLocaleDayShortNames();
const TStringList& KwLocaleDayLongNames();
const TStringList& KwLocaleMonthShortNames();
const TStringList& KwLocaleMonthLongNames();

// The date order and year width the platform's short date format implies.
TKwDateFormat KwSystemDateFormat();
TKwDateYear KwSystemDateYear();

}  // namespace kw
