#include <algorithm>
#include <bit>
#include <cstdint>

#include "platform/core/filer.h"

// The 80-bit format: a 64-bit mantissa with an explicit integer bit, a 15-bit exponent biased by
// 16383 and a sign bit, stored little-endian. Everything is done on integers so that the result
// does not depend on the host's long double.

namespace kw {

namespace {

constexpr int kDoubleBias = 1023;
constexpr int kDoubleDenormalExponent = -1074;  // weight of the lowest bit of a denormal
constexpr int kExtendedBias = 16383;
constexpr std::uint16_t kExtendedMaxExponent = 0x7FFF;
constexpr std::uint64_t kIntegerBit = 0x8000000000000000ull;
constexpr std::uint64_t kExtendedQuietBit = 0x4000000000000000ull;
constexpr std::uint64_t kDoubleFraction = 0x000FFFFFFFFFFFFFull;
constexpr std::uint64_t kDoubleQuietBit = 0x0008000000000000ull;
constexpr std::uint64_t kDoubleExponentMask = 0x7FF0000000000000ull;
constexpr std::uint64_t kDoubleMaxFinite = 0x7FEFFFFFFFFFFFFFull;

TExtended80 PackExtended(bool negative, std::uint16_t exponent, std::uint64_t mantissa) {
    TExtended80 out{};
    for (int i = 0; i < 8; ++i)
        out[i] = static_cast<std::uint8_t>(mantissa >> (8 * i));
    const std::uint16_t signExponent =
        static_cast<std::uint16_t>((negative ? 0x8000 : 0) | exponent);
    out[8] = static_cast<std::uint8_t>(signExponent);
    out[9] = static_cast<std::uint8_t>(signExponent >> 8);
    return out;
}

double FromBits(bool negative, std::uint64_t magnitude) {
    return std::bit_cast<double>((negative ? kIntegerBit : 0) | magnitude);
}

// Rounds mantissa / 2^shift to the nearest integer, ties to even; shift >= 1.
std::uint64_t ShiftRightRounded(std::uint64_t mantissa, int shift) {
    if (shift > 64)
        return 0;
    if (shift == 64)
        return mantissa > kIntegerBit ? 1 : 0;
    const std::uint64_t kept = mantissa >> shift;
    const std::uint64_t rest = mantissa & ((std::uint64_t{1} << shift) - 1);
    const std::uint64_t half = std::uint64_t{1} << (shift - 1);
    return kept + ((rest > half || (rest == half && (kept & 1))) ? 1 : 0);
}

double NonFiniteToDouble(bool negative, std::uint64_t mantissa) {
    // Only the canonical infinity is infinite; pseudo-infinities and NaNs become quiet NaNs.
    if (mantissa == kIntegerBit)
        return FromBits(negative, kDoubleExponentMask);
    const std::uint64_t payload = (mantissa >> 11) & kDoubleFraction;
    return FromBits(negative, kDoubleExponentMask | kDoubleQuietBit | payload);
}

// `mantissa` (non-zero) times 2^exponent2, rounded to the nearest double.
double ScaledToDouble(bool negative, std::uint64_t mantissa, std::int64_t exponent2) {
    const int leading = std::countl_zero(mantissa);
    mantissa <<= leading;
    exponent2 -= leading;
    const std::int64_t exponent = exponent2 + 63;  // value = 1.f * 2^exponent
    if (exponent > kDoubleBias)
        return FromBits(negative, kDoubleMaxFinite);
    if (exponent >= 1 - kDoubleBias) {
        std::uint64_t significand = ShiftRightRounded(mantissa, 11);
        std::int64_t biased = exponent + kDoubleBias;
        if (significand >> 53) {
            significand >>= 1;
            ++biased;
        }
        if (biased > 2 * kDoubleBias)
            return FromBits(negative, kDoubleMaxFinite);
        return FromBits(
            negative, (static_cast<std::uint64_t>(biased) << 52) | (significand & kDoubleFraction));
    }
    // Below the normal range a carry into bit 52 yields the smallest normal, as it should.
    const std::int64_t shift = kDoubleDenormalExponent - exponent2;
    return FromBits(
        negative, ShiftRightRounded(mantissa, static_cast<int>(std::min<std::int64_t>(shift, 65))));
}

}  // namespace

TExtended80 DoubleToExtended(double value) {
    const auto bits = std::bit_cast<std::uint64_t>(value);
    const bool negative = (bits >> 63) != 0;
    const int exponent = static_cast<int>((bits >> 52) & 0x7FF);
    const std::uint64_t fraction = bits & kDoubleFraction;
    if (exponent == 0x7FF) {
        const std::uint64_t mantissa =
            fraction == 0 ? kIntegerBit : kIntegerBit | kExtendedQuietBit | (fraction << 11);
        return PackExtended(negative, kExtendedMaxExponent, mantissa);
    }
    if (exponent == 0) {
        if (fraction == 0)
            return PackExtended(negative, 0, 0);
        const int leading = std::countl_zero(fraction);
        const int biased = kExtendedBias + 63 + kDoubleDenormalExponent - leading;
        return PackExtended(negative, static_cast<std::uint16_t>(biased), fraction << leading);
    }
    return PackExtended(negative,
                        static_cast<std::uint16_t>(exponent - kDoubleBias + kExtendedBias),
                        kIntegerBit | (fraction << 11));
}

double ExtendedToDouble(const TExtended80& bytes) {
    std::uint64_t mantissa = 0;
    for (int i = 0; i < 8; ++i)
        mantissa |= static_cast<std::uint64_t>(bytes[i]) << (8 * i);
    const auto signExponent = static_cast<std::uint16_t>(bytes[8] | (bytes[9] << 8));
    const bool negative = (signExponent & 0x8000) != 0;
    const int exponent = signExponent & kExtendedMaxExponent;
    if (exponent == kExtendedMaxExponent)
        return NonFiniteToDouble(negative, mantissa);
    if (mantissa == 0)
        return FromBits(negative, 0);
    // Denormals and pseudo-denormals share exponent 1; unnormals are taken at face value.
    const int effective = exponent == 0 ? 1 : exponent;
    return ScaledToDouble(negative, mantissa,
                          static_cast<std::int64_t>(effective) - kExtendedBias - 63);
}

}  // namespace kw
