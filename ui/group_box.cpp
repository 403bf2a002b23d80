#include "ui/group_box.h"

#include "ui/font_setting.h"
#include "ui/setting_conversion.h"

#include <QCommonStyle>
#include <QPainter>
#include <QStyleOptionGroupBox>

namespace ui {
namespace {

Qt::Alignment titleAlignment(HorizontalAlignment alignment) {
    switch (alignment) {
    case HorizontalAlignment::Centre:
        return Qt::AlignHCenter;
    case HorizontalAlignment::Right:
        return Qt::AlignRight;
    default:
        return Qt::AlignLeft;
    }
}

} // namespace

GroupBox::GroupBox(const GroupBoxSettings& settings, QWidget* parent)
    : QGroupBox(toQString(settings.title), parent),
      // Button face is the colour it has now, at creation, and stays so.
      colours_(definedColours(settings, palette()).value()), titleFont_(makeFont(settings.font)),
      look_(std::make_unique<QCommonStyle>()) {
    setAlignment(titleAlignment(settings.titleAlignment));
}

GroupBox::~GroupBox() = default;

void GroupBox::paintEvent(QPaintEvent*) {
    // Asked like any control; the parent hands the question back to the group box, and a group box
    // without such a parent keeps to its own colours.
    const ControlColours colours = queryControlColours(*this).value_or(colours_);

    QPainter painter(this);
    painter.fillRect(rect(), colours.brush);

    QStyleOptionGroupBox option;
    initStyleOption(&option);
    option.fontMetrics = QFontMetrics(titleFont_);
    // Styles take the title colour from the option or else from the palette's window text; a disabled
    // title keeps the palette's disabled colour.
    const bool enabled = option.state & QStyle::State_Enabled;
    option.textColor = enabled ? colours.text : QColor();
    option.palette.setColor(QPalette::Active, QPalette::WindowText, colours.text);
    option.palette.setColor(QPalette::Inactive, QPalette::WindowText, colours.text);
    painter.setFont(titleFont_);
    look_->drawComplexControl(QStyle::CC_GroupBox, &option, &painter, this);
}

} // namespace ui
