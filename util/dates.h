#pragma once

#include "platform/core/datetime.h"
#include "util/kw_types.h"

namespace kw {

// The year, month or day of a date.
int KwDateChunk(TDateTime date, TKwDateChunk chunk);
// 1..7, the first day of the week being 1.
int KwWeekDay(TDateTime date, TKwStartOfWeek startOfWeek);
// The week of the date's year; days of early January that precede week 1 report the last week
// of the year before (49 or more), and late December days that belong to the next year's
// first week report 1.
int KwWeekNumber(TDateTime date, TKwStartOfWeek startOfWeek, TKwStartWeekYear startWeekYear);
// The week and the year it belongs to.
void KwWeekOfYear(TDateTime date, TKwStartOfWeek startOfWeek, TKwStartWeekYear startWeekYear,
                  int& week, int& year);
// The first day of a week; the first week may begin in the year before.
TDateTime KwInitWeek(TKwStartOfWeek startOfWeek, TKwStartWeekYear startWeekYear, int week,
                     int year);

// Calendar arithmetic that keeps the time of day, also for dates before 1899-12-30.
TDateTime KwIncDay(TDateTime date, int count);
// A 29 February without a counterpart becomes 28 February.
TDateTime KwIncYear(TDateTime date, int count);
TDateTime KwIncHour(TDateTime date, int count);
TDateTime KwIncMinute(TDateTime date, int count);
TDateTime KwIncSecond(TDateTime date, int count);

}  // namespace kw
