#include "util/dates.h"

#include <cmath>
#include <cstdint>

#include "platform/core/exception.h"

namespace kw {

namespace {

constexpr std::int64_t kMsPerDay = kMSecsPerDay;

// The value as milliseconds on a continuous time line (the stored form subtracts the time of
// day before the base date).
std::int64_t ToTimeLine(TDateTime value) {
    if (!(value >= kMinDateTime - 1 && value <= kMaxDateTime + 1))
        throw EConvertError(u"Invalid argument to date encode");
    const auto day = static_cast<std::int64_t>(DateOf(value));
    return day * kMsPerDay + std::llround(TimeOf(value) * kMsPerDay);
}

TDateTime FromTimeLine(std::int64_t ms) {
    std::int64_t day = ms / kMsPerDay;
    std::int64_t rest = ms % kMsPerDay;
    if (rest < 0) {
        day -= 1;
        rest += kMsPerDay;
    }
    return ComposeDateTime(static_cast<double>(day), static_cast<double>(rest) / kMsPerDay);
}

TDateTime AddMilliseconds(TDateTime value, std::int64_t ms) {
    return FromTimeLine(ToTimeLine(value) + ms);
}

// Offset (1-based day of the year) at which week 1 starts.
int FirstWeekOffset(int weekDayOfJanuaryFirst, TKwStartWeekYear rule) {
    const int w1 = weekDayOfJanuaryFirst;
    switch (rule) {
        case TKwStartWeekYear::swyJanuary:
            return 2 - w1;
        case TKwStartWeekYear::swyFullWeek:
            return w1 == 1 ? 2 - w1 : 9 - w1;
        default:
            return w1 <= 4 ? 2 - w1 : 9 - w1;
    }
}

// Whether the week holding 1 January (weekday `wn`) counts as week 1 of that year, taking the
// last days of the year before with it.
bool JanuaryWeekIsFirst(int wn, TKwStartWeekYear rule) {
    switch (rule) {
        case TKwStartWeekYear::swyJanuary:
            return true;
        case TKwStartWeekYear::swyFullWeek:
            return wn == 1;
        default:
            return wn <= 4;
    }
}

}  // namespace

int KwDateChunk(TDateTime date, TKwDateChunk chunk) {
    int year = 0, month = 0, day = 0;
    DecodeDate(date, year, month, day);
    switch (chunk) {
        case TKwDateChunk::dchYear:
            return year;
        case TKwDateChunk::dchMonth:
            return month;
        default:
            return day;
    }
}

int KwWeekDay(TDateTime date, TKwStartOfWeek startOfWeek) {
    int result = DayOfWeek(date) - (static_cast<int>(startOfWeek) + 1);
    if (result < 1)
        result += 7;
    return result;
}

int KwWeekNumber(TDateTime date, TKwStartOfWeek startOfWeek, TKwStartWeekYear startWeekYear) {
    const int year = KwDateChunk(date, TKwDateChunk::dchYear);
    const TDateTime januaryFirst = EncodeDate(year, 1, 1);
    const int offset = FirstWeekOffset(KwWeekDay(januaryFirst, startOfWeek), startWeekYear);
    int limit = IsLeapYear(year) ? 366 : 365;
    if (year < 9999) {
        const int wn = KwWeekDay(EncodeDate(year + 1, 1, 1), startOfWeek);
        // The days of that week before 1 January belong to the next year's week 1.
        if (JanuaryWeekIsFirst(wn, startWeekYear))
            limit -= wn - 1;
    }
    const int day = static_cast<int>(DateOf(date) - januaryFirst) + 1;
    if (day > limit)
        return 1;
    if (day >= offset)
        return (day - offset) / 7 + 1;
    if (year <= 1)
        return 52;
    return KwWeekNumber(EncodeDate(year - 1, 12, 31), startOfWeek, startWeekYear);
}

void KwWeekOfYear(TDateTime date, TKwStartOfWeek startOfWeek, TKwStartWeekYear startWeekYear,
                  int& week, int& year) {
    week = KwWeekNumber(date, startOfWeek, startWeekYear);
    year = KwDateChunk(date, TKwDateChunk::dchYear);
    const double daysIn = DateOf(date) - EncodeDate(year, 1, 1);
    if (daysIn < 180 && week >= 49)
        year -= 1;
    else if (daysIn >= 180 && week < 4)
        year += 1;
}

TDateTime KwInitWeek(TKwStartOfWeek startOfWeek, TKwStartWeekYear startWeekYear, int week,
                     int year) {
    const TDateTime januaryFirst = EncodeDate(year, 1, 1);
    int firstWeek = 0;
    int weekYear = 0;
    KwWeekOfYear(januaryFirst, startOfWeek, startWeekYear, firstWeek, weekYear);
    const int days = (week - 1) * 7 + 1 + (firstWeek == 1 ? 0 : 7);
    return januaryFirst + days - KwWeekDay(januaryFirst, startOfWeek);
}

TDateTime KwIncDay(TDateTime date, int count) {
    return AddMilliseconds(date, static_cast<std::int64_t>(count) * kMsPerDay);
}

TDateTime KwIncYear(TDateTime date, int count) {
    return IncMonth(date, count * 12);
}

TDateTime KwIncHour(TDateTime date, int count) {
    return AddMilliseconds(date, static_cast<std::int64_t>(count) * 3600000);
}

TDateTime KwIncMinute(TDateTime date, int count) {
    return AddMilliseconds(date, static_cast<std::int64_t>(count) * 60000);
}

TDateTime KwIncSecond(TDateTime date, int count) {
    return AddMilliseconds(date, static_cast<std::int64_t>(count) * 1000);
}

}  // namespace kw
