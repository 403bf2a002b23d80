// Making the live window from a window definition.
#pragma once

#include "ui/main_window.h"
#include "ui/window_definition.h"

#include <QString>

#include <memory>

namespace ui {

struct BuildResult {
    std::unique_ptr<MainWindow> window; // null when the definition cannot be built
    QString error;                      // why, for the log; empty on success
};

// Builds, raises the created event, shows and activates the window, in this order:
//   1. the window, hidden, with its settings, centred by its outer size on the primary screen;
//   2. the controls, hidden, as children of the window, in reverse definition order;
//   3. each control whose parent is a group box moved into it, keeping its left and top; then each
//      parent told the colours of its controls, for the control-colour query (control_colour.h);
//   4. the controls of each parent stacked in definition order, the first on top;
//   5. the visible controls shown;
//   6. the created event, while the window is still hidden;
//   7. the moved event, then the resized event;
//   8. the keyboard rules attached (key_preview.h, initial_focus.h), then the window shown and
//      activated; activation places the focus on the first candidate of the focus order.
// A definition that cannot be built gives no window: an unknown kind, settings of another kind, an empty
// or repeated name, a parent that is neither the window nor a group box lying in the window, or an event
// that the window or that kind of control does not raise.
BuildResult buildMainWindow(const WindowDefinition& definition);

} // namespace ui
