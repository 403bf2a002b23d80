#include "ui/event_handlers.h"

#include "ui/control_content.h"
#include "ui/theme.h"

#include "calc/volume.h"

namespace ui {

void onMainWindowCreated(MainWindow&) {
    applyTheme(2);
}

void onStartClicked(MainWindow& window) {
    const std::string r = readContent(window, "编辑框r");
    const std::string L = readContent(window, "编辑框L");
    const std::string h = readContent(window, "编辑框h");
    const std::string hi = readContent(window, "编辑框hi");
    const calc::VolumeTexts volumes = calc::computeVolumes(r, L, h, hi);
    writeContent(window, "编辑框V", volumes.V);
    writeContent(window, "编辑框Vh", volumes.Vh);
}

} // namespace ui
