// The keys that the main window handles itself, before the focused control sees them.
#pragma once

#include "ui/window_definition.h"

namespace ui {

class MainWindow;

// Examines every key press on `window` or any of its controls before the focused control gets it. Unless
// the focused control claims the key for itself (as a multi-line text edit claims Enter and Tab), the
// window handles these and consumes them:
//
//   Tab          the focus to the next candidate of the focus order (focus_order.h)
//   Shift+Tab    the focus to the previous candidate
//   Enter        a focused default push button is clicked; otherwise, with the window setting
//                enterMovesFocus, the focus moves on as by Tab; otherwise the first default push button
//                of the definition is clicked. With none of these, Enter goes on to the focused control.
//   Esc          the window is asked to close, as by its close button (with the setting escapeCloses)
//   F1           nothing: the program has no help
//   Alt+letter   or Alt+digit: the first visible, enabled control whose caption marks that character
//                with "&" is clicked when it is a button, and otherwise hands the focus to the candidate
//                after it; when no caption marks it, nothing happens
//
// Other modifiers than those named make a key pass. In the main window Enter finds no default button and
// no caption has a mnemonic, so Enter reaches the focused control, which ignores it, and Alt with a letter
// or digit does nothing.
void applyKeyPreview(MainWindow& window, const WindowDefinition& definition);

} // namespace ui
