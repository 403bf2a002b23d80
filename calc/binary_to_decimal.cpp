#include "calc/binary_to_decimal.h"

#include "calc/big_integer.h"
#include "calc/power_of_five.h"

#include <bit>
#include <charconv>
#include <optional>
#include <string>

namespace calc::detail {

namespace {

constexpr int kKeptDigits = 18;
constexpr std::uint64_t kTenTo18 = 1000000000000000000;

// floor(log10(2^k)) for |k| < 1700: log10(2) ~ 78913 / 2^18.
int floorLog10OfPowerOfTwo(int k) {
    return (k * 78913) >> 18;
}

// The fast path: floor(m x 2^e x 10^t) for t = 17 - E', where E' is E or E - 1, from the 192-bit product
// of m and the table's 128-bit significand of 5^t. The table's truncation makes the product too small by
// less than 2^64 of its units; the floor is certain unless the fraction lies that close to the next
// integer. Exact table entries leave no doubt at all.
std::optional<LeadingDigits> multiplyPath(std::uint64_t m, int e) {
    const int lz = std::countl_zero(m);
    const int estimate = floorLog10OfPowerOfTwo(e + 63 - lz); // E' <= E <= E' + 1
    const int t = kKeptDigits - 1 - estimate;
    const PowerOfFive five = powerOfFive(t);
    const Product192 p = multiply(m << lz, five.significand);

    // value x 10^t = P x 2^(twos + e + t - lz): the integer part is P shifted right by `fraction` bits.
    const int fraction = -(five.twos + e + t - lz);
    std::uint64_t whole = 0;
    uint128 fractionHigh = 0; // the fraction's bits from bit 64 up, as an integer
    uint128 fractionFull = 0; // (1 << (fraction - 64)) - 1: the largest that can be
    if (fraction >= 128) {
        const int highBits = fraction - 128;
        whole = highBits >= 64 ? 0 : p.high >> highBits;
        const std::uint64_t highPart = highBits == 0 ? 0 : p.high & ((std::uint64_t{1} << highBits) - 1);
        fractionHigh = (uint128{highPart} << 64) | static_cast<std::uint64_t>(p.low >> 64);
        fractionFull = (uint128{1} << (fraction - 64)) - 1;
    } else {
        whole = static_cast<std::uint64_t>((uint128{p.high} << (128 - fraction)) | (p.low >> fraction));
        fractionHigh = (p.low & ((uint128{1} << fraction) - 1)) >> 64;
        fractionFull = (uint128{1} << (fraction - 64)) - 1;
    }
    const bool exact = t >= 0 && t <= kLastExactPowerOfFive;
    if (!exact && fractionHigh == fractionFull) {
        return std::nullopt; // the missing part of the product may carry into the integer
    }
    if (whole >= kTenTo18) {
        return LeadingDigits{whole / 10, estimate + 1};
    }
    return LeadingDigits{whole, estimate};
}

// The decimal digits of the integer m x 2^twos or m x 5^fives (one of the two exponents is zero).
std::string integerDigits(std::uint64_t m, unsigned twos, unsigned fives) {
    BigInteger value(m);
    value.shiftLeft(twos);
    value.multiplyByPowerOfFive(fives);
    return value.toDecimalDigits();
}

// The exact path with big integers: all the digits of the expansion, of which the first 18 are kept.
LeadingDigits bigIntegerPath(std::uint64_t m, int e) {
    const int zeros = std::countr_zero(m);
    m >>= zeros;
    e += zeros;
    // For e >= 0 the value is the integer m x 2^e. For e < 0 it is m x 5^-e / 10^-e: the digits of
    // m x 5^-e with the decimal point moved -e places to the left.
    const std::string digits = e >= 0 ? integerDigits(m, static_cast<unsigned>(e), 0)
                                      : integerDigits(m, 0, static_cast<unsigned>(-e));
    const int decimalExponent = static_cast<int>(digits.size()) - 1 + (e < 0 ? e : 0);

    std::uint64_t leading = 0;
    for (int i = 0; i < kKeptDigits; ++i) {
        const auto at = static_cast<std::size_t>(i);
        leading = leading * 10 + (at < digits.size() ? static_cast<std::uint64_t>(digits[at] - '0') : 0);
    }
    return {leading, decimalExponent};
}

// magnitude = m x 2^e exactly, with m < 2^53.
struct Parts {
    std::uint64_t m;
    int e;
};

Parts decompose(double magnitude) {
    const auto bits = std::bit_cast<std::uint64_t>(magnitude);
    const auto biased = static_cast<int>((bits >> 52) & 0x7FF);
    const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
    if (biased == 0) {
        return {fraction, -1074}; // subnormal
    }
    return {fraction | (std::uint64_t{1} << 52), biased - 1075};
}

} // namespace

LeadingDigits leadingDigits(double magnitude) {
    const auto [m, e] = decompose(magnitude);
    if (const std::optional<LeadingDigits> fast = multiplyPath(m, e)) {
        return *fast;
    }
    return bigIntegerPath(m, e);
}

LeadingDigits leadingDigitsExactly(double magnitude) {
    const auto [m, e] = decompose(magnitude);
    return bigIntegerPath(m, e);
}

} // namespace calc::detail
