// The vessel's volumes as numbers, the very ones calc::computeVolumes rounds, for what the window does not
// compute: the fill of a chart row and the level at a given volume. The texts of V and Vh always come from
// calc::computeVolumes itself.
#pragma once

namespace cli {

struct Vessel {
    double r;  // inner radius, m
    double L;  // length of the cylindrical part, m
    double hi; // inner depth of one elliptical head, m
};

// The total volume before rounding, m3: the number that computeVolumes rounds to five decimals for V.
double totalVolume(const Vessel& vessel);

// The liquid volume at level h before rounding, m3: the number that computeVolumes rounds for Vh. It rises
// with h on [0, 2r], from 0 (up to the last bit of the half-full volume) to totalVolume.
//   liquidVolume({1, 1, 0.5}, 0.5) -> 0.9414340889...
double liquidVolume(const Vessel& vessel, double h);

// The level in [0, 2r] at which liquidVolume reaches `volume`: 0 for a volume of 0 or less or at most the
// volume at level 0, 2r at or above the volume at 2r, otherwise found by bisection down to two
// neighbouring doubles, of which the one whose volume is nearer is returned. For r > 0 and a finite total
// volume. Near the bottom and the top the formula itself is coarse: (h - r) / r is rounded to a double
// where the arc sine is steep, so below a fill of about 1e-6 the volume at a level is noisy beyond 1e-9
// of itself, and the level found follows that noise (a few nanometres in a vessel of 2 m radius).
//   levelForVolume({1, 1, 0.5}, 0.9414340889) -> 0.5 (to about 1e-10)
double levelForVolume(const Vessel& vessel, double volume);

} // namespace cli
