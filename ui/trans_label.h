// A transparent text label (透明标签): only its glyphs are painted, so whatever lies beneath it (its
// parent's background and the sibling controls below it in the stacking order) shows between them.
#pragma once

#include "ui/control_settings.h"

#include <QColor>
#include <QFont>
#include <QString>
#include <QWidget>

namespace ui {

class TransLabel : public QWidget {
    Q_OBJECT

public:
    TransLabel(const TransLabelSettings& settings, QWidget* parent);

    // Replaces all of the label's settings. What lay beneath the old text is repainted before the new
    // text is drawn over it.
    void setSettings(const TransLabelSettings& settings);

    QString text() const { return text_; }
    QColor textColour() const { return textColour_; }
    QFont textFont() const { return font_; }
    int effect() const { return effect_; }

    // The QPainter::drawText flags of the label's layout: the horizontal alignment; with word wrap, lines
    // broken at word boundaries from the top; without it one line placed by the vertical alignment. "&"
    // is a prefix ("&&" shows one "&", "&x" underlines x), tabs are not expanded and nothing is clipped to
    // the layout rectangle beyond the label's own bounds.
    int layoutFlags() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
    QColor textColour_;
    QFont font_;
    HorizontalAlignment horizontal_ = HorizontalAlignment::Left;
    VerticalAlignment vertical_ = VerticalAlignment::Centre;
    bool wordWrap_ = false;
    int effect_ = 0;
};

} // namespace ui
