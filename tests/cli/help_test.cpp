#include "cli/command_line.h"
#include "program.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

using cli::testing::ProgramResult;
using cli::testing::runProgram;

std::vector<std::string> words(std::string_view text) {
    std::vector<std::string> result;
    std::istringstream in{std::string(text)};
    for (std::string word; in >> word;) {
        result.push_back(word);
    }
    return result;
}

// Indented by two blanks, line by line, as the help shows an example's output.
std::string indented(const std::string& text) {
    std::string result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        result += "  " + line + "\n";
    }
    return result;
}

TEST(Help, NamesEveryCommandWithAWorkingExample) {
    const ProgramResult help = runProgram({"--help"});
    EXPECT_EQ(0, help.exitCode);
    EXPECT_EQ("", help.err);
    for (const cli::CommandDescription& command : cli::commands()) {
        const std::string example = "corvalen-calc " + std::string(command.example);
        EXPECT_NE(std::string::npos, help.out.find("\n  " + std::string(command.name) + "  "))
            << command.name;
        EXPECT_NE(std::string::npos, help.out.find(example)) << example;
        EXPECT_EQ(0, runProgram(words(command.example)).exitCode) << example;
    }
}

// A command's help gives every option and its example with what the example really prints, and is
// shown wherever --help stands.
TEST(Help, OfACommandShowsItsOptionsAndItsExamplesOutput) {
    for (const cli::CommandDescription& command : cli::commands()) {
        SCOPED_TRACE(std::string(command.name));
        const ProgramResult help = runProgram({std::string(command.name), "--help"});
        EXPECT_EQ(0, help.exitCode);
        EXPECT_EQ("", help.err);
        EXPECT_TRUE(help.out.starts_with("Usage: corvalen-calc " + std::string(command.name) + " --r R"))
            << help.out;
        for (const cli::OptionDescription& option : command.options) {
            EXPECT_NE(std::string::npos, help.out.find("\n  --" + std::string(option.name) + " "))
                << option.name;
        }
        const ProgramResult example = runProgram(words(command.example));
        EXPECT_NE(std::string::npos, help.out.find("  $ corvalen-calc " + std::string(command.example) +
                                                   "\n" + indented(example.out)));

        EXPECT_EQ(help.out, runProgram({std::string(command.name), "--r", "1", "--help", "--x"}).out);
    }
}

} // namespace
