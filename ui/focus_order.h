// The order in which the keyboard visits the controls of a window, computed from the window's definition.
#pragma once

#include "ui/window_definition.h"

#include <QPointer>
#include <QWidget>

#include <vector>

namespace ui {

class MainWindow;

// Every control has a place in the order: by tab order number, ascending, and among equal numbers the
// control that comes later in the definition first. Tab and Shift+Tab go only to the candidates: the
// controls that exist, have the tab-stop flag and are visible and enabled at that moment. A focused
// control that is no candidate (a push button that took the focus when clicked) counts from its own place.
//
// In the main window the candidates are 编辑框r, 编辑框L, 编辑框h, 编辑框hi, 编辑框V, 编辑框Vh; 按钮1
// stands just before 编辑框r, so Tab from it goes to 编辑框r and Shift+Tab wraps round to 编辑框Vh.
class FocusOrder {
public:
    // Finds the definition's controls in `window` by name; `definition` is not kept.
    FocusOrder(const WindowDefinition& definition, const MainWindow& window);

    // The first candidate; nullptr when there is none.
    QWidget* first() const;

    // The candidate after (Tab) or before (Shift+Tab) the control that `focused` is or lies in, wrapping
    // round at the ends; the only candidate follows itself. From nullptr, the window itself or a widget
    // that is no control, next() gives the first candidate and previous() the last.
    QWidget* next(const QWidget* focused) const;
    QWidget* previous(const QWidget* focused) const;

private:
    struct Place {
        QPointer<QWidget> control;
        bool tabStop = false;
    };

    bool isCandidate(const Place& place) const;
    // The index in places_ of the control that `widget` is or lies in; -1 for none.
    int placeOf(const QWidget* widget) const;
    QWidget* step(const QWidget* focused, int direction) const;

    QPointer<const MainWindow> window_;
    std::vector<Place> places_; // every control of the definition, in the keyboard's order
};

// Moves the focus into `control` as Tab does: an edit box keeps its caret where it was and selects nothing.
void giveKeyboardFocus(QWidget& control);

} // namespace ui
