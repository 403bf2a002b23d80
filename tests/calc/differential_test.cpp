// Seeded differential tests of the numeric text layer against the exact reference: glibc's correctly rounded
// strtod (ties moved toward zero where the text is an exact midpoint), glibc's exact printf expansion with
// the result box rules applied to its digits, and the rounding steps of roundToPlaces done on exact decimals.
#include "calc/numeric_text.h"
#include "calc/volume.h"
#include "double_bits.h"
#include "exact_reference.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>
#include <ostream>
#include <random>
#include <string>
#include <vector>

namespace {

using calc::testing::describe;
using calc::testing::fromBits;
using calc::testing::sameBits;
using reference::Decimal;
using reference::describeText;
using Random = std::mt19937_64;

constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr std::uint64_t kSeed = 0x436F7276616C656E;
constexpr std::uint64_t kSignBit = std::uint64_t{1} << 63;
constexpr std::uint64_t kFractionBits = (std::uint64_t{1} << 52) - 1;

// Each family gets its own stream, so that adding a family does not change the inputs of the others.
Random streamFor(std::string_view name) {
    std::uint64_t hash = 0xCBF29CE484222325;
    for (const char c : name) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001B3;
    }
    return Random(kSeed ^ hash);
}

std::uint64_t below(Random& rng, std::uint64_t n) {
    return rng() % n;
}
std::int64_t between(Random& rng, std::int64_t low, std::int64_t high) {
    return low + static_cast<std::int64_t>(below(rng, static_cast<std::uint64_t>(high - low + 1)));
}
bool chance(Random& rng, int percent) {
    return below(rng, 100) < static_cast<std::uint64_t>(percent);
}

std::uint64_t bitsOf(double x) {
    return std::bit_cast<std::uint64_t>(x);
}
std::string zeros(std::size_t n) {
    return std::string(n, '0');
}

std::string randomDigits(Random& rng, std::size_t n) {
    std::string digits;
    for (std::size_t i = 0; i < n; ++i) {
        digits += static_cast<char>('0' + (i == 0 ? 1 + below(rng, 9) : below(rng, 10)));
    }
    return digits;
}

double stepUlps(double x, std::int64_t steps) {
    const double toward = steps < 0 ? -kInfinity : kInfinity;
    for (std::int64_t i = 0; i < (steps < 0 ? -steps : steps); ++i) {
        x = std::nextafter(x, toward);
    }
    return x;
}

// A positive finite double of any binade, subnormals included.
double randomMagnitude(Random& rng) {
    for (;;) {
        const double x = fromBits((below(rng, 2047) << 52) | (rng() & kFractionBits));
        if (x != 0) {
            return x;
        }
    }
}

// The exact midpoint between x >= 0 and the next double up; above DBL_MAX that is 2^1024 - 2^970.
Decimal midpointAbove(double x) {
    const long double next = x == DBL_MAX ? std::ldexp(1.0L, 1024) : std::nextafter(x, kInfinity);
    return reference::exactDecimal((static_cast<long double>(x) + next) / 2);
}

// A decimal written in one of the forms of the grammar, with its value unchanged.
std::string exponentPart(Random& rng, std::int64_t exponent) {
    static constexpr char kLetters[] = "eEdD";
    std::string text(1, kLetters[below(rng, 4)]);
    if (exponent < 0) {
        text += '-';
    } else if (chance(rng, 30)) {
        text += '+';
    }
    if (chance(rng, 10)) {
        text += zeros(below(rng, 4));
    }
    return text + std::to_string(exponent < 0 ? -exponent : exponent);
}

std::string written(Random& rng, const Decimal& d) {
    if (d.digits.empty()) {
        return chance(rng, 50) ? "0" : "0.000" + exponentPart(rng, between(rng, -400, 400));
    }
    const std::string& g = d.digits;
    const auto n = static_cast<std::int64_t>(g.size());
    const std::int64_t e = d.exponent;
    switch (below(rng, 5)) {
    case 0:
        return g.substr(0, 1) + (n > 1 || chance(rng, 30) ? "." + g.substr(1) : "") + exponentPart(rng, e);
    case 1:
        return g + exponentPart(rng, e - (n - 1));
    case 2:
        if (e >= 0 && e <= 40) {
            if (e + 1 >= n) {
                return g + zeros(static_cast<std::size_t>(e + 1 - n)) + (chance(rng, 30) ? ".0" : "");
            }
            return g.substr(0, static_cast<std::size_t>(e + 1)) + "." +
                   g.substr(static_cast<std::size_t>(e + 1));
        }
        if (e < 0 && e >= -40) {
            return (chance(rng, 50) ? "0." : ".") + zeros(static_cast<std::size_t>(-e - 1)) + g;
        }
        [[fallthrough]];
    case 3: {
        const auto shift = static_cast<std::int64_t>(below(rng, 30));
        return zeros(below(rng, 4)) + "." + zeros(static_cast<std::size_t>(shift)) + g +
               exponentPart(rng, e + 1 + shift);
    }
    default: {
        const auto extra = static_cast<std::int64_t>(below(rng, 20));
        return g + zeros(static_cast<std::size_t>(extra)) + exponentPart(rng, e - (n - 1) - extra);
    }
    }
}

// The same decimal exactly, or just above or below it by one unit in the last digit or far beyond it.
Decimal perturbed(Random& rng, Decimal d) {
    if (d.digits.empty()) {
        return d;
    }
    const auto lastPosition = d.exponent - static_cast<std::int64_t>(d.digits.size()) + 1;
    switch (below(rng, 6)) {
    case 0:
    case 1:
        return d;
    case 2:
        return reference::sum(d, Decimal{"1", lastPosition});
    case 3:
        --d.digits.back(); // the last digit of a normalised decimal is not 0
        return reference::normalised(d.digits, d.exponent);
    case 4:
        return Decimal{d.digits + zeros(between(rng, 1, 400)) + "1", d.exponent};
    default:
        --d.digits.back();
        return Decimal{d.digits + std::string(between(rng, 1, 400), '9'), d.exponent};
    }
}

std::string fullWidth(Random& rng, std::string_view ascii) {
    std::string text;
    for (const char c : ascii) {
        if (c > 0x20 && c < 0x7F && chance(rng, 70)) {
            text += '\xA3';
            text += static_cast<char>(c + 0x80);
        } else {
            text += c;
        }
    }
    return text;
}

// A sign, blanks before it, full-width forms and whatever may follow a number in an edit box.
std::string decorated(Random& rng, const std::string& number) {
    static const char* const kBlanks[] = {" ", "\t", "\n", "\v", "\f", "\r", "\xA1\xA1"};
    static const std::string kTails[] = {
        "kg",
        "e",
        "E+",
        "d-",
        "e+x",
        ".",
        ".5",
        " 5",
        "-3",
        "+",
        "x1",
        ",5",
        "\xA3",
        "\xB0",
        "\xB0\xA1",
        "\xA3\xB5",
        "\xA3\xAE\xA3\xB5",
        "\xA3\xE5\xA3\xB2",
        std::string("\0"
                    "5",
                    2),
        "1.2.3",
        "e5",
        "\xA1\xA1"
        "5",
    };
    const auto roll = below(rng, 100);
    std::string text = (roll < 25 ? "-" : roll < 40 ? "+" : "") + number;
    if (chance(rng, 15)) {
        text = fullWidth(rng, text);
    }
    if (chance(rng, 15)) {
        for (auto i = between(rng, 1, 3); i > 0; --i) {
            text = kBlanks[below(rng, std::size(kBlanks))] + text;
        }
    }
    if (chance(rng, 30)) {
        text += kTails[below(rng, std::size(kTails))];
    }
    return text;
}

std::string renderedDouble(Random& rng) {
    const double x = std::fabs(fromBits(rng()));
    if (!std::isfinite(x)) {
        return "0";
    }
    char text[64];
    std::snprintf(text, sizeof text, "%.*e", static_cast<int>(below(rng, 25)), x);
    return written(rng, reference::decimalOfNumber(text));
}

std::string decimalAnywhere(Random& rng) {
    return written(rng, Decimal{randomDigits(rng, between(rng, 1, 25)), between(rng, -345, 330)});
}

std::string nearMidpoint(Random& rng) {
    const auto roll = below(rng, 100);
    const std::uint64_t exponentField = roll < 10 ? 0 : roll < 15 ? 2046 : below(rng, 2047);
    const double x = fromBits((exponentField << 52) | (rng() & kFractionBits));
    return written(rng, perturbed(rng, midpointAbove(x)));
}

std::string nearUnderflow(Random& rng) {
    switch (below(rng, 4)) {
    case 0:
        return written(rng, perturbed(rng, midpointAbove(fromBits(rng() & kFractionBits))));
    case 1:
        return written(rng, perturbed(rng, midpointAbove(fromBits(below(rng, 16)))));
    case 2: // across the boundary of the normal range
        return written(rng,
                       perturbed(rng, midpointAbove(fromBits(0x0010000000000000 + between(rng, -8, 8)))));
    default:
        return written(rng, Decimal{randomDigits(rng, between(rng, 1, 20)), between(rng, -330, -305)});
    }
}

std::string nearOverflow(Random& rng) {
    switch (below(rng, 4)) {
    case 0:
        return written(rng, perturbed(rng, midpointAbove(DBL_MAX)));
    case 1:
        return written(rng, perturbed(rng, midpointAbove(stepUlps(DBL_MAX, -between(rng, 1, 4)))));
    case 2:
        return written(rng, perturbed(rng, reference::exactDecimal(stepUlps(DBL_MAX, -between(rng, 0, 4)))));
    default:
        return written(rng, Decimal{"17976931348623" + randomDigits(rng, between(rng, 1, 30)), 308});
    }
}

std::string longDigitString(Random& rng) {
    if (chance(rng, 30)) {
        Decimal d = midpointAbove(randomMagnitude(rng));
        d.digits += zeros(between(rng, 100, 2000)) + (chance(rng, 50) ? "1" : "");
        return written(rng, reference::normalised(d.digits, d.exponent));
    }
    return written(rng, Decimal{randomDigits(rng, between(rng, 100, 3000)), between(rng, -340, 320)});
}

std::string hugeExponent(Random& rng) {
    const std::string mantissa = randomDigits(rng, between(rng, 1, 20));
    switch (below(rng, 4)) {
    case 0:
        return mantissa + "e" + (chance(rng, 50) ? "-" : "") + randomDigits(rng, between(rng, 5, 25));
    case 1: { // leading zeros that a large exponent puts back in range
        const auto shift = between(rng, 300, 5000);
        return "0." + zeros(static_cast<std::size_t>(shift)) + mantissa + "e" +
               std::to_string(shift + between(rng, -330, 320));
    }
    case 2: { // trailing zeros that a large negative exponent takes away
        const auto shift = between(rng, 300, 5000);
        return mantissa + zeros(static_cast<std::size_t>(shift)) + "e-" +
               std::to_string(shift + between(rng, -320, 330));
    }
    default:
        return zeros(between(rng, 1, 5)) + "." + zeros(below(rng, 5)) + "e" + (chance(rng, 50) ? "-" : "") +
               randomDigits(rng, between(rng, 1, 25));
    }
}

std::string shortForm(Random& rng) {
    std::string digits = zeros(below(rng, 4)) + randomDigits(rng, between(rng, 1, 6));
    if (chance(rng, 20)) {
        digits = zeros(between(rng, 1, 5));
    }
    const auto point = below(rng, digits.size() + 2);
    if (point <= digits.size()) {
        digits.insert(point, ".");
    }
    return digits + (chance(rng, 30) ? exponentPart(rng, between(rng, -30, 30)) : "");
}

struct TextFamily {
    const char* name;
    std::size_t count;
    std::string (*make)(Random&);
};

const TextFamily kTextFamilies[] = {
    {"RenderedDoubles", 40000, renderedDouble},       {"DecimalsOverTheWholeRange", 40000, decimalAnywhere},
    {"MidpointsBetweenDoubles", 20000, nearMidpoint}, {"SubnormalsAndTheUnderflowEdge", 8000, nearUnderflow},
    {"TheOverflowEdge", 8000, nearOverflow},          {"LongDigitStrings", 3000, longDigitString},
    {"HugeExponents", 10000, hugeExponent},           {"ShortFormsAndLeadingZeros", 20000, shortForm},
};

// Collects disagreements and keeps the first few for the failure message.
class Disagreements {
public:
    void add(const std::string& what) {
        if (count_++ < 12) {
            report_ += what + "\n";
        }
    }
    std::size_t count() const { return count_; }
    const std::string& report() const { return report_; }

private:
    std::size_t count_ = 0;
    std::string report_;
};

void PrintTo(const TextFamily& family, std::ostream* out) {
    *out << family.name;
}

class TextToNumberDifferential : public ::testing::TestWithParam<TextFamily> {};

TEST_P(TextToNumberDifferential, AgreesWithCorrectRoundingExceptTiesGoTowardZero) {
    Random rng = streamFor(GetParam().name);
    Disagreements disagreements;
    for (std::size_t i = 0; i < GetParam().count; ++i) {
        const std::string text = decorated(rng, GetParam().make(rng));
        const double expected = reference::readReference(text);
        if (const double got = calc::textToNumber(text); bitsOf(got) != bitsOf(expected)) {
            disagreements.add("textToNumber(" + describeText(text) + ")\n  expected " + describe(expected) +
                              "\n       got " + describe(got));
        }
        const bool ascii = std::all_of(text.begin(), text.end(),
                                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
        const double expectedAsItStands = ascii ? expected : reference::readReference(text, false);
        if (const double got = calc::readNumber(text); bitsOf(got) != bitsOf(expectedAsItStands)) {
            disagreements.add("readNumber(" + describeText(text) + ")\n  expected " +
                              describe(expectedAsItStands) + "\n       got " + describe(got));
        }
    }
    RecordProperty("texts", static_cast<int>(GetParam().count));
    EXPECT_EQ(disagreements.count(), 0u) << disagreements.report();
}

INSTANTIATE_TEST_SUITE_P(Families, TextToNumberDifferential, ::testing::ValuesIn(kTextFamilies),
                         [](const auto& info) { return std::string(info.param.name); });

// Texts whose correct result is known by hand: the reference and the implementation must both give it.
struct EdgeCase {
    const char* name;
    std::string text;
    std::uint64_t bits;
};

std::string exactText(long double x) {
    const Decimal d = reference::exactDecimal(x);
    return d.digits.substr(0, 1) + "." + d.digits.substr(1) + "e" + std::to_string(d.exponent);
}

std::vector<EdgeCase> edgeCases() {
    const std::string aboveMax = exactText(static_cast<long double>(DBL_MAX) + std::ldexp(1.0L, 970));
    const std::string halfOfSmallest = exactText(std::ldexp(1.0L, -1075));
    const std::string threeHalvesOfSmallest = exactText(std::ldexp(3.0L, -1075));
    const std::string belowMinNormal = exactText(std::ldexp(1.0L, -1022) - std::ldexp(1.0L, -1075));
    const std::string threeHalvesUlpAboveOne = exactText(1.0L + std::ldexp(3.0L, -53));
    return {
        {"MidpointAboveMaxGoesToMax", aboveMax, 0x7FEFFFFFFFFFFFFF},
        {"BeyondMidpointAboveMaxOverflows",
         aboveMax.substr(0, aboveMax.find('e')) + "0000001" + aboveMax.substr(aboveMax.find('e')),
         0x7FF0000000000000},
        {"NegativeMidpointAboveMax", "-" + aboveMax, 0xFFEFFFFFFFFFFFFF},
        {"HalfOfSmallestSubnormalIsZero", halfOfSmallest, 0x0000000000000000},
        {"NegativeHalfOfSmallestSubnormalIsMinusZero", "-" + halfOfSmallest, 0x8000000000000000},
        {"JustAboveHalfOfSmallestSubnormal",
         halfOfSmallest.substr(0, halfOfSmallest.find('e')) + "01" +
             halfOfSmallest.substr(halfOfSmallest.find('e')),
         0x0000000000000001},
        {"ThreeHalvesOfSmallestSubnormalGoesDown", threeHalvesOfSmallest, 0x0000000000000001},
        {"MidpointBelowMinNormalGoesDown", belowMinNormal, 0x000FFFFFFFFFFFFF},
        {"MidpointAboveOneGoesDownNotToEven", threeHalvesUlpAboveOne, 0x3FF0000000000001},
        {"OneEMinus324", "2.4703282292062327e-324", 0x0000000000000000},
        {"OneEMinus324JustAbove", "2.4703282292062328e-324", 0x0000000000000001},
        {"IntegerTieGoesDown", "9007199254740995", 0x4340000000000001},
        {"TenToTheTwentyThirdIsAMidpoint", "1e23", 0x44B52D02C7E14AF6},
        {"LargestBelowMidpointAboveMax", "1.7976931348623158e308", 0x7FEFFFFFFFFFFFFF},
        {"SmallestBeyondMax", "1.7976931348623159e308", 0x7FF0000000000000},
        {"FullWidthTie",
         "\xA3\xB9\xA3\xB0\xA3\xB0\xA3\xB7\xA3\xB1\xA3\xB9\xA3\xB9\xA3\xB2\xA3\xB5\xA3\xB4\xA3\xB7"
         "\xA3\xB4\xA3\xB0\xA3\xB9\xA3\xB9\xA3\xB5",
         0x4340000000000001},
        {"LoneLeadByteAfterDigits", "12\xA3", 0x4028000000000000},
    };
}

void PrintTo(const EdgeCase& edge, std::ostream* out) {
    *out << edge.name;
}

class TextToNumberEdges : public ::testing::TestWithParam<EdgeCase> {};

TEST_P(TextToNumberEdges, ReferenceAndImplementationGiveTheKnownBits) {
    const EdgeCase& edge = GetParam();
    EXPECT_TRUE(sameBits(fromBits(edge.bits), reference::readReference(edge.text)))
        << "reference, " << describeText(edge.text);
    EXPECT_TRUE(sameBits(fromBits(edge.bits), calc::textToNumber(edge.text))) << describeText(edge.text);
}

INSTANTIATE_TEST_SUITE_P(Edges, TextToNumberEdges, ::testing::ValuesIn(edgeCases()),
                         [](const auto& info) { return std::string(info.param.name); });

// Doubles to write: any bit pattern, and the values where the two roundings and the choice of form turn.
double anyBitPattern(Random& rng) {
    return fromBits(rng());
}

double nanOrInfinity(Random& rng) {
    static constexpr std::uint64_t kFractions[] = {
        0, 1, std::uint64_t{1} << 51, (std::uint64_t{1} << 51) | 1, kFractionBits, std::uint64_t{1} << 50};
    const std::uint64_t fraction =
        chance(rng, 50) ? kFractions[below(rng, std::size(kFractions))] : rng() & kFractionBits;
    return fromBits((rng() & kSignBit) | (std::uint64_t{0x7FF} << 52) | fraction);
}

double subnormal(Random& rng) {
    return fromBits(rng() & (kSignBit | kFractionBits));
}

double niceDecimal(Random& rng) {
    return reference::readReference(randomDigits(rng, between(rng, 1, 15)) + "e" +
                                    std::to_string(between(rng, -25, 25)));
}

double nearPowerOfTen(Random& rng) {
    return stepUlps(reference::readReference("1e" + std::to_string(between(rng, -323, 308))),
                    between(rng, -3, 3));
}

double nearRoundingBoundary(Random& rng, std::size_t keptDigits) {
    static const char* const kTails[] = {"5",  "50000001", "49999999", "4999999999999", "5000000000001",
                                         "45", "55"};
    const std::string text = randomDigits(rng, keptDigits) + kTails[below(rng, std::size(kTails))] + "e" +
                             std::to_string(between(rng, -330, 300));
    return stepUlps(reference::readReference(text), between(rng, -2, 2));
}

double nearThirteenDigitBoundary(Random& rng) {
    return nearRoundingBoundary(rng, 13);
}
double nearSeventeenDigitBoundary(Random& rng) {
    return nearRoundingBoundary(rng, 17);
}

double nearFormThreshold(Random& rng) {
    static const char* const kTexts[] = {
        "1e13",
        "9999999999999.5",
        "9999999999999.4999",
        "9999999999999",
        "99999999999994.99",
        "1e-4",
        "1e-5",
        "0.000099999999999995",
        "0.00009999999999999499",
        "9.9999999999995e-5",
        "1e-323",
        "1e308",
        "1.797693134862316e308",
        "0.1",
        "1e15",
        "1e16",
        "1e17",
        "1e12",
    };
    const double x = reference::readReference(kTexts[below(rng, std::size(kTexts))]);
    return (chance(rng, 20) ? -1 : 1) * stepUlps(x, between(rng, -8, 8));
}

struct NumberFamily {
    const char* name;
    std::size_t count;
    double (*make)(Random&);
};

const NumberFamily kNumberFamilies[] = {
    {"AnyBitPattern", 60000, anyBitPattern},
    {"NaNsAndInfinities", 2000, nanOrInfinity},
    {"Subnormals", 10000, subnormal},
    {"NiceDecimals", 30000, niceDecimal},
    {"NearPowersOfTen", 5000, nearPowerOfTen},
    {"NearThirteenDigitBoundaries", 20000, nearThirteenDigitBoundary},
    {"NearSeventeenDigitBoundaries", 20000, nearSeventeenDigitBoundary},
    {"NearTheFormThresholds", 5000, nearFormThreshold},
};

void PrintTo(const NumberFamily& family, std::ostream* out) {
    *out << family.name;
}

class NumberToTextDifferential : public ::testing::TestWithParam<NumberFamily> {};

TEST_P(NumberToTextDifferential, WritesTheExactExpansionRoundedTwice) {
    Random rng = streamFor(GetParam().name);
    Disagreements disagreements;
    for (std::size_t i = 0; i < GetParam().count; ++i) {
        const double x = GetParam().make(rng);
        const std::string expected = reference::numberText(x);
        if (const std::string got = calc::numberToText(x); got != expected) {
            disagreements.add("numberToText(" + describe(x) + ")\n  expected " + expected + "\n       got " +
                              got);
        }
    }
    RecordProperty("values", static_cast<int>(GetParam().count));
    EXPECT_EQ(disagreements.count(), 0u) << disagreements.report();
}

// Reading the text back gives x to 13 significant digits: within half a unit of the 13th digit (plus the
// half unit of the 17th that the first rounding may add) and half an ulp of the double read.
TEST_P(NumberToTextDifferential, ReadsBackToThirteenSignificantDigits) {
    Random rng = streamFor(GetParam().name);
    Disagreements disagreements;
    for (std::size_t i = 0; i < GetParam().count; ++i) {
        const double x = GetParam().make(rng);
        if (!std::isfinite(x) || x == 0) {
            continue;
        }
        const std::string text = calc::numberToText(x);
        const double back = calc::textToNumber(text);
        const long double unit =
            std::pow(10.0L, static_cast<long double>(reference::leadingDigits(x, 1).exponent - 12));
        const long double bound =
            0.50005L * unit +
            (std::nextafter(std::fabs(back), kInfinity) - static_cast<long double>(std::fabs(back))) / 2;
        if (std::signbit(back) != std::signbit(x) || std::fabs(static_cast<long double>(back) - x) > bound) {
            disagreements.add(describe(x) + " -> \"" + text + "\" -> " + describe(back));
        }
    }
    EXPECT_EQ(disagreements.count(), 0u) << disagreements.report();
}

INSTANTIATE_TEST_SUITE_P(Families, NumberToTextDifferential, ::testing::ValuesIn(kNumberFamilies),
                         [](const auto& info) { return std::string(info.param.name); });

// Values to round: halves at the last kept place and their neighbours, fractions just short of a half where
// the bias lifts them, and magnitudes where the scaled value overflows.
double halfAtPlace(Random& rng, std::int32_t places) {
    const std::string tail = chance(rng, 20) ? "49999999999" : "5";
    const std::string text = randomDigits(rng, between(rng, 1, 12)) + tail + "e" +
                             std::to_string(-(places + static_cast<std::int32_t>(tail.size())));
    return stepUlps(reference::readReference(text), between(rng, -3, 3));
}

double justShortOfHalf(Random& rng, std::int32_t places) {
    const std::string text = std::to_string(below(rng, 16384)) + ".4" +
                             std::string(between(rng, 9, 13), '9') + randomDigits(rng, 3) + "e" +
                             std::to_string(-places);
    return stepUlps(reference::readReference(text), between(rng, -2, 2));
}

double nearScaledOverflow(Random& rng, std::int32_t places) {
    const double threshold = reference::readReference("1.7976931348623157e" + std::to_string(308 - places));
    return stepUlps(threshold, between(rng, -20, 20)) * (chance(rng, 30) ? -1 : 1);
}

double largeMagnitude(Random& rng, std::int32_t places) {
    return reference::readReference(randomDigits(rng, between(rng, 9, 20)) + "." + randomDigits(rng, 8) +
                                    "e" + std::to_string(between(rng, 0, 8) - places));
}

double tinyOrSubnormal(Random& rng, std::int32_t places) {
    if (chance(rng, 50)) {
        return subnormal(rng);
    }
    return stepUlps(reference::readReference("5e" + std::to_string(-(places + 1))), between(rng, -5, 5));
}

double anyBitPatternToRound(Random& rng, std::int32_t) {
    return fromBits(rng());
}

struct RoundingFamily {
    std::string name;
    std::int32_t places;
    std::size_t count;
    double (*make)(Random&, std::int32_t);
};

std::vector<RoundingFamily> roundingFamilies() {
    std::vector<RoundingFamily> families = {
        {"AnyBitPatternAtFivePlaces", 5, 10000, anyBitPatternToRound},
        {"HalvesAtFivePlaces", 5, 50000, halfAtPlace},
        {"JustShortOfHalfAtFivePlaces", 5, 20000, justShortOfHalf},
        {"NearScaledOverflowAtFivePlaces", 5, 2000, nearScaledOverflow},
        {"LargeMagnitudesAtFivePlaces", 5, 10000, largeMagnitude},
        {"TinyOrSubnormalAtFivePlaces", 5, 4000, tinyOrSubnormal},
    };
    for (std::int32_t places = -5; places <= 22; ++places) {
        if (places == 5) {
            continue;
        }
        const std::string suffix =
            places < 0 ? "MinusPlaces" + std::to_string(-places) : "Places" + std::to_string(places);
        families.push_back({"Halves" + suffix, places, 1500, halfAtPlace});
        families.push_back({"AnyBitPattern" + suffix, places, 400, anyBitPatternToRound});
        families.push_back({"JustShortOfHalf" + suffix, places, 300, justShortOfHalf});
    }
    return families;
}

void PrintTo(const RoundingFamily& family, std::ostream* out) {
    *out << family.name;
}

class RoundToPlacesDifferential : public ::testing::TestWithParam<RoundingFamily> {
protected:
    static void SetUpTestSuite() { calc::setFloatingPointEnvironment(); }
};

TEST_P(RoundToPlacesDifferential, FollowsTheRoundingStepsExactly) {
    const RoundingFamily& family = GetParam();
    Random rng = streamFor(family.name);
    Disagreements disagreements;
    for (std::size_t i = 0; i < family.count; ++i) {
        const double x = family.make(rng, family.places);
        const double expected = reference::roundedToPlaces(x, family.places);
        if (const double got = calc::roundToPlaces(x, family.places); bitsOf(got) != bitsOf(expected)) {
            disagreements.add("roundToPlaces(" + describe(x) + ", " + std::to_string(family.places) +
                              ")\n  expected " + describe(expected) + "\n       got " + describe(got));
        }
    }
    RecordProperty("values", static_cast<int>(family.count));
    EXPECT_EQ(disagreements.count(), 0u) << disagreements.report();
}

INSTANTIATE_TEST_SUITE_P(Families, RoundToPlacesDifferential, ::testing::ValuesIn(roundingFamilies()),
                         [](const auto& info) { return info.param.name; });

} // namespace
