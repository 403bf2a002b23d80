#include "picture_fixture.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace uitest {
namespace {

void putWord(QByteArray& out, int value) {
    out.append(static_cast<char>(value & 0xff));
    out.append(static_cast<char>((value >> 8) & 0xff));
}

// The LZW data of a frame whose every pixel is colour index `index`, for minimum code size 2: codes are
// 3 bits wide (0-3 colours, 4 clear, 5 end). A clear code after every two colour codes keeps the
// decoder's table below 8 entries, so the codes never grow and need no compression.
QByteArray solidLzw(int pixels, int index) {
    std::vector<int> codes;
    for (int i = 0; i < pixels; ++i) {
        if (i % 2 == 0)
            codes.push_back(4);
        codes.push_back(index);
    }
    codes.push_back(5);

    QByteArray packed;
    std::uint32_t bits = 0;
    int count = 0;
    for (const int code : codes) {
        bits |= static_cast<std::uint32_t>(code) << count;
        count += 3;
        while (count >= 8) {
            packed.append(static_cast<char>(bits & 0xff));
            bits >>= 8;
            count -= 8;
        }
    }
    if (count > 0)
        packed.append(static_cast<char>(bits & 0xff));

    QByteArray blocks;
    blocks.append(char(2)); // minimum code size
    for (qsizetype at = 0; at < packed.size(); at += 255) {
        const QByteArray block = packed.mid(at, 255);
        blocks.append(static_cast<char>(block.size()));
        blocks.append(block);
    }
    blocks.append(char(0));
    return blocks;
}

// The share of `ink` in `pixel` when it is a mixture of `background` and `ink` blended in `gamma`, or -1.
double mixture(QColor pixel, QColor background, QColor ink, double gamma, int tolerance) {
    const auto linear = [gamma](int value) { return std::pow(value / 255.0, gamma); };
    const int p[] = {pixel.red(), pixel.green(), pixel.blue()};
    const int b[] = {background.red(), background.green(), background.blue()};
    const int i[] = {ink.red(), ink.green(), ink.blue()};
    const auto fits = [&](double a) {
        for (int c = 0; c < 3; ++c) {
            const double expected = 255.0 * std::pow(a * linear(i[c]) + (1 - a) * linear(b[c]), 1 / gamma);
            if (std::abs(p[c] - expected) > tolerance)
                return false;
        }
        return true;
    };
    // Each channel in which background and ink differ gives an estimate of the share; where blending
    // is steep, one channel's rounding can spoil its own estimate but not the others'.
    for (int c = 0; c < 3; ++c) {
        if (i[c] == b[c])
            continue;
        const double share = (linear(p[c]) - linear(b[c])) / (linear(i[c]) - linear(b[c]));
        if (share >= -0.02 && share <= 1.02 && fits(std::clamp(share, 0.0, 1.0)))
            return std::clamp(share, 0.0, 1.0);
    }
    return pixel.rgb() == background.rgb() ? 0.0 : -1.0;
}

} // namespace

QByteArray solidGif(QSize size, const std::vector<QColor>& frames, int delayCentiseconds) {
    std::vector<QColor> palette;
    for (const QColor& colour : frames)
        if (std::ranges::find(palette, colour) == palette.end())
            palette.push_back(colour);
    palette.resize(4, Qt::black);

    QByteArray gif("GIF89a");
    putWord(gif, size.width());
    putWord(gif, size.height());
    gif.append(char(0xf1)); // a global colour table of 4 entries
    gif.append(char(0));
    gif.append(char(0));
    for (const QColor& colour : palette) {
        gif.append(static_cast<char>(colour.red()));
        gif.append(static_cast<char>(colour.green()));
        gif.append(static_cast<char>(colour.blue()));
    }
    // NETSCAPE2.0 application extension: loop for ever.
    gif.append("\x21\xff\x0bNETSCAPE2.0\x03\x01", 16);
    putWord(gif, 0);
    gif.append(char(0));

    for (const QColor& colour : frames) {
        gif.append("\x21\xf9\x04\x00", 4); // graphic control: no disposal, no transparent colour
        putWord(gif, delayCentiseconds);
        gif.append(char(0));
        gif.append(char(0));
        gif.append(char(0x2c));
        putWord(gif, 0);
        putWord(gif, 0);
        putWord(gif, size.width());
        putWord(gif, size.height());
        gif.append(char(0));
        const auto index = std::ranges::find(palette, colour) - palette.begin();
        gif.append(solidLzw(size.width() * size.height(), static_cast<int>(index)));
    }
    gif.append(char(0x3b));
    return gif;
}

QByteArray solidPng(QSize size, QColor colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QImage grabbed(QWidget& widget) {
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QImage onScreen(QWidget& window) {
    return window.screen()->grabWindow(window.winId()).toImage().convertToFormat(QImage::Format_RGB32);
}

QRect inkBounds(const QImage& image, QRect area, const std::function<bool(QColor)>& isInk) {
    QRect bounds;
    area &= image.rect();
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (isInk(image.pixelColor(x, y)))
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

::testing::AssertionResult sameImage(const QImage& actual, const QImage& expected) {
    if (actual.size() != expected.size())
        return ::testing::AssertionFailure() << "sizes differ: " << actual.width() << "x" << actual.height()
                                             << " against " << expected.width() << "x" << expected.height();
    for (int y = 0; y < actual.height(); ++y)
        for (int x = 0; x < actual.width(); ++x)
            if (actual.pixel(x, y) != expected.pixel(x, y))
                return ::testing::AssertionFailure()
                       << "first difference at " << x << "," << y << ": "
                       << actual.pixelColor(x, y).name().toStdString() << " against "
                       << expected.pixelColor(x, y).name().toStdString();
    return ::testing::AssertionSuccess();
}

double coverage(QColor pixel, QColor background, QColor ink, int tolerance) {
    // Qt blends anti-aliased text in its font-smoothing gamma of 1.7 and everything else linearly.
    for (const double gamma : {1.0, 1.7}) {
        const double share = mixture(pixel, background, ink, gamma, tolerance);
        if (share >= 0.0)
            return share;
    }
    return -1.0;
}

} // namespace uitest
