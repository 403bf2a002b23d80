#pragma once

#include <QImage>

namespace corvalen::tools {

// Paints the program icon at `size` x `size` pixels (size >= 16) in 32-bit colour with straight alpha: a
// circular pinwheel of six curved, glossy petals around a small near-white centre, on transparent ground.
// Going counter-clockwise from the right the petals are red, violet (top), blue (upper left), green (lower
// left), yellow (bottom) and orange (lower right).
//
// Every size is rendered directly from the geometry, with many samples per pixel, rather than scaled down
// from a large picture, so the small sizes keep sharp petal borders.
QImage drawPinwheelIcon(int size);

} // namespace corvalen::tools
