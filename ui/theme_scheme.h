// The colours of the visual theme: its three schemes, the two system colours it draws with, and the
// darkening of a colour that its disabled frames use.
#pragma once

#include <QColor>

#include <optional>

namespace ui {

struct SchemeColours {
    QColor editRing;   // the outer ring of an edit box, and the frames of the flat controls
    QColor groupFrame; // the frame of a group box
};

// Scheme 1, 2 or 3; none for any other number, with which the theme is off.
std::optional<SchemeColours> schemeColours(int scheme);

// Face: the button colour of the application palette.
QColor faceColour();

// The window colour: the application palette's background of text entry (QPalette::Base), white on most
// desktops.
QColor windowColour();

// `colour` with `amount` taken from each of its red, green and blue parts in one subtraction of
// amount × 0x010101 from the packed value 0x00BBGGRR, so a part smaller than `amount` borrows from the
// part above it (blue from nothing, wrapping round). What is left above the blue part is dropped.
//   darken(RGB(239, 239, 239), 32) -> RGB(207, 207, 207)
//   darken(RGB(16, 64, 64), 32)    -> RGB(240, 31, 32)     red borrows from green
//   darken(RGB(0, 0, 0), 32)       -> RGB(224, 223, 223)
QColor darken(const QColor& colour, int amount);

} // namespace ui
