#include "ui/main_window.h"

#include "ui/setting_conversion.h"

#include <QIcon>

namespace ui {
namespace {

Qt::WindowFlags flagsFor(const WindowSettings& settings) {
    // CustomizeWindowHint turns the platform's default buttons off, so that only the ones asked for show.
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (settings.windowMenu)
        flags |= Qt::WindowSystemMenuHint;
    if (settings.closeButton)
        flags |= Qt::WindowCloseButtonHint;
    if (settings.minimiseButton)
        flags |= Qt::WindowMinimizeButtonHint;
    if (settings.maximiseButton)
        flags |= Qt::WindowMaximizeButtonHint;
    if (settings.alwaysOnTop)
        flags |= Qt::WindowStaysOnTopHint;
    if (!settings.inTaskbar)
        flags |= Qt::Tool;
    return flags;
}

} // namespace

MainWindow::MainWindow(const WindowSettings& settings)
    : QWidget(nullptr, flagsFor(settings)), events_(settings.events.begin(), settings.events.end()) {
    setWindowTitle(toQString(settings.title));

    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, toQColor(settings.background, palette));
    setPalette(palette);
    setAutoFillBackground(true);

    QIcon icon;
    for (const std::string_view path : settings.icon)
        icon.addFile(toQString(path));
    setWindowIcon(icon);

    setFont(makeFont(settings.font));
    setCursor(settings.cursor);
}

QWidget* MainWindow::control(std::string_view name) const {
    return findChild<QWidget*>(toQString(name), Qt::FindChildrenRecursively);
}

void MainWindow::raiseEvent(Event event) {
    for (const EventBinding& binding : events_)
        if (binding.event == event)
            binding.handler(*this);
}

void MainWindow::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    raiseEvent(Event::Moved);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    raiseEvent(Event::Resized);
}

} // namespace ui
