#include "calc/volume.h"

#include "calc/numeric_text.h"

#include <cmath>

namespace calc {

namespace {

// Every numbered step below is evaluated left to right in long double (the x87 64-bit significand) and
// its result stored as a double; calls take and return doubles. The constants are doubles.
double asNumber(long double v) {
    return static_cast<double>(v);
}

// A little below the full-precision 2 pi (6.283185307179586); the heads' volumes are defined with it.
constexpr double kHeadFactor = 6.2831854;
constexpr double kArcSineTolerance = 1e-7;
constexpr std::int32_t kDecimalPlaces = 5;

// x * (-1) as the FPU computes it: a NaN operand comes back unchanged, sign included. Written as a
// multiplication, GCC folds it into a sign flip even at -O0, which would turn the default NaN of an
// invalid operation into a positive NaN and its text from "-1.#IND" into "1.#QNAN".
double timesMinusOne(double x) {
    return std::isnan(x) ? x : -x;
}

} // namespace

void setFloatingPointEnvironment() {
    // x87 control word 0x037F: all six exceptions masked (bits 0-5), precision control 11 = 64-bit
    // significand (bits 8-9), rounding control 00 = to nearest, ties to even (bits 10-11).
    const unsigned short x87Control = 0x037F;
    // MXCSR 0x1F80: all six exceptions masked (bits 7-12), round to nearest, flush-to-zero and
    // denormals-are-zero off. Pending exception flags are cleared first so that nothing traps later.
    const unsigned int sseControl = 0x1F80;
    __asm__ volatile("fnclex\n\tfldcw %0" : : "m"(x87Control));
    __asm__ volatile("ldmxcsr %0" : : "m"(sseControl));
}

double headTerm(double h, double r, double hi) {
    const double d = asNumber(static_cast<long double>(h) - r);         // 1.
    const double s = asNumber(static_cast<long double>(d) * d);         // 2.
    const double q = asNumber(static_cast<long double>(s) / 3 / r / r); // 3.
    const double w = asNumber(1 - static_cast<long double>(q));         // 4.
    return asNumber(static_cast<long double>(w) * (static_cast<long double>(h) - r) * hi * hi *
                    kHeadFactor); // 5.
}

double chordTerm(double L, double h, double r) {
    const double d = asNumber(static_cast<long double>(h) - r);             // 1.
    const double u = asNumber(static_cast<long double>(h) * r * 2);         // 2.
    const double v = asNumber(static_cast<long double>(h) * h);             // 3.
    const double s = squareRoot(asNumber(static_cast<long double>(u) - v)); // 4.
    return asNumber(static_cast<long double>(L) * d * s);                   // 5.
}

double arcSineOrZero(double x) {
    // 1. Outside [-1, 1] by more than the tolerance, or NaN: 0.
    if (static_cast<long double>(x) - (-1.0) < -kArcSineTolerance ||
        static_cast<long double>(x) - 1.0 > kArcSineTolerance || std::isnan(x)) {
        return 0;
    }
    // 2. asin x = atan(x / sqrt(1 - x^2)). At x = +-1 the quotient is +-infinity and the arc tangent
    // +-pi/2; just beyond +-1 the square root, and so the result, is NaN.
    const double w = asNumber(1 - static_cast<long double>(x) * x);
    const double s = squareRoot(w);
    return arcTangent(asNumber(static_cast<long double>(x) / s));
}

double arcTerm(double h, double r, double L) {
    const double x = asNumber((static_cast<long double>(h) - r) / r);        // 1.
    return asNumber(static_cast<long double>(arcSineOrZero(x)) * r * r * L); // 2.
}

double halfFullVolume(double r, double L, double hi) {
    // 1. The vessel filled to its centre line, h = r: the terms at level 0 relative to it.
    const double a = headTerm(0, r, hi);
    const double b = chordTerm(L, 0, r);
    const double c = arcTerm(0, r, L);
    // 2. Their sum, negated, is the volume up to the centre line.
    const double s = asNumber(static_cast<long double>(a) + b + c);
    return timesMinusOne(s);
}

double totalVolume(double r, double L, double hi) {
    // 3. Twice the half-full volume is the whole vessel.
    return asNumber(static_cast<long double>(halfFullVolume(r, L, hi)) * 2);
}

double liquidVolume(double r, double L, double h, double hi) {
    // 4. The terms at level h, relative to the centre line.
    const double p = headTerm(h, r, hi);
    const double q = chordTerm(L, h, r);
    const double rr = arcTerm(h, r, L);
    // 5. Added to the half-full volume, the liquid volume.
    return asNumber(static_cast<long double>(halfFullVolume(r, L, hi)) + p + q + rr);
}

VolumeTexts computeVolumes(std::string_view rText, std::string_view LText, std::string_view hText,
                           std::string_view hiText) {
    // Steps 1 to 5 above, each result rounded to five decimals and written as the result boxes show it.
    const double r = textToNumber(rText);
    const double L = textToNumber(LText);
    const double h = textToNumber(hText);
    const double hi = textToNumber(hiText);
    return {numberToText(roundToPlaces(totalVolume(r, L, hi), kDecimalPlaces)),
            numberToText(roundToPlaces(liquidVolume(r, L, h, hi), kDecimalPlaces))};
}

} // namespace calc
