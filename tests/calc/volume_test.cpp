#include "calc/numeric_text.h"
#include "calc/volume.h"
#include "double_bits.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>

namespace {

using calc::testing::fromBits;
using calc::testing::kDefaultNaNBits;
using calc::testing::sameBits;

class VolumeTest : public ::testing::Test {
protected:
    void SetUp() override { calc::setFloatingPointEnvironment(); }
};

struct VesselCase {
    const char* label;
    const char *r, *L, *h, *hi;
    const char *V, *Vh;
};

class ComputeVolumesTest : public ::testing::TestWithParam<VesselCase> {
protected:
    void SetUp() override { calc::setFloatingPointEnvironment(); }
};

TEST_P(ComputeVolumesTest, GivesTheResultBoxTexts) {
    const auto& c = GetParam();
    const calc::VolumeTexts texts = calc::computeVolumes(c.r, c.L, c.h, c.hi);
    EXPECT_EQ(c.V, texts.V);
    EXPECT_EQ(c.Vh, texts.Vh);
}

const VesselCase kVessels[] = {
    {"half full", "1", "1", "1", "0.5", "5.23599", "2.61799"},
    {"quarter level", "1", "1", "0.5", "0.5", "5.23599", "0.94143"},
    {"typical tank", "1.5", "6", "1.2", "0.375", "44.17865", "16.464"},
    {"flat ends", "2", "10", "1", "0", "125.66371", "24.56739"},
    {"empty", "1", "1", "0", "0.5", "5.23599", "0"},
    {"full", "1", "1", "2", "0.5", "5.23599", "5.23599"},
    {"level above the top", "1", "1", "3", "0.5", "5.23599", "-1.#IND"},
    {"level below the bottom", "1", "1", "-0.1", "0.5", "5.23599", "-1.#IND"},
    {"zero radius", "0", "1", "1", "0.5", "-1.#IND", "-1.#IND"},
    {"empty radius", "", "1", "1", "0.5", "-1.#IND", "-1.#IND"},
    {"all boxes empty", "", "", "", "", "-1.#IND", "-1.#IND"},
    {"only a radius", "2", "", "", "", "0", "0"},
    {"non-numeric text", "1abc", "1m", "1 ", "0.5x", "5.23599", "2.61799"},
    {"full-width digits", "\xA3\xB1", "\xA3\xB1", "\xA3\xB1", "0\xA3\xAE\xA3\xB5", "5.23599", "2.61799"},
    {"infinite radius", "1e999", "1", "1", "0.5", "-1.#IND", "-1.#IND"},
};

INSTANTIATE_TEST_SUITE_P(Table, ComputeVolumesTest, ::testing::ValuesIn(kVessels),
                         [](const auto& info) { return calc::testing::testName(info.param.label); });

// The terms sum to the closed forms: the half-full volume (2/3) k r hi^2 + (pi/2) r^2 L with the head
// factor k = 6.2831854, and the liquid at level h relative to it.
TEST_F(VolumeTest, TermsFollowTheClosedForms) {
    const double k = 6.2831854;
    const struct {
        double r, L, h, hi;
    } vessels[] = {{1, 1, 0.5, 0.5}, {1.5, 6, 1.2, 0.375}, {2, 10, 1, 0}, {0.8, 3.2, 1.5, 0.2}};
    for (const auto& v : vessels) {
        const double halfFull =
            -(calc::headTerm(0, v.r, v.hi) + calc::chordTerm(v.L, 0, v.r) + calc::arcTerm(0, v.r, v.L));
        const double expectedHalfFull =
            2.0 / 3 * k * v.r * v.hi * v.hi + std::numbers::pi / 2 * v.r * v.r * v.L;
        EXPECT_NEAR(expectedHalfFull, halfFull, 1e-12 * expectedHalfFull);

        const double d = v.h - v.r;
        const double segment = v.r * v.r * (std::numbers::pi / 2 + std::asin(d / v.r)) +
                               d * std::sqrt(2 * v.h * v.r - v.h * v.h);
        const double heads =
            k * v.hi * v.hi * d * (1 - d * d / (3 * v.r * v.r)) + 2.0 / 3 * k * v.r * v.hi * v.hi;
        const double liquid = halfFull + calc::headTerm(v.h, v.r, v.hi) + calc::chordTerm(v.L, v.h, v.r) +
                              calc::arcTerm(v.h, v.r, v.L);
        EXPECT_NEAR(segment * v.L + heads, liquid, 1e-12 * (segment * v.L + heads));
    }
}

TEST_F(VolumeTest, UnroundedVolumesOfTheWorkedExamples) {
    const double halfFull = -(calc::headTerm(0, 1, 0.5) + calc::chordTerm(1, 0, 1) + calc::arcTerm(0, 1, 1));
    EXPECT_NEAR(2.6179938935, halfFull, 5e-11);
    EXPECT_NEAR(0.9414340889,
                halfFull + calc::headTerm(0.5, 1, 0.5) + calc::chordTerm(1, 0.5, 1) +
                    calc::arcTerm(0.5, 1, 1),
                5e-11);
}

TEST_F(VolumeTest, ArcSineOrZeroAtAndBeyondItsEdges) {
    constexpr double kHalfPi = 1.5707963267948966;
    EXPECT_TRUE(sameBits(kHalfPi, calc::arcSineOrZero(1)));
    EXPECT_TRUE(sameBits(-kHalfPi, calc::arcSineOrZero(-1)));
    EXPECT_TRUE(sameBits(0.0, calc::arcSineOrZero(0.0)));
    EXPECT_NEAR(std::numbers::pi / 6, calc::arcSineOrZero(0.5), 4e-16); // within two ulps
    // Beyond +-1 by less than the tolerance: the square root of a negative number.
    EXPECT_TRUE(sameBits(fromBits(kDefaultNaNBits), calc::arcSineOrZero(1 + 0.5e-7)));
    EXPECT_TRUE(sameBits(fromBits(kDefaultNaNBits), calc::arcSineOrZero(-1 - 0.5e-7)));
    // Beyond the tolerance, and NaN: zero.
    EXPECT_TRUE(sameBits(0.0, calc::arcSineOrZero(1 + 2e-7)));
    EXPECT_TRUE(sameBits(0.0, calc::arcSineOrZero(-1 - 2e-7)));
    EXPECT_TRUE(sameBits(0.0, calc::arcSineOrZero(fromBits(kDefaultNaNBits))));
}

// An invalid operation's NaN must survive the negation of the half-full volume with its sign, or the
// boxes would show "1.#QNAN" instead of "-1.#IND".
TEST_F(VolumeTest, ZeroRadiusKeepsTheDefaultNaN) {
    EXPECT_TRUE(sameBits(fromBits(kDefaultNaNBits), calc::headTerm(0, 0, 0.5)));
    const calc::VolumeTexts texts = calc::computeVolumes("0", "0", "0", "0");
    EXPECT_EQ("-1.#IND", texts.V);
    EXPECT_EQ("-1.#IND", texts.Vh);
}

TEST_F(VolumeTest, SameInputsGiveSameResults) {
    const calc::VolumeTexts first = calc::computeVolumes("1.5", "6", "1.2", "0.375");
    const calc::VolumeTexts second = calc::computeVolumes("1.5", "6", "1.2", "0.375");
    EXPECT_EQ(first.V, second.V);
    EXPECT_EQ(first.Vh, second.Vh);
}

// Establishing the environment undoes whatever the thread had before: a 53-bit x87 precision, another
// rounding mode, unmasked exceptions, flush-to-zero.
TEST(FloatingPointEnvironment, IsRestoredWhateverCameBefore) {
    const unsigned short messyX87 =
        0x0A72;                           // 53-bit precision, round up, invalid/zero-divide/overflow unmasked
    const unsigned int messySse = 0xDD80; // flush-to-zero, round up, zero-divide unmasked
    __asm__ volatile("fldcw %0" : : "m"(messyX87));
    __asm__ volatile("ldmxcsr %0" : : "m"(messySse));

    calc::setFloatingPointEnvironment();

    unsigned short x87 = 0;
    unsigned int sse = 0;
    __asm__ volatile("fnstcw %0" : "=m"(x87));
    __asm__ volatile("stmxcsr %0" : "=m"(sse));
    EXPECT_EQ(0x037F, x87);
    EXPECT_EQ(0x1F80u, sse & 0xFFC0u); // the low six bits are the sticky exception flags
    const calc::VolumeTexts texts = calc::computeVolumes("0", "1", "1", "1");
    EXPECT_EQ("-1.#IND", texts.V); // 0/0 neither traps nor changes the NaN
}

} // namespace
