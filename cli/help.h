// The help texts, made from the command table so that they list exactly the commands and options that
// the parser accepts.
#pragma once

#include "cli/command_line.h"

#include <ostream>
#include <string_view>

namespace cli {

// Every command with its summary and its example, and how numbers are written.
void writeGeneralHelp(std::ostream& out);

// The command's usage line, its details, its options and its example followed by `exampleOutput`, the
// output of that very example, indented.
void writeCommandHelp(std::ostream& out, const CommandDescription& command, std::string_view exampleOutput);

} // namespace cli
