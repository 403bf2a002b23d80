#include "program.h"
#include "test_names.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using cli::testing::ProgramResult;
using cli::testing::runProgram;

struct ErrorCase {
    const char* label;
    std::vector<std::string> arguments;
    std::string message; // the one line on standard error
};

class CommandLineErrorTest : public ::testing::TestWithParam<ErrorCase> {};

// An invalid command line prints nothing but one line that names what is wrong, and ends with status 2.
TEST_P(CommandLineErrorTest, NamesTheArgumentAndEndsWithStatusTwo) {
    const ErrorCase& c = GetParam();
    const ProgramResult result = runProgram(c.arguments);
    EXPECT_EQ(2, result.exitCode);
    EXPECT_EQ("", result.out);
    EXPECT_EQ(c.message + "\n", result.err);
}

// A vessel that is valid, with each command's own option appended.
std::vector<std::string> vessel(std::string command, std::vector<std::string> more) {
    std::vector<std::string> arguments{std::move(command), "--r", "1", "--L", "1", "--hi", "0.5"};
    arguments.insert(arguments.end(), more.begin(), more.end());
    return arguments;
}

const ErrorCase kErrors[] = {
    {"no command", {}, "corvalen-calc: missing command; try 'corvalen-calc --help'"},
    {"unknown command", {"area"}, "corvalen-calc: unknown command 'area'; try 'corvalen-calc --help'"},
    {"option before the command",
     {"--r", "1"},
     "corvalen-calc: unknown command '--r'; try 'corvalen-calc --help'"},
    {"unknown option", vessel("volume", {"--h", "1", "--x", "1"}),
     "corvalen-calc volume: unknown option '--x'; try 'corvalen-calc volume --help'"},
    {"another command's option", vessel("volume", {"--h", "1", "--step", "1"}),
     "corvalen-calc volume: unknown option '--step'; try 'corvalen-calc volume --help'"},
    {"options are case sensitive", vessel("volume", {"--H", "1"}),
     "corvalen-calc volume: unknown option '--H'; try 'corvalen-calc volume --help'"},
    {"option given twice", vessel("volume", {"--h", "1", "--r", "2"}),
     "corvalen-calc volume: --r is given twice"},
    {"option without a value", vessel("volume", {"--h"}), "corvalen-calc volume: --h needs a value"},
    {"stray argument", vessel("volume", {"--h", "1", "2"}),
     "corvalen-calc volume: unexpected argument '2' (options are written --name VALUE)"},
    {"single dash option", vessel("volume", {"-h", "1"}),
     "corvalen-calc volume: unexpected argument '-h' (options are written --name VALUE)"},
    {"missing option",
     {"volume", "--r", "1", "--L", "1", "--h", "1"},
     "corvalen-calc volume: --hi is missing; try 'corvalen-calc volume --help'"},
    {"missing step", vessel("chart", {}),
     "corvalen-calc chart: --step is missing; try 'corvalen-calc chart --help'"},
    {"missing volume", vessel("level", {}),
     "corvalen-calc level: --volume is missing; try 'corvalen-calc level --help'"},
    {"empty value", vessel("volume", {"--h="}), "corvalen-calc volume: --h: '' is not a number"},
    {"unit after the number",
     {"volume", "--r", "1.5m", "--L", "1", "--h", "1", "--hi", "0.5"},
     "corvalen-calc volume: --r: '1.5m' is not a number"},
    {"exponent without digits", vessel("volume", {"--h", "1e"}),
     "corvalen-calc volume: --h: '1e' is not a number"},
    {"leading blank", vessel("volume", {"--h", " 1"}), "corvalen-calc volume: --h: ' 1' is not a number"},
    {"comma", vessel("chart", {"--step", "0,5"}), "corvalen-calc chart: --step: '0,5' is not a number"},
    {"words", vessel("level", {"--volume", "half"}), "corvalen-calc level: --volume: 'half' is not a number"},
    {"hexadecimal", vessel("volume", {"--h", "0x1"}), "corvalen-calc volume: --h: '0x1' is not a number"},
    {"a control character is shown as a question mark", vessel("volume", {"--h", "1\n2"}),
     "corvalen-calc volume: --h: '1?2' is not a number"},
    {"a long value is cut", vessel("volume", {"--h", std::string(100, '7') + "x"}),
     "corvalen-calc volume: --h: '" + std::string(40, '7') + "...' is not a number"},
    {"infinite value",
     {"volume", "--r", "1", "--L", "1e999", "--h", "1", "--hi", "0.5"},
     "corvalen-calc volume: --L: '1e999' is too large"},
    {"zero radius",
     {"volume", "--r", "0", "--L", "1", "--h", "1", "--hi", "0.5"},
     "corvalen-calc volume: --r must be greater than 0 (got '0')"},
    {"negative zero radius",
     {"chart", "--r", "-0", "--L", "1", "--hi", "0.5", "--step", "0.1"},
     "corvalen-calc chart: --r must be greater than 0 (got '-0')"},
    {"negative radius",
     {"level", "--r", "-1", "--L", "1", "--hi", "0.5", "--volume", "1"},
     "corvalen-calc level: --r must be greater than 0 (got '-1')"},
    {"negative length",
     {"volume", "--r", "1", "--L", "-1", "--h", "1", "--hi", "0.5"},
     "corvalen-calc volume: --L must not be negative (got '-1')"},
    {"negative head depth",
     {"chart", "--r", "1", "--L", "1", "--hi", "-0.1", "--step", "0.1"},
     "corvalen-calc chart: --hi must not be negative (got '-0.1')"},
    {"level below the bottom", vessel("volume", {"--h", "-0.1"}),
     "corvalen-calc volume: --h must lie between 0 and 2r = 2 (got '-0.1')"},
    {"level above the top", vessel("volume", {"--h", "2.0000001"}),
     "corvalen-calc volume: --h must lie between 0 and 2r = 2 (got '2.0000001')"},
    {"negative volume", vessel("level", {"--volume", "-1"}),
     "corvalen-calc level: --volume must lie between 0 and V = 5.23599 (got '-1')"},
    {"volume above the total", vessel("level", {"--volume", "5.236"}),
     "corvalen-calc level: --volume must lie between 0 and V = 5.23599 (got '5.236')"},
    {"zero step", vessel("chart", {"--step", "0"}),
     "corvalen-calc chart: --step must be greater than 0 (got '0')"},
    {"negative step", vessel("chart", {"--step", "-0.1"}),
     "corvalen-calc chart: --step must be greater than 0 (got '-0.1')"},
    {"too many rows", vessel("chart", {"--step", "1e-7"}),
     "corvalen-calc chart: --step is too small: the chart would have more than 10000000 rows (got '1e-7')"},
    {"a step that underflows to zero", vessel("chart", {"--step", "1e-400"}),
     "corvalen-calc chart: --step must be greater than 0 (got '1e-400')"},
    {"unknown format", vessel("chart", {"--step", "0.1", "--format", "xml"}),
     "corvalen-calc chart: --format must be csv or table (got 'xml')"},
    {"a vessel without volume for a chart",
     {"chart", "--r", "1", "--L", "0", "--hi", "0", "--step", "0.1"},
     "corvalen-calc chart: --L and --hi are both 0: the vessel holds nothing"},
    {"a vessel without volume for a level",
     {"level", "--r", "1", "--L", "0", "--hi", "0", "--volume", "0"},
     "corvalen-calc level: --L and --hi are both 0: the vessel holds nothing"},
    {"a vessel too small to hold anything",
     {"level", "--r", "1e-200", "--L", "1e-200", "--hi", "0", "--volume", "0"},
     "corvalen-calc level: --r, --L, --hi: the vessel is too small: its volume underflows to 0"},
    {"a vessel too large to compute",
     {"volume", "--r", "1e200", "--L", "1", "--h", "1", "--hi", "0.5"},
     "corvalen-calc volume: --r, --L, --hi: the vessel is too large: its volume overflows"},
    {"a vessel whose volume cannot be rounded",
     {"volume", "--r", "1e151", "--L", "1e2", "--h", "1", "--hi", "0"},
     "corvalen-calc volume: --r, --L, --hi: the vessel is too large: its volume overflows"},
};

INSTANTIATE_TEST_SUITE_P(Table, CommandLineErrorTest, ::testing::ValuesIn(kErrors),
                         [](const auto& info) { return cli::testing::testName(info.param.label); });

} // namespace
