// The visual theme: a flat look of thin coloured frames, in one of three colour schemes, for certain kinds
// of controls of the GUI thread. One call switches it on for every such control that exists and for every
// one created afterwards, until another call switches it off.
//
// What the theme takes, and how it looks:
//   edit box (QLineEdit)   the control paints itself, then the theme draws over its border two rings:
//                          the scheme's edit ring outside, inside it the window colour (face when the box
//                          is read-only or disabled; a disabled box's outer ring is darken(face, 32)). A
//                          box without a frame is taken, but nothing is drawn over it.
//   group box (QGroupBox)  painted by the theme instead of itself, on the brush its parent gives for it:
//                          a 1-pixel frame with cut corners, the title on a gap in the top line
//                          (theme_painting.h). A checkable group box is not taken.
//   push buttons without a picture, check boxes, radio buttons, combo boxes and their drop-down lists,
//   spin boxes            drawn in the flat style of flat_style.h, in the scheme's colours.
// Not taken: a push button that shows a picture instead of its caption (a PictureButton with a picture,
// or a button with an icon and no text), command link buttons, labels, picture boxes, the windows
// themselves.
//
// The parent's colours for a control come from the control-colour query (control_colour.h), asked each
// time the control is erased, which with Qt is at the start of each paint. A parent that does not answer
// the query (a dialog's) leaves the control the colours of its palette: window text, and the window
// brush that Qt paints beneath it.
#pragma once

#include <QBrush>
#include <QColor>
#include <QMetaObject>
#include <QPointer>
#include <QStyle>
#include <QWidget>

#include <cstddef>
#include <functional>
#include <optional>

class QEvent;

namespace ui {

// Stores `scheme` as the theme's scheme, then switches the theme off if it is on. For 1, 2 or 3 it is then
// switched on again with that scheme and the result is 1; for any other value the result is nonzero if a
// theme was on and has been removed, 0 if none was on. Switching off gives every themed control its
// standard look at once; switching on (again) reads every control's state afresh and redraws it themed.
//
// Only for the GUI thread of a QApplication: called from another thread or without one it changes nothing
// and returns 0.
int applyTheme(int scheme);

// The scheme last given to applyTheme, read whenever a themed control paints; 0 before the first call.
// With any value but 1, 2 and 3 the theme is off.
int themeScheme();

enum class ThemedKind {
    EditBox,
    GroupBox,
    PushButton,
    CheckBox,
    RadioButton,
    ComboBox,
    ComboList, // the drop-down list of a combo box, the popup that holds its view
    SpinBox,
};

// One record per themed control, from its registration until it is destroyed or the theme goes off.
struct ThemedControl {
    QPointer<QWidget> control;
    ThemedKind kind = ThemedKind::EditBox;
    bool disabled = false;
    bool focused = false;
    bool readOnly = false; // an edit box's, taken at registration only

    // What the parent last gave for the control when it was erased: none before the first erase. The
    // brush is the parent's; background is the brush's colour, and for a group box the colour that its
    // painting read back from its top-left pixel.
    std::optional<QBrush> brush;
    QColor background;
    QColor textColour;

    // The control's own handling of an event: the theme hands a paint to it first and draws afterwards.
    std::function<bool(QEvent*)> originalHandler;

    // A flat-styled control's own style from before, restored when it leaves the theme; null when it
    // used the application's style.
    QPointer<QStyle> styleBefore;
    QMetaObject::Connection destroyedConnection;
};

// The record of `control`, or nullptr when it is not themed. The pointer is compared, never followed, so
// a destroyed control may be asked about.
const ThemedControl* findThemedControl(const QObject* control);

// How many controls are themed at this moment.
std::size_t themedControlCount();

} // namespace ui
