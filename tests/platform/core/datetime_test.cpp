#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "platform/core/datetime.h"
#include "platform/core/exception.h"
#include "platform/text/unicode.h"

namespace kw {
namespace {

struct Fields {
    int year, month, day, hour, min, sec, msec;
    bool operator==(const Fields&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Fields& f) {
    return os << f.year << '-' << f.month << '-' << f.day << ' ' << f.hour << ':' << f.min << ':'
              << f.sec << '.' << f.msec;
}

Fields Decode(TDateTime value) {
    Fields f{};
    DecodeDateTime(value, f.year, f.month, f.day, f.hour, f.min, f.sec, f.msec);
    return f;
}

TEST(DateEncoding, KnownDayNumbersAndLeapYears) {
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(EncodeDate(1900, 3, 1), 61.0);
    EXPECT_EQ(EncodeDate(1970, 1, 1), kUnixDateDelta);
    EXPECT_EQ(EncodeDate(1, 1, 1), kMinDateTime);
    EXPECT_FALSE(IsLeapYear(1900));
    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_EQ(DaysInMonth(1900, 2), 28);
    EXPECT_EQ(DaysInMonth(2000, 2), 29);
    EXPECT_EQ(DaysInMonth(2023, 13), 0);
}

TEST(DateEncoding, EveryDayDecodesToTheDateThatEncodesIt) {
    int year = 1, month = 1, day = 1;
    for (int n = static_cast<int>(kMinDateTime); n <= static_cast<int>(kMaxDateTime); ++n) {
        const Fields expected{year, month, day, 0, 0, 0, 0};
        // Plain comparisons keep the 3.6 million iterations fast; report only the first miss.
        if (Decode(n) != expected || EncodeDate(year, month, day) != n)
            FAIL() << "day number " << n << " decodes to " << Decode(n) << ", expected "
                   << expected;
        if (++day > DaysInMonth(year, month)) {
            day = 1;
            if (++month > 12) {
                month = 1;
                ++year;
            }
        }
    }
    EXPECT_EQ(year, 10000);
}

TEST(DateEncoding, InvalidArgumentsRaise) {
    const int badDates[][3] = {
        {0, 1, 1}, {10000, 1, 1}, {2000, 13, 1}, {2000, 1, 0}, {1900, 2, 29}};
    for (const auto& d : badDates) {
        TDateTime out = 123;
        EXPECT_FALSE(TryEncodeDate(d[0], d[1], d[2], out));
        EXPECT_EQ(out, 123);
        try {
            EncodeDate(d[0], d[1], d[2]);
            ADD_FAILURE() << d[0] << '-' << d[1] << '-' << d[2] << " was accepted";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), u"Invalid argument to date encode");
        }
    }
    const int badTimes[][4] = {{24, 0, 0, 0}, {0, 60, 0, 0}, {0, 0, 60, 0}, {0, 0, 0, 1000}};
    for (const auto& t : badTimes)
        EXPECT_THROW(EncodeTime(t[0], t[1], t[2], t[3]), EConvertError);
}

TEST(DateDecoding, NegativeValuesSubtractTheTime) {
    EXPECT_EQ(Decode(-1.25), (Fields{1899, 12, 29, 6, 0, 0, 0}));
    EXPECT_EQ(Decode(-0.75), (Fields{1899, 12, 30, 18, 0, 0, 0}));
    EXPECT_EQ(ComposeDateTime(EncodeDate(1899, 12, 29), EncodeTime(6, 0, 0, 0)), -1.25);
    EXPECT_EQ(DayOfWeek(0), 7);      // Saturday
    EXPECT_EQ(DayOfWeek(1.9), 1);    // Sunday
    EXPECT_EQ(DayOfWeek(-1.25), 6);  // Friday
    EXPECT_EQ(DayOfWeek(-0.5), 7);
    EXPECT_EQ(DayOfWeek(EncodeDate(1, 1, 1)), 2);
}

TEST(DateDecoding, TimeRoundTripsEveryMillisecondOnEitherSideOfTheEpoch) {
    for (TDateTime date : {EncodeDate(2024, 2, 29), EncodeDate(1850, 6, 15), 0.0}) {
        for (int ms = 0; ms < kMSecsPerDay; ms += ms < 2000 || ms > kMSecsPerDay - 2000 ? 1 : 997) {
            const Fields expected{0,        0, 0, ms / 3600000, ms / 60000 % 60, ms / 1000 % 60,
                                  ms % 1000};
            Fields f = Decode(ComposeDateTime(
                date, EncodeTime(expected.hour, expected.min, expected.sec, expected.msec)));
            ASSERT_EQ(EncodeDate(f.year, f.month, f.day), date) << ms;
            f.year = f.month = f.day = 0;
            ASSERT_EQ(f, expected);
        }
    }
}

TEST(DateDecoding, RoundingToMidnightMovesToTheNextDay) {
    const double almost = 1 - 0.4 / kMSecsPerDay;
    EXPECT_EQ(Decode(EncodeDate(2023, 12, 31) + almost), (Fields{2024, 1, 1, 0, 0, 0, 0}));
    EXPECT_EQ(Decode(-1.0 - almost), (Fields{1899, 12, 28, 0, 0, 0, 0}));
    EXPECT_EQ(DayOfWeek(almost), 1);
    EXPECT_EQ(Decode(kMaxDateTime + 1), (Fields{}));
    EXPECT_EQ(Decode(std::nan("")), (Fields{}));
}

TEST(IncMonth, ClampsTheDayAndKeepsTheTime) {
    const TDateTime noon = EncodeTime(12, 30, 0, 5);
    EXPECT_EQ(IncMonth(EncodeDate(2024, 1, 31) + noon), EncodeDate(2024, 2, 29) + noon);
    EXPECT_EQ(IncMonth(EncodeDate(2024, 2, 29), 12), EncodeDate(2025, 2, 28));
    EXPECT_EQ(IncMonth(EncodeDate(2024, 1, 15), -13), EncodeDate(2022, 12, 15));
    EXPECT_EQ(IncMonth(-1.25, -1), EncodeDate(1899, 11, 29) - 0.25);
    EXPECT_EQ(IncMonth(ComposeDateTime(EncodeDate(1899, 11, 30), 0.25), 1), 0.25);
    EXPECT_THROW(IncMonth(EncodeDate(9999, 12, 1), 1), EConvertError);
}

TEST(Clock, ReplaceableAndResettable) {
    TDateTime fake = EncodeDate(2021, 7, 4) + 0.75;
    SetClock([&] { return fake; });
    EXPECT_EQ(Now(), fake);
    EXPECT_EQ(Date(), EncodeDate(2021, 7, 4));
    EXPECT_EQ(Time(), 0.75);
    fake = -1.25;
    EXPECT_EQ(Date(), -1.0);
    EXPECT_EQ(Time(), 0.25);
    ResetClock();
    EXPECT_NEAR(Now(), FileTimeToLocalDateTime(std::time(nullptr), 0), 2.0 / kSecsPerDay);
}

TEST(UnixTime, ConvertsWithoutTimeZone) {
    const TDateTime billennium = EncodeDate(2001, 9, 9) + EncodeTime(1, 46, 40, 0);
    EXPECT_EQ(UnixToDateTime(1000000000), billennium);
    EXPECT_EQ(DateTimeToUnix(billennium), 1000000000);
    const std::int64_t before = -(kUnixDateDelta + 1) * std::int64_t{kSecsPerDay} + 6 * 3600;
    EXPECT_EQ(UnixToDateTime(before), -1.25);
    EXPECT_EQ(DateTimeToUnix(-1.25), before);
}

// Runs with TZ set so that local time is predictable.
class FileTimeTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("TZ", "EST5", 1);
        tzset();
        char pattern[] = "/tmp/kw_datetime_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        file_ = dir_ + "/stamp.txt";
        const timespec stamp[2] = {{1000000000, 123456789}, {1000000000, 123456789}};
        const int fd = open(file_.c_str(), O_CREAT | O_WRONLY, 0644);
        ASSERT_EQ(futimens(fd, stamp), 0);
        close(fd);
    }
    void TearDown() override {
        std::filesystem::remove_all(dir_);
        unsetenv("TZ");
        tzset();
    }

    std::string dir_;
    std::string file_;
};

TEST_F(FileTimeTest, LastWriteTimeIsLocalAndKeepsMilliseconds) {
    TDateTime age = 0;
    ASSERT_TRUE(FileAge(Utf8ToString(file_), age));
    EXPECT_EQ(Decode(age), (Fields{2001, 9, 8, 20, 46, 40, 123}));
    const int fd = open(file_.c_str(), O_RDONLY);
    EXPECT_EQ(FileGetDateTime(fd), age);
    close(fd);
    EXPECT_THROW(FileGetDateTime(fd), EInvalidArgument);
}

TEST_F(FileTimeTest, NoAgeForDirectoriesOrMissingFiles) {
    TDateTime age = 42;
    EXPECT_FALSE(FileAge(Utf8ToString(dir_), age));
    EXPECT_FALSE(FileAge(Utf8ToString(dir_ + "/missing"), age));
    EXPECT_EQ(age, 42);
}

}  // namespace
}  // namespace kw
