#pragma once

#include <cstdint>
#include <functional>

#include "platform/core/types.h"

namespace kw {

// Days since 1899-12-30; the fraction is the time of day. Before that day the time is a
// subtracted fraction: -1.25 is 1899-12-29 06:00, so the date is the truncated value and the
// time the absolute fraction.
using TDateTime = double;

inline constexpr int kHoursPerDay = 24;
inline constexpr int kMinsPerHour = 60;
inline constexpr int kSecsPerMin = 60;
inline constexpr int kMSecsPerSec = 1000;
inline constexpr int kSecsPerDay = 86400;
inline constexpr int kMSecsPerDay = 86400000;
// 1970-01-01 as a TDateTime.
inline constexpr int kUnixDateDelta = 25569;
// 0001-01-01 and the last millisecond of 9999-12-31.
inline constexpr TDateTime kMinDateTime = -693593.0;
inline constexpr TDateTime kMaxDateTime = 2958465.99999999;

bool IsLeapYear(int year);
// 0 for a month outside 1..12.
int DaysInMonth(int year, int month);

// Years 1..9999. The Try forms report invalid input; the others raise EConvertError.
bool TryEncodeDate(int year, int month, int day, TDateTime& result);
TDateTime EncodeDate(int year, int month, int day);
bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& result);
TDateTime EncodeTime(int hour, int min, int sec, int msec);

// Decoding rounds the value as a whole to the nearest millisecond, so a time that rounds up to
// midnight belongs to the next day in every routine. Values outside kMinDateTime..kMaxDateTime
// (and NaN) decode to zeros.
void DecodeDate(TDateTime value, int& year, int& month, int& day);
void DecodeTime(TDateTime value, int& hour, int& min, int& sec, int& msec);
void DecodeDateTime(TDateTime value, int& year, int& month, int& day, int& hour, int& min, int& sec,
                    int& msec);

// 1 = Sunday .. 7 = Saturday.
int DayOfWeek(TDateTime value);
// The date part alone and the time part alone (always 0 <= time < 1).
TDateTime DateOf(TDateTime value);
TDateTime TimeOf(TDateTime value);
// Joins a date (whole days) and a time of day following the sign convention above.
TDateTime ComposeDateTime(TDateTime date, TDateTime time);

// Adds whole months keeping the time; the day is clamped to the length of the target month.
TDateTime IncMonth(TDateTime value, int months = 1);

// The process-wide clock behind Now, Date and Time; the default reads the system's local time.
void SetClock(std::function<TDateTime()> clock);
void ResetClock();
TDateTime Now();
TDateTime Date();
TDateTime Time();

// Seconds since 1970-01-01 taken as they are, without any time-zone shift.
std::int64_t DateTimeToUnix(TDateTime value);
TDateTime UnixToDateTime(std::int64_t seconds);
// A system time stamp (UTC seconds and nanoseconds) as local date-time, kept to the millisecond.
TDateTime FileTimeToLocalDateTime(std::int64_t seconds, std::int64_t nanoseconds);

// Last-write time of a file (not a directory) as local date-time; false when there is none.
bool FileAge(const String& fileName, TDateTime& result);
// Sets both time stamps of a file to the local date-time `value`; false when that fails.
bool FileSetDate(const String& fileName, TDateTime value);
// Last-write time of an open file; raises EInvalidArgument when the descriptor is not valid.
TDateTime FileGetDateTime(int fd);

}  // namespace kw
