#include "ui/control_content.h"

#include "ui/gb2312_text.h"
#include "ui/main_window.h"

#include <QAbstractButton>
#include <QLineEdit>

namespace ui {

std::string readContent(const MainWindow& window, std::string_view name) {
    QWidget* control = window.control(name);
    if (const auto* edit = qobject_cast<QLineEdit*>(control))
        return toGb2312(edit->text());
    if (const auto* button = qobject_cast<QAbstractButton*>(control))
        return toGb2312(button->text());
    return {};
}

bool writeContent(MainWindow& window, std::string_view name, std::string_view text) {
    QWidget* control = window.control(name);
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        // setText leaves the caret at the end, which would scroll a long text to its tail.
        edit->setText(fromGb2312(text));
        edit->setCursorPosition(0);
        return true;
    }
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        button->setText(fromGb2312(text));
        return true;
    }
    return false;
}

} // namespace ui
