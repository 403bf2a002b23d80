// A small unsigned arbitrary-precision integer: just what the exact decimal conversions need (products with
// powers of five, shifts, comparisons, and division by a small divisor to print digits).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace calc::detail {

class BigInteger {
public:
    BigInteger() = default;
    explicit BigInteger(std::uint64_t value);

    // The value of a string of decimal digits ('0' to '9' only).
    static BigInteger fromDecimalDigits(std::string_view digits);

    bool isZero() const { return limbs_.empty(); }

    void multiplyAdd(std::uint32_t factor, std::uint32_t addend);
    void multiply(const BigInteger& other);
    void multiplyByPowerOfFive(std::uint64_t exponent);
    void shiftLeft(std::uint64_t bits);

    // Divides in place and returns the remainder. divisor must not be 0.
    std::uint32_t divideSmall(std::uint32_t divisor);

    // All decimal digits, most significant first; "0" for zero.
    std::string toDecimalDigits() const;

    // -1, 0 or +1 as a is less than, equal to or greater than b.
    friend int compare(const BigInteger& a, const BigInteger& b);

private:
    void trim();

    std::vector<std::uint32_t> limbs_; // least significant first, no leading zero limbs
};

} // namespace calc::detail
