// Comparing doubles bit for bit, so that the sign of zero and NaN payloads count, and printing them as
// hexfloats when they differ.
#pragma once

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstdio>
#include <string>

namespace calc::testing {

inline std::string describe(double x) {
    char text[64];
    std::snprintf(text, sizeof text, "%a (bits %016llx)", x,
                  static_cast<unsigned long long>(std::bit_cast<std::uint64_t>(x)));
    return text;
}

inline ::testing::AssertionResult sameBits(double expected, double actual) {
    if (std::bit_cast<std::uint64_t>(expected) == std::bit_cast<std::uint64_t>(actual)) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "expected " << describe(expected) << "\n     got " << describe(actual);
}

inline double fromBits(std::uint64_t bits) {
    return std::bit_cast<double>(bits);
}

inline constexpr std::uint64_t kDefaultNaNBits = 0xFFF8000000000000;

// Gives readable test names from arbitrary case labels.
inline std::string testName(std::string label) {
    for (char& c : label) {
        if (!std::isalnum(static_cast<unsigned char>(c))) {
            c = '_';
        }
    }
    return label;
}

} // namespace calc::testing
