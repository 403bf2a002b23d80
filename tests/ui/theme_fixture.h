// What the theme's tests share: guards for the global state they change, and checks of the rings and
// frames that the theme draws. What a window shows is read with onScreen (picture_fixture.h): its backing
// store as last painted, so a check tells what a paint that has already happened drew.
#pragma once

#include "picture_fixture.h"

#include "ui/theme_painting.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>
#include <QWidget>

#include <gtest/gtest.h>

namespace uitest {

// Switches the theme off when it is made, so that a test starts from no theme whatever ran before it in
// the process, and again when the test ends, whatever the test switched on (the main window's created
// handler switches on scheme 2).
class ThemeGuard {
public:
    ThemeGuard();
    ~ThemeGuard();
    ThemeGuard(const ThemeGuard&) = delete;
    ThemeGuard& operator=(const ThemeGuard&) = delete;
};

// A caret that does not blink, so that two pictures of the same window taken at different moments agree.
class SteadyCaret {
public:
    SteadyCaret();
    ~SteadyCaret();
    SteadyCaret(const SteadyCaret&) = delete;
    SteadyCaret& operator=(const SteadyCaret&) = delete;

private:
    int flashTime_;
};

// `control`'s rectangle in the coordinates of its window.
QRect placeInWindow(const QWidget& control);

// Every pixel of the ring at `inset` inside `outer` has `colour`.
::testing::AssertionResult ringIs(const QImage& image, const QRect& outer, int inset, const QColor& colour);

// How a themed group box should look.
struct GroupBoxExpectation {
    QString title;
    QFont font;
    ui::TitleAlignment alignment = ui::TitleAlignment::Left;
    QColor background; // b: what the brush gives at the box's top-left pixel
    QColor textColour;
    QColor frameColour;
};

// The group box at `box` in `image` shows the themed frame pixel by pixel along its lines, its cut
// corners, the gap in its top line, and its title where the alignment puts it.
::testing::AssertionResult groupBoxIsThemed(const QImage& image, const QRect& box,
                                            const GroupBoxExpectation& look);

// The title alone, drawn in its font and colour on `background`, its top-left at (0, 0): what the title
// box of a themed group box must show. Width cx, height cy of the title in that font.
QImage titleAlone(const QString& title, const QFont& font, const QColor& textColour,
                  const QColor& background);

} // namespace uitest
