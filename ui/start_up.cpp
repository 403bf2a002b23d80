#include "ui/start_up.h"

#include "ui/window_builder.h"

#include "calc/volume.h"

#include <QApplication>
#include <QMessageBox>
#include <QtDebug>

namespace ui {

int startUp(const WindowDefinition& definition) {
    calc::setFloatingPointEnvironment();

    const BuildResult built = buildMainWindow(definition);
    if (!built.window) {
        qCritical().noquote() << "The start window cannot be built:" << built.error;
        QMessageBox::critical(nullptr, QStringLiteral("Corvalen"), QStringLiteral("加载启动窗口失败。"));
        return -1;
    }

    QApplication::exec();
    return 0;
}

} // namespace ui
