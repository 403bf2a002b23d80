#include "ui/setting_conversion.h"

namespace ui {

QColor toQColor(const Colour& colour, const QPalette& palette) {
    if (colour.buttonFace)
        return palette.color(QPalette::Button);
    return QColor(colour.red, colour.green, colour.blue);
}

} // namespace ui
