#include "ui/picture_button.h"

#include "ui/jpeg_picture.h"

#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

#include <algorithm>
#include <span>

namespace ui {

PictureButton::PictureButton(const QString& caption, const QByteArray& jpeg, QWidget* parent)
    : QPushButton(caption, parent),
      picture_(
          decodeJpeg(std::as_bytes(std::span(jpeg.constData(), static_cast<std::size_t>(jpeg.size()))))) {
    // An ordinary push button: Enter does not click it, neither here nor in a dialog.
    setAutoDefault(false);
    setDefault(false);
}

QRect PictureButton::pictureArea() const {
    QStyleOptionButton option;
    initStyleOption(&option);
    const int frame = std::max(1, style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, this));
    return rect().adjusted(frame, frame, -frame, -frame);
}

void PictureButton::paintEvent(QPaintEvent* event) {
    if (picture_.isNull()) {
        QPushButton::paintEvent(event);
        return;
    }

    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    option.icon = QIcon();
    painter.drawControl(QStyle::CE_PushButtonBevel, option);

    // Centred on the whole face like the caption would be, and shifted as the style shifts a pressed
    // button's contents, so the picture moves with the press.
    QPoint topLeft((width() - picture_.width()) / 2, (height() - picture_.height()) / 2);
    if (isDown() || isChecked())
        topLeft += QPoint(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                          style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
    painter.save();
    painter.setClipRect(pictureArea());
    painter.drawImage(topLeft, picture_);
    painter.restore();

    if (option.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(option);
        focus.rect = style()->subElementRect(QStyle::SE_PushButtonFocusRect, &option, this);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

} // namespace ui
