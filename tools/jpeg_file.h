#pragma once

#include <QByteArray>
#include <QImage>

namespace corvalen::tools {

// Encodes `image` (any format; alpha is ignored) as a baseline sequential JFIF file: frame type SOF0, one
// scan, 8-bit quantisation tables, the standard Huffman tables of the JPEG standard's annex K, and
// full-resolution chroma (4:4:4). Every baseline decoder reads it.
//
// `tableScalePercent` scales the standard quantisation tables (annex K) as libjpeg's
// jpeg_set_linear_quality does: 100 keeps them, smaller values quantise more finely. It is libjpeg's
// quality setting at a finer step: quality q >= 50 is the scale 200 - 2q, so 9 lies between quality 95 (10)
// and 96 (8). The same pixels and scale always give the same bytes. A libjpeg error ends the program with a
// message on stderr.
QByteArray encodeBaselineJpeg(const QImage& image, int tableScalePercent);

} // namespace corvalen::tools
