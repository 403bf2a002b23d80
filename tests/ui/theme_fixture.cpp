#include "theme_fixture.h"

#include "ui/theme.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QStyleHints>

#include <vector>

namespace uitest {
namespace {

std::string describe(QPoint p, const QColor& seen, const QColor& wanted) {
    return "(" + std::to_string(p.x()) + ", " + std::to_string(p.y()) + ") is " + seen.name().toStdString() +
           ", not " + wanted.name().toStdString();
}

// Measured as the theme measures: with a painter on an image.
QSize titleSize(const QString& title, const QFont& font) {
    QImage probe(1, 1, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&probe);
    painter.setFont(font);
    const QFontMetrics metrics = painter.fontMetrics();
    return {metrics.horizontalAdvance(title), metrics.height()};
}

// Where the title and the gap go, restated here rather than taken from the code under test.
struct TitleColumns {
    int titleLeft;
    int gapFirst;
    int gapLast;
};

TitleColumns titleColumns(ui::TitleAlignment alignment, int W, int cx) {
    switch (alignment) {
    case ui::TitleAlignment::Left:
        return {9, 8, cx + 9};
    case ui::TitleAlignment::Centre:
        return {(W - cx) / 2, (W - cx) / 2 - 5, (W - cx) / 2 + cx + 4};
    case ui::TitleAlignment::Right:
        return {W - 10 - cx, W - 10 - cx, W - 11};
    }
    return {};
}

struct Mismatches {
    std::vector<std::string> found;
    void check(const QImage& image, QPoint p, const QColor& wanted) {
        const QColor seen = image.pixelColor(p);
        if (seen.rgb() != wanted.rgb())
            found.push_back(describe(p, seen, wanted));
    }
    ::testing::AssertionResult result() const {
        if (found.empty())
            return ::testing::AssertionSuccess();
        auto failure = ::testing::AssertionFailure();
        failure << found.size() << " pixels differ:";
        for (std::size_t i = 0; i < found.size() && i < 8; ++i)
            failure << " " << found[i];
        return failure;
    }
};

} // namespace

ThemeGuard::ThemeGuard() {
    ui::applyTheme(0);
}

ThemeGuard::~ThemeGuard() {
    ui::applyTheme(0);
}

SteadyCaret::SteadyCaret() : flashTime_(QGuiApplication::styleHints()->cursorFlashTime()) {
    QGuiApplication::styleHints()->setCursorFlashTime(0);
}

SteadyCaret::~SteadyCaret() {
    QGuiApplication::styleHints()->setCursorFlashTime(flashTime_);
}

QRect placeInWindow(const QWidget& control) {
    return QRect(control.mapTo(control.window(), QPoint(0, 0)), control.size());
}

::testing::AssertionResult ringIs(const QImage& image, const QRect& outer, int inset, const QColor& colour) {
    const QRect ring = outer.adjusted(inset, inset, -inset, -inset);
    Mismatches mismatches;
    for (int x = ring.left(); x <= ring.right(); ++x) {
        mismatches.check(image, QPoint(x, ring.top()), colour);
        mismatches.check(image, QPoint(x, ring.bottom()), colour);
    }
    for (int y = ring.top(); y <= ring.bottom(); ++y) {
        mismatches.check(image, QPoint(ring.left(), y), colour);
        mismatches.check(image, QPoint(ring.right(), y), colour);
    }
    return mismatches.result();
}

QImage titleAlone(const QString& title, const QFont& font, const QColor& textColour,
                  const QColor& background) {
    QImage image(titleSize(title, font), QImage::Format_ARGB32_Premultiplied);
    image.fill(background);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(textColour);
    painter.drawText(QPoint(0, painter.fontMetrics().ascent()), title);
    painter.end();
    return image.convertToFormat(QImage::Format_RGB32);
}

::testing::AssertionResult groupBoxIsThemed(const QImage& image, const QRect& box,
                                            const GroupBoxExpectation& look) {
    const QSize title = titleSize(look.title, look.font);
    const int W = box.width();
    const int H = box.height();
    const int cx = title.width();
    const int T = title.height() / 2;
    const TitleColumns place = titleColumns(look.alignment, W, cx);
    const QColor b = look.background;
    const QColor frame = look.frameColour;
    const QPoint origin = box.topLeft();
    Mismatches mismatches;
    // The title box is checked as a whole, at the end.
    const auto inTitle = [&](int x, int y) {
        return x >= place.titleLeft && x < place.titleLeft + cx && y >= 0 && y < title.height();
    };
    const auto at = [&](int x, int y, const QColor& colour) {
        if (!inTitle(x, y))
            mismatches.check(image, origin + QPoint(x, y), colour);
    };
    const auto inGap = [&](int x) { return x >= place.gapFirst && x <= place.gapLast; };

    // The four lines between the cut corners; the top one with its gap.
    for (int x = 3; x <= W - 4; ++x) {
        at(x, T, inGap(x) ? b : frame);
        at(x, H - 1, frame);
    }
    for (int y = T + 3; y <= H - 4; ++y) {
        at(0, y, frame);
        at(W - 1, y, frame);
    }
    // The corners, pixel by pixel.
    for (const QPoint p :
         {QPoint(0, T),         QPoint(0, T + 1),     QPoint(0, T + 2),     QPoint(1, T),
          QPoint(2, T),         QPoint(W - 1, T),     QPoint(W - 2, T),     QPoint(W - 3, T),
          QPoint(W - 1, T + 1), QPoint(W - 1, T + 2), QPoint(0, H - 1),     QPoint(0, H - 2),
          QPoint(0, H - 3),     QPoint(1, H - 1),     QPoint(2, H - 1),     QPoint(W - 1, H - 1),
          QPoint(W - 1, H - 2), QPoint(W - 1, H - 3), QPoint(W - 2, H - 1), QPoint(W - 3, H - 1)})
        at(p.x(), p.y(), b);
    for (const QPoint p : {QPoint(2, T + 1), QPoint(1, T + 2), QPoint(W - 3, T + 1), QPoint(W - 2, T + 2),
                           QPoint(1, H - 3), QPoint(2, H - 2), QPoint(W - 3, H - 2), QPoint(W - 2, H - 3)})
        at(p.x(), p.y(), frame);
    // The brush inside the lines, and above the top line beside the title.
    for (int x = 3; x <= W - 4; ++x) {
        at(x, T + 1, b);
        at(x, H - 2, b);
        for (int y = 0; y < T; ++y)
            at(x, y, b);
    }
    for (int y = T + 3; y <= H - 4; ++y) {
        at(1, y, b);
        at(W - 2, y, b);
    }
    // The title box shows the title alone on the brush.
    const QImage expected = titleAlone(look.title, look.font, look.textColour, b);
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x)
            mismatches.check(image, origin + QPoint(place.titleLeft + x, y), expected.pixelColor(x, y));
    return mismatches.result();
}

} // namespace uitest
