// Where the focus goes when the main window receives it.
#pragma once

#include "ui/window_definition.h"

namespace ui {

class MainWindow;

// Whenever `window` is activated, when it is first shown and every time it becomes active again, the
// focus goes back to the control that had it when the window was last deactivated, as long as that
// control still exists and can take it; otherwise to the first candidate of the focus order
// (focus_order.h), which in the main window is 编辑框r.
void applyInitialFocus(MainWindow& window, const WindowDefinition& definition);

} // namespace ui
