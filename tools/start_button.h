#pragma once

#include <QFont>
#include <QImage>

namespace corvalen::tools {

// Paints the start button's picture, 168 x 56 pixels on white: a rounded light-green face (pixels x 7..159,
// y 2..41, corner radius 6) shaded from left to right with a darker left and bottom edge and a faint glossy
// band over its upper half, a soft grey reflection below it (y 42..50) and the caption 开始计算 in orange,
// its ink filling x 30..134 and y 8..32.
//
// `captionFont` names the caption's face; its size is ignored, because the caption is scaled to its box.
// The glyphs are filled as outlines, so the result depends on the font file but not on hinting settings.
QImage drawStartButton(const QFont& captionFont);

} // namespace corvalen::tools
