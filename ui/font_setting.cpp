#include "ui/font_setting.h"

#include "ui/setting_conversion.h"

#include <QApplication>
#include <QFontDatabase>

#include <array>

namespace ui {
namespace {

bool isSongFace(const QString& face) {
    return face == QString::fromUtf8("宋体") ||
           face.compare(QLatin1String("SimSun"), Qt::CaseInsensitive) == 0;
}

// Song-style faces with the whole of GB2312, in order of preference. Noto Serif CJK SC comes with the
// fonts-noto-cjk package that the program depends on; the others are what other systems tend to have.
constexpr std::array songStandIns = {"Noto Serif CJK SC", "Source Han Serif SC", "AR PL UMing CN",
                                     "AR PL SungtiL GB"};

} // namespace

QString resolvedFace(const QString& face) {
    if (QFontDatabase::hasFamily(face) || !isSongFace(face))
        return face;
    for (const char* standIn : songStandIns) {
        const QString name = QString::fromLatin1(standIn);
        if (QFontDatabase::hasFamily(name))
            return name;
    }
    return face;
}

QFont makeFont(const FontSetting& setting) {
    if (setting.face.empty() || setting.pixelHeight < 1 || setting.weight < 1 || setting.weight > 1000)
        return QApplication::font();
    const QString face = toQString(setting.face);
    QFont font(resolvedFace(face));
    // Should no Song-style face be installed at all, the matching at least picks a serif one.
    if (isSongFace(face))
        font.setStyleHint(QFont::Serif);
    font.setPixelSize(setting.pixelHeight);
    font.setWeight(static_cast<QFont::Weight>(setting.weight));
    font.setItalic(setting.italic);
    font.setUnderline(setting.underline);
    font.setStrikeOut(setting.strikeOut);
    return font;
}

} // namespace ui
