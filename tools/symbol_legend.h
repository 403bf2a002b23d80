#pragma once

#include <QFont>
#include <QImage>

namespace corvalen::tools {

// Paints the legend of the symbols, 310 x 190 pixels, black text on white smoothed with grey: six rows, each
// a symbol whose ink starts at x = 6 and ends by x = 18 and its explanation, whose ink starts at x = 36.
//
//   row  ink rows   symbol   explanation
//   1      2..18    V_h      对应h高度贮槽体积（m³）
//   2     37..52    V        贮槽总体积（m³）
//   3     71..84    h        液面高度（m）
//   4    101..116   h_i      椭圆墙头内高度（不包括直边高度）（m）
//   5    136..149   r        贮槽内半径（m）
//   6    168..181   L        贮槽圆柱体部分长度（m）
//
// (V_h: V with a small lowered h; ³: a small raised 3.) The parentheses are the full-width ones.
// `songFace` is a Song-style face covering GB2312 whose Latin glyphs have serifs; its size is ignored.
QImage drawSymbolLegend(const QFont& songFace);

} // namespace corvalen::tools
