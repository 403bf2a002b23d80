// What the visual theme draws over an edit box and in place of a group box. Coordinates count from the
// control's top-left corner; W and H are its outer width and height. A ring at inset k is the 1-pixel
// rectangle outline k pixels inside the edge. Halves are integer divisions, truncated toward zero.
#pragma once

#include "ui/theme_scheme.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QString>

#include <optional>

namespace ui {

// The ring at `inset` inside `outer`; nothing when the rectangle is too small to have one.
void drawRing(QPainter& painter, const QRect& outer, int inset, const QColor& colour);

// The two rings that the theme draws over a framed edit box; everything inside them stays as the box
// drew it.
struct EditBoxRings {
    QColor outer; // inset 0: the scheme's edit ring; darken(face, 32) when the box is disabled
    QColor inner; // inset 1: the window colour; face when the box is disabled or read-only
};

EditBoxRings editBoxRings(const SchemeColours& scheme, bool disabled, bool readOnly);
void paintEditBoxRings(QPainter& painter, const QRect& box, const EditBoxRings& rings);

enum class TitleAlignment { Left, Centre, Right };

// Where a title of width cx goes in a group box of width W, and the columns of the gap that it opens in
// the frame's top line, both ends included:
//   Left    title at 9,               gap 8 to cx + 9
//   Centre  title at (W - cx)/2,      gap (W - cx)/2 - 5 to (W - cx)/2 + cx + 4
//   Right   title at W - 10 - cx,     gap W - 10 - cx to W - 11
// A title wider than the box is placed by the same rules; nothing is clipped to the box here.
struct TitlePlace {
    int titleLeft;
    int gapFirst;
    int gapLast;
    friend bool operator==(const TitlePlace&, const TitlePlace&) = default;
};

TitlePlace titlePlace(TitleAlignment alignment, int boxWidth, int titleWidth);

// The longest beginning of `title` whose GB2312 form, characters whole, takes at most 255 bytes: a
// group box's title is read that far.
QString titleWithin255Bytes(const QString& title);

struct GroupBoxLook {
    QString title; // empty: no title
    QFont font;    // the title's
    TitleAlignment alignment = TitleAlignment::Left;
    // The brush the parent gives for the box. None until the box has been erased once, and then the
    // fills draw nothing.
    std::optional<QBrush> background;
    QColor textColour;
    QColor frameColour;
};

// Paints the group box over `image`, which holds the box's current picture and is the box's size:
//   1. the title measured in its font, width cx and height cy; the frame's top line T = cy/2 (without a
//      title T is half the line height of the image's default font, and 2 and 7 are left out);
//   2. the title box (its left edge from the alignment, width cx, y = 0 to cy - 1) filled with the brush;
//   3. filled with the brush: y = 0 to T + 1 across the whole width, the two leftmost and the two
//      rightmost columns, the two bottom rows;
//   4. the frame, an outline from (0, T) to (W - 1, H - 1) in the frame colour;
//   5. the colour b read back from pixel (0, 0);
//   6. each corner cut: three pixels along each side of the corner become b, and the two pixels of the
//      diagonal inside them the frame colour (top left: b at (0, T), (0, T + 1), (0, T + 2), (1, T),
//      (2, T); frame at (2, T + 1), (1, T + 2); the other corners mirrored);
//   7. the gap in row T painted b, then the title drawn on one line, without background, its top at
//      y = 0, in the text colour.
// Returns b.
QColor paintGroupBoxFrame(QImage& image, const GroupBoxLook& look);

} // namespace ui
