#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

#include "platform/core/filer.h"

namespace kw {
namespace {

TExtended80 Make(std::uint16_t signExponent, std::uint64_t mantissa) {
    TExtended80 out{};
    for (int i = 0; i < 8; ++i)
        out[i] = static_cast<std::uint8_t>(mantissa >> (8 * i));
    out[8] = static_cast<std::uint8_t>(signExponent);
    out[9] = static_cast<std::uint8_t>(signExponent >> 8);
    return out;
}

std::uint64_t Bits(double value) {
    return std::bit_cast<std::uint64_t>(value);
}

TEST(ExtendedTest, DoublesGiveKnownBytePatterns) {
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(DoubleToExtended(1.5), Make(0x3FFF, 0xC000000000000000));
    EXPECT_EQ(DoubleToExtended(-2.0), Make(0xC000, 0x8000000000000000));
    EXPECT_EQ(DoubleToExtended(0.0), Make(0x0000, 0));
    EXPECT_EQ(DoubleToExtended(-0.0), Make(0x8000, 0));
    EXPECT_EQ(DoubleToExtended(4.9406564584124654e-324), Make(0x3BCD, 0x8000000000000000));
    EXPECT_EQ(DoubleToExtended(DBL_MIN - 4.9406564584124654e-324),
              Make(0x3C00, 0xFFFFFFFFFFFFF000));
    EXPECT_EQ(DoubleToExtended(DBL_MAX), Make(0x43FE, 0xFFFFFFFFFFFFF800));
    EXPECT_EQ(DoubleToExtended(inf), Make(0x7FFF, 0x8000000000000000));
    EXPECT_EQ(DoubleToExtended(-inf), Make(0xFFFF, 0x8000000000000000));
    const TExtended80 expected = {0, 0, 0, 0, 0, 0, 0, 0xC0, 0xFF, 0x3F};
    EXPECT_EQ(DoubleToExtended(1.5), expected);
}

TEST(ExtendedTest, NaNStaysQuietNaNWithSignAndPayload) {
    const double nan = std::bit_cast<double>(0xFFF4000000000001ull);  // negative, signalling
    const TExtended80 ext = DoubleToExtended(nan);
    EXPECT_EQ(ext, Make(0xFFFF, 0xC000000000000000 | (0x4000000000001ull << 11)));
    EXPECT_EQ(Bits(ExtendedToDouble(ext)), 0xFFFC000000000001ull);
}

TEST(ExtendedTest, RandomDoublesRoundTripBitExact) {
    std::mt19937_64 random(20240611);
    for (int i = 0; i < 200000; ++i) {
        std::uint64_t bits = random();
        if (i % 4 == 1)
            bits &= 0x800FFFFFFFFFFFFFull;  // denormals
        const double value = std::bit_cast<double>(bits);
        const double back = ExtendedToDouble(DoubleToExtended(value));
        if (std::isnan(value)) {
            ASSERT_TRUE(std::isnan(back));
            ASSERT_EQ(std::signbit(back), std::signbit(value));
        } else {
            ASSERT_EQ(Bits(back), bits) << "value " << value;
        }
    }
}

TEST(ExtendedTest, OutOfRangeValuesSaturateOnlyInfinityIsInfinite) {
    EXPECT_EQ(ExtendedToDouble(Make(0x7FFE, 0x8000000000000000)), DBL_MAX);  // ~1e4932
    EXPECT_EQ(ExtendedToDouble(Make(0xC400, 0xFFFFFFFFFFFFFFFF)), -DBL_MAX);
    // DBL_MAX plus half an ulp would round to 2^1024; it saturates too.
    EXPECT_EQ(ExtendedToDouble(Make(0x43FE, 0xFFFFFFFFFFFFFC00)), DBL_MAX);
    EXPECT_TRUE(std::isinf(ExtendedToDouble(Make(0x7FFF, 0x8000000000000000))));
    EXPECT_TRUE(std::isnan(ExtendedToDouble(Make(0x7FFF, 0))));  // pseudo-infinity
    EXPECT_TRUE(std::signbit(ExtendedToDouble(Make(0xFFFF, 0xC000000000000000))));
}

TEST(ExtendedTest, RoundsToNearestEven) {
    EXPECT_EQ(ExtendedToDouble(Make(0x3FFF, 0x8000000000000400)), 1.0);
    EXPECT_EQ(ExtendedToDouble(Make(0x3FFF, 0x8000000000000401)), 1.0 + DBL_EPSILON);
    EXPECT_EQ(ExtendedToDouble(Make(0x3FFF, 0x8000000000000C00)), 1.0 + 2 * DBL_EPSILON);
    EXPECT_EQ(ExtendedToDouble(Make(0x3FFF, 0xFFFFFFFFFFFFFC00)), 2.0);  // carry into exponent
}

TEST(ExtendedTest, TinyValuesBecomeDenormalsOrZero) {
    const double minDenormal = 4.9406564584124654e-324;
    EXPECT_EQ(Bits(ExtendedToDouble(Make(0x3BCC, 0x8000000000000000))), 0u);  // tie -> even 0
    EXPECT_EQ(ExtendedToDouble(Make(0x3BCC, 0x8000000000000001)), minDenormal);
    EXPECT_EQ(ExtendedToDouble(Make(0x3BCD, 0xC000000000000000)), 2 * minDenormal);  // tie
    EXPECT_EQ(ExtendedToDouble(Make(0x3C00, 0xFFFFFFFFFFFFFFFF)), DBL_MIN);          // rounds up
    EXPECT_EQ(Bits(ExtendedToDouble(Make(0x8001, 0x8000000000000000))), 0x8000000000000000u);
    EXPECT_EQ(Bits(ExtendedToDouble(Make(0x8000, 0x0000000000001234))), 0x8000000000000000u);
}

TEST(ExtendedTest, UnnormalsAreTakenAtFaceValue) {
    EXPECT_EQ(ExtendedToDouble(Make(0x3FFF, 0x4000000000000000)), 0.5);
    EXPECT_EQ(ExtendedToDouble(Make(0x4000, 0)), 0.0);  // pseudo-zero
    // A pseudo-denormal weighs like a denormal: far below the double range.
    EXPECT_EQ(ExtendedToDouble(Make(0x0000, 0x8000000000000000)), 0.0);
}

}  // namespace
}  // namespace kw
