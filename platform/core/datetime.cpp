#include "platform/core/datetime.h"

#include <sys/stat.h>
#include <sys/time.h>

#include <algorithm>
#include <cmath>
#include <ctime>
#include <optional>
#include <utility>

#include "platform/core/exception.h"
#include "platform/core/files.h"
#include "platform/core/no_destructor.h"

namespace kw {

namespace {

constexpr std::int64_t kFirstDay = -693593;  // 0001-01-01
constexpr std::int64_t kLastDay = 2958465;   // 9999-12-31

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

std::int64_t FloorMod(std::int64_t a, std::int64_t b) {
    return a - FloorDiv(a, b) * b;
}

// Proleptic Gregorian calendar, counted in days since 1899-12-30.
std::int64_t DayNumber(std::int64_t year, int month, int day) {
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = FloorDiv(year, 400);
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 693899;
}

struct CivilDate {
    std::int64_t year;
    int month;
    int day;
};

CivilDate CivilFromDayNumber(std::int64_t dayNumber) {
    const std::int64_t shifted = dayNumber + 693899;
    const std::int64_t era = FloorDiv(shifted, 146097);
    const std::int64_t dayOfEra = shifted - era * 146097;
    const std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t monthIndex = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    const int month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
    return {era * 400 + yearOfEra + (month <= 2 ? 1 : 0), month, day};
}

struct DayAndTime {
    std::int64_t day;
    int msec;  // 0 .. kMSecsPerDay - 1
};

// Rounds the whole value to the millisecond; a time that reaches midnight moves to the next day
// away from the epoch, as the time runs backwards before it.
std::optional<DayAndTime> SplitDateTime(TDateTime value) {
    if (!(std::fabs(value) < 1e12))
        return std::nullopt;
    const double whole = std::trunc(value);
    std::int64_t day = static_cast<std::int64_t>(whole);
    std::int64_t msec = std::llround(std::fabs(value - whole) * kMSecsPerDay);
    if (msec >= kMSecsPerDay) {
        msec -= kMSecsPerDay;
        day += value < 0 ? -1 : 1;
    }
    return DayAndTime{day, static_cast<int>(msec)};
}

std::optional<DayAndTime> SplitCalendarDateTime(TDateTime value) {
    auto split = SplitDateTime(value);
    if (split && (split->day < kFirstDay || split->day > kLastDay))
        return std::nullopt;
    return split;
}

TDateTime JoinDateTime(std::int64_t day, int msec) {
    return ComposeDateTime(static_cast<double>(day), static_cast<double>(msec) / kMSecsPerDay);
}

[[noreturn]] void RaiseDateEncode() {
    throw EConvertError(u"Invalid argument to date encode");
}

TDateTime SystemNow() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return FileTimeToLocalDateTime(now.tv_sec, now.tv_nsec);
}

std::function<TDateTime()>& ClockSlot() {
    static TNoDestructor<std::function<TDateTime()>> clock(SystemNow);
    return *clock;
}

bool TryFileTimeToLocalDateTime(std::int64_t seconds, std::int64_t nanoseconds, TDateTime& result) {
    const std::time_t time = static_cast<std::time_t>(seconds);
    std::tm local{};
    if (localtime_r(&time, &local) == nullptr)
        return false;
    TDateTime date = 0;
    TDateTime timeOfDay = 0;
    // A leap second is shown as the last ordinary second of its minute.
    const int sec = std::min(local.tm_sec, kSecsPerMin - 1);
    const int msec = static_cast<int>(nanoseconds / 1000000);
    if (!TryEncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, date) ||
        !TryEncodeTime(local.tm_hour, local.tm_min, sec, msec, timeOfDay))
        return false;
    result = ComposeDateTime(date, timeOfDay);
    return true;
}

}  // namespace

bool IsLeapYear(int year) {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return kDays[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
}

bool TryEncodeDate(int year, int month, int day, TDateTime& result) {
    if (year < 1 || year > 9999 || day < 1 || day > DaysInMonth(year, month))
        return false;
    result = static_cast<double>(DayNumber(year, month, day));
    return true;
}

TDateTime EncodeDate(int year, int month, int day) {
    TDateTime result = 0;
    if (!TryEncodeDate(year, month, day, result))
        RaiseDateEncode();
    return result;
}

bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& result) {
    if (hour < 0 || hour >= kHoursPerDay || min < 0 || min >= kMinsPerHour || sec < 0 ||
        sec >= kSecsPerMin || msec < 0 || msec >= kMSecsPerSec)
        return false;
    const int total = ((hour * kMinsPerHour + min) * kSecsPerMin + sec) * kMSecsPerSec + msec;
    result = static_cast<double>(total) / kMSecsPerDay;
    return true;
}

TDateTime EncodeTime(int hour, int min, int sec, int msec) {
    TDateTime result = 0;
    if (!TryEncodeTime(hour, min, sec, msec, result))
        throw EConvertError(u"Invalid argument to time encode");
    return result;
}

void DecodeDateTime(TDateTime value, int& year, int& month, int& day, int& hour, int& min, int& sec,
                    int& msec) {
    year = month = day = hour = min = sec = msec = 0;
    const auto split = SplitCalendarDateTime(value);
    if (!split)
        return;
    const CivilDate civil = CivilFromDayNumber(split->day);
    year = static_cast<int>(civil.year);
    month = civil.month;
    day = civil.day;
    int rest = split->msec;
    msec = rest % kMSecsPerSec;
    rest /= kMSecsPerSec;
    sec = rest % kSecsPerMin;
    rest /= kSecsPerMin;
    min = rest % kMinsPerHour;
    hour = rest / kMinsPerHour;
}

void DecodeDate(TDateTime value, int& year, int& month, int& day) {
    int hour, min, sec, msec;
    DecodeDateTime(value, year, month, day, hour, min, sec, msec);
}

void DecodeTime(TDateTime value, int& hour, int& min, int& sec, int& msec) {
    int year, month, day;
    DecodeDateTime(value, year, month, day, hour, min, sec, msec);
}

int DayOfWeek(TDateTime value) {
    const auto split = SplitCalendarDateTime(value);
    if (!split)
        return 0;
    // Day 0, 1899-12-30, was a Saturday.
    return static_cast<int>(FloorMod(split->day + 6, 7)) + 1;
}

TDateTime DateOf(TDateTime value) {
    const auto split = SplitDateTime(value);
    return split ? static_cast<double>(split->day) : value;
}

TDateTime TimeOf(TDateTime value) {
    const auto split = SplitDateTime(value);
    return split ? static_cast<double>(split->msec) / kMSecsPerDay : value;
}

TDateTime ComposeDateTime(TDateTime date, TDateTime time) {
    const double day = std::trunc(date);
    const double timeOfDay = std::fabs(time - std::trunc(time));
    return day < 0 ? day - timeOfDay : day + timeOfDay;
}

TDateTime IncMonth(TDateTime value, int months) {
    const auto split = SplitCalendarDateTime(value);
    if (!split)
        RaiseDateEncode();
    const CivilDate civil = CivilFromDayNumber(split->day);
    const std::int64_t monthIndex = civil.year * 12 + (civil.month - 1) + months;
    const std::int64_t year = FloorDiv(monthIndex, 12);
    if (year < 1 || year > 9999)
        RaiseDateEncode();
    const int month = static_cast<int>(FloorMod(monthIndex, 12)) + 1;
    const int day = std::min(civil.day, DaysInMonth(static_cast<int>(year), month));
    return JoinDateTime(DayNumber(year, month, day), split->msec);
}

void SetClock(std::function<TDateTime()> clock) {
    ClockSlot() = clock ? std::move(clock) : std::function<TDateTime()>(SystemNow);
}

void ResetClock() {
    SetClock(nullptr);
}

TDateTime Now() {
    return ClockSlot()();
}

TDateTime Date() {
    return DateOf(Now());
}

TDateTime Time() {
    return TimeOf(Now());
}

std::int64_t DateTimeToUnix(TDateTime value) {
    const auto split = SplitDateTime(value);
    if (!split)
        throw EInvalidArgument(u"Invalid date-time value");
    const std::int64_t seconds = (split->msec + kMSecsPerSec / 2) / kMSecsPerSec;
    return (split->day - kUnixDateDelta) * kSecsPerDay + seconds;
}

TDateTime UnixToDateTime(std::int64_t seconds) {
    const std::int64_t day = FloorDiv(seconds, kSecsPerDay) + kUnixDateDelta;
    const auto secondOfDay = static_cast<int>(FloorMod(seconds, kSecsPerDay));
    return JoinDateTime(day, secondOfDay * kMSecsPerSec);
}

TDateTime FileTimeToLocalDateTime(std::int64_t seconds, std::int64_t nanoseconds) {
    TDateTime result = 0;
    if (!TryFileTimeToLocalDateTime(seconds, nanoseconds, result))
        RaiseDateEncode();
    return result;
}

bool FileAge(const String& fileName, TDateTime& result) {
    struct stat info {};
    if (stat(ToNativePath(fileName).c_str(), &info) != 0 || S_ISDIR(info.st_mode))
        return false;
    return TryFileTimeToLocalDateTime(info.st_mtim.tv_sec, info.st_mtim.tv_nsec, result);
}

bool FileSetDate(const String& fileName, TDateTime value) {
    int year, month, day, hour, min, sec, msec;
    DecodeDateTime(value, year, month, day, hour, min, sec, msec);
    std::tm local{};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = min;
    local.tm_sec = sec;
    local.tm_isdst = -1;
    const std::time_t seconds = std::mktime(&local);
    if (seconds == static_cast<std::time_t>(-1))
        return false;
    const timeval times[2] = {{seconds, msec * 1000}, {seconds, msec * 1000}};
    return utimes(ToNativePath(fileName).c_str(), times) == 0;
}

TDateTime FileGetDateTime(int fd) {
    struct stat info {};
    if (fstat(fd, &info) != 0)
        throw EInvalidArgument(u"Invalid file handle");
    return FileTimeToLocalDateTime(info.st_mtim.tv_sec, info.st_mtim.tv_nsec);
}

}  // namespace kw
