// The commands of corvalen-calc: volume, chart and level, and the help.
#pragma once

#include <ostream>
#include <span>
#include <string_view>

namespace cli {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitOutputFailed = 1;
inline constexpr int kExitUsage = 2;

// Runs the command line `arguments` (without the program's name), printing results and help to `out` and
// the one-line message of an invalid command line to `err`; returns the exit status. Assumes the
// floating-point environment of calc::setFloatingPointEnvironment().
//   {"volume", "--r", "1", "--L", "1", "--h", "1", "--hi", "0.5"} -> "V 5.23599\nVh 2.61799\n", 0
//   {"volume", "--r", "0", ...} -> err "corvalen-calc volume: --r must be greater than 0 (got '0')\n", 2
int run(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err);

} // namespace cli
