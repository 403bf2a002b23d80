#include "png_file.h"

#include <cstdio>
#include <cstdlib>

#include <QBuffer>
#include <QImageWriter>

namespace corvalen::tools {

QByteArray encodePng(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    writer.setQuality(0); // Qt maps PNG quality 0 to zlib level 9
    if (!writer.write(image)) {
        std::fprintf(stderr, "corvalen_draw_resources: cannot encode PNG: %s\n",
                     qPrintable(writer.errorString()));
        std::exit(EXIT_FAILURE);
    }
    return bytes;
}

} // namespace corvalen::tools
