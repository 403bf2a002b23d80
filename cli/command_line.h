// The command line of corvalen-calc: its commands and their options as one table, which both the parser
// and the help read, and the parser that turns the arguments into a request.
#pragma once

#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace cli {

enum class Command { volume, chart, level };

struct OptionDescription {
    std::string_view name;        // as written after "--": "r", "hi", "step"
    std::string_view placeholder; // the value in the usage line: "R", "csv|table"
    std::string_view meaning;     // one line for the help
    bool required;
};

struct CommandDescription {
    Command command;
    std::string_view name;
    std::string_view summary; // one line for the general help
    std::string_view details; // the paragraphs of the command's own help, lines of at most 100 columns
    std::span<const OptionDescription> options;
    std::string_view example; // the arguments of a run that the help shows, after the program's name
};

// Every command, in the order the help lists them.
std::span<const CommandDescription> commands();

// A command line that cannot be run. The message is one line; `command` is the command's name when the
// command was recognised, so that the message can say which command it concerns.
class UsageError : public std::runtime_error {
public:
    UsageError(std::string_view command, const std::string& message)
        : std::runtime_error(message), command_(command) {}
    std::string_view command() const { return command_; }

private:
    std::string command_;
};

struct Request {
    const CommandDescription* command = nullptr; // none: the general help
    bool help = false;                           // the help of `command`, or the general help
    std::vector<std::pair<std::string_view, std::string_view>> values; // option name and text, as given

    // The text given for an option, if it was given.
    std::optional<std::string_view> value(std::string_view name) const;
};

// Parses the arguments after the program's name: a command, then options, each "--name VALUE" or
// "--name=VALUE". "--help" alone, or anywhere after a command, asks for help and wins over everything
// else. An unknown command or option, an option given twice or without a value, a missing required
// option and a stray argument throw UsageError. The texts in the request point into `arguments`.
//   {"volume", "--r", "1", "--L=1", "--h", "1", "--hi", "0.5"} -> volume, r "1", L "1", h "1", hi "0.5"
Request parseCommandLine(std::span<const std::string_view> arguments);

// A user's text for a message: quoted, control characters shown as "?", and cut after 40 bytes, so that
// the message stays one readable line whatever was typed.
std::string quoted(std::string_view text);

} // namespace cli
