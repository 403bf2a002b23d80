// Making a Qt font from a font setting of the window definition.
#pragma once

#include "ui/control_settings.h"

#include <QFont>
#include <QString>

namespace ui {

// The font of `setting`: its face with a character height of `pixelHeight` pixels (the em height, which is
// Qt's pixel size; a line is taller by the face's internal leading), its weight on the 1 to 1000 scale (400
// normal, 700 bold), italic, underline and strike-out.
//
// The Song face "宋体" (also spelt "SimSun") is made with an installed Song-style face that covers GB2312,
// Noto Serif CJK SC first, when the face itself is not installed. Any other face that is not installed is
// left to Qt's font matching, which keeps the height, weight and style and picks the nearest face.
//
// The default GUI font (QApplication::font()) when the setting asks for it (an empty face) and when the
// font cannot be made: a height below one pixel, or a weight outside 1 to 1000.
//   makeFont({.face = "宋体", .pixelHeight = 21})  -> Noto Serif CJK SC, pixel size 21, weight 400
//   makeFont({.face = "宋体", .pixelHeight = 0})   -> QApplication::font()
QFont makeFont(const FontSetting& setting);

// The face that makeFont uses for a font setting naming `face`: the face itself when it is installed or
// has no installed stand-in, otherwise the stand-in.
QString resolvedFace(const QString& face);

} // namespace ui
