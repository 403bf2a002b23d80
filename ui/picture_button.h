// A push button whose face shows a picture in place of its caption. The caption stays the button's text
// and shows only when there is no picture.
#pragma once

#include <QImage>
#include <QPushButton>

namespace ui {

class PictureButton : public QPushButton {
    Q_OBJECT

public:
    // `jpeg` holds a baseline JPEG; when it cannot be decoded the button has no picture and paints its
    // caption like any push button.
    PictureButton(const QString& caption, const QByteArray& jpeg, QWidget* parent);

    const QImage& picture() const { return picture_; }

    // The space inside the button's frame, to which the picture is clipped.
    QRect pictureArea() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
};

} // namespace ui
