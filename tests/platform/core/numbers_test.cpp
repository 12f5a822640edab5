#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "platform/core/exception.h"
#include "platform/core/numbers.h"

namespace kw {
namespace {

TEST(MulDiv, RoundsHalvesAwayFromZero) {
    EXPECT_EQ(MulDiv(1, 1, 2), 1);
    EXPECT_EQ(MulDiv(-1, 1, 2), -1);
    EXPECT_EQ(MulDiv(1, -1, 2), -1);
    EXPECT_EQ(MulDiv(1, 1, -2), -1);
    EXPECT_EQ(MulDiv(-1, -1, -2), -1);
    EXPECT_EQ(MulDiv(3, 1, 2), 2);
    EXPECT_EQ(MulDiv(-3, 1, 2), -2);
    EXPECT_EQ(MulDiv(5, 1, 3), 2);  // 1.67
    EXPECT_EQ(MulDiv(4, 1, 3), 1);  // 1.33
    EXPECT_EQ(MulDiv(-4, 1, 3), -1);
    EXPECT_EQ(MulDiv(96, 120, 96), 120);
}

TEST(MulDiv, WideIntermediateAndFailures) {
    EXPECT_EQ(MulDiv(100000, 100000, 100000), 100000);
    EXPECT_EQ(MulDiv(std::numeric_limits<int>::max(), 2, 2), std::numeric_limits<int>::max());
    EXPECT_EQ(MulDiv(std::numeric_limits<int>::min(), 3, 3), std::numeric_limits<int>::min());
    EXPECT_EQ(MulDiv(std::numeric_limits<int>::min(), 1, std::numeric_limits<int>::min()), 1);
    EXPECT_EQ(MulDiv(1 << 30, 3, std::numeric_limits<int>::min()), -2);
    EXPECT_EQ(MulDiv(7, 8, 0), -1);
    EXPECT_EQ(MulDiv(std::numeric_limits<int>::max(), 2, 1), -1);
    EXPECT_EQ(MulDiv(std::numeric_limits<int>::min(), -1, 1), -1);
}

TEST(Round, TiesGoToTheEvenNeighbour) {
    EXPECT_EQ(Round(2.5), 2);
    EXPECT_EQ(Round(3.5), 4);
    EXPECT_EQ(Round(-2.5), -2);
    EXPECT_EQ(Round(-3.5), -4);
    EXPECT_EQ(Round(0.5), 0);
    EXPECT_EQ(Round(-0.5), 0);
    EXPECT_EQ(Round(2.4999999999999996), 2);
    EXPECT_EQ(Round(2.5000000000000004), 3);
    EXPECT_EQ(Round(-1.6), -2);
    EXPECT_EQ(Round(4503599627370497.0), 4503599627370497);  // 2^52 + 1, no fraction bits left
    EXPECT_EQ(Round(-9223372036854775808.0), std::numeric_limits<std::int64_t>::min());
}

TEST(Round, RejectsValuesWithoutAnIntegerResult) {
    constexpr double kInf = std::numeric_limits<double>::infinity();
    for (double bad : {std::nan(""), kInf, -kInf, 9223372036854775808.0, -1e19}) {
        EXPECT_THROW(Round(bad), EInvalidArgument) << bad;
        EXPECT_THROW(Trunc(bad), EInvalidArgument) << bad;
    }
}

TEST(Trunc, CutsTowardsZeroAndFracKeepsTheSign) {
    EXPECT_EQ(Trunc(2.9), 2);
    EXPECT_EQ(Trunc(-2.9), -2);
    EXPECT_EQ(Frac(2.75), 0.75);
    EXPECT_EQ(Frac(-1.25), -0.25);
}

}  // namespace
}  // namespace kw
