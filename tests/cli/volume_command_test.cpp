#include "calc/volume.h"
#include "program.h"
#include "test_names.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using cli::testing::ProgramResult;
using cli::testing::runProgram;

struct VolumeCase {
    const char* label;
    std::string r, L, h, hi; // typed into the window, and given as --r, --L, --h, --hi
    const char* V;           // what the window shows
    const char* Vh;
};

class VolumeCommandTest : public ::testing::TestWithParam<VolumeCase> {
protected:
    void SetUp() override { calc::setFloatingPointEnvironment(); }
};

// The program prints the window's texts for the same input texts: the literal results of the worked
// examples, and whatever computeVolumes gives.
TEST_P(VolumeCommandTest, PrintsTheWindowsTexts) {
    const VolumeCase& c = GetParam();
    const calc::VolumeTexts window = calc::computeVolumes(c.r, c.L, c.h, c.hi);
    ASSERT_EQ(c.V, window.V);
    ASSERT_EQ(c.Vh, window.Vh);

    const ProgramResult result = runProgram({"volume", "--r", c.r, "--L", c.L, "--h", c.h, "--hi", c.hi});
    EXPECT_EQ(0, result.exitCode);
    EXPECT_EQ("", result.err);
    EXPECT_EQ("V " + window.V + "\nVh " + window.Vh + "\n", result.out);
}

const VolumeCase kVolumeCases[] = {
    {"half full", "1", "1", "1", "0.5", "5.23599", "2.61799"},
    {"typical tank", "1.5", "6", "1.2", "0.375", "44.17865", "16.464"},
    {"flat ends", "2", "10", "1", "0", "125.66371", "24.56739"},
    {"exponents with d and e", "15d-1", "0.6E1", "+1.2", ".375", "44.17865", "16.464"},
    {"full width digits", "\xA3\xB1", "\xA3\xB1", "\xA3\xB1", "0\xA3\xAE\xA3\xB5", "5.23599", "2.61799"},
    {"empty vessel", "1", "1", "0", "0.5", "5.23599", "0"},
    {"full vessel", "1", "1", "2", "0.5", "5.23599", "5.23599"},
    {"no length and flat ends", "2", "0", "1", "0", "0", "0"},
    {"a large vessel in exponent form", "1e5", "1e4", "1e5", "0", "3.14159265359e+014",
     "1.570796326795e+014"},
};

INSTANTIATE_TEST_SUITE_P(Table, VolumeCommandTest, ::testing::ValuesIn(kVolumeCases),
                         [](const auto& info) { return cli::testing::testName(info.param.label); });

// The options may come in any order, each value after its option or after "=".
TEST(VolumeCommand, TakesTheOptionsInAnyOrderAndSpelling) {
    const ProgramResult plain =
        runProgram({"volume", "--r", "1.5", "--L", "6", "--h", "1.2", "--hi", "0.375"});
    const ProgramResult other = runProgram({"volume", "--hi=0.375", "--h", "1.2", "--L=6", "--r", "1.5"});
    EXPECT_EQ(0, other.exitCode);
    EXPECT_EQ("V 44.17865\nVh 16.464\n", plain.out);
    EXPECT_EQ(plain.out, other.out);
}

} // namespace
