// Exact conversion of a decimal number to the nearest double, ties toward zero.
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace calc::detail {

// A double lies exactly halfway between two neighbours only if that midpoint's decimal expansion ends
// within its first 767 significant digits. Keeping 800 digits and a "more follows" flag therefore decides
// every comparison with a midpoint exactly, whatever the length of the text.
inline constexpr std::size_t kMaxSignificantDigits = 800;

// The first 19 significant digits always fit in 64 bits (10^19 < 2^64).
inline constexpr std::size_t kLeadingDigits = 19;

// A non-negative decimal number: its significant digits d1...dn x 10^exponent (the power of ten of dn),
// plus possibly more nonzero digits after them. Built digit by digit with add(), or a few at a time with
// addDigits(); short numbers never allocate, and neither do long ones whose digits after the first 19 are
// only counted.
class DecimalNumber {
public:
    // keepDigits false: the digits after the first 19 are counted but not kept, which is all that
    // decimalToDoubleQuickly needs.
    explicit DecimalNumber(bool keepDigits = true) : keepDigits_(keepDigits) {}

    // Appends the next significant digit (0-9); the first must not be 0. Beyond kMaxSignificantDigits
    // a nonzero digit only marks the number as truncated.
    void add(int digit) {
        if (count_ < kLeadingDigits) {
            leading_ = leading_ * 10 + static_cast<std::uint64_t>(digit);
            ++count_;
        } else if (!keepDigits_ && count_ < kMaxSignificantDigits) {
            ++count_; // only counted
        } else {
            addBeyondLeading(digit);
        }
    }
    // Appends up to 8 significant digits at once: `digits` is their ASCII text and `value` the integer they
    // spell. The same as add() for each digit in turn, but without a step per digit where they all fall
    // among the first 19, all among the digits that are only counted, or all beyond kMaxSignificantDigits.
    void addDigits(std::string_view digits, std::uint64_t value) {
        const std::size_t n = digits.size();
        if (count_ + n <= kLeadingDigits) {
            leading_ = leading_ * kPowersOfTen[n] + value;
            count_ += n;
        } else if (count_ >= kMaxSignificantDigits) {
            truncated_ = truncated_ || value != 0;
        } else if (!keepDigits_ && count_ >= kLeadingDigits && count_ + n <= kMaxSignificantDigits) {
            count_ += n; // only counted
        } else {
            addOneByOne(digits);
        }
    }

    // Appends `count` zeros that a nonzero digit follows; at once where they are only counted.
    void addZeros(std::size_t count) {
        if (count_ >= kMaxSignificantDigits) {
            return; // zeros beyond the kept digits change nothing
        }
        if (!keepDigits_ && count_ >= kLeadingDigits) {
            count_ = std::min(count_ + count, kMaxSignificantDigits);
        } else {
            addZerosOneByOne(count);
        }
    }

    void setExponent(std::int64_t exponent) { exponent_ = exponent; }

    std::size_t count() const { return count_; }
    std::int64_t exponent() const { return exponent_; }
    bool truncated() const { return truncated_; }
    // The first min(count, 19) digits as an integer.
    std::uint64_t leading() const { return leading_; }
    // All the kept digits as text; only for a number that keeps its digits.
    std::string digits() const;

private:
    static constexpr std::uint64_t kPowersOfTen[] = {1,      10,      100,      1000,     10000,
                                                     100000, 1000000, 10000000, 100000000};

    void addBeyondLeading(int digit);
    void addOneByOne(std::string_view digits);
    void addZerosOneByOne(std::size_t count);

    std::uint64_t leading_ = 0;
    std::size_t count_ = 0;
    std::string rest_; // the digits after the first 19
    std::int64_t exponent_ = 0;
    bool truncated_ = false;
    bool keepDigits_;
};

// The double nearest to the number; exactly halfway goes to the neighbour nearer zero. Values beyond the
// largest double by at least half an ulp give +infinity, values at or below half the smallest subnormal +0.
// The number must keep its digits.
double decimalToDouble(const DecimalNumber& number);

// The same, where a 128-bit product decides it, which is nearly always; nothing where only the exact
// comparison can. The number need not keep its digits.
std::optional<double> decimalToDoubleQuickly(const DecimalNumber& number);

// The same by exact big-integer comparisons alone, without the table-driven fast path: the reference that
// the fast path falls back on, exposed so that the two can be compared.
double decimalToDoubleExactly(const DecimalNumber& number);

// The double nearest to 10^exponent (exact for 0 <= exponent <= 22); +infinity from 10^309 on.
double powerOfTen(std::int64_t exponent);

} // namespace calc::detail
