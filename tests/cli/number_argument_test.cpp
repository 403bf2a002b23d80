#include "calc/numeric_text.h"
#include "cli/command_line.h"
#include "cli/number_argument.h"
#include "test_names.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <string>

namespace {

struct NumberText {
    const char* label;
    std::string text;
    bool complete;
};

class CompleteNumberTest : public ::testing::TestWithParam<NumberText> {};

// A complete number is read whole, and as the window reads it; anything else is refused as a value.
TEST_P(CompleteNumberTest, AcceptsExactlyOneWholeNumber) {
    const NumberText& c = GetParam();
    EXPECT_EQ(c.complete, cli::isCompleteNumber(c.text)) << "text: " << c.text;
    if (c.complete) {
        const cli::NumberArgument argument = cli::readNumberArgument("volume", "r", c.text);
        EXPECT_EQ(std::bit_cast<std::uint64_t>(calc::textToNumber(c.text)),
                  std::bit_cast<std::uint64_t>(argument.value));
        EXPECT_EQ(c.text, argument.text);
    } else {
        EXPECT_THROW(cli::readNumberArgument("volume", "r", c.text), cli::UsageError);
    }
}

const NumberText kNumberTexts[] = {
    {"integer", "12", true},
    {"decimal", "1.5", true},
    {"point first", ".5", true},
    {"point last", "5.", true},
    {"signs", "-2.5", true},
    {"plus", "+2", true},
    {"exponent e", "1.5e2", true},
    {"exponent E with sign", "1.5E-2", true},
    {"exponent d", "1.5d2", true},
    {"exponent D with plus", "2D+3", true},
    {"negative zero", "-0", true},
    {"many digits", "0.1000000000000000055511151231257827021181583404541015625", true},
    {"full width one point five", "\xA3\xB1\xA3\xAE\xA3\xB5", true},
    {"full width minus and exponent",
     "\xA3\xAD"
     "2\xA3\xE5"
     "1",
     true},
    {"empty", "", false},
    {"blank", " ", false},
    {"leading blank", " 1", false},
    {"trailing blank", "1 ", false},
    {"ideographic space first",
     "\xA1\xA1"
     "1",
     false},
    {"unit", "1.5m", false},
    {"exponent letter alone", "1e", false},
    {"exponent letter and sign", "1e+", false},
    {"exponent without mantissa", "e5", false},
    {"point alone", ".", false},
    {"sign alone", "-", false},
    {"sign and point", "+.", false},
    {"two points", "2.5.1", false},
    {"fractional exponent", "1e5.5", false},
    {"comma", "1,5", false},
    {"two signs", "--5", false},
    {"sign after mantissa", "5-3", false},
    {"hexadecimal", "0x1A", false},
    {"inf", "inf", false},
    {"nan", "nan", false},
    {"utf8 full width one", "\xEF\xBC\x91", false},
    {"trailing lead byte", "1\xA3", false},
    {"chinese character after", "3\xC3\xD7", false},
};

INSTANTIATE_TEST_SUITE_P(Table, CompleteNumberTest, ::testing::ValuesIn(kNumberTexts),
                         [](const auto& info) { return cli::testing::testName(info.param.label); });

TEST(ReadNumberArgument, RefusesNumbersBeyondTheRange) {
    EXPECT_THROW(cli::readNumberArgument("volume", "L", "1e999"), cli::UsageError);
    EXPECT_THROW(cli::readNumberArgument("volume", "L", "-1e400000"), cli::UsageError);
    EXPECT_EQ(0.0, cli::readNumberArgument("volume", "L", "1e-400").value); // underflow is a small number
}

} // namespace
