// The program's start-up: what main() does once the QApplication exists.
#pragma once

#include "ui/window_definition.h"

namespace ui {

// Sets the floating-point environment of the GUI thread, builds the window from `definition` and runs the
// event loop until the last window is closed; returns 0. When the window cannot be built it shows an
// error box with no owner window, runs no event loop, and returns -1 (the process's exit code 255).
int startUp(const WindowDefinition& definition);

} // namespace ui
