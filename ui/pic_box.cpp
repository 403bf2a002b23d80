#include "ui/pic_box.h"

#include "ui/setting_conversion.h"

#include <QBuffer>
#include <QImageReader>
#include <QMovie>
#include <QPainter>

#include <cstdint>
#include <initializer_list>
#include <span>
#include <vector>

namespace ui {
namespace {

// One ring of a three-dimensional edge: the top and left lines in one colour, the bottom and right lines
// in another, the way Windows draws its edges, from which the border styles come.
struct Ring {
    QPalette::ColorRole topLeft;
    QPalette::ColorRole bottomRight;
};

// Windows' system colours in Qt's palette: highlight = Light, light = Midlight, shadow = Dark, dark shadow
// = Shadow, face = Button, window frame = WindowText.
constexpr Ring sunkenEdge[] = {{QPalette::Dark, QPalette::Light}, {QPalette::Shadow, QPalette::Midlight}};
constexpr Ring raisedDoubleFrame[] = {{QPalette::Midlight, QPalette::Shadow},
                                      {QPalette::Light, QPalette::Dark},
                                      {QPalette::Button, QPalette::Button}};
constexpr Ring thinSunkenEdge[] = {{QPalette::Dark, QPalette::Light}};
constexpr Ring thinLine[] = {{QPalette::WindowText, QPalette::WindowText}};

// The rings of a border style from the outside in.
std::vector<Ring> rings(PicBoxBorder border) {
    auto join = [](std::initializer_list<std::span<const Ring>> parts) {
        std::vector<Ring> all;
        for (const std::span<const Ring> part : parts)
            all.insert(all.end(), part.begin(), part.end());
        return all;
    };
    switch (border) {
    case PicBoxBorder::Sunken:
        return join({sunkenEdge});
    case PicBoxBorder::RaisedDouble:
        return join({raisedDoubleFrame});
    case PicBoxBorder::ThinSunken:
        return join({thinSunkenEdge});
    case PicBoxBorder::SunkenInRaisedDouble:
        return join({raisedDoubleFrame, sunkenEdge});
    case PicBoxBorder::ThinLine:
        return join({thinLine});
    default:
        return {};
    }
}

void drawRing(QPainter& painter, const QRect& r, const QColor& topLeft, const QColor& bottomRight) {
    if (r.width() < 1 || r.height() < 1)
        return;
    painter.fillRect(QRect(r.left(), r.top(), r.width() - 1, 1), topLeft);
    painter.fillRect(QRect(r.left(), r.top(), 1, r.height() - 1), topLeft);
    painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), bottomRight);
    painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), bottomRight);
}

// The format the picture's first bytes announce, or nothing. Handing it to the reader spares loading
// every image plugin to ask which of them knows the picture; a wrong guess still falls back to that.
QByteArray announcedFormat(const QByteArray& picture) {
    if (picture.startsWith("GIF87a") || picture.startsWith("GIF89a"))
        return "gif";
    if (picture.startsWith("\x89PNG\r\n\x1a\n"))
        return "png";
    if (picture.startsWith("\xff\xd8\xff"))
        return "jpeg";
    if (picture.startsWith("BM"))
        return "bmp";
    return {};
}

bool playsFrames(const QByteArray& picture) {
    QBuffer buffer;
    buffer.setData(picture);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, announcedFormat(picture));
    return reader.supportsAnimation() && reader.imageCount() > 1;
}

} // namespace

QRect shrunkToFit(QSize picture, QSize box) {
    if (picture.isEmpty() || box.isEmpty())
        return {};
    QSize size = picture;
    if (picture.width() > box.width() || picture.height() > box.height()) {
        // Ratios compared and applied in integers, so that a side scaled by its own ratio comes out as
        // exactly the box's side and the other is truncated, never rounded by floating point.
        const std::int64_t pw = picture.width(), ph = picture.height(), bw = box.width(), bh = box.height();
        if (bw * ph <= bh * pw)
            size = QSize(box.width(), static_cast<int>(ph * bw / pw));
        else
            size = QSize(static_cast<int>(pw * bh / ph), box.height());
    }
    return QRect(QPoint((box.width() - size.width()) / 2, (box.height() - size.height()) / 2), size);
}

PicBox::PicBox(const PicBoxSettings& settings, const QByteArray& picture, QWidget* parent)
    : QWidget(parent), border_(settings.border), display_(settings.display),
      background_(toQColor(settings.background, palette())) {
    QBuffer buffer;
    buffer.setData(picture);
    buffer.open(QIODevice::ReadOnly);
    still_ = QImageReader(&buffer, announcedFormat(picture)).read();

    if (settings.animate && !still_.isNull() && playsFrames(picture)) {
        source_ = std::make_unique<QBuffer>();
        source_->setData(picture);
        source_->open(QIODevice::ReadOnly);
        movie_ = std::make_unique<QMovie>(source_.get(), announcedFormat(picture));
        movie_->setCacheMode(QMovie::CacheAll);
        connect(movie_.get(), &QMovie::frameChanged, this, [this] { update(); });
        movie_->start();
    }
}

PicBox::~PicBox() = default;

bool PicBox::hasPicture() const {
    return !still_.isNull();
}

bool PicBox::isPlaying() const {
    return movie_ && movie_->state() == QMovie::Running;
}

QMargins PicBox::borderWidths(PicBoxBorder border) {
    const int width = static_cast<int>(rings(border).size());
    return QMargins(width, width, width, width);
}

QRect PicBox::clientArea() const {
    const QRect inside = rect().marginsRemoved(borderWidths(border_));
    return inside.isValid() ? inside : QRect();
}

QImage PicBox::currentFrame() const {
    if (movie_) {
        QImage frame = movie_->currentImage();
        if (!frame.isNull())
            return frame;
    }
    return still_;
}

void PicBox::drawBorder(QPainter& painter) const {
    QRect ring = rect();
    for (const Ring& colours : rings(border_)) {
        drawRing(painter, ring, palette().color(colours.topLeft), palette().color(colours.bottomRight));
        ring.adjust(1, 1, -1, -1);
    }
}

void PicBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    drawBorder(painter);
    const QRect client = clientArea();
    if (client.isEmpty())
        return;
    painter.fillRect(client, background_);

    const QImage picture = currentFrame();
    if (picture.isNull())
        return;
    painter.setClipRect(client);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    switch (display_) {
    case PicBoxDisplay::Stretched:
        painter.drawImage(client, picture);
        break;
    case PicBoxDisplay::ShrunkToFit:
        painter.drawImage(shrunkToFit(picture.size(), client.size()).translated(client.topLeft()), picture);
        break;
    default:
        painter.drawImage(client.topLeft(), picture);
        break;
    }
}

} // namespace ui
