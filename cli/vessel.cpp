#include "cli/vessel.h"

#include "calc/volume.h"

namespace cli {

double totalVolume(const Vessel& vessel) {
    return calc::totalVolume(vessel.r, vessel.L, vessel.hi);
}

double liquidVolume(const Vessel& vessel, double h) {
    return calc::liquidVolume(vessel.r, vessel.L, h, vessel.hi);
}

double levelForVolume(const Vessel& vessel, double volume) {
    const double top = 2 * vessel.r;
    // No volume is at the bottom, even where the rounding of the formula's terms leaves a volume of the
    // order of the last bit of the half-full volume, of either sign, a little above it.
    if (volume <= 0 || volume <= liquidVolume(vessel, 0)) {
        return 0;
    }
    if (volume >= liquidVolume(vessel, top)) {
        return top;
    }
    // 1. Halve [low, high] while liquidVolume(low) < volume < liquidVolume(high) holds, until no double lies
    // between the two. That takes about 53 halvings, and at most about 1100 when the level is so near 0
    // that the search descends through the exponents; it is far finer than the 1e-9 m the level is shown
    // to, so that the level's volume matches to the precision of the formula.
    double low = 0;
    double high = top;
    for (;;) {
        const double middle = low + (high - low) / 2;
        if (middle <= low || middle >= high) {
            break;
        }
        if (liquidVolume(vessel, middle) < volume) {
            low = middle;
        } else {
            high = middle;
        }
    }
    // 2. The neighbour whose volume is nearer.
    return volume - liquidVolume(vessel, low) <= liquidVolume(vessel, high) - volume ? low : high;
}

} // namespace cli
