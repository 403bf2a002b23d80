// Powers of five as 128-bit significands, and the 64 x 128-bit product that scales by them. Both exact
// conversions use these for their fast paths and fall back on big integers where the truncation of the
// table could matter.
#pragma once

#include <cstdint>

namespace calc::detail {

__extension__ typedef unsigned __int128 uint128;

// 5^q = (significand + tau) x 2^twos with 0 <= tau < 1 and 2^127 <= significand < 2^128; tau = 0, the
// entry exact, for 0 <= q <= kLastExactPowerOfFive.
struct PowerOfFive {
    uint128 significand;
    int twos;
};

inline constexpr int kFirstPowerOfFive = -342;
inline constexpr int kLastPowerOfFive = 341;
inline constexpr int kLastExactPowerOfFive = 55; // 5^55 < 2^128 <= 5^56

// q in [kFirstPowerOfFive, kLastPowerOfFive].
PowerOfFive powerOfFive(int q);

// A 192-bit product: high is bits 128..191, low bits 0..127.
struct Product192 {
    std::uint64_t high;
    uint128 low;
};

inline Product192 multiply(std::uint64_t a, uint128 b) {
    const uint128 lowPart = uint128{a} * static_cast<std::uint64_t>(b);
    const uint128 highPart = uint128{a} * static_cast<std::uint64_t>(b >> 64);
    const uint128 middle = (lowPart >> 64) + static_cast<std::uint64_t>(highPart);
    return {static_cast<std::uint64_t>(highPart >> 64) + static_cast<std::uint64_t>(middle >> 64),
            (middle << 64) | static_cast<std::uint64_t>(lowPart)};
}

} // namespace calc::detail
