// Test pictures and grabbed images: pictures made on the spot, so each test shows what it decodes, and the
// pixel checks of the decorations' tests.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QRect>
#include <QSize>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

class QWidget;

namespace uitest {

// A GIF89a file of one solid-coloured frame per entry of `frames` (at most four colours in all), each
// shown for `delayCentiseconds`, that loops for ever. Qt reads GIF but cannot write it.
QByteArray solidGif(QSize size, const std::vector<QColor>& frames, int delayCentiseconds);

// A PNG of one colour.
QByteArray solidPng(QSize size, QColor colour);

// What `widget` paints, children included, as opaque RGB.
QImage grabbed(QWidget& widget);

// What the window system was last given for the top-level `window`: on the offscreen platform its backing
// store, so the result of Qt's real repaints rather than of a fresh render.
QImage onScreen(QWidget& window);

// The smallest rectangle holding every pixel of `area` that `isInk`; empty when there is none.
QRect inkBounds(const QImage& image, QRect area, const std::function<bool(QColor)>& isInk);

// Whether two images are alike pixel for pixel; otherwise names the sizes or the first pixel that differs.
::testing::AssertionResult sameImage(const QImage& actual, const QImage& expected);

// How far `pixel` lies from `background` towards `ink`, 0 to 1 (the ink's coverage), when it is a mixture
// of the two within `tolerance` per channel, blended linearly or as Qt blends text; negative when it is
// not such a mixture.
double coverage(QColor pixel, QColor background, QColor ink, int tolerance = 3);

} // namespace uitest
