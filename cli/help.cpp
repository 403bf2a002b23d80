#include "cli/help.h"

#include <algorithm>
#include <string>

namespace cli {

namespace {

constexpr std::string_view kAbout =
    "corvalen-calc computes the volumes of a horizontal cylindrical vessel closed by two elliptical\n"
    "heads exactly as the Corvalen window does, and from the same formulas charts the liquid volume\n"
    "against the level and finds the level at which the liquid has a given volume.\n";

constexpr std::string_view kConventions =
    "Lengths are in m, volumes in m3. A value follows its option as the next argument or after \"=\"\n"
    "(--r=1.5). Numbers are written as in the window: \".\" is the decimal point, there is no digit\n"
    "grouping, and \"e\" or \"d\" starts an exponent (1.5, .5, 5., 1.5e2, 1.5d2; GB2312 full-width digits\n"
    "count as digits). Unlike the window, the value must be one whole number: \"1.5m\", \"1e\" or an empty\n"
    "value is refused.\n";

constexpr std::string_view kExitStatus =
    "Exit status: 0 on success; 2 when the command line is wrong, with a one-line message that names\n"
    "the option; 1 when the output cannot be written.\n";

std::string optionLabel(const OptionDescription& option) {
    return "--" + std::string(option.name) + " " + std::string(option.placeholder);
}

void writeUsage(std::ostream& out, const CommandDescription& command) {
    out << "Usage: corvalen-calc " << command.name;
    for (const OptionDescription& option : command.options) {
        out << (option.required ? " " : " [") << optionLabel(option) << (option.required ? "" : "]");
    }
    out << '\n';
}

} // namespace

void writeGeneralHelp(std::ostream& out) {
    out << kAbout << "\nUsage: corvalen-calc COMMAND --OPTION VALUE ...\n"
        << "       corvalen-calc [COMMAND] --help\n\nCommands:\n";
    std::size_t nameWidth = 0;
    for (const CommandDescription& command : commands()) {
        nameWidth = std::max(nameWidth, command.name.size());
    }
    for (const CommandDescription& command : commands()) {
        out << "  " << command.name << std::string(nameWidth - command.name.size() + 2, ' ')
            << command.summary << "\n  " << std::string(nameWidth + 2, ' ') << "e.g. corvalen-calc "
            << command.example << '\n';
    }
    out << '\n' << kConventions << '\n' << kExitStatus;
}

void writeCommandHelp(std::ostream& out, const CommandDescription& command, std::string_view exampleOutput) {
    writeUsage(out, command);
    out << '\n' << command.details << "\nOptions:\n";
    std::size_t labelWidth = std::string_view("--help").size();
    for (const OptionDescription& option : command.options) {
        labelWidth = std::max(labelWidth, optionLabel(option).size());
    }
    for (const OptionDescription& option : command.options) {
        const std::string label = optionLabel(option);
        out << "  " << label << std::string(labelWidth - label.size() + 2, ' ') << option.meaning << '\n';
    }
    out << "  --help" << std::string(labelWidth - 6 + 2, ' ') << "show this help\n";

    out << "\nExample:\n  $ corvalen-calc " << command.example << '\n';
    std::string_view rest = exampleOutput;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        out << "  " << rest.substr(0, end) << '\n';
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
    out << "\nSee 'corvalen-calc --help' for how numbers are written and the exit status.\n";
}

} // namespace cli
