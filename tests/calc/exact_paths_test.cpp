// The table-driven fast paths of both conversions against the big-integer paths they fall back on, which
// must stand on their own: on the fast paths' hard cases, and on a seeded random sample.
#include "calc/binary_to_decimal.h"
#include "calc/decimal_to_binary.h"
#include "double_bits.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

namespace {

using calc::detail::DecimalNumber;
using calc::testing::fromBits;
using calc::testing::sameBits;

DecimalNumber decimal(const std::string& digits, std::int64_t exponent) {
    DecimalNumber number;
    std::size_t zeros = 0;
    for (char c : digits) {
        if (c == '0') {
            ++zeros;
            continue;
        }
        number.addZeros(zeros);
        zeros = 0;
        number.add(c - '0');
    }
    number.setExponent(exponent + static_cast<std::int64_t>(zeros));
    return number;
}

TEST(DecimalToDoubleExactly, DecidesTiesAndNeighboursOfMidpoints) {
    const struct {
        const char* digits;
        std::int64_t exponent;
        double expected;
    } cases[] = {
        {"9007199254740993", 0, 9007199254740992},                // a tie: toward zero
        {"9007199254740995", 0, 9007199254740994},                // a tie: toward zero, here also to even
        {"90071992547409930000000000001", -13, 9007199254740994}, // just above the tie
        {"7", 22, 0x1.da56a4b0835bfp+75},                         // 7e22 is a tie as well
        {"5", -324, fromBits(1)},                                 // above half the smallest subnormal
        {"24703282292062327", -340, 0},                           // below it
        {"17976931348623158", 292, DBL_MAX},                      // below the midpoint above DBL_MAX
        {"17976931348623159", 292, INFINITY},                     // above it
        {"1", 0, 1},
        {"1", 23, 1e23},
    };
    for (const auto& c : cases) {
        const DecimalNumber number = decimal(c.digits, c.exponent);
        EXPECT_TRUE(sameBits(c.expected, calc::detail::decimalToDoubleExactly(number)))
            << c.digits << "e" << c.exponent;
        EXPECT_TRUE(sameBits(c.expected, calc::detail::decimalToDouble(number)))
            << c.digits << "e" << c.exponent;
    }
}

TEST(DecimalToDoubleExactly, AgreesWithTheFastPathOnRandomNumbers) {
    std::mt19937_64 random(7);
    for (int i = 0; i < 20000; ++i) {
        std::string digits(1 + random() % 40, '0');
        for (char& c : digits) {
            c = static_cast<char>('0' + random() % 10);
        }
        digits[0] = static_cast<char>('1' + random() % 9);
        if (i % 4 == 0) {
            // The exact decimal expansion of a midpoint between two doubles, cut to a few digits or not.
            const double x =
                std::ldexp(static_cast<double>((random() >> 11) | 1), static_cast<int>(random() % 200) - 100);
            char text[1100];
            std::snprintf(text, sizeof text, "%.*Le", 760,
                          (static_cast<long double>(x) + std::nextafter(x, INFINITY)) / 2);
            std::string mantissa = std::string(1, text[0]) + std::string(text + 2, text + 2 + 760);
            mantissa.erase(mantissa.find_last_not_of('0') + 1);
            const int exponent = std::atoi(std::strchr(text, 'e') + 1);
            digits = mantissa;
            const DecimalNumber number = decimal(digits, exponent - static_cast<int>(digits.size()) + 1);
            ASSERT_TRUE(
                sameBits(calc::detail::decimalToDoubleExactly(number), calc::detail::decimalToDouble(number)))
                << text;
            continue;
        }
        const std::int64_t exponent = static_cast<std::int64_t>(random() % 680) - 360;
        const DecimalNumber number = decimal(digits, exponent);
        ASSERT_TRUE(
            sameBits(calc::detail::decimalToDoubleExactly(number), calc::detail::decimalToDouble(number)))
            << digits << "e" << exponent;
    }
}

TEST(LeadingDigitsExactly, CutsTheExpansionAfterEighteenDigits) {
    const struct {
        double x;
        std::uint64_t digits;
        int exponent;
    } cases[] = {
        {0.1, 100000000000000005, -1}, // 0.1000000000000000055511151231257827...
        {0.5, 500000000000000000, -1},      {1e23, 999999999999999916, 22}, // 99999999999999991611392
        {DBL_MAX, 179769313486231570, 308}, {fromBits(1), 494065645841246544, -324},
        {1, 100000000000000000, 0},
    };
    for (const auto& c : cases) {
        for (const auto& got : {calc::detail::leadingDigitsExactly(c.x), calc::detail::leadingDigits(c.x)}) {
            EXPECT_EQ(c.digits, got.digits) << calc::testing::describe(c.x);
            EXPECT_EQ(c.exponent, got.decimalExponent) << calc::testing::describe(c.x);
        }
    }
}

TEST(LeadingDigitsExactly, AgreesWithTheFastPathOnRandomDoubles) {
    std::mt19937_64 random(11);
    for (int i = 0; i < 50000; ++i) {
        std::uint64_t bits = random() & 0x7FFFFFFFFFFFFFFF;
        if (i % 3 == 0) {
            bits >>= random() % 64; // subnormals and small exponents too
        }
        const double x = std::bit_cast<double>(bits);
        if (!(x > 0) || std::isinf(x)) {
            continue;
        }
        const auto fast = calc::detail::leadingDigits(x);
        const auto exact = calc::detail::leadingDigitsExactly(x);
        ASSERT_EQ(exact.digits, fast.digits) << calc::testing::describe(x);
        ASSERT_EQ(exact.decimalExponent, fast.decimalExponent) << calc::testing::describe(x);
    }
}

} // namespace
