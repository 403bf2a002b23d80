// What every window test shares: a guard that turns a modal dialog into a test failure instead of a hang,
// and the real main window, built and active.
#pragma once

#include "ui/main_window.h"

#include <QObject>
#include <QString>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace uitest {

struct DialogSeen {
    QString className;
    QString title;
    QString text; // a message box's text
    int icon = 0; // a message box's QMessageBox::Icon
    bool hasOwner = false;
};

// Watches the whole application for modal dialogs. Each one is recorded and rejected as soon as its event
// loop runs, so that exec() returns and the test goes on.
class ModalDialogGuard : public QObject {
public:
    ModalDialogGuard();
    ~ModalDialogGuard() override;

    // The dialogs seen so far; a test that expects one takes it, and whatever is left fails the test.
    std::vector<DialogSeen> take();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::vector<DialogSeen> seen_;
};

class UiTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The program's own window, built from its definition and active, with the focus where it starts.
    ui::MainWindow& mainWindow();

    template <typename Widget> Widget* control(const char* name) {
        QWidget* widget = mainWindow().control(name);
        EXPECT_NE(widget, nullptr) << name;
        auto* typed = qobject_cast<Widget*>(widget);
        EXPECT_NE(typed, nullptr) << name << " is a " << (widget ? widget->metaObject()->className() : "-");
        return typed;
    }

    std::unique_ptr<ModalDialogGuard> dialogs_;

private:
    std::unique_ptr<ui::MainWindow> window_;
};

} // namespace uitest
