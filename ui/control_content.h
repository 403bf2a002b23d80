// Reading and writing a control's content by the control's name, as GB2312 text: the form in which the
// window's texts reach the numeric core (gb2312_text.h).
#pragma once

#include <string>
#include <string_view>

namespace ui {

class MainWindow;

// The current text of the named control (an edit box's content, a button's caption). Empty when the window
// has no such control or the control holds no text.
std::string readContent(const MainWindow& window, std::string_view name);

// Replaces the whole text of the named control with `text`, unchanged, and shows it from its beginning.
// The control raises its content-changed signal. False when the window has no such control or the control
// holds no text.
bool writeContent(MainWindow& window, std::string_view name, std::string_view text);

} // namespace ui
