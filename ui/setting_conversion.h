// Turning the definition's plain values into Qt's.
#pragma once

#include "ui/control_settings.h"
#include "ui/font_setting.h" // makeFont, the conversion of font settings

#include <QColor>
#include <QPalette>
#include <QString>

#include <string_view>

namespace ui {

inline QString toQString(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// Button face is taken from `palette`, the palette of the control being made.
QColor toQColor(const Colour& colour, const QPalette& palette);

} // namespace ui
