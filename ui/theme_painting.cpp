#include "ui/theme_painting.h"

#include "ui/gb2312_text.h"

#include <QFontMetrics>

namespace ui {

void drawRing(QPainter& painter, const QRect& outer, int inset, const QColor& colour) {
    const QRect ring = outer.adjusted(inset, inset, -inset, -inset);
    if (ring.width() <= 0 || ring.height() <= 0)
        return;
    painter.fillRect(QRect(ring.left(), ring.top(), ring.width(), 1), colour);
    painter.fillRect(QRect(ring.left(), ring.bottom(), ring.width(), 1), colour);
    painter.fillRect(QRect(ring.left(), ring.top(), 1, ring.height()), colour);
    painter.fillRect(QRect(ring.right(), ring.top(), 1, ring.height()), colour);
}

EditBoxRings editBoxRings(const SchemeColours& scheme, bool disabled, bool readOnly) {
    const QColor face = faceColour();
    return {disabled ? darken(face, 32) : scheme.editRing, disabled || readOnly ? face : windowColour()};
}

void paintEditBoxRings(QPainter& painter, const QRect& box, const EditBoxRings& rings) {
    drawRing(painter, box, 0, rings.outer);
    drawRing(painter, box, 1, rings.inner);
}

TitlePlace titlePlace(TitleAlignment alignment, int boxWidth, int titleWidth) {
    switch (alignment) {
    case TitleAlignment::Centre: {
        const int left = (boxWidth - titleWidth) / 2;
        return {left, left - 5, left + titleWidth + 4};
    }
    case TitleAlignment::Right: {
        const int left = boxWidth - 10 - titleWidth;
        return {left, left, boxWidth - 11};
    }
    case TitleAlignment::Left:
        break;
    }
    return {9, 8, titleWidth + 9};
}

QString titleWithin255Bytes(const QString& title) {
    constexpr std::size_t limit = 255;
    std::size_t bytes = 0;
    qsizetype end = 0;
    while (end < title.size()) {
        // A surrogate pair is one character, written as one "?".
        const qsizetype length =
            title.at(end).isHighSurrogate() && end + 1 < title.size() && title.at(end + 1).isLowSurrogate()
                ? 2
                : 1;
        bytes += toGb2312(title.mid(end, length)).size();
        if (bytes > limit)
            break;
        end += length;
    }
    return title.left(end);
}

QColor paintGroupBoxFrame(QImage& image, const GroupBoxLook& look) {
    if (image.isNull())
        return {};
    const int W = image.width();
    const int H = image.height();
    QPainter painter(&image);

    // Step 1.
    const bool hasTitle = !look.title.isEmpty();
    if (hasTitle)
        painter.setFont(look.font);
    const QFontMetrics metrics = painter.fontMetrics();
    const int cx = hasTitle ? metrics.horizontalAdvance(look.title) : 0;
    const int cy = metrics.height();
    const int T = cy / 2;
    const TitlePlace place = titlePlace(look.alignment, W, cx);

    const auto fill = [&](const QRect& area) {
        if (look.background)
            painter.fillRect(area, *look.background);
    };
    // Step 2.
    if (hasTitle)
        fill(QRect(place.titleLeft, 0, cx, cy));
    // Step 3.
    fill(QRect(0, 0, W, T + 2));
    fill(QRect(0, 0, 2, H));
    fill(QRect(W - 2, 0, 2, H));
    fill(QRect(0, H - 2, W, 2));

    // Step 4.
    const QColor frame = look.frameColour;
    painter.fillRect(QRect(0, T, W, 1), frame);
    painter.fillRect(QRect(0, H - 1, W, 1), frame);
    painter.fillRect(QRect(0, T, 1, H - T), frame);
    painter.fillRect(QRect(W - 1, T, 1, H - T), frame);

    // Step 5.
    const QColor b = image.pixelColor(0, 0);

    // Step 6. The pixels become b even when b is not opaque; fillRect clips whatever lies outside.
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    const auto put = [&painter](int x, int y, const QColor& colour) {
        painter.fillRect(QRect(x, y, 1, 1), colour);
    };
    for (const QPoint p :
         {QPoint(0, T),         QPoint(0, T + 1),     QPoint(0, T + 2),     QPoint(1, T),
          QPoint(2, T),         QPoint(W - 1, T),     QPoint(W - 2, T),     QPoint(W - 3, T),
          QPoint(W - 1, T + 1), QPoint(W - 1, T + 2), QPoint(0, H - 1),     QPoint(0, H - 2),
          QPoint(0, H - 3),     QPoint(1, H - 1),     QPoint(2, H - 1),     QPoint(W - 1, H - 1),
          QPoint(W - 1, H - 2), QPoint(W - 1, H - 3), QPoint(W - 2, H - 1), QPoint(W - 3, H - 1)})
        put(p.x(), p.y(), b);
    for (const QPoint p : {QPoint(2, T + 1), QPoint(1, T + 2), QPoint(W - 3, T + 1), QPoint(W - 2, T + 2),
                           QPoint(1, H - 3), QPoint(2, H - 2), QPoint(W - 3, H - 2), QPoint(W - 2, H - 3)})
        put(p.x(), p.y(), frame);

    // Step 7.
    if (hasTitle) {
        painter.fillRect(QRect(QPoint(place.gapFirst, T), QPoint(place.gapLast, T)), b);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter.setPen(look.textColour);
        painter.drawText(QPoint(place.titleLeft, metrics.ascent()), look.title);
    }
    return b;
}

} // namespace ui
