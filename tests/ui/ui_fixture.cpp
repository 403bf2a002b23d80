#include "ui_fixture.h"

#include "ui/theme.h"
#include "ui/window_builder.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QTest>

#include <stdexcept>

namespace uitest {

ModalDialogGuard::ModalDialogGuard() {
    qApp->installEventFilter(this);
}

ModalDialogGuard::~ModalDialogGuard() {
    qApp->removeEventFilter(this);
}

std::vector<DialogSeen> ModalDialogGuard::take() {
    return std::exchange(seen_, {});
}

bool ModalDialogGuard::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Show || !watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    auto* dialog = qobject_cast<QDialog*>(widget);
    if (!widget->isWindow() || (dialog == nullptr && !widget->isModal()))
        return false;

    DialogSeen seen{
        widget->metaObject()->className(), widget->windowTitle(), {}, 0, widget->parentWidget() != nullptr};
    if (const auto* box = qobject_cast<QMessageBox*>(widget)) {
        seen.text = box->text();
        seen.icon = box->icon();
    }
    seen_.push_back(seen);
    QMetaObject::invokeMethod(
        widget,
        [widget] {
            if (auto* modal = qobject_cast<QDialog*>(widget))
                modal->reject();
            else
                widget->close();
        },
        Qt::QueuedConnection);
    return false;
}

void UiTest::SetUp() {
    dialogs_ = std::make_unique<ModalDialogGuard>();
}

void UiTest::TearDown() {
    window_.reset();
    // Building the main window switches the theme on for the whole process; each test starts without it.
    ui::applyTheme(0);
    for (const DialogSeen& dialog : dialogs_->take())
        ADD_FAILURE() << "unexpected modal dialog " << dialog.className.toStdString() << " \""
                      << dialog.title.toStdString() << "\": " << dialog.text.toStdString();
    dialogs_.reset();
}

ui::MainWindow& UiTest::mainWindow() {
    if (!window_) {
        ui::BuildResult built = ui::buildMainWindow(ui::mainWindowDefinition());
        window_ = std::move(built.window);
        if (!window_)
            throw std::runtime_error("the main window cannot be built: " + built.error.toStdString());
        EXPECT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    }
    return *window_;
}

} // namespace uitest
