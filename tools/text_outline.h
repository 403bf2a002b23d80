#pragma once

#include <QColor>
#include <QFont>
#include <QList>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>
#include <QString>
#include <QTransform>

namespace corvalen::tools {

// One piece of a line of text, in ems of the line's size: `size` scales it (0.55 for a subscript), `rise`
// lifts its baseline above the line's (negative: lowers it), and `shift` moves it right of where the
// previous piece's advance ends (negative: tucks it in, as a subscript under the arm of a V). `weight`
// thickens its strokes by that much: a glyph scaled down to a subscript has thinner stems than the text
// around it, which a font's own superior and inferior figures make up for, and so can this.
struct TextRun {
    QString text;
    double size = 1.0;
    double rise = 0.0;
    double shift = 0.0;
    double weight = 0.0;
};

// A line of text as glyph outlines, ready to be placed and painted.
class TextLine {
public:
    // Sets `runs` one after the other in `face` at `emPixels` pixels to the em, the line's baseline on
    // y = 0 and its pen starting at x = 0 (y grows downwards, as in a QImage). The outlines are taken
    // unhinted and unkerned at a large size and scaled down, so they depend on the font file alone and not
    // on hinting settings or the fonts configured on the machine.
    TextLine(const QFont& face, double emPixels, const QList<TextRun>& runs);

    // The bounding box of the outlines, widened by half the added weight where a run has some.
    QRectF ink() const;

    // Maps the outlines by `transform`; the added weights scale with its mean scale factor.
    void transform(const QTransform& transform);

    // Moves and scales the line so that its ink fills the box from (`left`, `top`) to (`right`, `bottom`)
    // exactly; the two directions scale independently, so a letter set narrower than its face draws it
    // becomes condensed. Edges are pixel edges: ink on pixel columns 6..14 and rows 87..100 fills the box
    // (6, 87) to (15, 101).
    void fitInk(double left, double top, double right, double bottom);

    // Fills the outlines antialiased in `colour`; a run with weight is also stroked with a pen that wide.
    void paint(QPainter& painter, const QColor& colour) const;

private:
    struct Piece {
        QPainterPath outline;
        double weight; // in the outline's units
    };
    QList<Piece> pieces_;
};

} // namespace corvalen::tools
