#include "ui/trans_label.h"

#include "ui/font_setting.h"
#include "ui/setting_conversion.h"

#include <QPainter>

namespace ui {
namespace {

// What an effect draws before the main text: a copy of the text in `colour` at `copyOffset`; the main
// text then goes to `mainOffset`.
struct EffectLayout {
    bool copy = false;
    QColor colour;
    QPoint copyOffset;
    QPoint mainOffset;
};

EffectLayout effectLayout(int effect) {
    switch (effect) {
    case 1:
        return {true, Qt::white, QPoint(1, 1), QPoint(0, 0)};
    case 2:
        return {true, Qt::white, QPoint(0, 0), QPoint(1, 1)};
    case 3:
        return {true, Qt::black, QPoint(2, 2), QPoint(0, 0)};
    default:
        return {};
    }
}

} // namespace

TransLabel::TransLabel(const TransLabelSettings& settings, QWidget* parent) : QWidget(parent) {
    // No background of its own: a child widget that neither fills its background nor claims to paint
    // opaquely has Qt paint its parent and the siblings beneath it first, for every repaint and every
    // move. That is what keeps the label transparent, so neither attribute may be set here.
    setSettings(settings);
}

void TransLabel::setSettings(const TransLabelSettings& settings) {
    text_ = toQString(settings.text);
    textColour_ = toQColor(settings.textColour, palette());
    font_ = makeFont(settings.font);
    horizontal_ = settings.horizontal;
    vertical_ = settings.vertical;
    wordWrap_ = settings.wordWrap;
    effect_ = settings.effect;
    update();
}

int TransLabel::layoutFlags() const {
    int flags = Qt::TextShowMnemonic | Qt::TextDontClip;
    switch (horizontal_) {
    case HorizontalAlignment::Centre:
        flags |= Qt::AlignHCenter;
        break;
    case HorizontalAlignment::Right:
        flags |= Qt::AlignRight;
        break;
    default:
        flags |= Qt::AlignLeft;
        break;
    }
    if (wordWrap_)
        return flags | Qt::TextWordWrap | Qt::AlignTop;
    flags |= Qt::TextSingleLine;
    switch (vertical_) {
    case VerticalAlignment::Centre:
        return flags | Qt::AlignVCenter;
    case VerticalAlignment::Bottom:
        return flags | Qt::AlignBottom;
    default:
        return flags | Qt::AlignTop;
    }
}

void TransLabel::paintEvent(QPaintEvent*) {
    if (text_.isEmpty())
        return;
    QPainter painter(this);
    painter.setFont(font_);
    const int flags = layoutFlags();
    const QRect area = rect();
    const EffectLayout effect = effectLayout(effect_);
    if (effect.copy) {
        painter.setPen(effect.colour);
        painter.drawText(area.translated(effect.copyOffset), flags, text_);
    }
    painter.setPen(textColour_);
    painter.drawText(area.translated(effect.mainOffset), flags, text_);
}

} // namespace ui
