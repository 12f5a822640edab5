#include "platform/core/numbers.h"

#include <cmath>
#include <cstdlib>
#include <limits>

#include "platform/core/exception.h"

namespace kw {

namespace {

constexpr double kTwoPow63 = 9223372036854775808.0;

void CheckInt64Range(double value) {
    // Written so that NaN fails the test too.
    if (!(value >= -kTwoPow63 && value < kTwoPow63))
        throw EInvalidArgument(u"Invalid floating point operation");
}

}  // namespace

int MulDiv(int a, int b, int c) {
    if (c == 0)
        return -1;
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    std::int64_t quotient = product / c;
    const std::int64_t remainder = product % c;
    if (2 * std::llabs(remainder) >= std::llabs(static_cast<std::int64_t>(c)))
        quotient += (product < 0) == (c < 0) ? 1 : -1;
    if (quotient < std::numeric_limits<int>::min() || quotient > std::numeric_limits<int>::max())
        return -1;
    return static_cast<int>(quotient);
}

std::int64_t Round(double value) {
    CheckInt64Range(value);
    const double below = std::floor(value);
    const double excess = value - below;  // exact for every double
    double rounded = below;
    if (excess > 0.5 || (excess == 0.5 && std::fmod(below, 2.0) != 0.0))
        rounded = below + 1.0;
    CheckInt64Range(rounded);
    return static_cast<std::int64_t>(rounded);
}

std::int64_t Trunc(double value) {
    CheckInt64Range(value);
    return static_cast<std::int64_t>(value);
}

double Frac(double value) {
    return value - std::trunc(value);
}

}  // namespace kw
