#include "calc/numeric_text.h"
#include "calc/volume.h"
#include "cli/vessel.h"
#include "program.h"
#include "test_names.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

namespace {

using cli::testing::ProgramResult;
using cli::testing::runProgram;

class LevelForVolumeTest : public ::testing::Test {
protected:
    void SetUp() override { calc::setFloatingPointEnvironment(); }
};

const cli::Vessel kVessels[] = {{1, 1, 0.5},   {1.5, 6, 0.375}, {2, 10, 0},      {0.1, 100, 0.02},
                                {3, 0.5, 2.9}, {0.8, 0, 0.4},   {1e4, 2e4, 5e3}, {1e-3, 1e-2, 0}};

// The level found for a volume gives that volume back, to 1e-9 of it, over the whole range of volumes
// where the formula resolves them (see the next test) and of vessel shapes: round, long and thin, short
// with deep heads.
TEST_F(LevelForVolumeTest, GivesTheVolumeBack) {
    const double fractions[] = {0.001, 0.01, 0.1, 0.25, 0.5, 0.75, 0.9, 0.999, 1 - 1e-9};
    for (const cli::Vessel& vessel : kVessels) {
        const double total = cli::totalVolume(vessel);
        for (const double fraction : fractions) {
            const double volume = total * fraction;
            const double h = cli::levelForVolume(vessel, volume);
            ASSERT_GE(h, 0);
            ASSERT_LE(h, 2 * vessel.r);
            EXPECT_NEAR(volume, cli::liquidVolume(vessel, h), 1e-9 * volume)
                << "r " << vessel.r << " L " << vessel.L << " hi " << vessel.hi << " fraction " << fraction;
        }
        EXPECT_EQ(0, cli::levelForVolume(vessel, 0));
        EXPECT_EQ(2 * vessel.r, cli::levelForVolume(vessel, total));
        EXPECT_EQ(2 * vessel.r, cli::levelForVolume(vessel, total * 1.001));
    }
}

// The closed form of the liquid volume in long double, with the library's arc sine: an oracle independent
// of the window's step-by-step formula.
long double closedFormVolume(const cli::Vessel& v, long double h) {
    constexpr long double k = 6.2831854L;
    const long double r = v.r;
    const long double d = h - r;
    const long double segment = r * r * (std::numbers::pi_v<long double> / 2 + std::asin(d / r)) +
                                d * std::sqrt(std::max(0.0L, 2 * h * r - h * h));
    return v.L * segment + k * v.hi * v.hi * d * (1 - d * d / (3 * r * r)) + 2.0L / 3 * k * r * v.hi * v.hi;
}

long double closedFormLevel(const cli::Vessel& v, long double volume) {
    long double low = 0;
    long double high = 2.0L * v.r;
    for (int i = 0; i < 200; ++i) {
        const long double middle = (low + high) / 2;
        (closedFormVolume(v, middle) < volume ? low : high) = middle;
    }
    return (low + high) / 2;
}

// Down to the smallest fills and up to the fullest the level is the true one to 5e-9 of the radius (1e-8 m
// in a vessel of 2 m radius). Near the bottom and the top the formula rounds (h - r) / r to a double where
// the arc sine is steep, which moves its volume by up to the volume of about 2e-9 r of level; the level
// found follows the formula, as the window's Vh does.
TEST_F(LevelForVolumeTest, AgreesWithTheClosedForm) {
    const double fractions[] = {1e-12, 1e-9, 1e-6, 0.001, 0.3, 0.5, 0.7, 0.999, 1 - 1e-6, 1 - 1e-12};
    for (const cli::Vessel& vessel : kVessels) {
        for (const double fraction : fractions) {
            const double volume = cli::totalVolume(vessel) * fraction;
            EXPECT_NEAR(static_cast<double>(closedFormLevel(vessel, volume)),
                        cli::levelForVolume(vessel, volume), 5e-9 * vessel.r)
                << "r " << vessel.r << " L " << vessel.L << " hi " << vessel.hi << " fraction " << fraction;
        }
    }
}

// Symmetric vessels are half full at half height.
TEST_F(LevelForVolumeTest, HalfTheVolumeAtTheCentreLine) {
    const cli::Vessel vessel{1.5, 6, 0.375};
    EXPECT_NEAR(1.5, cli::levelForVolume(vessel, cli::totalVolume(vessel) / 2), 1e-12);
}

struct RoundTrip {
    const char* label;
    std::string r, L, hi;
    std::string volume; // a volume as the window shows one
    std::string level;  // what `level` prints for it, to 1e-9 m
};

class LevelCommandTest : public ::testing::TestWithParam<RoundTrip> {
protected:
    void SetUp() override { calc::setFloatingPointEnvironment(); }
};

// `level` then `volume` at the printed level gives the volume's text back.
TEST_P(LevelCommandTest, ThenVolumeGivesTheVolumeBack) {
    const RoundTrip& c = GetParam();
    const ProgramResult level =
        runProgram({"level", "--r", c.r, "--L", c.L, "--hi", c.hi, "--volume", c.volume});
    ASSERT_EQ(0, level.exitCode) << level.err;
    EXPECT_EQ("", level.err);
    ASSERT_EQ("h " + c.level + "\n", level.out);

    const ProgramResult volume = runProgram({"volume", "--r", c.r, "--L", c.L, "--h", c.level, "--hi", c.hi});
    ASSERT_EQ(0, volume.exitCode) << volume.err;
    const calc::VolumeTexts window = calc::computeVolumes(c.r, c.L, c.level, c.hi);
    EXPECT_EQ("V " + window.V + "\nVh " + c.volume + "\n", volume.out);
}

const RoundTrip kRoundTrips[] = {
    {"half full", "1", "1", "0.5", "2.61799", "0.99999891"},
    {"quarter level", "1", "1", "0.5", "0.94143", "0.499998595"},
    {"typical tank", "1.5", "6", "0.375", "16.464", "1.199999734"},
    {"flat ends", "2", "10", "0", "24.56739", "0.999999885"},
    {"full", "1.5", "6", "0.375", "44.17865", "3"},
    {"empty", "1.5", "6", "0.375", "0", "0"},
    {"a radius with more digits than the window shows", "1.23456789012345", "2", "0.4", "5.6157",
     "1.234568136"},
};

INSTANTIATE_TEST_SUITE_P(Table, LevelCommandTest, ::testing::ValuesIn(kRoundTrips),
                         [](const auto& info) { return cli::testing::testName(info.param.label); });

} // namespace
