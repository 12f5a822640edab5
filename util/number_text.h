#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/core/types.h"

namespace kw {

// A decimal number 0.d1d2d3... x 10^exponent. `digits` holds the significant digits without
// leading or trailing zeros; it is empty for zero. Infinities and NaN are flagged.
struct TKwDecimal {
    bool negative = false;
    std::string digits;
    int exponent = 0;
    bool infinite = false;
    bool nan = false;

    bool IsZero() const { return digits.empty() && !infinite && !nan; }
};

// The value with `significant` (1..17) significant digits, rounded from its exact binary value.
TKwDecimal KwDecimalOf(double value, int significant = 15);
// Rounds half away from zero, keeping `decimals` digits after the decimal point.
void KwDecimalRoundAt(TKwDecimal& number, int decimals);
// Rounds half away from zero, keeping `significant` significant digits.
void KwDecimalRoundSignificant(TKwDecimal& number, int significant);
// The nearest double; raises EConvertError when the magnitude is too large.
double KwDecimalToDouble(const TKwDecimal& number);

// The number printing routines below take the value with at most 15 significant digits first,
// then round the decimal digits half away from zero, so 2.345 with 2 decimals gives 2.35.
// Infinities and NaN print as "INF", "-INF" and "NAN"; a value that rounds to zero never
// carries a minus sign.

// Fixed notation with `decimals` (0..18) digits after the separator; a non-zero
// `thousandSeparator` groups the whole part by thousands.
String KwFloatToFixed(double value, int decimals, Char decimalSeparator,
                      Char thousandSeparator = 0);
// "d.dddE+xx": `precision` significant digits, the exponent with its sign and at least
// `exponentDigits` digits.
String KwFloatToScientific(double value, int precision, int exponentDigits, Char decimalSeparator);
// Trailing zeros dropped; fixed notation unless the point lies more than `precision` digits to
// the right of the first digit or the value is below 0.0001, then "1.5E20", "1E-5".
String KwFloatToGeneral(double value, int precision, Char decimalSeparator);
// Whichever of fixed (trailing zeros dropped) and scientific text is shorter, fixed on a tie.
String KwFloatToShortest(double value, int precision, Char decimalSeparator);
// Decimal digits of an integer with a separator before every third digit from the right
// (none when `thousandSeparator` is 0); the separator never follows the "-".
String KwInt64ToText(std::int64_t value, Char thousandSeparator = 0);

// Reads "[+|-]digits[sep digits][e[+|-]digits]" with blanks around. Thousand separators (when
// not 0 and not equal to the decimal separator) may appear among the digits before the decimal
// separator. Values beyond the double range fail; values too small become zero.
std::optional<double> KwParseFloat(StringView text, Char decimalSeparator,
                                   Char thousandSeparator = 0);
// Reads "[+|-]digits" with blanks around into a 64-bit integer, with optional thousand
// separators among the digits; fails on overflow.
std::optional<std::int64_t> KwParseInt64(StringView text, Char thousandSeparator = 0);

}  // namespace kw
