#include "text_outline.h"

#include <cmath>

#include <QFontMetricsF>
#include <QPainterPathStroker>

namespace corvalen::tools {
namespace {

// At 400 pixels to the em any size-dependent hinting or rounding of the outlines and advances is far below
// a pixel of the scaled-down result.
constexpr int kReferencePixels = 400;

} // namespace

TextLine::TextLine(const QFont& face, double emPixels, const QList<TextRun>& runs) {
    double pen = 0.0; // in pixels of the result
    for (const TextRun& run : runs) {
        QFont font = face;
        font.setPixelSize(kReferencePixels);
        font.setHintingPreference(QFont::PreferNoHinting);
        font.setKerning(false);
        QPainterPath outline;
        outline.addText(0.0, 0.0, font, run.text);

        const double scale = emPixels * run.size / kReferencePixels;
        pen += run.shift * emPixels;
        QTransform placement;
        placement.translate(pen, -run.rise * emPixels);
        placement.scale(scale, scale);
        pieces_.push_back({placement.map(outline), run.weight * emPixels});
        pen += QFontMetricsF(font).horizontalAdvance(run.text) * scale;
    }
}

QRectF TextLine::ink() const {
    QRectF box;
    for (const Piece& piece : pieces_) {
        const double margin = piece.weight / 2.0;
        box = box.united(piece.outline.boundingRect().adjusted(-margin, -margin, margin, margin));
    }
    return box;
}

void TextLine::transform(const QTransform& transform) {
    const double scale = std::sqrt(std::abs(transform.determinant()));
    for (Piece& piece : pieces_) {
        piece.outline = transform.map(piece.outline);
        piece.weight *= scale;
    }
}

void TextLine::fitInk(double left, double top, double right, double bottom) {
    const QRectF box = ink();
    QTransform placement;
    placement.translate(left, top);
    placement.scale((right - left) / box.width(), (bottom - top) / box.height());
    placement.translate(-box.left(), -box.top());
    transform(placement);
}

void TextLine::paint(QPainter& painter, const QColor& colour) const {
    for (const Piece& piece : pieces_) {
        painter.fillPath(piece.outline, colour);
        if (piece.weight > 0.0) {
            // The stroke is filled as an outline of its own: QPainter would draw a pen under one pixel wide
            // as a one-pixel cosmetic line. Round joins and caps (glyph contours need not be closed
            // explicitly) keep it within half the weight of the glyph's outline.
            QPainterPathStroker stroker;
            stroker.setWidth(piece.weight);
            stroker.setJoinStyle(Qt::RoundJoin);
            stroker.setCapStyle(Qt::RoundCap);
            painter.fillPath(stroker.createStroke(piece.outline), colour);
        }
    }
}

} // namespace corvalen::tools
