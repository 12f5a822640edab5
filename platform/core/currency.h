#pragma once

#include <compare>
#include <cstdint>

#include "platform/core/types.h"

namespace kw {

// A fixed-point amount: a 64-bit integer holding the value times 10,000.
struct Currency {
    static constexpr std::int64_t kScale = 10000;

    std::int64_t scaled = 0;

    static constexpr Currency FromScaled(std::int64_t scaledValue) { return Currency{scaledValue}; }
    static constexpr Currency FromInt(std::int64_t units) { return Currency{units * kScale}; }
    // Rounds to the nearest 1/10,000, halves to even; raises EConvertError when out of range.
    static Currency FromDouble(double value);

    double ToDouble() const { return static_cast<double>(scaled) / kScale; }

    friend constexpr auto operator<=>(Currency, Currency) = default;
};

// Shortest plain text with "." as decimal separator: "12.5", "-0.0001", "7".
String CurrToStr(Currency value);
// Digits with an optional sign, at most one "." and at most four decimals beyond which the
// value is rounded (halves to even); blanks around allowed. False for anything else.
bool TryStrToCurr(StringView text, Currency& value);

}  // namespace kw
