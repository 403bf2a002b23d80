// Writing and rounding any double. The input's first 8 bytes are the bit pattern of x (little-endian,
// missing bytes zero) and the next 4 the places of roundToPlaces (a signed 32-bit integer; 5, the
// calculator's, when the input is shorter).
//
// numberToText is checked against a reference written from the rules of its header, on printf's exact
// decimal expansion: the text is a result text (never empty, printable ASCII, at most 20 characters) and
// reads back as x to 13 significant digits. roundToPlaces is deterministic, keeps NaNs bit for bit and
// the sign of everything else, and moves x by at most half a unit of the last place kept, the bias of
// 1e-12 units and the roundings of its steps.
#include "calc/numeric_text.h"
#include "calc/volume.h"
#include "fuzz/property.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

namespace {

using fuzz::describe;
using fuzz::require;
using fuzz::sameBits;

constexpr std::uint64_t kDefaultNaN = 0xFFF8000000000000;
constexpr std::uint64_t kQuietBit = std::uint64_t{1} << 51;
constexpr double kInfinity = std::numeric_limits<double>::infinity();

// The distance from |v| to the next double away from zero (toward zero for the largest double).
long double ulpOf(double v) {
    const double a = std::fabs(v);
    const double up = std::nextafter(a, kInfinity);
    return std::isinf(up) ? static_cast<long double>(a) - std::nextafter(a, 0.0)
                          : static_cast<long double>(up) - a;
}

// The exact decimal expansion of a positive finite double: every significant digit and the power of ten
// of the first. A double has at most 767 significant digits, so printf with 780 gives them all.
struct Expansion {
    std::string digits;
    int exponent = 0;
};

Expansion exactExpansion(double a) {
    constexpr int kDigits = 781;
    char text[kDigits + 32];
    std::snprintf(text, sizeof text, "%.*e", kDigits - 1, a);
    Expansion expansion{std::string(1, text[0]), 0}; // "d.ddd...de-xx"
    const char* c = text + 2;
    for (; *c != 'e'; ++c) {
        expansion.digits += *c;
    }
    expansion.exponent = static_cast<int>(std::strtol(c + 1, nullptr, 10));
    expansion.digits.erase(expansion.digits.find_last_not_of('0') + 1);
    require(expansion.digits.size() < kDigits, "reference: the expansion of a double is exact in 781 digits",
            [&] { return std::string(text); });
    return expansion;
}

// Keeps the first n digits (padding with zeros) and adds one unit to the last of them when the digit
// after them is 5 or more; a carry out of the first digit gives 1000... and one more power of ten.
void roundHalfUp(Expansion& e, std::size_t n) {
    e.digits.resize(std::max(e.digits.size(), n + 1), '0');
    const bool up = e.digits[n] >= '5';
    e.digits.resize(n);
    if (!up) {
        return;
    }
    std::size_t i = n;
    for (; i > 0 && e.digits[i - 1] == '9'; --i) {
        e.digits[i - 1] = '0';
    }
    if (i == 0) {
        e.digits = "1" + std::string(n - 1, '0');
        ++e.exponent;
    } else {
        ++e.digits[i - 1];
    }
}

// The text of a result box, from the rules in the header of numberToText.
std::string referenceText(double x) {
    const std::string sign = std::signbit(x) ? "-" : "";
    if (std::isinf(x)) {
        return sign + "1.#INF";
    }
    if (std::isnan(x)) {
        if (fuzz::bitsOf(x) == kDefaultNaN) {
            return "-1.#IND";
        }
        return sign + ((fuzz::bitsOf(x) & kQuietBit) != 0 ? "1.#QNAN" : "1.#SNAN");
    }
    if (x == 0) {
        return "0";
    }
    Expansion e = exactExpansion(std::fabs(x));
    roundHalfUp(e, 17);
    roundHalfUp(e, 13);
    std::string& d = e.digits;
    d.erase(d.find_last_not_of('0') + 1);

    std::string text = sign;
    if (e.exponent < -4 || e.exponent >= 13) {
        text += d.substr(0, 1) + (d.size() > 1 ? "." + d.substr(1) : "");
        char exponent[16];
        std::snprintf(exponent, sizeof exponent, "e%c%03d", e.exponent < 0 ? '-' : '+', std::abs(e.exponent));
        text += exponent;
    } else if (e.exponent >= 0) {
        const auto integerDigits = static_cast<std::size_t>(e.exponent) + 1;
        d.resize(std::max(d.size(), integerDigits), '0');
        text += d.substr(0, integerDigits) + (d.size() > integerDigits ? "." + d.substr(integerDigits) : "");
    } else {
        text += "0." + std::string(static_cast<std::size_t>(-e.exponent - 1), '0') + d;
    }
    return text;
}

void checkText(double x) {
    const std::string text = calc::numberToText(x);
    require(calc::numberToText(x) == text, "a number gives the same text on a second call",
            [&] { return describe(x); });
    require(fuzz::isResultText(text), "a number's text is never empty, ASCII, at most 20 characters",
            [&] { return "numberToText(" + describe(x) + ") = " + describe(text); });
    const std::string expected = referenceText(x);
    require(text == expected,
            "a number's text is its 13 digits, from 17 of the exact expansion, both half up", [&] {
                return "numberToText(" + describe(x) + ")\n  expected " + describe(expected) +
                       "\n       got " + describe(text);
            });

    if (!std::isfinite(x) || x == 0) {
        return;
    }
    // The text is x rounded twice, half up: to 17 digits and those to 13. It is within half a unit of
    // the 13th digit of x plus half a unit of the 17th, and reading it back adds half an ulp.
    const double back = calc::textToNumber(text);
    const long double unit = std::pow(10.0L, exactExpansion(std::fabs(x)).exponent - 12);
    const long double bound = unit * (0.5L + 0.5e-4L) + ulpOf(back) / 2;
    require(std::fabs(static_cast<long double>(back) - x) <= bound, "a text reads back as x to 13 digits",
            [&] {
                return "numberToText(" + describe(x) + ") = " + describe(text) + " reads back as " +
                       describe(back);
            });
}

// 10^n for 0 <= n <= 22, exact: 5^22 < 2^64.
long double exactPowerOfTen(int n) {
    long double p = 1;
    for (int i = 0; i < n; ++i) {
        p *= 10;
    }
    return p;
}

void checkRounding(double x, std::int32_t places) {
    const double r = calc::roundToPlaces(x, places);
    const auto call = [&] {
        return "roundToPlaces(" + describe(x) + ", " + std::to_string(places) + ") = " + describe(r);
    };
    require(sameBits(calc::roundToPlaces(x, places), r), "rounding gives the same result on a second call",
            call);
    if (std::isnan(x)) {
        require(sameBits(r, x), "rounding gives a NaN back bit for bit", call);
        return;
    }
    require(!std::isnan(r), "rounding a number never gives NaN", call);
    require(std::signbit(r) == std::signbit(x), "rounding keeps the sign", call);
    if (x == 0 || std::isinf(x)) {
        require(sameBits(r, x), "rounding gives zeros and infinities back unchanged", call);
        return;
    }
    if (places < -22 || places > 22) {
        return; // the power of ten is no longer exact, and the bounds below no longer hold as they stand
    }

    const long double p = exactPowerOfTen(std::abs(places));
    const long double a = std::fabs(static_cast<long double>(x));
    const long double scaled = places >= 0 ? a * p : a / p;
    if (std::isinf(r)) {
        // Only a scaled magnitude beyond the largest double, or a multiple of the power of ten that
        // rounds beyond it, becomes infinite.
        const long double reach = places >= 0 ? scaled : a + p;
        require(reach >= DBL_MAX, "rounding gives an infinity only beyond the double range", call);
        return;
    }
    // The scaled magnitude, stored as a double, gains the bias of 1e-12 and is stored again; it is then
    // rounded to an integer, half up, and scaled back with one more rounding.
    const long double scaledError = 0.5L + 1e-12L + 2 * ulpOf(static_cast<double>(scaled));
    const long double bound = (places >= 0 ? scaledError / p : scaledError * p) + ulpOf(r);
    require(std::fabs(static_cast<long double>(r) - x) <= bound,
            "rounding moves x by at most half a unit of the last place kept, the bias and the roundings",
            call);

    // The result is a whole number of units of the last place kept: i / 10^places or i x 10^-places.
    constexpr long double kExactIntegers = 0x1p52L;
    if (places > 0 && scaled < kExactIntegers) {
        const long double units = std::nearbyint(std::fabs(static_cast<long double>(r)) * p);
        require(static_cast<double>(units / p) == std::fabs(r),
                "a result is a whole number of units of the last place", call);
    } else if (places < 0 && std::fabs(r) < kExactIntegers) {
        require(std::fmod(static_cast<long double>(std::fabs(r)), p) == 0,
                "a result is a whole number of units of the last place", call);
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    calc::setFloatingPointEnvironment();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, data, std::min<std::size_t>(size, sizeof bits));
    std::int32_t places = 5;
    if (size >= sizeof bits + sizeof places) {
        std::memcpy(&places, data + sizeof bits, sizeof places);
    }
    const double x = std::bit_cast<double>(bits);

    checkText(x);
    checkRounding(x, places);
    if (places != 5) {
        checkRounding(x, 5);
    }
    return 0;
}
