#include "cli/number_argument.h"

#include "calc/numeric_text.h"
#include "cli/command_line.h"

#include <cmath>
#include <string>

namespace cli {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isExponentLetter(char c) {
    return c == 'e' || c == 'E' || c == 'd' || c == 'D';
}

bool isSign(char c) {
    return c == '+' || c == '-';
}

// Whether the text ends inside a two-byte character: a lead byte (0x80 or above) with no byte after it,
// which the full-width mapping would silently drop.
bool endsInsideACharacter(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size()) {
        at += static_cast<unsigned char>(text[at]) >= 0x80 ? 2 : 1;
    }
    return at > text.size();
}

} // namespace

bool isCompleteNumber(std::string_view original) {
    if (endsInsideACharacter(original)) {
        return false;
    }
    const std::string mapped = calc::toHalfWidth(original);
    const std::string_view text = mapped;
    std::size_t at = 0;
    const auto skipDigits = [&] {
        const std::size_t start = at;
        while (at < text.size() && isDigit(text[at])) {
            ++at;
        }
        return at - start;
    };

    // 1. An optional sign, then a mantissa with at least one digit before or after the point.
    if (at < text.size() && isSign(text[at])) {
        ++at;
    }
    std::size_t mantissaDigits = skipDigits();
    if (at < text.size() && text[at] == '.') {
        ++at;
        mantissaDigits += skipDigits();
    }
    if (mantissaDigits == 0) {
        return false;
    }
    // 2. An optional exponent. textToNumber would stop before a letter without digits ("1e" reads as 1);
    // here the letter is left over, so the text is not one number.
    if (at < text.size() && isExponentLetter(text[at])) {
        ++at;
        if (at < text.size() && isSign(text[at])) {
            ++at;
        }
        if (skipDigits() == 0) {
            return false;
        }
    }
    // 3. Nothing may follow.
    return at == text.size();
}

NumberArgument readNumberArgument(std::string_view command, std::string_view name, std::string_view text) {
    const std::string option = "--" + std::string(name);
    if (!isCompleteNumber(text)) {
        throw UsageError(command, option + ": " + quoted(text) + " is not a number");
    }
    const double value = calc::textToNumber(text);
    if (!std::isfinite(value)) {
        throw UsageError(command, option + ": " + quoted(text) + " is too large");
    }
    return {text, value};
}

} // namespace cli
