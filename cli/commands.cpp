#include "cli/commands.h"

#include "calc/numeric_text.h"
#include "calc/volume.h"
#include "cli/chart.h"
#include "cli/command_line.h"
#include "cli/help.h"
#include "cli/level_text.h"
#include "cli/number_argument.h"
#include "cli/output.h"
#include "cli/vessel.h"

#include <algorithm>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

namespace cli {

namespace {

constexpr std::int32_t kLevelDecimalPlaces = 9; // 1e-9 m

// The parsed command line with its command, which every message names.
struct Invocation {
    const Request& request;
    std::string_view command;

    [[noreturn]] void fail(const std::string& message) const { throw UsageError(command, message); }

    NumberArgument number(std::string_view name) const {
        return readNumberArgument(command, name, *request.value(name));
    }
};

std::string got(const NumberArgument& argument) {
    return " (got " + quoted(argument.text) + ")";
}

// A result text is a number unless it is one of numberToText's texts of infinities and NaNs, "1.#INF",
// "-1.#IND" and the like, which all hold a "#".
bool isNumberText(std::string_view text) {
    return text.find('#') == std::string_view::npos;
}

// V as the window shows it; the level does not change it, so any level gives it.
std::string totalVolumeText(std::string_view r, std::string_view L, std::string_view hi) {
    return calc::computeVolumes(r, L, "0", hi).V;
}

// r > 0, L >= 0, hi >= 0, and a total volume that the window can show as a number.
VesselArguments readVessel(const Invocation& invocation) {
    const NumberArgument r = invocation.number("r");
    if (!(r.value > 0)) {
        invocation.fail("--r must be greater than 0" + got(r));
    }
    const NumberArgument L = invocation.number("L");
    if (L.value < 0) {
        invocation.fail("--L must not be negative" + got(L));
    }
    const NumberArgument hi = invocation.number("hi");
    if (hi.value < 0) {
        invocation.fail("--hi must not be negative" + got(hi));
    }
    if (!isNumberText(totalVolumeText(r.text, L.text, hi.text))) {
        invocation.fail("--r, --L, --hi: the vessel is too large: its volume overflows");
    }
    return {r.text, L.text, hi.text, {r.value, L.value, hi.value}};
}

// The fill and the level at a volume are relative to the total volume, which must not be 0.
void requireContents(const Invocation& invocation, const VesselArguments& vessel) {
    if (vessel.vessel.L == 0 && vessel.vessel.hi == 0) {
        invocation.fail("--L and --hi are both 0: the vessel holds nothing");
    }
    if (!(totalVolume(vessel.vessel) > 0)) {
        invocation.fail("--r, --L, --hi: the vessel is too small: its volume underflows to 0");
    }
}

void runVolume(const Invocation& invocation, std::ostream& out) {
    const VesselArguments vessel = readVessel(invocation);
    const NumberArgument h = invocation.number("h");
    const double top = 2 * vessel.vessel.r;
    if (!(h.value >= 0 && h.value <= top)) {
        invocation.fail("--h must lie between 0 and 2r = " + calc::numberToText(top) + got(h));
    }
    writeVolumes(out, calc::computeVolumes(vessel.rText, vessel.LText, h.text, vessel.hiText));
}

void runChart(const Invocation& invocation, std::ostream& out) {
    const VesselArguments vessel = readVessel(invocation);
    requireContents(invocation, vessel);
    const NumberArgument step = invocation.number("step");
    if (!(step.value > 0)) {
        invocation.fail("--step must be greater than 0" + got(step));
    }
    if (!(2 * vessel.vessel.r / step.value <= kMaxChartRows)) {
        invocation.fail("--step is too small: the chart would have more than " +
                        std::to_string(kMaxChartRows) + " rows" + got(step));
    }
    ChartFormat format = ChartFormat::table;
    if (const auto text = invocation.request.value("format")) {
        if (*text == "csv") {
            format = ChartFormat::csv;
        } else if (*text != "table") {
            invocation.fail("--format must be csv or table (got " + quoted(*text) + ")");
        }
    }
    writeChart(out, vessel, step.value, format);
}

void runLevel(const Invocation& invocation, std::ostream& out) {
    const VesselArguments vessel = readVessel(invocation);
    requireContents(invocation, vessel);
    const NumberArgument volume = invocation.number("volume");
    // The volumes the user sees are the window's texts, so V's text bounds the volume: a chart's last row
    // may be asked for even when it lies a little above the unrounded total volume.
    const std::string totalText = totalVolumeText(vessel.rText, vessel.LText, vessel.hiText);
    if (!(volume.value >= 0 && volume.value <= calc::textToNumber(totalText))) {
        invocation.fail("--volume must lie between 0 and V = " + totalText + got(volume));
    }
    // Rounding to 1e-9 m may pass the top of the shell; the top is then the answer, so that the level
    // printed is always a valid --h.
    const double top = 2 * vessel.vessel.r;
    const double level =
        std::min(calc::roundToPlaces(levelForVolume(vessel.vessel, volume.value), kLevelDecimalPlaces), top);
    writeLevel(out, levelText(level));
}

void runCommand(const Request& request, std::ostream& out) {
    const Invocation invocation{request, request.command->name};
    switch (request.command->command) {
    case Command::volume:
        runVolume(invocation, out);
        return;
    case Command::chart:
        runChart(invocation, out);
        return;
    case Command::level:
        runLevel(invocation, out);
        return;
    }
}

// The help shows what its example really prints, so that it cannot go stale.
std::string exampleOutput(const CommandDescription& command) {
    std::vector<std::string_view> arguments;
    std::string_view rest = command.example;
    while (!rest.empty()) {
        const std::size_t end = rest.find(' ');
        arguments.push_back(rest.substr(0, end));
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
    std::ostringstream out;
    runCommand(parseCommandLine(arguments), out);
    return out.str();
}

} // namespace

int run(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err) {
    try {
        const Request request = parseCommandLine(arguments);
        if (!request.help) {
            runCommand(request, out);
        } else if (request.command == nullptr) {
            writeGeneralHelp(out);
        } else {
            writeCommandHelp(out, *request.command, exampleOutput(*request.command));
        }
    } catch (const UsageError& error) {
        err << "corvalen-calc" << (error.command().empty() ? "" : " ") << error.command() << ": "
            << error.what() << '\n';
        return kExitUsage;
    }
    out.flush();
    if (!out) {
        err << "corvalen-calc: cannot write the output\n";
        return kExitOutputFailed;
    }
    return kExitSuccess;
}

} // namespace cli
