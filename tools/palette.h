#pragma once

#include <QImage>
#include <QList>

namespace corvalen::tools {

// A picture reduced to at most 256 colours with one-bit transparency, as a 256-colour icon stores it.
struct PalettedImage {
    int width = 0;
    int height = 0;
    QList<QRgb> palette;     // opaque colours; index 0 is black and stands for the transparent pixels
    QList<uchar> indices;    // width * height palette indices, top row first
    QList<bool> transparent; // width * height flags, top row first
};

// Reduces a 32-bit picture with straight alpha to 256 colours. A pixel with alpha below 160 becomes
// transparent; any other pixel keeps its colour without its alpha. If at most 255 distinct colours remain
// they are kept exactly; otherwise median cut (Heckbert 1982) splits the colour cloud into 255 boxes, each
// represented by the pixel-weighted mean of its colours, and every pixel takes the nearest of them. No
// dithering: at icon sizes its noise costs more than the banding it hides.
PalettedImage reduceTo256Colours(const QImage& image);

// Reduces a picture of greys to `levels` (2 to 256) evenly spaced greys: index 0 is black, index levels - 1
// white, and grey i has the value round(255 * i / (levels - 1)). Each pixel takes the grey nearest to its
// qGray value, so with 16 levels a pixel of value 136 becomes grey 8 (value 136). Returns an image of
// QImage::Format_Indexed8 whose colour table holds exactly the `levels` greys.
QImage reduceToGreys(const QImage& image, int levels);

} // namespace corvalen::tools
