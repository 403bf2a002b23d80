// Test pictures made on the spot with libjpeg's compressor, so each test shows the picture it decodes.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>

namespace uitest {

// A baseline JPEG of `image` at high quality with full-resolution colour, so flat areas decode to their
// colour within a few units. A Format_Grayscale8 image gives a one-component (greyscale) JPEG.
QByteArray encodeJpeg(const QImage& image);

// A picture of one colour.
QByteArray flatJpeg(int width, int height, QColor colour);

// Whether two colours differ by at most `tolerance` in each of red, green and blue.
bool near(QColor a, QColor b, int tolerance = 12);

} // namespace uitest
