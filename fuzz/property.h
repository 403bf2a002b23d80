// What the fuzz targets share: stopping on the first broken property with a report that says which
// property, for which input and with which values, and printing doubles and texts so that every bit shows.
#pragma once

#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace fuzz {

inline std::uint64_t bitsOf(double x) {
    return std::bit_cast<std::uint64_t>(x);
}

inline bool sameBits(double a, double b) {
    return bitsOf(a) == bitsOf(b);
}

// A double as hexfloat and bit pattern: "0x1.8p+0 (bits 3ff8000000000000)".
inline std::string describe(double x) {
    char text[64];
    std::snprintf(text, sizeof text, "%a (bits %016llx)", x, static_cast<unsigned long long>(bitsOf(x)));
    return text;
}

// A byte string as a C string literal, cut after `limit` bytes, so that a report stays readable whatever
// the fuzzer made: "\"1.5\\xA3\\xB0\"".
inline std::string describe(std::string_view text, std::size_t limit = 160) {
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size() && i < limit; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte >= 0x20 && byte < 0x7F && byte != '"' && byte != '\\') {
            out += static_cast<char>(byte);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            out += escaped;
        }
    }
    out += "\"";
    if (text.size() > limit) {
        out += " (" + std::to_string(text.size()) + " bytes)";
    }
    return out;
}

// Ends the run as a crash, which makes libFuzzer keep the input that broke the property.
[[noreturn]] inline void fail(const char* property, const std::string& details) {
    std::fprintf(stderr, "\nBROKEN PROPERTY: %s\n%s\n", property, details.c_str());
    std::fflush(stderr);
    std::abort();
}

// `details` is called only when the property is broken: building the report costs nothing otherwise.
template <class Details> void require(bool holds, const char* property, Details details) {
    if (!holds) {
        fail(property, details());
    }
}

// A result text of the calculator: never empty, at most 20 characters, printable ASCII only.
inline bool isResultText(std::string_view text) {
    if (text.empty() || text.size() > 20) {
        return false;
    }
    for (const char c : text) {
        if (c < 0x20 || c >= 0x7F) {
            return false;
        }
    }
    return true;
}

} // namespace fuzz
