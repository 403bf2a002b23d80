#pragma once

#include <QFont>
#include <QImage>

namespace corvalen::tools {

// Paints the drawing of the vessel, 320 x 180 pixels, black on white with grey smoothing (pixel coordinates,
// x to the right, y downwards):
//   - the shell: lines at y = 6 (x 75..290) and y = 122 (x 10..295), seams at x = 75, 81, 284 and 290
//     (y 6..122), and two half-elliptic heads from (75, 6) to (75, 122) out to x = 51 and from (290, 6) to
//     (290, 122) out to x = 316, both widest at y = 64;
//   - the liquid: dashed lines (8 pixels on, 3 off) at y = 70, 80, 92, 102 and 110 from head to head;
//   - dimension h: the liquid surface carried out to x = 10, a dimension line at x = 23 between y = 70 and
//     122 with an arrowhead at each end, and the letter h in x 6..14, y 87..100;
//   - dimension hi: extension lines at x = 51 and 75 and a dimension line at y = 165 between them, with h
//     and a subscript i in x 59..70, y 144..161;
//   - dimension L: extension lines at x = 75 and 291, a dimension line at y = 165 from x = 77 to 289, and
//     the letter L in x 169..178, y 141..153.
// `serifFace` gives the letters' serif glyphs; its size is ignored, because each letter fills its box.
QImage drawVesselDrawing(const QFont& serifFace);

} // namespace corvalen::tools
