#include "cli/level_text.h"

#include "calc/numeric_text.h"

#include <charconv>

namespace cli {

std::string levelText(double h) {
    std::string text = calc::numberToText(h);
    if (calc::textToNumber(text) == h) {
        return text;
    }
    // 17 significant digits lie within 5e-17 of h relative to it, nearer than the midpoints to its
    // neighbours (more than 2^-54 = 5.55e-17 away), so they read back as h under any rule for ties.
    // std::to_chars writes them without a locale.
    char digits[32];
    const auto written = std::to_chars(digits, digits + sizeof digits, h, std::chars_format::general, 17);
    return std::string(digits, written.ptr);
}

} // namespace cli
