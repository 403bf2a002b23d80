// Volumes of a horizontal cylindrical vessel closed by two elliptical heads: the formulas and the whole
// calculation that one click of the start button performs.
//
// Every step of a formula is evaluated left to right with the x87 64-bit significand and its result is
// stored as a double, exactly as the comments in volume.cpp number them. The results are therefore those of
// the floating-point environment that setFloatingPointEnvironment() establishes, whatever the compiler's
// optimisation level.
#pragma once

#include <string>
#include <string_view>

namespace calc {

// Establishes the calculator's floating-point environment for the calling thread: round to nearest with
// ties to even, every floating-point exception masked (an invalid operation yields the default NaN, a
// division by zero or an overflow an infinity, silently), x87 intermediates carried with a 64-bit
// significand, and no flush-to-zero of SSE subnormals. Call it once at start-up, before any calculation.
void setFloatingPointEnvironment();

// The heads' contribution relative to the half-full level: (1 - (h-r)^2/(3r^2)) (h-r) hi^2 6.2831854.
double headTerm(double h, double r, double hi);

// The triangular part of the liquid's circular-segment cross-section, times L: L (h-r) sqrt(2hr - h^2).
double chordTerm(double L, double h, double r);

// The sector part of the liquid's circular-segment cross-section, times L: asin((h-r)/r) r^2 L.
double arcTerm(double h, double r, double L);

// asin(x) in radians; 0 when x lies outside [-1, 1] by more than 1e-7 or is NaN. Within the tolerance but
// beyond +-1 the result is NaN (the square root of a negative number).
double arcSineOrZero(double x);

// The half-full volume, the volume up to the centre line (h = r), before rounding: the level-0 terms
// summed once and negated, a NaN keeping its sign.
double halfFullVolume(double r, double L, double hi);

// The total volume before rounding: what computeVolumes rounds to five decimals for V.
double totalVolume(double r, double L, double hi);

// The liquid volume at level h before rounding: what computeVolumes rounds for Vh. It rises with h on
// [0, 2r], from 0 (up to the last bit of the half-full volume) to the total volume.
//   liquidVolume(1, 1, 0.5, 0.5) -> 0.9414340889...
double liquidVolume(double r, double L, double h, double hi);

struct VolumeTexts {
    std::string V;  // total volume, m^3, as the result box shows it
    std::string Vh; // liquid volume at level h, m^3
};

// What one click of the start button computes, from the four input boxes' texts (GB2312): the inner radius
// r, the cylinder length L, the liquid level h and the inner head depth hi, all in metres. Each text is read
// with textToNumber; V and Vh are rounded to five decimals and written with numberToText. Nothing is ever
// rejected: r = 0 gives "-1.#IND" for both, a level outside [0, 2r] gives "-1.#IND" for Vh.
//   computeVolumes("1", "1", "1", "0.5") -> { "5.23599", "2.61799" }
VolumeTexts computeVolumes(std::string_view r, std::string_view L, std::string_view h, std::string_view hi);

} // namespace calc
