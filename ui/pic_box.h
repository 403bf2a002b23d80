// A picture box (图片框): a picture drawn on a background, inside an optional border.
#pragma once

#include "ui/control_settings.h"

#include <QBrush>
#include <QByteArray>
#include <QImage>
#include <QMargins>
#include <QWidget>

#include <memory>

class QBuffer;
class QMovie;

namespace ui {

class PicBox : public QWidget {
    Q_OBJECT

public:
    // `picture` holds the bytes of the image file that `settings.picture` names, in any format Qt reads.
    // It is decoded once, here; bytes that cannot be decoded leave the box with its background alone.
    // With `settings.animate` a picture of more than one frame (an animated GIF) plays; otherwise, and
    // for a single frame, the first frame is drawn still.
    PicBox(const PicBoxSettings& settings, const QByteArray& picture, QWidget* parent);
    ~PicBox() override;

    bool hasPicture() const;
    bool isPlaying() const;

    // The space inside the border: the background fills it and the picture is placed in it.
    QRect clientArea() const;

    // How wide each border style is on every side.
    static QMargins borderWidths(PicBoxBorder border);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void drawBorder(QPainter& painter) const;
    QImage currentFrame() const;

    PicBoxBorder border_;
    PicBoxDisplay display_;
    QBrush background_;
    QImage still_;
    // Only for a picture that plays; the movie reads its frames from the buffer.
    std::unique_ptr<QBuffer> source_;
    std::unique_ptr<QMovie> movie_;
};

// Where display mode 2 puts a picture of `picture` size in a client area of `box` size, relative to the
// area's top-left corner. A picture that fits both ways keeps its size; otherwise it is scaled by the
// smaller of the two ratios box ÷ picture (a direction that fits counting as 1), each scaled side
// truncated to whole pixels. Either way it is centred, each offset half the spare space rounded down. It
// is never enlarged.
//   shrunkToFit({310, 190}, {312, 192}) -> {1, 1, 310, 190}
//   shrunkToFit({320, 180}, {160, 160}) -> {0, 35, 160, 90}
QRect shrunkToFit(QSize picture, QSize box);

} // namespace ui
