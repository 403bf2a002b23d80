#pragma once

#include <QByteArray>
#include <QImage>

namespace corvalen::tools {

// Encodes `image`, which must be QImage::Format_Indexed8 with 1 to 256 colours in its colour table, as a
// GIF89a file holding one frame that covers the whole image. Qt has no GIF writer, hence this one.
//
// Layout (all numbers little-endian):
//   header                  "GIF89a"
//   logical screen          width, height, flags (a global colour table of 2^n entries with n bits of colour
//                           resolution), background index 0, pixel aspect ratio 0 (no information)
//   global colour table     2^n RGB triples, the image's colour table padded with black to a power of two
//                           (at least 2 entries, n = 1..8)
//   image descriptor        0x2C, left 0, top 0, width, height, flags 0 (no local table, not interlaced)
//   image data              the LZW minimum code size, then the LZW code stream in sub-blocks of at most 255
//                           bytes, each preceded by its length, then an empty sub-block
//   trailer                 0x3B
// There is no graphic control extension: the frame has no transparent colour, no delay and no disposal, so
// every decoder shows it as one still picture.
//
// The LZW coding is variable-length code LZW as GIF89a's appendix F describes it, with minimum code size
// m = max(2, n): codes 0..2^m-1 stand for the colour indices, 2^m is the clear code, 2^m+1 the end code, and
// new strings get codes from 2^m+2 up to 4095. Codes start m+1 bits wide and grow by one bit, up to 12, as
// soon as the decoder's next free code no longer fits; the stream starts with a clear code, and when code
// 4095 has been given out a clear code restarts the table. Codes are packed into bytes least significant bit
// first. The same image always gives the same bytes.
QByteArray encodeGif89a(const QImage& image);

} // namespace corvalen::tools
