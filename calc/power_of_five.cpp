#include "calc/power_of_five.h"

namespace calc::detail {

namespace {

struct Entry {
    std::uint64_t high;
    std::uint64_t low;
    int twos;
};

constexpr Entry kPowersOfFive[] = {
#include "calc/powers_of_five.inc"
};

static_assert(sizeof kPowersOfFive / sizeof kPowersOfFive[0] == kLastPowerOfFive - kFirstPowerOfFive + 1);

} // namespace

PowerOfFive powerOfFive(int q) {
    const Entry& e = kPowersOfFive[q - kFirstPowerOfFive];
    return {(uint128{e.high} << 64) | e.low, e.twos};
}

} // namespace calc::detail
