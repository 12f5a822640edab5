#pragma once

#include <cstdint>

namespace kw {

// a * b / c with a 64-bit intermediate, rounded to nearest with halves away from zero.
// Returns -1 when c is 0 or the result does not fit in 32 bits.
int MulDiv(int a, int b, int c);

// Nearest integer, halves to the even neighbour: Round(2.5) == 2, Round(3.5) == 4.
// NaN, infinities and values outside the 64-bit range raise EInvalidArgument.
std::int64_t Round(double value);
// Integer part towards zero, with the same checks as Round.
std::int64_t Trunc(double value);
// Fractional part, keeping the sign: Frac(-1.25) == -0.25.
double Frac(double value);

}  // namespace kw
