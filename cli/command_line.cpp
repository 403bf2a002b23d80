#include "cli/command_line.h"

#include <algorithm>
#include <array>

namespace cli {

namespace {

constexpr OptionDescription kRadius{"r", "R", "inner radius of the vessel in m, greater than 0", true};
constexpr OptionDescription kLength{"L", "L", "length of the cylindrical part in m, 0 or more", true};
constexpr OptionDescription kLevel{"h", "H", "liquid level in m from the bottom of the shell, from 0 to 2r",
                                   true};
constexpr OptionDescription kHeadDepth{
    "hi", "HI", "inner depth of one elliptical head in m, without its flange, 0 or more", true};
constexpr OptionDescription kStep{"step", "S",
                                  "distance between the levels of the chart in m, greater than 0", true};
constexpr OptionDescription kFormat{"format", "csv|table", "layout of the chart: table (the default) or csv",
                                    false};
constexpr OptionDescription kVolume{"volume", "VOLUME", "liquid volume in m3, from 0 to the total volume V",
                                    true};

constexpr std::array kVolumeOptions{kRadius, kLength, kLevel, kHeadDepth};
constexpr std::array kChartOptions{kRadius, kLength, kHeadDepth, kStep, kFormat};
constexpr std::array kLevelOptions{kRadius, kLength, kHeadDepth, kVolume};

constexpr std::array kCommands{
    CommandDescription{
        Command::volume,
        "volume",
        "the total volume V and the liquid volume Vh at level h, as the window shows them",
        "Prints V, the total volume of the vessel, and Vh, the volume of the liquid at level h, each\n"
        "on a line of its own after its name. Both are the very texts the Corvalen window shows for\n"
        "the same four inputs: in m3, rounded to five decimals (halves away from zero), with at most\n"
        "13 significant digits.\n",
        kVolumeOptions,
        "volume --r 1.5 --L 6 --h 1.2 --hi 0.375",
    },
    CommandDescription{
        Command::chart,
        "chart",
        "a strapping table: the liquid volume and the fill at levels from 0 to 2r",
        "Prints one row for each level 0, S, 2S, ... below 2r, the top of the shell, and a last row\n"
        "at 2r. A row gives the level h in m, the liquid volume Vh in m3 exactly as the window shows\n"
        "it for that level, and the fill: Vh as a percentage of the total volume, rounded to two\n"
        "decimals. The levels are written as the window writes numbers, with at most 13 significant\n"
        "digits (the last one with up to 17 when 2r needs them); the last row's volume is V. The\n"
        "table layout aligns the columns for reading; csv writes a header line and comma-separated\n"
        "rows for spreadsheets and scripts. A step that would give more than 10000000 rows is\n"
        "refused.\n",
        kChartOptions,
        "chart --r 1.2 --L 4 --hi 0.3 --step 0.4",
    },
    CommandDescription{
        Command::level,
        "level",
        "the level at which the liquid volume is a given volume, to 1e-9 m",
        "Prints h, the level in m at which the liquid volume is VOLUME: the inverse of the liquid\n"
        "volume, which rises with the level from 0 to 2r. The level is found by bisection on the very\n"
        "formula of the window's Vh before its rounding, and printed rounded to nine decimals\n"
        "(1e-9 m). VOLUME may be anything from 0 to the total volume V as the window shows it; V\n"
        "itself gives h = 2r.\n",
        kLevelOptions,
        "level --r 1.5 --L 6 --hi 0.375 --volume 16.464",
    },
};

const CommandDescription* findCommand(std::string_view name) {
    const auto found = std::ranges::find(kCommands, name, &CommandDescription::name);
    return found == kCommands.end() ? nullptr : &*found;
}

const OptionDescription* findOption(const CommandDescription& command, std::string_view name) {
    const auto found = std::ranges::find(command.options, name, &OptionDescription::name);
    return found == command.options.end() ? nullptr : &*found;
}

std::string helpHint(std::string_view command) {
    return "; try 'corvalen-calc " + (command.empty() ? std::string() : std::string(command) + " ") +
           "--help'";
}

} // namespace

std::span<const CommandDescription> commands() {
    return kCommands;
}

std::optional<std::string_view> Request::value(std::string_view name) const {
    const auto found = std::ranges::find(values, name, &std::pair<std::string_view, std::string_view>::first);
    if (found == values.end()) {
        return std::nullopt;
    }
    return found->second;
}

Request parseCommandLine(std::span<const std::string_view> arguments) {
    Request request;
    if (arguments.empty()) {
        throw UsageError({}, "missing command" + helpHint({}));
    }
    if (arguments[0] == "--help") {
        request.help = true;
        return request;
    }
    request.command = findCommand(arguments[0]);
    if (request.command == nullptr) {
        throw UsageError({}, "unknown command " + quoted(arguments[0]) + helpHint({}));
    }
    const CommandDescription& command = *request.command;
    const auto options = arguments.subspan(1);
    // Help wins wherever it is asked for, so that a half-written command line can still ask for it.
    if (std::ranges::find(options, std::string_view("--help")) != options.end()) {
        request.help = true;
        return request;
    }

    for (std::size_t i = 0; i < options.size(); ++i) {
        const std::string_view argument = options[i];
        if (!argument.starts_with("--") || argument.size() == 2) {
            throw UsageError(command.name, "unexpected argument " + quoted(argument) +
                                               " (options are written --name VALUE)");
        }
        std::string_view name = argument.substr(2);
        std::optional<std::string_view> text;
        if (const std::size_t equals = name.find('='); equals != std::string_view::npos) {
            text = name.substr(equals + 1);
            name = name.substr(0, equals);
        }
        if (findOption(command, name) == nullptr) {
            throw UsageError(command.name, "unknown option " + quoted(std::string("--").append(name)) +
                                               helpHint(command.name));
        }
        if (request.value(name)) {
            throw UsageError(command.name, "--" + std::string(name) + " is given twice");
        }
        if (!text) {
            // Every option takes a value, so the next argument is it even when it starts with "-".
            if (i + 1 == options.size()) {
                throw UsageError(command.name, "--" + std::string(name) + " needs a value");
            }
            text = options[++i];
        }
        request.values.emplace_back(name, *text);
    }

    for (const OptionDescription& option : command.options) {
        if (option.required && !request.value(option.name)) {
            throw UsageError(command.name,
                             "--" + std::string(option.name) + " is missing" + helpHint(command.name));
        }
    }
    return request;
}

std::string quoted(std::string_view text) {
    constexpr std::size_t kShownBytes = 40;
    std::string shown = "'";
    std::size_t end = std::min(text.size(), kShownBytes);
    // Not in the middle of a UTF-8 character: back over its continuation bytes (10xxxxxx).
    while (end < text.size() && end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) {
        --end;
    }
    for (const char c : text.substr(0, end)) {
        const auto byte = static_cast<unsigned char>(c);
        shown += byte < 0x20 || byte == 0x7F ? '?' : c;
    }
    if (end < text.size()) {
        shown += "...";
    }
    return shown + "'";
}

} // namespace cli
