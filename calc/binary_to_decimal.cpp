#include "calc/binary_to_decimal.h"

#include "calc/big_integer.h"

#include <bit>
#include <charconv>
#include <string>

namespace calc::detail {

namespace {

constexpr int kKeptDigits = 18;

// The decimal digits of the integer m x 2^twos or m x 5^fives (one of the two exponents is zero).
std::string integerDigits(std::uint64_t m, unsigned twos, unsigned fives) {
    // Most results of the calculator (a few digits after the point) stay within 64 bits.
    if (twos < 64 && (m >> (63 - twos)) == 0 && fives <= 27) {
        std::uint64_t value = m << twos;
        bool fits = true;
        for (unsigned i = 0; i < fives && fits; ++i) {
            fits = value <= UINT64_MAX / 5;
            value *= 5;
        }
        if (fits) {
            char buffer[20];
            const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
            return std::string(buffer, end);
        }
    }
    BigInteger value(m);
    value.shiftLeft(twos);
    value.multiplyByPowerOfFive(fives);
    return value.toDecimalDigits();
}

} // namespace

LeadingDigits leadingDigits(double magnitude) {
    // magnitude = m x 2^e exactly, with m odd after the trailing zero bits are moved into e.
    const auto bits = std::bit_cast<std::uint64_t>(magnitude);
    const auto biased = static_cast<int>((bits >> 52) & 0x7FF);
    std::uint64_t m = bits & ((std::uint64_t{1} << 52) - 1);
    int e = -1074;
    if (biased != 0) {
        m |= std::uint64_t{1} << 52;
        e = biased - 1075;
    }
    const int zeros = std::countr_zero(m);
    m >>= zeros;
    e += zeros;

    // For e >= 0 the value is the integer m x 2^e. For e < 0 it is m x 5^-e / 10^-e: the digits of
    // m x 5^-e with the decimal point moved -e places to the left.
    const std::string digits =
        e >= 0 ? integerDigits(m, static_cast<unsigned>(e), 0) : integerDigits(m, 0, static_cast<unsigned>(-e));
    const int decimalExponent = static_cast<int>(digits.size()) - 1 + (e < 0 ? e : 0);

    std::uint64_t leading = 0;
    for (int i = 0; i < kKeptDigits; ++i) {
        const auto at = static_cast<std::size_t>(i);
        leading = leading * 10 + (at < digits.size() ? static_cast<std::uint64_t>(digits[at] - '0') : 0);
    }
    return {leading, decimalExponent};
}

} // namespace calc::detail
