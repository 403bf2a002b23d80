// Exact conversion of a decimal number to the nearest double, ties toward zero.
#pragma once

#include <cstdint>
#include <string>

namespace calc::detail {

// A non-negative decimal number: digits x 10^exponent, plus possibly more nonzero digits after them.
struct DecimalNumber {
    // The significant digits, '1'..'9' first and last; empty for zero. Callers keep at most
    // kMaxSignificantDigits of them and set `truncated` when a nonzero digit followed.
    std::string digits;
    // The power of ten of the last digit in `digits`.
    std::int64_t exponent = 0;
    // More nonzero digits came after `digits`: the value lies strictly above digits x 10^exponent, by less
    // than one unit of the last kept digit.
    bool truncated = false;
};

// A double lies exactly halfway between two neighbours only if that midpoint's decimal expansion ends
// within its first 767 significant digits. Keeping 800 digits and a "more follows" flag therefore decides
// every comparison with a midpoint exactly, whatever the length of the text.
inline constexpr std::size_t kMaxSignificantDigits = 800;

// The double nearest to the number; exactly halfway goes to the neighbour nearer zero. Values beyond the
// largest double by at least half an ulp give +infinity, values at or below half the smallest subnormal +0.
double decimalToDouble(const DecimalNumber& number);

// The double nearest to 10^exponent (exact for 0 <= exponent <= 22); +infinity from 10^309 on.
double powerOfTen(std::int64_t exponent);

} // namespace calc::detail
