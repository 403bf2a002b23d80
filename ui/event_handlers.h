// The handlers that the main window's definition binds to its events. Each gets the window whose event it
// handles and runs on the GUI thread, inside the event loop.
#pragma once

namespace ui {

class MainWindow;

// The window's created event: all controls exist and the window is still hidden. Switches the visual
// theme (theme.h) on with scheme 2, so the window is themed from its first paint; nothing switches it off.
void onMainWindowCreated(MainWindow& window);

// The start button's clicked event: reads r, L, h and hi from their boxes, computes the two volumes and
// writes them into 编辑框V and 编辑框Vh.
void onStartClicked(MainWindow& window);

} // namespace ui
