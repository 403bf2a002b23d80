// Numbers on the command line. They are read as the window reads its boxes (calc::textToNumber), but
// unlike the window the command line accepts only a value that is one whole number.
#pragma once

#include <string_view>

namespace cli {

// True when the text, after textToNumber's full-width mapping (calc::toHalfWidth), is exactly one number of
// textToNumber's grammar, with nothing before or after it, not even blanks:
//
//   [+|-] ( digits [ "." digits* ] | "." digits ) [ (e|E|d|D) [+|-] digits ]
//
//   "1.5", "-.5", "5.", "+2e-3", "1.5d2", GB2312 full-width "1.5" (A3 B1 A3 AE A3 B5)  -> true
//   "", " 1", "1 ", "1m", "1e", "1e+", ".", "-", "2.5.1", "1,5", "0x1A", "inf"         -> false
//   "1" and a lone lead byte (0x80 or above), the rest of a character cut off              -> false
// For a text that is true here, textToNumber reads all of it.
bool isCompleteNumber(std::string_view text);

struct NumberArgument {
    std::string_view text; // as given, for calc::computeVolumes
    double value;          // calc::textToNumber(text): the number the window would read
};

// The value of option `name` (without "--") read from `text`. Throws UsageError for `command` when the
// text is not a complete number or its value is not finite ("1e999").
NumberArgument readNumberArgument(std::string_view command, std::string_view name, std::string_view text);

} // namespace cli
