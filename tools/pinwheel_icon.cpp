#include "pinwheel_icon.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace corvalen::tools {
namespace {

struct Colour {
    double r;
    double g;
    double b;
};

constexpr Colour kWhite{255, 255, 255};
constexpr Colour kBlack{0, 0, 0};

// Counter-clockwise from the right.
constexpr std::array<Colour, 6> kPetalColours{{
    {226, 36, 46},  // red
    {146, 64, 196}, // violet
    {34, 108, 226}, // blue
    {52, 172, 66},  // green
    {252, 204, 22}, // yellow
    {248, 132, 22}, // orange
}};

constexpr double kPetalAngle = 60.0;
constexpr double kPi = std::numbers::pi;

Colour mix(Colour from, Colour to, double t) {
    return {from.r + (to.r - from.r) * t, from.g + (to.g - from.g) * t, from.b + (to.b - from.b) * t};
}

double clamp01(double v) {
    return std::clamp(v, 0.0, 1.0);
}

double smoothstep(double edge0, double edge1, double x) {
    const double t = clamp01((x - edge0) / (edge1 - edge0));
    return t * t * (3.0 - 2.0 * t);
}

// How far (in degrees, counter-clockwise) a petal border has turned at radius fraction rho, 0 at the rim.
// The border is the half circle over the radius to its rim point, r = R cos(turn): it leaves the centre at a
// right angle to its rim point and meets the rim tangentially, which curls each petal into a blade.
double borderTurn(double rho) {
    return std::acos(std::clamp(rho, 0.0, 1.0)) * 180.0 / kPi;
}

// The petals' area-weighted middle lies 45 degrees past their rim span (the mean of the turn over the disc is
// 2 * integral of acos(rho) rho d rho = pi/4), so starting the rim spans 45 degrees early centres the red
// petal on 30 degrees, the violet one on the top, and so on round in steps of 60 degrees.
constexpr double kFirstRimAngle = -45.0;

struct Sample {
    Colour colour;
    double alpha;
};

struct Style {
    double radius;        // of the disc, in pixels
    double centreRadius;  // of the near-white centre, in pixels
    double borderWidth;   // of the light line between petals, in pixels; 0 for none
    double borderOpacity; // of that line
    double edgeLight;     // how much a petal's leading border is lightened
    double edgeShadow;    // how much its trailing border is darkened
    double hubPaleness;   // how much the petals pale towards the hub
    double glossStrength; // of the highlight over the upper half
};

// The small sizes are not the large drawing shrunk: at 16 pixels a light line between the petals would be a
// grey half-pixel that bleaches every colour, so the petals are told apart by shading alone and keep more of
// their colour; the lines come in from 32 pixels on.
Style styleFor(int size) {
    const double radius = size / 2.0 - std::max(0.5, size / 64.0);
    if (size < 32) {
        return {radius, radius * 0.2, 0.0, 0.0, 0.12, 0.34, 0.10, 0.22};
    }
    if (size < 48) {
        return {radius, radius * 0.2, 0.8, 0.70, 0.22, 0.26, 0.22, 0.34};
    }
    return {radius, radius * 0.2, std::max(1.0, size * 0.018), 0.92, 0.30, 0.22, 0.30, 0.42};
}

Sample shade(double x, double y, const Style& style) {
    const double distance = std::hypot(x, y);
    if (distance > style.radius) {
        return {kBlack, 0.0};
    }
    const double rho = distance / style.radius;
    Colour colour;

    if (distance < style.centreRadius) {
        // Near-white hub with a faint cool shade towards its edge and a thin grey ring round it.
        const double t = distance / style.centreRadius;
        colour = mix(kWhite, Colour{226, 229, 236}, t * t);
        const double ring = std::max(0.06 * style.radius, 0.7);
        colour = mix(colour, Colour{176, 180, 190},
                     smoothstep(style.centreRadius - ring, style.centreRadius, distance));
    } else {
        // Math orientation: angles grow counter-clockwise and y points up.
        const double angle = std::atan2(y, x) * 180.0 / kPi;
        const double unturned = angle - kFirstRimAngle - borderTurn(rho);
        const double turns = unturned / kPetalAngle;
        const double floorTurns = std::floor(turns);
        const int petal = static_cast<int>(((static_cast<long>(floorTurns) % 6) + 6) % 6);
        const double across = turns - floorTurns; // 0 at the petal's leading border, 1 at its trailing one
        colour = kPetalColours[static_cast<std::size_t>(petal)];

        // Each petal is lit like a curled blade: bright along its leading border, in shadow at its trailing
        // one, paler towards the hub and a shade deeper at the rim.
        colour = mix(colour, kWhite, style.edgeLight * (1.0 - smoothstep(0.0, 0.45, across)));
        colour = mix(colour, kBlack, style.edgeShadow * smoothstep(0.5, 1.0, across));
        colour = mix(colour, kWhite, style.hubPaleness * (1.0 - smoothstep(0.2, 0.7, rho)));
        colour = mix(colour, kBlack, 0.16 * smoothstep(0.86, 1.0, rho));

        // The light line between petals. The distance to a border along the circle is the angle times the
        // radius; across the border it shrinks by the cosine of the border's slant against the radius,
        // cos = sqrt(1 - rho^2) for the half-circle border.
        const double fromBorder = std::min(across, 1.0 - across) * kPetalAngle * kPi / 180.0; // radians
        const double toBorder = fromBorder * distance * std::sqrt(std::max(0.0, 1.0 - rho * rho));
        if (style.borderWidth > 0.0) {
            const double halfWidth = style.borderWidth / 2.0;
            // The borders meet the rim tangentially; the line stops short of it so that the disc's outline
            // stays in the petals' colours instead of turning into a white arc.
            const double beforeRim = smoothstep(style.radius - 0.5, style.radius - 2.0, distance);
            colour = mix(colour, kWhite,
                         style.borderOpacity * beforeRim *
                             smoothstep(halfWidth + 0.35, halfWidth - 0.35, toBorder));
        }
    }

    // Gloss: a soft highlight ellipse over the upper part of the disc, brightest at its top.
    const double glossX = x / (style.radius * 0.80);
    const double glossY = (y - style.radius * 0.40) / (style.radius * 0.56);
    const double inGloss = smoothstep(1.0, 0.78, std::hypot(glossX, glossY));
    const double glossFade = clamp01((glossY + 1.0) / 2.0);
    colour = mix(colour, kWhite, style.glossStrength * inGloss * (0.15 + 0.85 * glossFade * glossFade));

    return {colour, 1.0};
}

} // namespace

QImage drawPinwheelIcon(int size) {
    const Style style = styleFor(size);
    // Enough samples that a pixel's coverage is resolved to about 1/256 at the small sizes.
    const int samples = std::clamp(static_cast<int>(std::ceil(256.0 / size)), 4, 16);
    const double centre = size / 2.0;

    QImage image(size, size, QImage::Format_ARGB32);
    for (int py = 0; py < size; ++py) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(py));
        for (int px = 0; px < size; ++px) {
            double red = 0.0;
            double green = 0.0;
            double blue = 0.0;
            double alpha = 0.0;
            for (int sy = 0; sy < samples; ++sy) {
                for (int sx = 0; sx < samples; ++sx) {
                    const double x = px + (sx + 0.5) / samples - centre;
                    const double y = centre - (py + (sy + 0.5) / samples);
                    const Sample sample = shade(x, y, style);
                    red += sample.colour.r * sample.alpha;
                    green += sample.colour.g * sample.alpha;
                    blue += sample.colour.b * sample.alpha;
                    alpha += sample.alpha;
                }
            }
            const int opacity = static_cast<int>(std::lround(255.0 * alpha / (samples * samples)));
            if (opacity == 0) {
                // Fully transparent pixels carry no colour, so that they compress alike and say nothing.
                row[px] = qRgba(0, 0, 0, 0);
                continue;
            }
            // Straight (not premultiplied) colour: the average of the covered samples.
            const auto channel = [alpha](double sum) { return static_cast<int>(std::lround(sum / alpha)); };
            row[px] = qRgba(channel(red), channel(green), channel(blue), opacity);
        }
    }
    return image;
}

} // namespace corvalen::tools
