#pragma once

#include <QByteArray>
#include <QImage>

namespace corvalen::tools {

// Encodes `image` as a PNG file, 8 bits per channel, RGBA when it has alpha, with zlib's strongest
// compression. The same pixels always give the same bytes. Encoding failure ends the program with a message.
QByteArray encodePng(const QImage& image);

} // namespace corvalen::tools
