#include "ico_file.h"

#include "palette.h"
#include "png_file.h"

namespace corvalen::tools {
namespace {

void putU8(QByteArray& out, int value) {
    out.append(static_cast<char>(value & 0xff));
}

void putU16(QByteArray& out, int value) {
    putU8(out, value);
    putU8(out, value >> 8);
}

void putU32(QByteArray& out, quint32 value) {
    putU16(out, static_cast<int>(value & 0xffff));
    putU16(out, static_cast<int>(value >> 16));
}

int paddedRowBytes(int bitsPerPixel, int width) {
    return (bitsPerPixel * width + 31) / 32 * 4;
}

constexpr int kBitmapInfoHeaderSize = 40;

void putBitmapInfoHeader(QByteArray& out, int width, int height, int bitsPerPixel, int paletteSize) {
    const int imageBytes =
        (paddedRowBytes(bitsPerPixel, width) + paddedRowBytes(1, width)) * height; // XOR and AND together
    putU32(out, kBitmapInfoHeaderSize);
    putU32(out, static_cast<quint32>(width));
    putU32(out, static_cast<quint32>(2 * height));
    putU16(out, 1); // planes
    putU16(out, bitsPerPixel);
    putU32(out, 0); // BI_RGB: no compression
    putU32(out, static_cast<quint32>(imageBytes));
    putU32(out, 0); // horizontal resolution, unused in icons
    putU32(out, 0); // vertical resolution
    putU32(out, static_cast<quint32>(paletteSize));
    putU32(out, 0); // all colours important
}

// The AND mask: a set bit lets the screen show through.
void putAndMask(QByteArray& out, int width, int height, const QList<bool>& transparent) {
    const int rowBytes = paddedRowBytes(1, width);
    for (int y = height - 1; y >= 0; --y) {
        QByteArray row(rowBytes, '\0');
        for (int x = 0; x < width; ++x) {
            if (transparent[y * width + x]) {
                row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
            }
        }
        out.append(row);
    }
}

QByteArray palette256Dib(const QImage& image) {
    const PalettedImage paletted = reduceTo256Colours(image);
    QByteArray out;
    putBitmapInfoHeader(out, paletted.width, paletted.height, 8, 256);
    for (int i = 0; i < 256; ++i) {
        const QRgb colour = i < paletted.palette.size() ? paletted.palette[i] : qRgb(0, 0, 0);
        putU8(out, qBlue(colour));
        putU8(out, qGreen(colour));
        putU8(out, qRed(colour));
        putU8(out, 0);
    }
    const int rowBytes = paddedRowBytes(8, paletted.width);
    for (int y = paletted.height - 1; y >= 0; --y) {
        QByteArray row(rowBytes, '\0');
        for (int x = 0; x < paletted.width; ++x) {
            row[x] = static_cast<char>(paletted.indices[y * paletted.width + x]);
        }
        out.append(row);
    }
    putAndMask(out, paletted.width, paletted.height, paletted.transparent);
    return out;
}

QByteArray bgra32Dib(const QImage& image) {
    const QImage source = image.convertToFormat(QImage::Format_ARGB32);
    const int width = source.width();
    const int height = source.height();
    QByteArray out;
    putBitmapInfoHeader(out, width, height, 32, 0);
    QList<bool> transparent;
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            transparent.push_back(qAlpha(row[x]) == 0);
        }
    }
    for (int y = height - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            putU8(out, qBlue(row[x]));
            putU8(out, qGreen(row[x]));
            putU8(out, qRed(row[x]));
            putU8(out, qAlpha(row[x]));
        }
    }
    putAndMask(out, width, height, transparent);
    return out;
}

} // namespace

QByteArray encodeIco(const QList<IconImage>& images) {
    QList<QByteArray> data;
    for (const IconImage& entry : images) {
        switch (entry.storage) {
        case IconImage::Storage::Palette256:
            data.push_back(palette256Dib(entry.image));
            break;
        case IconImage::Storage::Bgra32:
            data.push_back(bgra32Dib(entry.image));
            break;
        case IconImage::Storage::Png:
            data.push_back(encodePng(entry.image.convertToFormat(QImage::Format_ARGB32)));
            break;
        }
    }

    QByteArray out;
    putU16(out, 0);
    putU16(out, 1);
    putU16(out, static_cast<int>(images.size()));
    quint32 offset = 6 + 16 * static_cast<quint32>(images.size());
    for (qsizetype i = 0; i < images.size(); ++i) {
        const QImage& image = images[i].image;
        const bool paletted = images[i].storage == IconImage::Storage::Palette256;
        putU8(out, image.width() == 256 ? 0 : image.width());
        putU8(out, image.height() == 256 ? 0 : image.height());
        putU8(out, 0); // colour count: 0 for 256 colours and for true colour alike
        putU8(out, 0);
        putU16(out, 1);
        putU16(out, paletted ? 8 : 32);
        putU32(out, static_cast<quint32>(data[i].size()));
        putU32(out, offset);
        offset += static_cast<quint32>(data[i].size());
    }
    for (const QByteArray& bytes : data) {
        out.append(bytes);
    }
    return out;
}

} // namespace corvalen::tools
