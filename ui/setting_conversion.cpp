#include "ui/setting_conversion.h"

#include <QApplication>

namespace ui {

QColor toQColor(const Colour& colour, const QPalette& palette) {
    if (colour.buttonFace)
        return palette.color(QPalette::Button);
    return QColor(colour.red, colour.green, colour.blue);
}

QFont makeFont(const FontSetting& setting) {
    if (setting.face.empty() || setting.pixelHeight <= 0)
        return QApplication::font();
    QFont font(toQString(setting.face));
    font.setPixelSize(setting.pixelHeight);
    font.setWeight(static_cast<QFont::Weight>(setting.weight));
    font.setItalic(setting.italic);
    font.setUnderline(setting.underline);
    font.setStrikeOut(setting.strikeOut);
    return font;
}

} // namespace ui
