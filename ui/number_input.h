// The number input of an edit box: which typed characters reach it, and the normal form into which it
// rewrites its text when it loses the focus.
#pragma once

class QLineEdit;

namespace ui {

// Attaches the number input to `box` for the box's whole life.
//
// Typed characters, from key presses and from input-method commits alike (a commit is filtered character
// by character), reach the box only when they are the digits "0" to "9", "-" or "."; any number of them
// in any place. Every other character is dropped silently, full-width and other double-byte characters
// included. Control characters (Backspace, Enter, Tab, Delete) and the Ctrl shortcuts (Ctrl+C, Ctrl+V,
// Ctrl+X, Ctrl+Z, ...) keep their normal effect. Pasted and dropped text is not filtered.
//
// When the box loses the focus, before its own focus-out handling and before the control that takes the
// focus receives it (so that a click on a button computes with the rewritten text), its text is read as a
// number (leading blanks skipped, the longest prefix of the number form, no full-width mapping; nothing
// readable is 0) and written back in the form of the result boxes, with "0" written as the empty text:
//   "1.2.3" -> "1.2"   "007" -> "7"   "12-3" -> "12"   "-0" -> ""   "abc" -> ""   "0.00001" -> "1e-005"
// A text already in that form is left alone, caret and undo history included. Otherwise the caret goes,
// without a selection, to where the selection began, or to the end of the new text when that is shorter.
// A number beyond the range of a double ("1e999") is left exactly as typed: written as "1.#INF" it would
// read back as 1.
//
// A context menu opening over the box is no loss of the focus. Text written by the program is never
// rewritten on its way in; it is rewritten only when the box is left with it.
void applyNumberInput(QLineEdit& box);

} // namespace ui
