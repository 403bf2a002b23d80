#include "vessel_drawing.h"

#include <algorithm>
#include <cmath>

#include <QPainter>
#include <QPainterPath>

#include "text_outline.h"

namespace corvalen::tools {
namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 180;

// Continuous coordinates: pixel (x, y) covers [x, x + 1) x [y, y + 1), so a one-pixel line through pixel
// centres runs along x + 0.5 or y + 0.5.
struct Head {
    double centreX;
    double radiusX; // negative for a head that bulges to the left
};

// Both heads span the shell's rows 6..122, so their curves run through the centres of rows 6 and 122 and
// are widest on the centre of row 64.
constexpr double kHeadCentreY = 64.5;
constexpr double kHeadRadiusY = 58.0;
constexpr Head kLeftHead{75.5, -24.0};
constexpr Head kRightHead{290.5, 26.0};

// Smoothed over two pixels, a curve one pixel wide looks lighter than the crisp straight lines; a quarter
// pixel more gives it about their weight.
constexpr double kCurveWidth = 1.25;

constexpr int kLiquidRows[] = {70, 80, 92, 102, 110};
constexpr int kDashLength = 8;
constexpr int kDashGap = 3;

// The arrowheads of dimension h are long and slender; the two dimensions on y = 165 get shorter ones,
// because dimension hi is only 21 pixels long. Five pixels across, centred on a one-pixel line, their bases
// end on whole pixels instead of fading into grey half pixels.
constexpr double kLargeArrowLength = 10.0;
constexpr double kLargeArrowWidth = 5.0;
constexpr double kSmallArrowLength = 6.0;
constexpr double kSmallArrowWidth = 5.0;

// Extra stroke weight of the letters, in ems of their size (about 18 pixels): 0.2 pixels darkens the
// serif face's hairlines to match the black lines around them, and the scaled-down subscript gets twice that.
constexpr double kLetterWeight = 0.011;
constexpr double kSubscriptWeight = 0.022;

// The outline's centre line at height y (a continuous coordinate within the head's span).
double headOutlineX(Head head, double y) {
    const double t = (y - kHeadCentreY) / kHeadRadiusY;
    return head.centreX + head.radiusX * std::sqrt(std::max(0.0, 1.0 - t * t));
}

// Fills pixels left..right, top..bottom (inclusive) black: a crisp line or rectangle.
void fillPixels(QPainter& painter, int left, int top, int right, int bottom) {
    painter.fillRect(QRectF(left, top, right - left + 1, bottom - top + 1), Qt::black);
}

void horizontalLine(QPainter& painter, int y, int fromX, int toX) {
    fillPixels(painter, fromX, y, toX, y);
}

void verticalLine(QPainter& painter, int x, int fromY, int toY) {
    fillPixels(painter, x, fromY, x, toY);
}

// A filled arrowhead whose point lies at `tip` and which points along (dx, dy), a unit vector.
void arrowhead(QPainter& painter, QPointF tip, double dx, double dy, double length, double width) {
    const QPointF base = tip - QPointF(dx, dy) * length;
    const QPointF across = QPointF(-dy, dx) * (width / 2.0);
    QPainterPath path;
    path.moveTo(tip);
    path.lineTo(base + across);
    path.lineTo(base - across);
    path.closeSubpath();
    painter.fillPath(path, Qt::black);
}

void paintHead(QPainter& painter, Head head) {
    const QRectF bounds(head.centreX - std::abs(head.radiusX), kHeadCentreY - kHeadRadiusY,
                        2.0 * std::abs(head.radiusX), 2.0 * kHeadRadiusY);
    // Qt's angles run counter-clockwise from three o'clock: the left half of the ellipse is 90..270 degrees.
    const double start = 90.0;
    const double sweep = head.radiusX < 0.0 ? 180.0 : -180.0;
    QPainterPath arc;
    arc.arcMoveTo(bounds, start);
    arc.arcTo(bounds, start, sweep);
    QPen pen(Qt::black, kCurveWidth);
    pen.setCapStyle(Qt::FlatCap);
    painter.strokePath(arc, pen);
}

void paintShell(QPainter& painter) {
    horizontalLine(painter, 6, 75, 290);
    horizontalLine(painter, 122, 10, 295);
    for (int x : {75, 81, 284, 290}) {
        verticalLine(painter, x, 6, 122);
    }
    paintHead(painter, kLeftHead);
    paintHead(painter, kRightHead);
}

// Each liquid line starts with a whole dash at the left head and is cut off at the right head. A dash
// covers the pixels whose centres lie inside the heads' outlines, so it meets the curve without crossing it.
void paintLiquid(QPainter& painter) {
    for (int y : kLiquidRows) {
        const int first = static_cast<int>(std::ceil(headOutlineX(kLeftHead, y + 0.5) - 0.5));
        const int last = static_cast<int>(std::floor(headOutlineX(kRightHead, y + 0.5) - 0.5));
        for (int x = first; x <= last; x += kDashLength + kDashGap) {
            horizontalLine(painter, y, x, std::min(x + kDashLength - 1, last));
        }
    }
}

// The letters are set at an arbitrary size and then scaled to fill their boxes.
void paintLetters(QPainter& painter, const QFont& serifFace, const QList<TextRun>& runs, double left,
                  double top, double right, double bottom) {
    TextLine letters(serifFace, 100.0, runs);
    letters.fitInk(left, top, right, bottom);
    letters.paint(painter, Qt::black);
}

void paintDimensions(QPainter& painter, const QFont& serifFace) {
    // Dimension h: the liquid surface carried out to the left, and the bottom line (drawn with the shell)
    // as the lower extension line. The arrowheads' points touch the outer edges of the two lines.
    horizontalLine(painter, 70, 10, 43);
    verticalLine(painter, 23, 70, 122);
    arrowhead(painter, {23.5, 70.0}, 0.0, -1.0, kLargeArrowLength, kLargeArrowWidth);
    arrowhead(painter, {23.5, 123.0}, 0.0, 1.0, kLargeArrowLength, kLargeArrowWidth);
    paintLetters(painter, serifFace, {{QStringLiteral("h"), 1.0, 0.0, 0.0, kLetterWeight}}, 6.0, 87.0, 15.0,
                 101.0);

    // Dimension hi, from the left head's widest point to the seam, and dimension L, from seam to seam. Both
    // dimension lines stop one pixel short of their extension lines, so the points stay distinct.
    verticalLine(painter, 51, 64, 176);
    verticalLine(painter, 75, 128, 177);
    verticalLine(painter, 291, 128, 177);
    horizontalLine(painter, 165, 53, 73);
    arrowhead(painter, {53.0, 165.5}, -1.0, 0.0, kSmallArrowLength, kSmallArrowWidth);
    arrowhead(painter, {74.0, 165.5}, 1.0, 0.0, kSmallArrowLength, kSmallArrowWidth);
    paintLetters(painter, serifFace,
                 {{QStringLiteral("h"), 1.0, 0.0, 0.0, kLetterWeight},
                  {QStringLiteral("i"), 0.62, -0.24, -0.02, kSubscriptWeight}},
                 59.0, 144.0, 71.0, 162.0);
    horizontalLine(painter, 165, 77, 289);
    arrowhead(painter, {77.0, 165.5}, -1.0, 0.0, kSmallArrowLength, kSmallArrowWidth);
    arrowhead(painter, {290.0, 165.5}, 1.0, 0.0, kSmallArrowLength, kSmallArrowWidth);
    paintLetters(painter, serifFace, {{QStringLiteral("L"), 1.0, 0.0, 0.0, kLetterWeight}}, 169.0, 141.0,
                 179.0, 154.0);
}

} // namespace

QImage drawVesselDrawing(const QFont& serifFace) {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    paintShell(painter);
    paintLiquid(painter);
    paintDimensions(painter, serifFace);
    return image;
}

} // namespace corvalen::tools
