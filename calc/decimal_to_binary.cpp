#include "calc/decimal_to_binary.h"

#include "calc/big_integer.h"
#include "calc/power_of_five.h"

#include <bit>
#include <cmath>
#include <limits>
#include <optional>

namespace calc::detail {

namespace {

constexpr int kMantissaBits = 53;
constexpr int kMinExponent = -1074; // the power of two of the last bit of a subnormal
constexpr int kMaxExponent = 971;   // the power of two of the last bit of the largest binade
constexpr std::uint64_t kHiddenBit = std::uint64_t{1} << (kMantissaBits - 1);
constexpr std::uint64_t kFractionMask = kHiddenBit - 1;

double infinity() {
    return std::numeric_limits<double>::infinity();
}

// m x 2^exponent for m <= 2^53 and an exponent at which that is a double: exact, so it does not depend on
// the rounding mode.
double compose(std::uint64_t m, int exponent) {
    // Through a signed integer: some compilers convert an unsigned 0 by subtracting a constant, which
    // gives -0 when rounding downward. m <= 2^53 fits either way.
    return std::ldexp(static_cast<double>(static_cast<std::int64_t>(m)), exponent);
}

// The fast path: the leading 19 digits w times a 128-bit power of five, d x 10^q = w x 5^q x 2^q. With
// w shifted to 64 bits, the 192-bit product P of w and the table's significand is the value times a power
// of two up to an error below 2^64 (the table's truncation) and below 2^(128 + lz) when digits after the
// first 19 were dropped. P has 190 or 191 bits, of which the double keeps 53: the dropped part decides
// the rounding unless it lies within that error of one half. Then, and for results outside the normal
// range, the exact path takes over.
std::optional<double> multiplyPath(const DecimalNumber& number) {
    const auto dropped =
        static_cast<std::int64_t>(number.count() > kLeadingDigits ? number.count() - kLeadingDigits : 0);
    const std::int64_t q = number.exponent() + dropped;
    if (q < kFirstPowerOfFive || q > kLastPowerOfFive) {
        return std::nullopt;
    }
    const bool truncated = dropped > 0 || number.truncated();
    const int lz = std::countl_zero(number.leading());
    const PowerOfFive five = powerOfFive(static_cast<int>(q));
    const Product192 p = multiply(number.leading() << lz, five.significand);

    // The 53 kept bits end 52 bits below P's top bit, which lies in its high word.
    const int top = 191 - std::countl_zero(p.high);
    const int droppedHighBits = top - 52 - 128; // 10 or 11
    std::uint64_t m = p.high >> droppedHighBits;
    // The dropped part in units of 2^64 (bits 64 and up), and one half in the same units.
    const uint128 rest = (uint128{p.high & ((std::uint64_t{1} << droppedHighBits) - 1)} << 64) |
                         static_cast<std::uint64_t>(p.low >> 64);
    const uint128 half = uint128{1} << (droppedHighBits - 1 + 64);
    const auto restLow = static_cast<std::uint64_t>(p.low);

    bool up = false;
    if (!truncated && q >= 0 && q <= kLastExactPowerOfFive) {
        // P is the value itself: a tie is a tie, and goes down.
        up = rest > half || (rest == half && restLow != 0);
    } else {
        // The true dropped part lies below rest + 2 (+ 2^(64 + lz)) units.
        const uint128 error = 2 + (truncated ? uint128{1} << (64 + lz) : 0);
        if (rest + error <= half) {
            up = false;
        } else if (rest > half || (rest == half && restLow != 0)) {
            up = true; // even a carry out of the dropped part gives the same m + 1
        } else {
            return std::nullopt;
        }
    }
    int lead = top + five.twos + static_cast<int>(q) - lz;
    if (up && ++m == (std::uint64_t{1} << kMantissaBits)) {
        m = kHiddenBit;
        ++lead;
    }
    if (lead < -1022 || lead > 1023) {
        return std::nullopt;
    }
    return std::bit_cast<double>((static_cast<std::uint64_t>(lead + 1023) << 52) | (m & kFractionMask));
}

// A double as m x 2^exponent, kept in the canonical form of the binary64 format: 2^52 <= m < 2^53 with
// kMinExponent <= exponent <= kMaxExponent, or m < 2^52 with exponent == kMinExponent (subnormal or zero).
struct Binary {
    std::uint64_t m;
    int exponent;
};

Binary next(Binary b) {
    if (++b.m == (std::uint64_t{1} << kMantissaBits)) {
        b.m = kHiddenBit;
        ++b.exponent; // past kMaxExponent this stands for infinity
    }
    return b;
}

Binary previous(Binary b) {
    if (b.m == kHiddenBit && b.exponent > kMinExponent) {
        return {(std::uint64_t{1} << kMantissaBits) - 1, b.exponent - 1};
    }
    return {b.m - 1, b.exponent};
}

Binary toBinary(long double approximation) {
    if (!(approximation > 0)) {
        return {0, kMinExponent};
    }
    if (approximation >= 0x1p1024L) {
        return {(std::uint64_t{1} << kMantissaBits) - 1, kMaxExponent};
    }
    int lead = 0;
    std::frexp(approximation, &lead); // approximation = f x 2^lead with 0.5 <= f < 1
    const int exponent = std::max(lead - kMantissaBits, kMinExponent);
    Binary b{static_cast<std::uint64_t>(std::ldexp(approximation, -exponent)), exponent};
    while (b.m >= (std::uint64_t{1} << kMantissaBits)) {
        b = {b.m >> 1, b.exponent + 1};
    }
    while (b.m < kHiddenBit && b.exponent > kMinExponent) {
        b = {b.m << 1, b.exponent - 1};
    }
    return b;
}

// Compares the number d x 10^e10 exactly with midpoints (2m + 1) x 2^(exponent - 1) between doubles.
class MidpointComparator {
public:
    explicit MidpointComparator(const DecimalNumber& number)
        : scaled_(BigInteger::fromDecimalDigits(number.digits())), e10_(number.exponent()) {
        if (e10_ >= 0) {
            scaled_.multiplyByPowerOfFive(static_cast<std::uint64_t>(e10_));
        } else {
            fivesOfMidpoint_ = BigInteger(1);
            fivesOfMidpoint_.multiplyByPowerOfFive(static_cast<std::uint64_t>(-e10_));
        }
    }

    // The sign of value - (2 x b.m + 1) x 2^(b.exponent - 1), the midpoint between b and next(b).
    int compareWithMidpointAbove(Binary b) const {
        // value = d x 5^e10 x 2^e10. Both sides are multiplied by 5^-e10 when e10 < 0, which leaves
        // integers times powers of two; the smaller power of two is then divided out.
        BigInteger left = scaled_;
        BigInteger right(2 * b.m + 1);
        if (e10_ < 0) {
            right.multiply(fivesOfMidpoint_);
        }
        const std::int64_t leftTwos = e10_;
        const std::int64_t rightTwos = b.exponent - 1;
        if (leftTwos > rightTwos) {
            left.shiftLeft(static_cast<std::uint64_t>(leftTwos - rightTwos));
        } else {
            right.shiftLeft(static_cast<std::uint64_t>(rightTwos - leftTwos));
        }
        return compare(left, right);
    }

private:
    BigInteger scaled_;
    BigInteger fivesOfMidpoint_;
    std::int64_t e10_;
};

// The exact path: start from an estimate within a few ulps and move it until the value lies between the
// midpoints below and above it.
double exactPath(const DecimalNumber& number) {
    const auto digitCount = static_cast<std::int64_t>(number.count());
    const int leadingCount = static_cast<int>(std::min<std::size_t>(number.count(), kLeadingDigits));
    const std::int64_t estimateExponent = number.exponent() + digitCount - leadingCount;
    // long double covers 10^-1143..10^309 without underflow or overflow; the estimate is only a start.
    Binary b = toBinary(static_cast<long double>(number.leading()) *
                        std::pow(10.0L, static_cast<int>(estimateExponent)));

    const MidpointComparator comparator(number);
    for (;;) {
        if (b.exponent > kMaxExponent) {
            return infinity();
        }
        const int above = comparator.compareWithMidpointAbove(b);
        if (above > 0 || (above == 0 && number.truncated())) {
            b = next(b);
            continue;
        }
        if (b.m == 0) {
            break;
        }
        const int below = comparator.compareWithMidpointAbove(previous(b));
        if (below < 0 || (below == 0 && !number.truncated())) {
            b = previous(b); // an exact tie with the midpoint below goes down, toward zero
            continue;
        }
        break;
    }
    return compose(b.m, b.exponent);
}

} // namespace

void DecimalNumber::addBeyondLeading(int digit) {
    if (count_ >= kMaxSignificantDigits) {
        truncated_ = truncated_ || digit != 0;
        return;
    }
    if (keepDigits_) {
        rest_ += static_cast<char>('0' + digit);
    }
    ++count_;
}

void DecimalNumber::addOneByOne(std::string_view digits) {
    for (const char c : digits) {
        add(c - '0');
    }
}

void DecimalNumber::addZerosOneByOne(std::size_t count) {
    for (; count > 0 && count_ < kMaxSignificantDigits; --count) {
        add(0);
    }
}

std::string DecimalNumber::digits() const {
    // d1 is never 0, so the leading digits print in full.
    return std::to_string(leading_) + rest_;
}

namespace {

// Numbers that are certainly infinite or zero as doubles, from their magnitude alone.
std::optional<double> outOfRange(const DecimalNumber& number) {
    if (number.count() == 0) {
        return 0.0;
    }
    const std::int64_t lead = number.exponent() + static_cast<std::int64_t>(number.count()) - 1;
    // 10^309 > 2^1024, and below 10^-324 everything is less than half the smallest subnormal
    // (2^-1075 ~ 2.47e-324).
    if (lead >= 309) {
        return infinity();
    }
    if (lead <= -325) {
        return 0.0;
    }
    return std::nullopt;
}

} // namespace

std::optional<double> decimalToDoubleQuickly(const DecimalNumber& number) {
    if (const std::optional<double> extreme = outOfRange(number)) {
        return extreme;
    }
    return multiplyPath(number);
}

double decimalToDoubleExactly(const DecimalNumber& number) {
    if (const std::optional<double> extreme = outOfRange(number)) {
        return *extreme;
    }
    return exactPath(number);
}

double decimalToDouble(const DecimalNumber& number) {
    if (const std::optional<double> quick = decimalToDoubleQuickly(number)) {
        return *quick;
    }
    return exactPath(number);
}

double powerOfTen(std::int64_t exponent) {
    static constexpr double kExact[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    if (exponent >= 0 && exponent <= 22) {
        return kExact[exponent];
    }
    DecimalNumber one;
    one.add(1);
    one.setExponent(exponent);
    return decimalToDouble(one);
}

} // namespace calc::detail
