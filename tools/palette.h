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

} // namespace corvalen::tools
