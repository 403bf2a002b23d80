// Prints the results of the numeric core for a fixed, seeded set of inputs, as bit patterns and texts.
// Built at several optimisation levels, the outputs must be identical.
#include "calc/numeric_text.h"
#include "calc/volume.h"

#include <bit>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>

int main() {
    calc::setFloatingPointEnvironment();
    std::mt19937_64 random(20261211);
    const auto bits = [](double x) { return std::bit_cast<std::uint64_t>(x); };
    const auto randomDouble = [&] {
        // Mostly ordinary magnitudes, sometimes any bit pattern.
        if (random() % 4 == 0) {
            return std::bit_cast<double>(random());
        }
        return std::uniform_real_distribution<double>(-3, 3)(random) *
               static_cast<double>(1 << (random() % 12));
    };
    for (int i = 0; i < 20000; ++i) {
        const double x = randomDouble();
        const double y = randomDouble();
        const double z = randomDouble();
        const auto places = static_cast<std::int32_t>(random() % 30) - 8;
        std::printf("%016" PRIx64 " %016" PRIx64 " %016" PRIx64 " %016" PRIx64 " %016" PRIx64 " %016" PRIx64
                    " %016" PRIx64 " %s\n",
                    bits(calc::roundToPlaces(x, places)), bits(calc::roundToPlaces(x, 5)),
                    bits(calc::squareRoot(x)), bits(calc::arcTangent(x)), bits(calc::headTerm(x, y, z)),
                    bits(calc::chordTerm(x, y, z)), bits(calc::arcTerm(x, y, z)),
                    calc::numberToText(x).c_str());
        const std::string r = calc::numberToText(std::fabs(x));
        const std::string h = calc::numberToText(std::fabs(y));
        const calc::VolumeTexts texts = calc::computeVolumes(r, "2.5", h, "0.3");
        std::printf("%s %s %016" PRIx64 "\n", texts.V.c_str(), texts.Vh.c_str(), bits(calc::textToNumber(r)));
    }
    return 0;
}
