// The leading decimal digits of a double, exactly.
#pragma once

#include <cstdint>

namespace calc::detail {

// The first 18 significant digits of the exact decimal expansion of a positive finite double, cut (not
// rounded) after the 18th: magnitude = 0.d1...d18 x 10^(decimalExponent + 1) + a remainder below one unit
// of d18. digits is d1...d18 as an integer, 10^17 <= digits < 10^18 (padded with zeros when the expansion
// is shorter); decimalExponent is the power of ten of d1.
//   leadingDigits(0.1)  -> { 100000000000000005, -1 }   (0.1000000000000000055511151231257827...)
struct LeadingDigits {
    std::uint64_t digits;
    int decimalExponent;
};
LeadingDigits leadingDigits(double magnitude);

// The same from big-integer arithmetic alone, without the table-driven fast path: the reference that the
// fast path falls back on, exposed so that the two can be compared.
LeadingDigits leadingDigitsExactly(double magnitude);

} // namespace calc::detail
