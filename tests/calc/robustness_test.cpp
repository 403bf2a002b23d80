// Whatever bytes reach the numeric text layer, it neither crashes nor misreads them, and its results do not
// depend on the rounding mode or the C locale of the thread.
#include "calc/numeric_text.h"
#include "double_bits.h"
#include "exact_reference.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cfenv>
#include <cfloat>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <ostream>
#include <random>
#include <string>
#include <vector>

namespace {

using calc::testing::describe;
using calc::testing::fromBits;
using calc::testing::sameBits;
using reference::describeText;
using Random = std::mt19937_64;

constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr std::size_t kTenMegabytes = 10'000'000;

std::uint64_t bitsOf(double x) {
    return std::bit_cast<std::uint64_t>(x);
}

// Checks the three readers against the reference for one text and keeps the first few disagreements.
class ReaderCheck {
public:
    void check(const std::string& text) {
        const double expected = reference::readReference(text);
        if (const double got = calc::textToNumber(text); bitsOf(got) != bitsOf(expected)) {
            add("textToNumber(" + describeText(text) + "): expected " + describe(expected) + ", got " +
                describe(got));
        }
        const double expectedAsItStands = reference::readReference(text, false);
        if (const double got = calc::readNumber(text); bitsOf(got) != bitsOf(expectedAsItStands)) {
            add("readNumber(" + describeText(text) + "): expected " + describe(expectedAsItStands) +
                ", got " + describe(got));
        }
        if (const std::string got = calc::toHalfWidth(text); got != reference::halfWidth(text)) {
            add("toHalfWidth(" + describeText(text) + "): expected " +
                describeText(reference::halfWidth(text)) + ", got " + describeText(got));
        }
        ++texts_;
    }
    std::size_t texts() const { return texts_; }
    std::size_t failures() const { return failures_; }
    const std::string& report() const { return report_; }

private:
    void add(const std::string& what) {
        if (failures_++ < 12) {
            report_ += what + "\n";
        }
    }
    std::size_t texts_ = 0;
    std::size_t failures_ = 0;
    std::string report_;
};

TEST(TextReadingRobustness, EveryOneAndTwoByteTextReadsAsTheGrammarSays) {
    ReaderCheck readers;
    for (int first = 0; first < 256; ++first) {
        readers.check(std::string(1, static_cast<char>(first)));
        for (int second = 0; second < 256; ++second) {
            readers.check(std::string{static_cast<char>(first), static_cast<char>(second)});
        }
    }
    RecordProperty("texts", static_cast<int>(readers.texts()));
    EXPECT_EQ(readers.failures(), 0u) << readers.report();
}

// Bytes that matter to the grammar and to the full-width map, NUL and arbitrary bytes among them.
char randomByte(Random& rng) {
    static const std::string kInteresting =
        std::string("0123456789.+-eEdD \t\n\v\f\r") + std::string(1, '\0') +
        "\xA1\xA3\xB0\xB1\xB5\xB9\xAE\xAB\xAD\xE5\xC5\xE4\xC4\xEE\xEF\xFE\xFF\x80";
    return rng() % 4 == 0 ? static_cast<char>(rng()) : kInteresting[rng() % kInteresting.size()];
}

TEST(TextReadingRobustness, RandomByteStringsReadAsTheGrammarSays) {
    Random rng(0x62797465);
    ReaderCheck readers;
    for (int i = 0; i < 60000; ++i) {
        std::string text(3 + rng() % 62, '\0');
        for (char& c : text) {
            c = randomByte(rng);
        }
        readers.check(text);
    }
    RecordProperty("texts", static_cast<int>(readers.texts()));
    EXPECT_EQ(readers.failures(), 0u) << readers.report();
}

std::string repeated(std::string_view unit, std::size_t times) {
    std::string text;
    text.reserve(unit.size() * times);
    for (std::size_t i = 0; i < times; ++i) {
        text += unit;
    }
    return text;
}

std::string randomDigitText(std::size_t n, std::uint64_t seed) {
    Random rng(seed);
    std::string digits(n, '0');
    for (char& c : digits) {
        c = static_cast<char>('0' + rng() % 10);
    }
    digits[0] = '7';
    return digits;
}

struct LongText {
    const char* name;
    std::string (*build)();
    std::optional<std::uint64_t> bits; // without bits, the reference decides
};

const LongText kLongTexts[] = {
    {"TieFollowedByTenMillionZeros", [] { return "9007199254740995." + std::string(kTenMegabytes, '0'); },
     0x4340000000000001},
    {"DigitAfterTenMillionZerosBreaksTheTie",
     [] { return "9007199254740995." + std::string(kTenMegabytes, '0') + "1"; }, 0x4340000000000002},
    {"TenMillionLeadingZeros", [] { return std::string(kTenMegabytes, '0') + "1.5"; }, 0x3FF8000000000000},
    {"TenMillionFractionZerosTakenBackByTheExponent",
     [] { return "0." + std::string(kTenMegabytes, '0') + "1e10000001"; }, 0x3FF0000000000000},
    {"TenMillionNinesRoundToOne", [] { return "0." + std::string(kTenMegabytes, '9'); }, 0x3FF0000000000000},
    {"TenMillionRandomDigits", [] { return randomDigitText(kTenMegabytes, 10) + "e-9999990"; }, std::nullopt},
    {"TenMillionRandomFractionDigits", [] { return "0." + randomDigitText(kTenMegabytes, 11); },
     std::nullopt},
    {"FiveMillionFullWidthDigits", [] { return "\xA3\xB1" + repeated("\xA3\xB0", 4999999) + "e-4999999"; },
     0x3FF0000000000000},
    {"TenMillionDigitsOverflow", [] { return "1" + std::string(kTenMegabytes, '0'); }, 0x7FF0000000000000},
    {"TenMillionDigitsUnderflowKeepTheSign", [] { return "-0." + std::string(kTenMegabytes, '0') + "1"; },
     0x8000000000000000},
    {"TenMillionExponentDigits", [] { return "1e" + std::string(kTenMegabytes, '9'); }, 0x7FF0000000000000},
    {"TenMillionNegativeExponentDigits", [] { return "1e-" + std::string(kTenMegabytes, '9'); },
     0x0000000000000000},
    {"TenMillionExponentZeros", [] { return "1e" + std::string(kTenMegabytes, '0') + "5"; },
     0x40F86A0000000000},
    {"TenMillionBlanksBeforeANumber", [] { return std::string(kTenMegabytes, ' ') + "7"; },
     0x401C000000000000},
    {"TenMillionBytesAfterANumber",
     [] {
         Random rng(12);
         std::string text = "2.5x";
         for (std::size_t i = 0; i < kTenMegabytes; ++i) {
             text += static_cast<char>(rng());
         }
         return text;
     },
     0x4004000000000000},
    {"TenMillionLoneLeadBytes", [] { return std::string(kTenMegabytes, '\x80'); }, 0x0000000000000000},
    {"TenMillionNulBytesAfterADigit", [] { return "3" + std::string(kTenMegabytes, '\0'); },
     0x4008000000000000},
};

void PrintTo(const LongText& text, std::ostream* out) {
    *out << text.name;
}

class LongTextReading : public ::testing::TestWithParam<LongText> {};

TEST_P(LongTextReading, GivesTheCorrectlyRoundedValue) {
    const std::string text = GetParam().build();
    const double expected = GetParam().bits ? fromBits(*GetParam().bits) : reference::readReference(text);
    EXPECT_TRUE(sameBits(expected, calc::textToNumber(text))) << describeText(text);
}

INSTANTIATE_TEST_SUITE_P(TenMegabytes, LongTextReading, ::testing::ValuesIn(kLongTexts),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TextReadingRobustness, TenThousandDigitMantissasRoundCorrectly) {
    Random rng(0x31303030);
    ReaderCheck readers;
    for (int i = 0; i < 150; ++i) {
        std::string digits = randomDigitText(10000, rng());
        digits.insert(rng() % 10001, ".");
        readers.check(digits + "e" + std::to_string(static_cast<int>(rng() % 660) - 10330));
        // The midpoint above a random double, padded with zeros to 10,000 digits, then nudged either way.
        const double x = fromBits(rng() >> 1);
        if (!std::isfinite(x) || x == DBL_MAX) {
            continue;
        }
        const reference::Decimal midpoint =
            reference::exactDecimal((static_cast<long double>(x) + std::nextafter(x, kInfinity)) / 2);
        std::string tie = midpoint.digits;
        tie.resize(10000, '0');
        const std::string exponent = "e" + std::to_string(midpoint.exponent);
        readers.check(tie.substr(0, 1) + "." + tie.substr(1) + exponent);
        readers.check(tie.substr(0, 1) + "." + tie.substr(1, 9998) + "1" + exponent);
        std::string belowTie = midpoint.digits;
        --belowTie.back();
        belowTie.resize(10000, '9');
        readers.check(belowTie.substr(0, 1) + "." + belowTie.substr(1) + exponent);
    }
    const std::string justAboveTie = "9007199254740995." + std::string(9983, '0') + "1";
    EXPECT_TRUE(sameBits(fromBits(0x4340000000000002), calc::textToNumber(justAboveTie)));
    RecordProperty("texts", static_cast<int>(readers.texts()));
    EXPECT_EQ(readers.failures(), 0u) << readers.report();
}

struct ExponentCase {
    const char* name;
    const char* text;
    std::uint64_t bits;
};

const ExponentCase kExponents[] = {
    {"TwentyDigitExponentOverflows", "1e99999999999999999999", 0x7FF0000000000000},
    {"NegativeTwentyDigitExponentOverflows", "-1e99999999999999999999", 0xFFF0000000000000},
    {"TwentyDigitNegativeExponentUnderflows", "1e-99999999999999999999", 0x0000000000000000},
    {"UnderflowKeepsTheSign", "-1e-400", 0x8000000000000000},
    {"NegativeUnderflowWithHugeExponent", "-1e-99999999999999999999", 0x8000000000000000},
    {"ZeroWithHugeExponent", "0e99999999999999999999", 0x0000000000000000},
    {"NegativeZeroWithHugeNegativeExponent", "-0.0e-99999999999999999999", 0x8000000000000000},
    {"ExponentTwoToThe64DoesNotWrap", "1e18446744073709551616", 0x7FF0000000000000},
    {"ExponentTwoToThe64PlusOneDoesNotWrap", "1e18446744073709551617", 0x7FF0000000000000},
    {"NegativeExponentTwoToThe64DoesNotWrap", "1e-18446744073709551615", 0x0000000000000000},
    {"ExponentTwoToThe63DoesNotWrap", "1e9223372036854775808", 0x7FF0000000000000},
    {"NegativeExponentTwoToThe63PlusOne", "1e-9223372036854775809", 0x0000000000000000},
    {"ExponentTwoToThe32DoesNotWrap", "1e4294967296", 0x7FF0000000000000},
    {"ExponentTwoToThe32PlusOneDoesNotWrap", "1e4294967297", 0x7FF0000000000000},
    {"NegativeExponentTwoToThe32", "1e-4294967296", 0x0000000000000000},
    {"ExponentTwoToThe31", "1e2147483648", 0x7FF0000000000000},
    {"NegativeExponentTwoToThe31PlusOne", "1e-2147483649", 0x0000000000000000},
    {"SmallMantissaHugeExponent", "0.0000000000000000000000000000001e99999999999999999999",
     0x7FF0000000000000},
    {"LargeMantissaHugeNegativeExponent", "100000000000000000000000000e-99999999999999999999",
     0x0000000000000000},
    {"ExponentWithThirtyLeadingZeros", "1e+0000000000000000000000000000005", 0x40F86A0000000000},
    {"FullWidthHugeExponent",
     "\xA3\xB1\xA3\xE5\xA3\xB9\xA3\xB9\xA3\xB9\xA3\xB9\xA3\xB9\xA3\xB9\xA3\xB9\xA3\xB9\xA3\xB9"
     "\xA3\xB9\xA3\xB9\xA3\xB9\xA3\xB9\xA3\xB9\xA3\xB9\xA3\xB9\xA3\xB9\xA3\xB9\xA3\xB9\xA3\xB9",
     0x7FF0000000000000},
};

void PrintTo(const ExponentCase& exponent, std::ostream* out) {
    *out << exponent.name;
}

class HugeExponentReading : public ::testing::TestWithParam<ExponentCase> {};

TEST_P(HugeExponentReading, SaturatesToInfinityOrZero) {
    EXPECT_TRUE(sameBits(fromBits(GetParam().bits), calc::textToNumber(GetParam().text))) << GetParam().text;
    EXPECT_TRUE(sameBits(fromBits(GetParam().bits), reference::readReference(GetParam().text)))
        << "reference";
}

INSTANTIATE_TEST_SUITE_P(Exponents, HugeExponentReading, ::testing::ValuesIn(kExponents),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(NumberWritingRobustness, EveryBitPatternGivesAShortAsciiText) {
    Random rng(0x74657874);
    std::size_t failures = 0;
    std::string report;
    constexpr int kPatterns = 100000;
    for (int i = 0; i < kPatterns; ++i) {
        const double x = fromBits(rng());
        const std::string text = calc::numberToText(x);
        const bool printable =
            std::all_of(text.begin(), text.end(), [](char c) { return c > 0x20 && c < 0x7F; });
        if (text.empty() || text.size() > 20 || !printable) {
            if (failures++ < 12) {
                report += describe(x) + " -> " + describeText(text) + "\n";
            }
        }
    }
    RecordProperty("values", kPatterns);
    EXPECT_EQ(failures, 0u) << report;
}

// A fixed sample of texts and values where a conversion that leaned on the floating-point unit or the C
// library would show: ties, subnormals, the overflow edge, long digit strings, full-width digits.
struct Sample {
    std::vector<std::string> texts;
    std::vector<double> values;
};

const Sample& sample() {
    static const Sample s = [] {
        Sample sample;
        Random rng(0x656E76);
        for (int i = 0; i < 4000; ++i) {
            const double x = fromBits(rng());
            sample.values.push_back(x);
            if (!std::isfinite(x)) {
                continue;
            }
            const double next = x == DBL_MAX ? x : std::nextafter(x, kInfinity);
            const reference::Decimal midpoint =
                reference::exactDecimal((static_cast<long double>(x) + next) / 2);
            const std::string mantissa = midpoint.digits.substr(0, 1) + "." + midpoint.digits.substr(1);
            const std::string exponent = "e" + std::to_string(midpoint.exponent);
            sample.texts.push_back((x < 0 ? "-" : "") + mantissa + exponent);
            sample.texts.push_back(mantissa + "1" + exponent);
            sample.texts.push_back(std::to_string(rng() % 100000) + "." + std::to_string(rng()) + "e" +
                                   std::to_string(static_cast<int>(rng() % 700) - 350));
            std::string fullWidth;
            for (const char c : std::to_string(rng())) {
                fullWidth += "\xA3";
                fullWidth += static_cast<char>(c + 0x80);
            }
            sample.texts.push_back(fullWidth + "\xA3\xAE" + "5");
            sample.values.push_back(reference::readReference(sample.texts.back()));
            sample.values.push_back(reference::readReference(sample.texts[sample.texts.size() - 2]));
        }
        sample.texts.push_back("1.7976931348623158e308");
        sample.texts.push_back("2.4703282292062328e-324");
        sample.texts.push_back("2.4703282292062327e-324");
        sample.texts.push_back("0." + std::string(400, '0') + "7");
        return sample;
    }();
    return s;
}

struct Results {
    std::vector<std::uint64_t> numbers;
    std::vector<std::string> texts;
};

Results resultsOfSample() {
    Results results;
    for (const std::string& text : sample().texts) {
        results.numbers.push_back(bitsOf(calc::textToNumber(text)));
    }
    for (const double x : sample().values) {
        results.texts.push_back(calc::numberToText(x));
    }
    return results;
}

std::string differences(const Results& expected, const Results& got) {
    std::size_t count = 0;
    std::string report;
    for (std::size_t i = 0; i < expected.numbers.size(); ++i) {
        if (expected.numbers[i] != got.numbers[i] && count++ < 12) {
            report += "textToNumber(" + describeText(sample().texts[i]) +
                      "): " + describe(fromBits(expected.numbers[i])) + " becomes " +
                      describe(fromBits(got.numbers[i])) + "\n";
        }
    }
    for (std::size_t i = 0; i < expected.texts.size(); ++i) {
        if (expected.texts[i] != got.texts[i] && count++ < 12) {
            report += "numberToText(" + describe(sample().values[i]) + "): " + expected.texts[i] +
                      " becomes " + got.texts[i] + "\n";
        }
    }
    return report;
}

class RoundingModeGuard {
public:
    explicit RoundingModeGuard(int mode) : saved_(std::fegetround()) { std::fesetround(mode); }
    ~RoundingModeGuard() { std::fesetround(saved_); }
    RoundingModeGuard(const RoundingModeGuard&) = delete;
    RoundingModeGuard& operator=(const RoundingModeGuard&) = delete;

private:
    int saved_;
};

struct RoundingMode {
    const char* name;
    int mode;
};

const RoundingMode kRoundingModes[] = {
    {"Upward", FE_UPWARD},
    {"Downward", FE_DOWNWARD},
    {"TowardZero", FE_TOWARDZERO},
};

void PrintTo(const RoundingMode& mode, std::ostream* out) {
    *out << mode.name;
}

class RoundingModeIndependence : public ::testing::TestWithParam<RoundingMode> {};

TEST_P(RoundingModeIndependence, ConversionsGiveTheSameResults) {
    const Results nearest = resultsOfSample();
    Results changed;
    {
        RoundingModeGuard guard(GetParam().mode);
        ASSERT_EQ(std::fegetround(), GetParam().mode);
        changed = resultsOfSample();
    }
    RecordProperty("cases", static_cast<int>(sample().texts.size() + sample().values.size()));
    EXPECT_EQ(differences(nearest, changed), "");
}

INSTANTIATE_TEST_SUITE_P(Modes, RoundingModeIndependence, ::testing::ValuesIn(kRoundingModes),
                         [](const auto& info) { return std::string(info.param.name); });

class LocaleGuard {
public:
    LocaleGuard() : saved_(std::setlocale(LC_ALL, nullptr)) {}
    ~LocaleGuard() { std::setlocale(LC_ALL, saved_.c_str()); }
    LocaleGuard(const LocaleGuard&) = delete;
    LocaleGuard& operator=(const LocaleGuard&) = delete;

    // Switches to a locale other than "C", preferring one whose decimal point is not "."; false if the
    // machine has none.
    std::optional<std::string> switchToAnother() {
        static const char* const kCandidates[] = {"",
                                                  "de_DE.UTF-8",
                                                  "de_DE.utf8",
                                                  "fr_FR.UTF-8",
                                                  "ru_RU.UTF-8",
                                                  "zh_CN.GB2312",
                                                  "zh_CN.UTF-8",
                                                  "C.UTF-8",
                                                  "C.utf8"};
        std::optional<std::string> fallback;
        for (const char* candidate : kCandidates) {
            const char* name = std::setlocale(LC_ALL, candidate);
            if (name == nullptr || std::string(name) == "C" || std::string(name) == "POSIX") {
                continue;
            }
            if (std::string(std::localeconv()->decimal_point) != ".") {
                return std::string(name);
            }
            fallback = fallback.value_or(name);
        }
        if (fallback) {
            std::setlocale(LC_ALL, fallback->c_str());
        }
        return fallback;
    }

private:
    std::string saved_;
};

TEST(LocaleIndependence, ConversionsGiveTheSameResultsUnderAnotherLocale) {
    const Results inC = resultsOfSample();
    Results changed;
    std::string name;
    {
        LocaleGuard guard;
        const auto other = guard.switchToAnother();
        if (!other) {
            GTEST_SKIP() << "no locale other than C is installed";
        }
        name = *other;
        changed = resultsOfSample();
    }
    RecordProperty("locale", name);
    EXPECT_EQ(differences(inC, changed), "") << "under the locale " << name;
}

} // namespace
