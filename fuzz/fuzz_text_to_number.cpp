// Reading numbers from arbitrary bytes: textToNumber and readNumber give, for every input, the value of
// the text's longest numeric prefix rounded to the nearest double with exact ties toward zero, the same
// value on every call, and the same value as each other wherever the full-width mapping has nothing to do.
//
// The reference is independent of the numeric core: the full-width mapping of the tests' exact reference
// (tests/calc/exact_reference.h), a prefix grammar of its own, glibc's strtod for the correctly rounded
// value (nearest, ties to even), and an exact decimal comparison with the midpoint below that value to tell
// the ties, where the rounding toward zero differs from strtod's.
#include "calc/numeric_text.h"
#include "calc/volume.h"
#include "fuzz/property.h"
#include "tests/calc/exact_reference.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

using fuzz::describe;
using fuzz::require;
using fuzz::sameBits;

using reference::halfWidth;
using reference::isBlank;
using reference::isDigit;

// The longest prefix of the form [blanks] [+|-] (digits ["." digits*] | "." digits) [(e|E|d|D) [+|-] digits].
struct NumericPrefix {
    bool hasMantissa = false;
    bool negative = false;
    std::string ascii;       // the prefix without blanks, "e" for its exponent letter: what strtod reads
    std::string significant; // the mantissa from its first to its last nonzero digit; empty for zero
    std::int64_t lead = 0;   // the power of ten of the first significant digit
};

NumericPrefix numericPrefix(std::string_view text) {
    NumericPrefix prefix;
    std::size_t at = 0;
    const auto peek = [&](std::size_t ahead = 0) {
        return at + ahead < text.size() ? static_cast<unsigned char>(text[at + ahead]) : -1;
    };
    while (isBlank(peek())) {
        ++at;
    }
    std::string sign;
    if (peek() == '+' || peek() == '-') {
        prefix.negative = peek() == '-';
        sign = text.substr(at++, 1);
    }
    std::string integerDigits;
    std::string fractionDigits;
    while (isDigit(peek())) {
        integerDigits += text[at++];
    }
    bool point = false;
    if (peek() == '.' && (!integerDigits.empty() || isDigit(peek(1)))) {
        point = true;
        ++at;
        while (isDigit(peek())) {
            fractionDigits += text[at++];
        }
    }
    if (integerDigits.empty() && fractionDigits.empty()) {
        return prefix;
    }
    prefix.hasMantissa = true;
    prefix.ascii = sign + integerDigits + (point ? "." : "") + fractionDigits;

    const std::string mantissa = integerDigits + fractionDigits;
    const std::size_t first = mantissa.find_first_not_of('0');
    if (first != std::string::npos) {
        prefix.significant = mantissa.substr(first, mantissa.find_last_not_of('0') + 1 - first);
        prefix.lead = static_cast<std::int64_t>(integerDigits.size()) - 1 - static_cast<std::int64_t>(first);
    }

    const int letter = peek();
    if (letter == 'e' || letter == 'E' || letter == 'd' || letter == 'D') {
        const std::size_t signs = peek(1) == '+' || peek(1) == '-' ? 1 : 0;
        if (isDigit(peek(1 + signs))) {
            const bool negativeExponent = peek(1) == '-';
            prefix.ascii += 'e' + std::string(text.substr(at + 1, signs));
            at += 1 + signs;
            // Far beyond any exponent that matters, and far from overflowing 64 bits.
            constexpr std::int64_t kSaturation = 1'000'000'000'000;
            std::int64_t exponent = 0;
            while (isDigit(peek())) {
                exponent = std::min(kSaturation, exponent * 10 + (peek() - '0'));
                prefix.ascii += text[at++];
            }
            prefix.lead += negativeExponent ? -exponent : exponent;
        }
    }
    return prefix;
}

// Whether the prefix's decimal value is exactly m. A midpoint between neighbouring doubles is an integer
// below 2^54 times a power of two from 2^-1075 on, so its exact decimal expansion has fewer than 800
// significant digits and printf gives all of them.
bool equalsExactly(const NumericPrefix& prefix, long double m) {
    constexpr int kDigits = 800;
    if (prefix.significant.empty() || prefix.significant.size() >= kDigits) {
        return false;
    }
    char expansion[kDigits + 32];
    std::snprintf(expansion, sizeof expansion, "%.*Le", kDigits - 1, m);
    std::string digits(1, expansion[0]); // "d.ddd...de+xx"
    const char* c = expansion + 2;
    for (; *c != 'e'; ++c) {
        digits += *c;
    }
    const long exponent = std::strtol(c + 1, nullptr, 10);
    digits.erase(digits.find_last_not_of('0') + 1);
    require(digits.size() < kDigits, "reference: the expansion of a midpoint is exact in 800 digits",
            [&] { return std::string(expansion); });
    return digits == prefix.significant && exponent == prefix.lead;
}

// The value textToNumber must give for a text that has already been through the full-width mapping (or
// readNumber for the text as it stands).
double expectedValue(std::string_view text) {
    const NumericPrefix prefix = numericPrefix(text);
    if (!prefix.hasMantissa) {
        return 0.0;
    }
    char* end = nullptr;
    const double nearestEven = std::strtod(prefix.ascii.c_str(), &end);
    require(end == prefix.ascii.c_str() + prefix.ascii.size(), "reference: strtod reads the whole prefix",
            [&] { return describe(prefix.ascii); });
    const double magnitude = std::fabs(nearestEven);
    if (magnitude == 0) {
        return nearestEven;
    }
    // strtod breaks a tie toward the even neighbour; only a tie with the midpoint below its result, that
    // is toward zero, can therefore end elsewhere. Two neighbouring doubles and their midpoint are exact
    // in long double; the midpoint between the largest double and the overflow threshold 2^1024 is
    // DBL_MAX + 2^970.
    const double below = std::nextafter(magnitude, 0.0);
    const long double midpoint = std::isinf(magnitude) ? static_cast<long double>(DBL_MAX) + 0x1p970L
                                                       : (static_cast<long double>(magnitude) + below) / 2;
    if (equalsExactly(prefix, midpoint)) {
        return prefix.negative ? -below : below;
    }
    return nearestEven;
}

void checkReader(const char* name, double (*read)(std::string_view), std::string_view text,
                 std::string_view asReferenceReadsIt) {
    const double first = read(text);
    const double second = read(text);
    require(sameBits(first, second), "a text reads the same on a second call", [&] {
        return std::string(name) + "(" + describe(text) + "): " + describe(first) + " then " +
               describe(second);
    });
    const double expected = expectedValue(asReferenceReadsIt);
    require(sameBits(first, expected),
            "a text reads as its numeric prefix, rounded to nearest, ties toward zero", [&] {
                return std::string(name) + "(" + describe(text) + ")\n  expected " + describe(expected) +
                       "\n       got " + describe(first) + "\n  prefix read " +
                       describe(numericPrefix(asReferenceReadsIt).ascii);
            });
}

bool hasTwoByteCharacters(std::string_view text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return true;
        }
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    calc::setFloatingPointEnvironment();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string mapped = halfWidth(text);

    checkReader("textToNumber", calc::textToNumber, text, mapped);
    checkReader("readNumber", calc::readNumber, text, text);

    const std::string halfWidthText = calc::toHalfWidth(text);
    require(halfWidthText == mapped,
            "toHalfWidth maps the full-width characters of the table and keeps the rest", [&] {
                return "toHalfWidth(" + describe(text) + ")\n  expected " + describe(mapped) +
                       "\n       got " + describe(halfWidthText);
            });
    require(sameBits(calc::textToNumber(text), calc::readNumber(halfWidthText)),
            "textToNumber is readNumber after toHalfWidth", [&] { return describe(text); });
    if (!hasTwoByteCharacters(text)) {
        require(sameBits(calc::textToNumber(text), calc::readNumber(text)),
                "without two-byte characters textToNumber and readNumber agree",
                [&] { return describe(text); });
    }
    return 0;
}
