#include "start_button.h"

#include <algorithm>
#include <cmath>

#include <QPainter>
#include <QPainterPath>

namespace corvalen::tools {
namespace {

constexpr int kWidth = 168;
constexpr int kHeight = 56;

// Continuous coordinates: pixel (x, y) covers [x, x + 1) x [y, y + 1), so the face's pixels 7..159 and 2..41
// are the rectangle [7, 160) x [2, 42).
constexpr double kFaceLeft = 7.0;
constexpr double kFaceRight = 160.0;
constexpr double kFaceTop = 2.0;
constexpr double kFaceBottom = 42.0;
constexpr double kCornerRadius = 6.0;

// The caption's ink box, same convention: pixels 30..134 and 8..32.
constexpr double kCaptionLeft = 30.0;
constexpr double kCaptionRight = 135.0;
constexpr double kCaptionTop = 8.0;
constexpr double kCaptionBottom = 33.0;

struct Colour {
    double r;
    double g;
    double b;
};

constexpr Colour kWhite{255, 255, 255};
constexpr Colour kFaceLeftTone{168, 210, 127};
constexpr Colour kFaceRightTone{211, 232, 193};
constexpr Colour kLeftEdge{144, 190, 85};
constexpr Colour kBottomEdge{160, 197, 124};
constexpr Colour kReflectionTop{213, 214, 214};
constexpr QColor kCaptionColour{248, 100, 0};

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

// Signed distance from (x, y) to the outline of a rounded rectangle (negative inside) and the outline's
// outward normal at the nearest point.
struct OutlineSample {
    double distance;
    double normalX;
    double normalY;
};

OutlineSample roundedRect(double x, double y, double left, double top, double right, double bottom,
                          double radius) {
    const double centreX = (left + right) / 2.0;
    const double centreY = (top + bottom) / 2.0;
    const double signX = x < centreX ? -1.0 : 1.0;
    const double signY = y < centreY ? -1.0 : 1.0;
    const double dx = std::abs(x - centreX) - ((right - left) / 2.0 - radius);
    const double dy = std::abs(y - centreY) - ((bottom - top) / 2.0 - radius);
    if (dx > 0.0 && dy > 0.0) {
        const double length = std::hypot(dx, dy);
        return {length - radius, signX * dx / length, signY * dy / length};
    }
    if (dx > dy) {
        return {dx - radius, signX, 0.0};
    }
    return {dy - radius, 0.0, signY};
}

// Weight of an edge tone for a pixel whose centre lies `inside` pixels within the outline: full on the
// outermost pixel row, a quarter on the next one, nothing beyond.
double edgeWeight(double inside) {
    return std::pow(clamp01(1.0 - (inside - 0.5) / 2.0), 2.0);
}

Colour faceColour(double x, double y, const OutlineSample& outline) {
    // Left to right: a light green that brightens over the first two thirds and stays bright over the rest.
    const double across = (x - kFaceLeft) / (kFaceRight - kFaceLeft);
    Colour colour = mix(kFaceLeftTone, kFaceRightTone, smoothstep(0.0, 0.67, across));

    // A little depth: the lower half sinks gently towards the bottom edge's tone.
    colour = mix(colour, kBottomEdge, 0.22 * smoothstep(22.0, kFaceBottom, y));

    // The darker rims follow the outline, so they bend round the corners with it.
    const double inside = -outline.distance;
    colour = mix(colour, kLeftEdge, edgeWeight(inside) * std::max(0.0, -outline.normalX));
    colour = mix(colour, kBottomEdge, edgeWeight(inside) * std::max(0.0, outline.normalY));
    colour = mix(colour, kWhite, 0.35 * edgeWeight(inside) * std::max(0.0, -outline.normalY));

    // The glossy band: a lighter rounded strip over the upper half, strongest at the top, with soft borders.
    const OutlineSample band =
        roundedRect(x, y, kFaceLeft + 2.5, kFaceTop + 1.5, kFaceRight - 2.5, 21.5, 5.0);
    const double bandCoverage = smoothstep(0.8, -0.8, band.distance);
    const double bandStrength = 0.34 - 0.22 * clamp01((y - kFaceTop) / (21.5 - kFaceTop));
    return mix(colour, kWhite, bandCoverage * bandStrength);
}

// The reflection is a grey shadow of the face mirrored about its bottom edge: as wide as the face a little
// above its bottom (so its ends follow the rounded corners), softened at the ends and fading to white within
// nine rows.
double reflectionStrength(double x, double y) {
    if (y < kFaceBottom) {
        return 0.0;
    }
    const double mirroredY = std::min(2.0 * kFaceBottom - y, kFaceBottom - 2.0);
    const OutlineSample mirrored =
        roundedRect(x, mirroredY, kFaceLeft, kFaceTop, kFaceRight, kFaceBottom, kCornerRadius);
    const double extent = smoothstep(1.2, -1.2, mirrored.distance);
    const double fade = std::pow(clamp01(1.0 - (y - 0.5 - kFaceBottom) / 9.0), 1.5);
    return extent * fade;
}

void paintFaceAndReflection(QImage& image) {
    for (int py = 0; py < kHeight; ++py) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(py));
        for (int px = 0; px < kWidth; ++px) {
            const double x = px + 0.5;
            const double y = py + 0.5;
            const OutlineSample outline =
                roundedRect(x, y, kFaceLeft, kFaceTop, kFaceRight, kFaceBottom, kCornerRadius);
            // Area coverage of the pixel by the face, exact for straight edges and close on the corners.
            const double coverage = clamp01(0.5 - outline.distance);
            const Colour under = mix(kWhite, kReflectionTop, reflectionStrength(x, y));
            const Colour colour = coverage > 0.0 ? mix(under, faceColour(x, y, outline), coverage) : under;
            row[px] = qRgb(static_cast<int>(std::lround(colour.r)), static_cast<int>(std::lround(colour.g)),
                           static_cast<int>(std::lround(colour.b)));
        }
    }
}

void paintCaption(QImage& image, const QFont& captionFont) {
    // Outlines taken at a large size are free of any size-dependent hinting; they are then scaled so that
    // their ink fills the caption box exactly in width and is centred in it vertically.
    QFont font = captionFont;
    font.setPixelSize(400);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(false);
    QPainterPath caption;
    caption.addText(0.0, 0.0, font, QStringLiteral("开始计算"));
    const QRectF ink = caption.boundingRect();

    const double scale = (kCaptionRight - kCaptionLeft) / ink.width();
    const double top = (kCaptionTop + kCaptionBottom) / 2.0 - ink.height() * scale / 2.0;
    QTransform placement;
    placement.translate(kCaptionLeft, top);
    placement.scale(scale, scale);
    placement.translate(-ink.left(), -ink.top());

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kCaptionColour);
    painter.drawPath(placement.map(caption));
}

} // namespace

QImage drawStartButton(const QFont& captionFont) {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    paintFaceAndReflection(image);
    paintCaption(image, captionFont);
    return image;
}

} // namespace corvalen::tools
