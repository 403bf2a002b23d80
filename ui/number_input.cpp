#include "ui/number_input.h"

#include "ui/gb2312_text.h"

#include "calc/numeric_text.h"

#include <QEvent>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <string>

namespace ui {
namespace {

// Control characters are the box's own editing keys: Backspace, Tab and Enter as codes below 32, the
// Ctrl+letter codes of the shortcuts, and DEL, which the Delete key carries on X11.
bool passes(QChar c) {
    return (c >= u'0' && c <= u'9') || c == u'-' || c == u'.' || c.category() == QChar::Other_Control;
}

QString filtered(const QString& typed) {
    QString kept;
    std::copy_if(typed.cbegin(), typed.cend(), std::back_inserter(kept), passes);
    return kept;
}

// Ctrl and Ctrl+Shift with a key are the box's commands, never typing: the line edit inserts nothing for
// them, and Qt's own synthetic key events carry the bare letter as the text of Ctrl+V.
bool isCommand(const QKeyEvent& key) {
    const Qt::KeyboardModifiers held =
        key.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    return held == Qt::ControlModifier || held == (Qt::ShiftModifier | Qt::ControlModifier);
}

class NumberInput : public QObject {
public:
    explicit NumberInput(QLineEdit& box) : QObject(&box), box_(box) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != &box_)
            return false;
        switch (event->type()) {
        case QEvent::KeyPress:
            return dropTypedCharacters(*static_cast<QKeyEvent*>(event));
        case QEvent::InputMethod:
            filterCommit(*static_cast<QInputMethodEvent*>(event));
            return false;
        case QEvent::FocusOut:
            // A popup (the box's context menu) takes the keyboard without taking the focus away; the user
            // is still in the box and may paste into it.
            if (static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
                normalise();
            return false;
        default:
            return false;
        }
    }

private:
    // True when the key press is consumed.
    bool dropTypedCharacters(const QKeyEvent& key) {
        const QString typed = key.text();
        if (typed.isEmpty() || isCommand(key))
            return false;
        const QString kept = filtered(typed);
        if (kept == typed)
            return false;
        // A key that types several characters at once (a compose sequence) keeps the accepted ones.
        if (!kept.isEmpty())
            box_.insert(kept);
        return true;
    }

    // The pre-edit text and the replacement range are the input method's own; only what it commits is
    // typing.
    static void filterCommit(QInputMethodEvent& commit) {
        const QString kept = filtered(commit.commitString());
        if (kept != commit.commitString())
            commit.setCommitString(kept, commit.replacementStart(), commit.replacementLength());
    }

    void normalise() {
        const std::string current = toGb2312(box_.text());
        const double x = calc::readNumber(current);
        // Written as "1.#INF", an infinity would read back as 1 while the box still showed infinity. As
        // typed, it reads as the same infinity every time.
        if (std::isinf(x))
            return;
        std::string normal = calc::numberToText(x);
        if (normal == "0")
            normal.clear();
        if (normal == current)
            return;
        const int selectionStart = box_.hasSelectedText() ? box_.selectionStart() : box_.cursorPosition();
        box_.setText(QString::fromLatin1(normal));
        // Placing the caret clears the selection; QLineEdit scrolls the caret into view.
        box_.setCursorPosition(std::min(selectionStart, static_cast<int>(box_.text().size())));
    }

    QLineEdit& box_;
};

} // namespace

void applyNumberInput(QLineEdit& box) {
    box.installEventFilter(new NumberInput(box));
}

} // namespace ui
