// Running the real corvalen-calc, as a user or a script runs it, and collecting what it prints.
#pragma once

#include <string>
#include <vector>

namespace cli::testing {

struct ProgramResult {
    int exitCode = -1; // the exit status, or 128 + the signal that ended it
    std::string out;
    std::string err;
};

// Runs build/corvalen-calc with the arguments and waits for it to end.
ProgramResult runProgram(const std::vector<std::string>& arguments);

} // namespace cli::testing
