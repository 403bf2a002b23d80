// corvalen-calc: the window's calculation on the command line, with tank charts and the level at a
// given volume.
#include "calc/volume.h"
#include "cli/commands.h"

#include <iostream>
#include <string_view>
#include <vector>

int main(int argc, char** argv) {
    calc::setFloatingPointEnvironment();
    const std::vector<std::string_view> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    return cli::run(arguments, std::cout, std::cerr);
}
