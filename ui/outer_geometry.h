// Placing a top-level window by its outer rectangle, the frame that the window manager adds included.
#pragma once

#include <QRect>
#include <QSize>

class QWidget;

namespace ui {

// The outer rectangle of a window of `outer` size centred on `screen`: each offset is half the spare
// space, truncated toward zero, so a window larger than the screen overhangs it evenly.
//   centredOuterRect({522, 498}, {0, 0, 1024, 768}) -> {251, 135, 522, 498}
//   centredOuterRect({522, 498}, {0, 0, 501, 400})  -> {-10, -49, 522, 498}
QRect centredOuterRect(QSize outer, QRect screen);

// Gives the hidden `window` the outer rectangle `outer`. Qt positions a window by its frame but sizes it
// by its client area, and the frame is known only once the window manager has framed the shown window;
// until then the client area gets the whole outer size. When the frame first appears the client area is
// shrunk by it and the frame put back at `outer`'s corner, once, so a later resize by the user stays.
// Without a frame (offscreen, or no window manager) the client area simply is the outer rectangle.
void applyOuterGeometry(QWidget& window, QRect outer);

} // namespace ui
