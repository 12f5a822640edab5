#include "util/dates.h"

#include <gtest/gtest.h>

namespace kw {
namespace {

using enum TKwStartOfWeek;
using enum TKwStartWeekYear;

TEST(DatesTest, WeekDayCountsFromTheFirstDayOfTheWeek) {
    const TDateTime sunday = EncodeDate(2024, 6, 2);
    EXPECT_EQ(KwWeekDay(sunday, sweSun), 1);
    EXPECT_EQ(KwWeekDay(sunday, sweMon), 7);
    EXPECT_EQ(KwWeekDay(sunday + 1, sweMon), 1);
    EXPECT_EQ(KwWeekDay(sunday, sweSat), 2);
    EXPECT_EQ(KwDateChunk(EncodeDate(1850, 3, 7) + 0.5, TKwDateChunk::dchMonth), 3);
    EXPECT_EQ(KwDateChunk(-1.25, TKwDateChunk::dchDay), 29);
}

// ISO 8601: a week belongs to the year of its Thursday.
void IsoWeek(TDateTime date, int& week, int& year) {
    const TDateTime thursday = date - KwWeekDay(date, sweMon) + 4;
    year = KwDateChunk(thursday, TKwDateChunk::dchYear);
    week = static_cast<int>(thursday - EncodeDate(year, 1, 1)) / 7 + 1;
}

TEST(DatesTest, FourDayRuleFromMondayIsIsoEveryDay) {
    for (TDateTime day = EncodeDate(1995, 1, 1); day < EncodeDate(2035, 1, 1); day += 1) {
        int week = 0, year = 0, isoWeek = 0, isoYear = 0;
        KwWeekOfYear(day, sweMon, swyFourDays, week, year);
        IsoWeek(day, isoWeek, isoYear);
        ASSERT_EQ(week, isoWeek) << KwDateChunk(day, TKwDateChunk::dchYear) << "-"
                                 << KwDateChunk(day, TKwDateChunk::dchMonth) << "-"
                                 << KwDateChunk(day, TKwDateChunk::dchDay);
        ASSERT_EQ(year, isoYear);
    }
    EXPECT_EQ(KwWeekNumber(EncodeDate(2020, 12, 31), sweMon, swyFourDays), 53);
}

TEST(DatesTest, OtherFirstWeekRules) {
    // 2023-01-01 was a Sunday.
    EXPECT_EQ(KwWeekNumber(EncodeDate(2023, 1, 1), sweMon, swyJanuary), 1);
    EXPECT_EQ(KwWeekNumber(EncodeDate(2023, 1, 2), sweMon, swyJanuary), 2);
    EXPECT_EQ(KwWeekNumber(EncodeDate(2023, 1, 1), sweSun, swyFullWeek), 1);
    int week = 0, year = 0;
    KwWeekOfYear(EncodeDate(2023, 1, 1), sweMon, swyFullWeek, week, year);
    EXPECT_EQ(year, 2022);
    EXPECT_GE(week, 49);
    EXPECT_EQ(KwWeekNumber(EncodeDate(2023, 1, 2), sweMon, swyFullWeek), 1);
}

TEST(DatesTest, InitWeekGivesTheFirstDayOfTheWeek) {
    EXPECT_EQ(KwInitWeek(sweMon, swyJanuary, 1, 2025), EncodeDate(2024, 12, 30));
    EXPECT_EQ(KwInitWeek(sweMon, swyFourDays, 1, 2021), EncodeDate(2021, 1, 4));
    EXPECT_EQ(KwInitWeek(sweMon, swyFourDays, 10, 2024), EncodeDate(2024, 3, 4));
    EXPECT_EQ(KwInitWeek(sweSun, swyJanuary, 1, 1850), EncodeDate(1849, 12, 30));
    for (int y = 1990; y < 2030; ++y) {
        const TDateTime first = KwInitWeek(sweMon, swyFourDays, 1, y);
        int week = 0, year = 0;
        KwWeekOfYear(first, sweMon, swyFourDays, week, year);
        EXPECT_EQ(week, 1) << y;
        EXPECT_EQ(year, y) << y;
        EXPECT_EQ(KwWeekDay(first, sweMon), 1) << y;
    }
}

TEST(DatesTest, IncrementsKeepTheTimeAcrossTheBaseDate) {
    EXPECT_DOUBLE_EQ(KwIncDay(-1.25, 2), 1.25);
    EXPECT_DOUBLE_EQ(KwIncDay(1.25, -2), -1.25);
    EXPECT_DOUBLE_EQ(KwIncHour(-1.25, 24), 0.25);
    EXPECT_DOUBLE_EQ(KwIncHour(0.25, -12), -1.75);
    EXPECT_DOUBLE_EQ(KwIncMinute(EncodeDate(2024, 1, 1), -1),
                     EncodeDate(2023, 12, 31) + EncodeTime(23, 59, 0, 0));
    EXPECT_DOUBLE_EQ(KwIncSecond(EncodeDate(2024, 1, 1), 90),
                     EncodeDate(2024, 1, 1) + EncodeTime(0, 1, 30, 0));
    EXPECT_EQ(KwIncYear(EncodeDate(2024, 2, 29), 1), EncodeDate(2025, 2, 28));
    EXPECT_EQ(KwIncYear(EncodeDate(2024, 2, 29), -4), EncodeDate(2020, 2, 29));
}

}  // namespace
}  // namespace kw
