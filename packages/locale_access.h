#pragma once

#include "packages/locale_types.h"

namespace kw {

class TStringList;
struct TKwFormatSettings;

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

// The regional values above (and the locale's mask and week defaults when an application
// object exists) as the conversion routines take them.
TKwFormatSettings KwLocaleFormatSettings();
// Makes every conversion, mask and calendar routine that takes the application's settings read
// them from the locale accessors, following the active application object. Language packages
// install it when they are created.
void KwInstallLocaleSettings();
// Tells the cached conversion settings that some locale changed.
void KwLocaleTouched();

// The date order and year width the platform's short date format implies.
TKwDateFormat KwSystemDateFormat();
TKwDateYear KwSystemDateYear();

}  // namespace kw
