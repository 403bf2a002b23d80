#include "calc/decimal_to_binary.h"

#include "calc/big_integer.h"

#include <bit>
#include <cmath>
#include <limits>

namespace calc::detail {

namespace {

__extension__ typedef unsigned __int128 uint128;

constexpr int kMantissaBits = 53;
constexpr int kMinExponent = -1074; // the power of two of the last bit of a subnormal
constexpr int kMaxExponent = 971;   // the power of two of the last bit of the largest binade
constexpr std::uint64_t kHiddenBit = std::uint64_t{1} << (kMantissaBits - 1);

// 5^27 = 7450580596923828125 < 2^63, so a 19-digit integer times 5^k fits in 128 bits for k <= 27.
constexpr int kFastPathMaxPower = 27;
constexpr int kFastPathMaxDigits = 19;

constexpr std::uint64_t powerOfFive(int k) {
    std::uint64_t p = 1;
    for (int i = 0; i < k; ++i) {
        p *= 5;
    }
    return p;
}

int bitLength(uint128 v) {
    const auto high = static_cast<std::uint64_t>(v >> 64);
    return high != 0 ? 128 - std::countl_zero(high) : 64 - std::countl_zero(static_cast<std::uint64_t>(v));
}

double infinity() { return std::numeric_limits<double>::infinity(); }

// m x 2^exponent for m <= 2^53 and an exponent at which that is a double: exact, so it does not depend on
// the rounding mode.
double compose(std::uint64_t m, int exponent) { return std::ldexp(static_cast<double>(m), exponent); }

// Rounds (q + f) x 2^exponent to a double, where 0 <= f < 1 and `sticky` says whether f > 0; exactly
// halfway goes toward zero. The caller gives q enough bits that the rounding position lies within q.
double roundBinary(uint128 q, bool sticky, int exponent) {
    if (q == 0) {
        return 0.0;
    }
    const int length = bitLength(q);
    const int leadExponent = length - 1 + exponent;
    if (leadExponent > 1023) {
        return infinity();
    }
    // The power of two of the last bit that the double keeps: 53 bits for a normal number, fewer when
    // the value falls into the subnormal range.
    const int lastBitExponent = std::max(leadExponent - (kMantissaBits - 1), kMinExponent);
    const int dropped = lastBitExponent - exponent;
    if (dropped <= 0) {
        return compose(static_cast<std::uint64_t>(q), exponent);
    }
    if (dropped > 127) {
        return 0.0; // below half the smallest subnormal
    }
    std::uint64_t kept = static_cast<std::uint64_t>(q >> dropped);
    const uint128 rest = q & ((uint128{1} << dropped) - 1);
    const uint128 half = uint128{1} << (dropped - 1);
    if (rest > half || (rest == half && sticky)) {
        ++kept; // may reach 2^53, which compose() still represents exactly
    }
    if (kept == (std::uint64_t{1} << kMantissaBits) && lastBitExponent == kMaxExponent) {
        return infinity();
    }
    return compose(kept, lastBitExponent);
}

// digits x 10^exponent with at most 19 digits and |exponent| <= 27, from exact 128-bit integer arithmetic.
double fastPath(std::uint64_t w, int exponent) {
    if (exponent >= 0) {
        // w x 10^e = (w x 5^e) x 2^e, and w x 5^e < 2^64 x 2^63.
        return roundBinary(uint128{w} * powerOfFive(exponent), false, exponent);
    }
    // w / 10^k = (w x 2^s / 5^k) x 2^-(s+k). With w x 2^s just below 2^127 and 5^k < 2^63 the quotient
    // has at least 64 bits, more than the 53 to keep and the one that decides the rounding; the remainder
    // says whether anything lies beyond them.
    const int k = -exponent;
    const int s = 127 - bitLength(w);
    const uint128 numerator = uint128{w} << s;
    const std::uint64_t divisor = powerOfFive(k);
    const uint128 quotient = numerator / divisor;
    const bool sticky = numerator % divisor != 0;
    return roundBinary(quotient, sticky, -(s + k));
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
    auto m = static_cast<std::uint64_t>(std::ldexp(approximation, -exponent));
    Binary b{m, exponent};
    while (b.m >= (std::uint64_t{1} << kMantissaBits)) {
        b = {b.m >> 1, b.exponent + 1};
    }
    while (b.m < kHiddenBit && b.exponent > kMinExponent) {
        b = {b.m << 1, b.exponent - 1};
    }
    return b;
}

// Compares digits x 10^e10 with odd x 2^e2, exactly: scaled = digits x 5^max(e10,0) and
// fivesOfMidpoint = 5^max(-e10,0) are prepared once by the caller.
class MidpointComparator {
public:
    MidpointComparator(const DecimalNumber& number)
        : scaled_(BigInteger::fromDecimalDigits(number.digits)), e10_(number.exponent) {
        if (e10_ >= 0) {
            scaled_.multiplyByPowerOfFive(static_cast<std::uint64_t>(e10_));
        } else {
            fivesOfMidpoint_ = BigInteger(1);
            fivesOfMidpoint_.multiplyByPowerOfFive(static_cast<std::uint64_t>(-e10_));
        }
    }

    // The sign of value - (2 x b.m + 1) x 2^(b.exponent - 1), the midpoint between b and next(b).
    int compareWithMidpointAbove(Binary b) const {
        // value = digits x 5^e10 x 2^e10. Both sides are multiplied by 5^-e10 when e10 < 0, which leaves
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

// The general case: start from an estimate within a few ulps and move it until the value lies between the
// midpoints below and above it.
double exactPath(const DecimalNumber& number) {
    const auto n = static_cast<std::int64_t>(number.digits.size());
    const std::int64_t lead = number.exponent + n - 1; // the power of ten of the first digit
    // 10^309 > 2^1024, and below 10^-324 everything is less than half the smallest subnormal
    // (2^-1075 ~ 2.47e-324).
    if (lead >= 309) {
        return infinity();
    }
    if (lead <= -325) {
        return 0.0;
    }

    const std::size_t estimateDigits = std::min<std::size_t>(number.digits.size(), kFastPathMaxDigits);
    std::uint64_t w = 0;
    for (std::size_t i = 0; i < estimateDigits; ++i) {
        w = w * 10 + static_cast<std::uint64_t>(number.digits[i] - '0');
    }
    const auto estimateExponent = static_cast<int>(lead - static_cast<std::int64_t>(estimateDigits) + 1);
    // long double covers 10^-1143..10^309 without underflow or overflow; the estimate is only a start.
    Binary b = toBinary(static_cast<long double>(w) * std::pow(10.0L, estimateExponent));

    const MidpointComparator comparator(number);
    for (;;) {
        if (b.exponent > kMaxExponent) {
            return infinity();
        }
        const int above = comparator.compareWithMidpointAbove(b);
        if (above > 0 || (above == 0 && number.truncated)) {
            b = next(b);
            continue;
        }
        if (b.m == 0) {
            break;
        }
        const int below = comparator.compareWithMidpointAbove(previous(b));
        if (below < 0 || (below == 0 && !number.truncated)) {
            b = previous(b); // an exact tie with the midpoint below goes down, toward zero
            continue;
        }
        break;
    }
    return compose(b.m, b.exponent);
}

} // namespace

double decimalToDouble(const DecimalNumber& number) {
    if (number.digits.empty()) {
        return 0.0;
    }
    if (number.digits.size() <= kFastPathMaxDigits && !number.truncated &&
        number.exponent >= -kFastPathMaxPower && number.exponent <= kFastPathMaxPower) {
        std::uint64_t w = 0;
        for (char c : number.digits) {
            w = w * 10 + static_cast<std::uint64_t>(c - '0');
        }
        return fastPath(w, static_cast<int>(number.exponent));
    }
    return exactPath(number);
}

double powerOfTen(std::int64_t exponent) {
    static constexpr double kExact[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                        1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    if (exponent >= 0 && exponent <= 22) {
        return kExact[exponent];
    }
    return decimalToDouble({"1", exponent, false});
}

} // namespace calc::detail
