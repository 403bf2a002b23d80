// A one-line edit box. A number box takes the number input (number_input.h) from its creation on; a
// read-only box takes the focus, shows a caret and lets the user select and copy, but nothing the user
// does changes its text.
#pragma once

#include "ui/control_settings.h"

#include <QBasicTimer>
#include <QLineEdit>

namespace ui {

class EditBox : public QLineEdit {
    Q_OBJECT

public:
    EditBox(const EditBoxSettings& settings, QWidget* parent);
    ~EditBox() override;

    EditInputMode inputMode() const { return mode_; }

    // Whether a read-only box draws its caret at this moment: it blinks while the box has the focus. An
    // editable box's caret is QLineEdit's own, and this is false for it.
    bool readOnlyCaretShown() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    void restartCaret();

    EditInputMode mode_;
    // QLineEdit draws no caret in a read-only box, so a read-only box draws its own.
    QBasicTimer caretBlink_;
    bool caretPhaseOn_ = false;
};

} // namespace ui
