#include "calc/numeric_text.h"
#include "calc/volume.h"
#include "double_bits.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <string>
#include <utility>

namespace {

using calc::testing::fromBits;
using calc::testing::kDefaultNaNBits;
using calc::testing::sameBits;

constexpr double kInf = std::numeric_limits<double>::infinity();

// 2^1024 - 2^970: exactly halfway between the largest double and the first power of two beyond it.
const std::string kMidpointAboveMax =
    "179769313486231580793728971405303415079934132710037826936173778980444968292764750946649017977587207096"
    "330286416692887910946555547851940402630657488671505820681908902000708383676273854845817711531764475730"
    "270069855571366959622842914819860834936475292719074168444365510704342711559699508093042880177904174497"
    "792";

struct TextCase {
    const char* label;
    std::string text;
    double expected;
};

class TextToNumberTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(TextToNumberTest, ReadsTheLongestNumericPrefix) {
    EXPECT_TRUE(sameBits(GetParam().expected, calc::textToNumber(GetParam().text)))
        << "text: " << GetParam().text;
}

const TextCase kTexts[] = {
    {"plain decimal", "12.5", 12.5},
    {"blanks sign exponent and unit", "  -3e2kg", -300},
    {"exponent letter d", "1.5d2", 150},
    {"exponent letter D", "1D3", 1000},
    {"point first", ".5", 0.5},
    {"point last", "5.", 5},
    {"negative exponent", "1e-2", 0.01},
    {"letter without exponent digits", "1e", 1},
    {"letter and sign without digits", "1e+", 1},
    {"exponent sign then blank", "1e- 3", 1},
    {"second point ends the number", "2.5.1", 2.5},
    {"comma ends the number", "1,250", 1},
    {"blank ends the number", "12 34", 12},
    {"sign after mantissa ends the number", "5-3", 5},
    {"leading plus", "+5", 5},
    {"hexadecimal is not read", "0x1A", 0},
    {"inf is not a name", "inf", 0},
    {"double sign", "--5", 0},
    {"blank after sign", "- 5", 0},
    {"letters", "abc", 0},
    {"empty", "", 0},
    {"blanks only", " \t\n\v\f\r", 0},
    {"lone minus reads as plus zero", "-", 0},
    {"lone point", ".", 0},
    {"exponent without mantissa", "e5", 0},
    {"sign point exponent", "+.e1", 0},
    {"tab before digit", "\t7", 7},
    {"negative zero", "-0", -0.0},
    {"negative zero with fraction", "-0.000", -0.0},
    {"overflow", "1e400", kInf},
    {"negative overflow", "-1e999", -kInf},
    {"positive overflow", "1e999", kInf},
    {"underflow keeps the sign", "-1e-400", -0.0},
    {"huge exponent", "1e99999999999999999999", kInf},
    {"huge negative exponent", "1e-99999999999999999999", 0},
    {"zero with huge exponent", "0e99999999999999999999", 0},
    {"tie goes toward zero", "9007199254740995", 9007199254740994},
    {"tie goes toward zero below", "9007199254740993", 9007199254740992},
    {"negative tie goes toward zero", "-9007199254740993", -9007199254740992},
    {"just above a tie rounds up", "9007199254740993.000000000000000000000000000001", 9007199254740994},
    {"tie with many trailing zeros", "9007199254740993.00000000000000000000000000000000000",
     9007199254740992},
    {"midpoint above the largest double", kMidpointAboveMax, DBL_MAX},
    {"just above that midpoint", kMidpointAboveMax + ".0000000000000000000000001", kInf},
    {"half the smallest subnormal",
     "2."
     "4703282292062327208828439643411068618252990130716238221279284125033775363510437593264991818081799618989"
     "8282347722858865463328355177969898199387398005390939063150356595155702263922908583924491051844359318028"
     "4993653615250031937045767824921936562366986365848075700158576926990370631192827955855133292783433840935"
     "1978015531246597263579574622766465272827220056374006485499977096599470454020828166226237857393450736339"
     "0079677619305775067401763246736009689513405355374585166611342237666786041621596804619144672918403005300"
     "5753084904876539171138659164623952491262365388187963623937328042389101867234849766823508986338858792562"
     "8302755995657524455507255189313690836254779186948667994968324049705821028513185451396213837722826145437"
     "693412532098591327667236328125e-324",
     0},
    {"smallest subnormal", "4.9406564584124654e-324", fromBits(1)},
    {"largest subnormal", "2.2250738585072009e-308", fromBits(0x000FFFFFFFFFFFFF)},
    {"smallest normal", "2.2250738585072014e-308", DBL_MIN},
    {"full-width digits and point", "\xA3\xB1\xA3\xAE\xA3\xB5", 1.5},
    {"full-width minus and exponent",
     "\xA3\xAD"
     "2\xA3\xE5"
     "2",
     -200},
    {"ideographic space is a blank",
     "\xA1\xA1"
     "3",
     3},
    {"Chinese character after the number", "3\xCA\xFD", 3},
    {"Chinese character before the number",
     "\xCA\xFD"
     "3",
     0},
    {"two-byte character with an ASCII trail byte",
     "\xB0"
     "5",
     0},
    {"lone lead byte at the end", "7\xB0", 7},
    {"full-width lead byte at the end", "1\xA3", 1},
    {"embedded NUL ends the number",
     std::string("4\0"
                 "5",
                 3),
     4},
};

INSTANTIATE_TEST_SUITE_P(Table, TextToNumberTest, ::testing::ValuesIn(kTexts),
                         [](const auto& info) { return calc::testing::testName(info.param.label); });

TEST(TextToNumber, ReadsTenThousandDigitMantissaCorrectlyRounded) {
    // 0.1 written with 10,000 digits: 0.1000...0001 lies above 0.1 but far below the next midpoint.
    std::string text = "0." + std::string(10000, '0');
    text[2] = '1';
    text.back() = '1';
    EXPECT_TRUE(sameBits(0.1, calc::textToNumber(text)));
}

// ASCII digits are read eight at a time where eight of them follow. The digit that breaks a tie must count
// wherever it falls: inside or after such a group, around the 19th and the 800th significant digit, at the
// end of the text, before a two-byte character, or as a full-width digit straight after the ASCII run.
TEST(TextToNumber, DigitThatBreaksATieCountsWhereverItFalls) {
    // 2^53 + 1, halfway between 2^53 and 2^53 + 2: alone it goes down, with any nonzero digit after it up.
    const double down = 9007199254740992, up = 9007199254740994;
    const struct {
        const char* label;
        std::string ending;
        double expected;
    } endings[] = {
        {"zeros only", "", down},
        {"1 at the end", "1", up},
        {"1 before a Chinese character", "1\xCA\xFD", up},
        {"1 before full-width zeros", "1\xA3\xB0\xA3\xB0", up},
        {"full-width 1", "\xA3\xB1", up},
    };
    // Leading zeros move the groups of eight; the ending's digit is significant digit 17 + zeros.
    for (std::size_t leadingZeros = 0; leadingZeros < 8; ++leadingZeros) {
        for (const auto& [from, to] : {std::pair<std::size_t, std::size_t>{0, 24}, {776, 792}}) {
            for (std::size_t zeros = from; zeros < to; ++zeros) {
                for (const auto& e : endings) {
                    const std::string text = std::string(leadingZeros, '0') + "9007199254740993." +
                                             std::string(zeros, '0') + e.ending;
                    EXPECT_TRUE(sameBits(e.expected, calc::textToNumber(text)))
                        << e.label << " after " << leadingZeros << " leading and " << zeros
                        << " fraction zeros";
                }
            }
        }
    }
}

TEST(ReadNumber, LeavesFullWidthCharactersAlone) {
    EXPECT_TRUE(sameBits(0, calc::readNumber("\xA3\xB1")));
    EXPECT_TRUE(sameBits(0, calc::readNumber("\xA1\xA1"
                                             "3")));
    EXPECT_TRUE(sameBits(1, calc::readNumber("1.#INF")));
    EXPECT_TRUE(sameBits(-1, calc::readNumber("-1.#INF")));
    EXPECT_TRUE(sameBits(1.2, calc::readNumber("1.2.3")));
}

TEST(ToHalfWidth, MapsFullWidthFormsAndKeepsOtherCharacters) {
    const struct {
        std::string text, expected;
    } cases[] = {
        {"\xA3\xB0\xA3\xB9\xA3\xAE\xA3\xAB\xA3\xAD\xA3\xC5\xA3\xE4\xA3\xAC", "09.+-Ed,"},
        {"\xA3\xA1\xA3\xFE", "!~"},
        {"\xA1\xA1\xA1\xAB\xA1\xEE\xA1\xEF", " ~**"},
        {"\xCA\xFD\xA3\xA0\xA3\xFF", "\xCA\xFD\xA3\xA0\xA3\xFF"}, // not mapped: both bytes stay
        {"ab\xA3", "ab"},                                         // a lead byte at the end is dropped
        {std::string("\0\x7F", 2), std::string("\0\x7F", 2)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.expected, calc::toHalfWidth(c.text));
    }
}

struct RoundCase {
    const char* label;
    double x;
    std::int32_t places;
    double expected;
};

class RoundToPlacesTest : public ::testing::TestWithParam<RoundCase> {
protected:
    void SetUp() override { calc::setFloatingPointEnvironment(); }
};

TEST_P(RoundToPlacesTest, RoundsHalfAwayFromZeroWithBias) {
    const auto& c = GetParam();
    EXPECT_TRUE(sameBits(c.expected, calc::roundToPlaces(c.x, c.places)));
}

const RoundCase kRoundings[] = {
    {"half up at zero places", 2.5, 0, 3},
    {"half away from zero negative", -2.5, 0, -3},
    {"tens of hundreds up", 1250, -2, 1300},
    {"tens of hundreds down", 1234, -2, 1200},
    {"bias lifts 1.005", 1.005, 2, 1.01},
    {"exact half at five places", 1.000005, 5, 1.00001},
    {"bias vanishes at larger magnitude", 2.000005, 5, 2},
    {"five places", 12.345675, 5, 12.34568},
    {"large value five places", 1234.567895, 5, 1234.56789},
    {"smallest five place step", 0.000005, 5, 0.00001},
    {"just below the step", 0.0000049999999, 5, 0},
    {"negative rounds to negative zero", -0.000004, 5, -0.0},
    {"positive zero", 0.0, 5, 0.0},
    {"negative zero", -0.0, 5, -0.0},
    {"infinity", kInf, 5, kInf},
    {"negative infinity", -kInf, 5, -kInf},
    {"scaled value overflows", 1e305, 5, kInf},
    {"scaled value overflows negative", -1e305, 5, -kInf},
    {"places beyond the double range of ten powers", 1.5, 400, kInf},
    {"negative places beyond the range", 123.0, -400, 0},
    {"negative places beyond the range negative", -123.0, INT32_MIN, -0.0},
    {"default places", 7.5, 0, 8},
    {"infinity with negative places beyond the range", kInf, -400, kInf},
    {"negative infinity with places beyond the range", -kInf, 400, -kInf},
};

INSTANTIATE_TEST_SUITE_P(Table, RoundToPlacesTest, ::testing::ValuesIn(kRoundings),
                         [](const auto& info) { return calc::testing::testName(info.param.label); });

TEST(RoundToPlaces, DefaultsToZeroPlaces) {
    EXPECT_TRUE(sameBits(3, calc::roundToPlaces(2.5)));
}

TEST(RoundToPlaces, PassesNaNThroughUnchanged) {
    for (std::uint64_t bits :
         {kDefaultNaNBits, std::uint64_t{0x7FF8000000000000}, std::uint64_t{0x7FF0000000000001}}) {
        EXPECT_TRUE(sameBits(fromBits(bits), calc::roundToPlaces(fromBits(bits), 5)));
    }
}

struct TextOfNumber {
    const char* label;
    double x;
    const char* text;
};

class NumberToTextTest : public ::testing::TestWithParam<TextOfNumber> {};

TEST_P(NumberToTextTest, WritesThirteenSignificantDigits) {
    EXPECT_EQ(GetParam().text, calc::numberToText(GetParam().x)) << calc::testing::describe(GetParam().x);
}

const TextOfNumber kNumbers[] = {
    {"half", 0.5, "0.5"},
    {"integer", 2, "2"},
    {"hundred thousand", 100000, "100000"},
    {"third", 1.0 / 3, "0.3333333333333"},
    {"two thirds", 2.0 / 3, "0.6666666666667"},
    {"sum with binary error", 0.1 + 0.2, "0.3"},
    {"five decimals", 12.34568, "12.34568"},
    {"negative", -2.5, "-2.5"},
    {"thirteen digits kept", 123456789.123456, "123456789.1235"},
    {"carry to ten", 9.9999999999999, "10"},
    {"thirteen nines", 9999999999999, "9999999999999"},
    {"fourteen nines", 99999999999999, "1e+014"},
    {"ten to thirteen", 1e13, "1e+013"},
    {"ten to twenty", 1e20, "1e+020"},
    {"exponent with fraction", 1.5e20, "1.5e+020"},
    {"smallest positional", 0.0001, "0.0001"},
    {"positional with two digits", 0.00012, "0.00012"},
    {"exponent form below", 0.00001, "1e-005"},
    {"one millionth", 0.000001, "1e-006"},
    {"ten to minus seven", 1e-7, "1e-007"},
    {"negative zero", -0.0, "0"},
    {"zero", 0.0, "0"},
    {"largest double", DBL_MAX, "1.797693134862e+308"},
    {"smallest subnormal", fromBits(1), "4.940656458412e-324"},
    {"negative exponent form", -1.5e-7, "-1.5e-007"},
    // 2.0065105741495 is 2.00651057414949995916...: cut to 17 digits it is 2.0065105741495000, which rounds
    // up at 13 digits; rounding the exact value straight to 13 digits would give 2.006510574149.
    {"second rounding works on the 17 digits", 2.0065105741495, "2.00651057415"},
    {"second rounding works on the 17 digits again", 8.2177654085295, "8.21776540853"},
    {"positive infinity", kInf, "1.#INF"},
    {"negative infinity", -kInf, "-1.#INF"},
    {"default NaN", fromBits(kDefaultNaNBits), "-1.#IND"},
    {"positive quiet NaN", fromBits(0x7FF8000000000000), "1.#QNAN"},
    {"quiet NaN with payload", fromBits(0xFFF8000000000001), "-1.#QNAN"},
    {"signalling NaN", fromBits(0x7FF0000000000001), "1.#SNAN"},
    {"negative signalling NaN", fromBits(0xFFF4000000000000), "-1.#SNAN"},
};

INSTANTIATE_TEST_SUITE_P(Table, NumberToTextTest, ::testing::ValuesIn(kNumbers),
                         [](const auto& info) { return calc::testing::testName(info.param.label); });

TEST(NumberToText, ShowsFiveDecimalResultsInTheirForms) {
    calc::setFloatingPointEnvironment();
    const struct {
        double x;
        const char* text;
    } cases[] = {
        {0.00001, "1e-005"},
        {0.00009, "9e-005"},
        {0.0001, "0.0001"},
        {0.00042, "0.00042"},
        {123456789.12346, "123456789.1235"},
        {1e13, "1e+013"},
        {12345678901234.5, "1.234567890123e+013"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.text, calc::numberToText(calc::roundToPlaces(c.x, 5))) << c.x;
    }
}

class ElementaryFunctionsTest : public ::testing::Test {
protected:
    void SetUp() override { calc::setFloatingPointEnvironment(); }
};

TEST_F(ElementaryFunctionsTest, SquareRootSpecialValues) {
    EXPECT_TRUE(sameBits(fromBits(kDefaultNaNBits), calc::squareRoot(-1)));
    EXPECT_TRUE(sameBits(fromBits(kDefaultNaNBits), calc::squareRoot(-kInf)));
    EXPECT_TRUE(sameBits(-0.0, calc::squareRoot(-0.0)));
    EXPECT_TRUE(sameBits(kInf, calc::squareRoot(kInf)));
    EXPECT_TRUE(sameBits(fromBits(0x7FF8000000000123), calc::squareRoot(fromBits(0x7FF8000000000123))));
    EXPECT_TRUE(sameBits(3, calc::squareRoot(9)));
    EXPECT_EQ("-1.#IND", calc::numberToText(calc::squareRoot(-1)));
}

TEST_F(ElementaryFunctionsTest, SquareRootRoundsThroughSixtyFourBits) {
    // Roots whose 64-bit rounding lands exactly halfway between two doubles, so that the second rounding
    // to 53 bits differs from the correctly rounded root (given second).
    const struct {
        double x, expected, correctlyRounded;
    } cases[] = {
        {0x1.1a56b5ce86d46p+1, 0x1.7c3502e8b4f9cp+0, 0x1.7c3502e8b4f9bp+0},
        {0x1.1dea4c437762dp+0, 0x1.0e8b60e41466cp+0, 0x1.0e8b60e41466dp+0},
        {0x1.bff9b1ef590c6p+1, 0x1.deeb425270e2cp+0, 0x1.deeb425270e2dp+0},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(sameBits(c.expected, calc::squareRoot(c.x))) << calc::testing::describe(c.x);
    }
    EXPECT_TRUE(sameBits(0x1.6a09e667f3bcdp+0, calc::squareRoot(2)));
}

TEST_F(ElementaryFunctionsTest, ArcTangentSpecialValues) {
    EXPECT_TRUE(sameBits(1.5707963267948966, calc::arcTangent(kInf)));
    EXPECT_TRUE(sameBits(-1.5707963267948966, calc::arcTangent(-kInf)));
    EXPECT_TRUE(sameBits(0.0, calc::arcTangent(0.0)));
    EXPECT_TRUE(sameBits(-0.0, calc::arcTangent(-0.0)));
    EXPECT_TRUE(sameBits(fromBits(kDefaultNaNBits), calc::arcTangent(fromBits(kDefaultNaNBits))));
    EXPECT_TRUE(sameBits(0x1.921fb54442d18p-1, calc::arcTangent(1)));
}

} // namespace
