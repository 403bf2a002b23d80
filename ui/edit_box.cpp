#include "ui/edit_box.h"

#include "ui/number_input.h"
#include "ui/setting_conversion.h"

#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleHints>

#include <algorithm>

namespace ui {
namespace {

QPalette editPalette(QPalette palette, const EditBoxSettings& settings) {
    const QColor text = toQColor(settings.textColour, palette);
    const QColor background = toQColor(settings.background, palette);
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Text, text);
        palette.setColor(group, QPalette::Base, background);
    }
    if (settings.hideSelection) {
        // Within its window a box loses its selection with the focus; in an inactive window the
        // selection is kept, and these colours keep it out of sight until the window is active again.
        palette.setColor(QPalette::Inactive, QPalette::Highlight, background);
        palette.setColor(QPalette::Inactive, QPalette::HighlightedText, text);
    }
    return palette;
}

} // namespace

EditBox::EditBox(const EditBoxSettings& settings, QWidget* parent)
    : QLineEdit(toQString(settings.text), parent), mode_(settings.mode) {
    setFrame(settings.border != EditBorder::None);
    setPalette(editPalette(palette(), settings));
    setFont(makeFont(settings.font));
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setCursorPosition(0);
    setReadOnly(mode_ == EditInputMode::ReadOnly);
    if (mode_ == EditInputMode::Number)
        applyNumberInput(*this);
    if (isReadOnly()) {
        // The caret starts bright wherever the user moves it, so it never vanishes while being moved.
        connect(this, &QLineEdit::cursorPositionChanged, this, [this] { restartCaret(); });
        connect(this, &QLineEdit::selectionChanged, this, [this] { restartCaret(); });
    }
}

EditBox::~EditBox() {
    // QWidget's destructor would take the focus away only once this box is no line edit any more, and the
    // number input's focus-lost handling would then work on what is left of it.
    if (hasFocus())
        clearFocus();
}

bool EditBox::readOnlyCaretShown() const {
    return isReadOnly() && hasFocus() && caretPhaseOn_;
}

void EditBox::paintEvent(QPaintEvent* event) {
    QLineEdit::paintEvent(event);
    if (!readOnlyCaretShown())
        return;
    // cursorRect() is centred on the caret's position.
    const QRect around = cursorRect();
    const int x = around.left() + around.width() / 2;
    const int width = std::max(1, style()->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, this));
    QPainter painter(this);
    painter.fillRect(QRect(x, around.top(), width, around.height()), palette().color(QPalette::Text));
}

void EditBox::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    if (isReadOnly())
        restartCaret();
}

void EditBox::focusOutEvent(QFocusEvent* event) {
    caretBlink_.stop();
    caretPhaseOn_ = false;
    QLineEdit::focusOutEvent(event);
}

void EditBox::timerEvent(QTimerEvent* event) {
    if (event->timerId() != caretBlink_.timerId()) {
        QLineEdit::timerEvent(event);
        return;
    }
    caretPhaseOn_ = !caretPhaseOn_;
    update();
}

void EditBox::inputMethodEvent(QInputMethodEvent* event) {
    // QLineEdit lets an input method's commit replace text even in a read-only box.
    if (isReadOnly()) {
        event->ignore();
        return;
    }
    QLineEdit::inputMethodEvent(event);
}

void EditBox::restartCaret() {
    if (!hasFocus())
        return;
    caretPhaseOn_ = true;
    // The flash time is one whole on-and-off cycle; zero or less means a steady caret.
    const int flashTime = QGuiApplication::styleHints()->cursorFlashTime();
    if (flashTime > 0)
        caretBlink_.start(flashTime / 2, this);
    else
        caretBlink_.stop();
    update();
}

} // namespace ui
