#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>

namespace corvalen::tools {

// One image of a Windows icon file and the way it is stored.
struct IconImage {
    enum class Storage {
        Palette256, // 8-bit palettised DIB with a 1-bit AND mask, for 256-colour displays
        Bgra32,     // 32-bit BGRA DIB with alpha; its AND mask marks the fully transparent pixels
        Png,        // a complete PNG file, as icons since Windows Vista hold their 256-pixel image
    };
    QImage image; // 32-bit with straight alpha, 1 to 256 pixels on each side
    Storage storage;
};

// Builds a .ico file holding `images` in the given order.
//
// Layout (all numbers little-endian):
//   ICONDIR        6 bytes   reserved 0, type 1 (icon), image count
//   ICONDIRENTRY  16 bytes   per image: width and height (0 means 256), colour count (0 for 256 or more),
//                            reserved 0, planes 1, bits per pixel, size of the image data, its file offset
//   image data               per image, in directory order: a DIB or a PNG file
// A DIB is a BITMAPINFOHEADER whose height counts the colour (XOR) bitmap and the AND mask together, so it
// is twice the image's height, then the palette (256 RGBQUADs, blue first) for 8 bits, then the XOR bitmap
// and the 1-bit AND mask, both bottom row first and each row padded to a multiple of 4 bytes.
QByteArray encodeIco(const QList<IconImage>& images);

} // namespace corvalen::tools
