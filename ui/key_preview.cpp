#include "ui/key_preview.h"

#include "ui/focus_order.h"
#include "ui/main_window.h"
#include "ui/setting_conversion.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QPushButton>

#include <type_traits>
#include <variant>
#include <vector>

namespace ui {
namespace {

// The text in which a control of that kind may mark a mnemonic character.
QString captionOf(const KindSettings& settings) {
    return std::visit(
        [](const auto& kind) {
            using Kind = std::decay_t<decltype(kind)>;
            if constexpr (std::is_same_v<Kind, TransLabelSettings>)
                return toQString(kind.text);
            else if constexpr (std::is_same_v<Kind, GroupBoxSettings>)
                return toQString(kind.title);
            else if constexpr (std::is_same_v<Kind, PictureButtonSettings>)
                return toQString(kind.caption);
            else
                return QString();
        },
        settings);
}

enum class Action { None, Next, Previous, Enter, Close, Help, Mnemonic };

// The keypad and the keyboard group are no modifiers the user holds.
Qt::KeyboardModifiers heldModifiers(const QKeyEvent& key) {
    return key.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
}

Action actionFor(const QKeyEvent& key) {
    const Qt::KeyboardModifiers held = heldModifiers(key);
    const bool plain = held == Qt::NoModifier;
    switch (key.key()) {
    case Qt::Key_Tab:
        return plain ? Action::Next : held == Qt::ShiftModifier ? Action::Previous : Action::None;
    case Qt::Key_Backtab: // what X11 reports for Shift+Tab
        return plain || held == Qt::ShiftModifier ? Action::Previous : Action::None;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return plain ? Action::Enter : Action::None;
    case Qt::Key_Escape:
        return plain ? Action::Close : Action::None;
    case Qt::Key_F1:
        return plain ? Action::Help : Action::None;
    default:
        break;
    }
    const bool letterOrDigit = (key.key() >= Qt::Key_A && key.key() <= Qt::Key_Z) ||
                               (key.key() >= Qt::Key_0 && key.key() <= Qt::Key_9);
    return held == Qt::AltModifier && letterOrDigit ? Action::Mnemonic : Action::None;
}

class KeyPreview : public QObject {
public:
    KeyPreview(MainWindow& window, const WindowDefinition& definition)
        : QObject(&window), window_(window), order_(definition, window),
          escapeCloses_(definition.window.escapeCloses), enterMovesFocus_(definition.window.enterMovesFocus) {
        for (const ControlDefinition& control : definition.controls)
            controls_.push_back({window.control(control.name), captionOf(control.settings)});
    }

protected:
    // Installed on the application, so that it sees a key before the filters and handlers of the control
    // it is sent to. A key that a control ignores travels on to its parents; it is looked at again there,
    // and since the decision depends on the focused control, not on the receiver, it is the same.
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if ((type != QEvent::KeyPress && type != QEvent::ShortcutOverride) || offering_ ||
            !watched->isWidgetType() || static_cast<QWidget*>(watched)->window() != &window_)
            return false;
        auto& key = *static_cast<QKeyEvent*>(event);
        const Action action = actionFor(key);
        QWidget* focused = window_.focusWidget();
        if (!handles(action, focused) || (focused != nullptr && claims(*focused, key)))
            return false;
        // Qt offers every key to the focused control as a shortcut override before it looks for a
        // shortcut. Taking the offer keeps Qt's own mnemonics of buttons, labels and group boxes from
        // acting on the key; the key press that follows is handled here.
        if (type == QEvent::ShortcutOverride) {
            key.accept();
            return true;
        }
        perform(action, key.key(), focused);
        return true;
    }

private:
    struct Control {
        QPointer<QWidget> widget;
        QString caption;
    };

    // A control claims a key by taking the shortcut override offered to it, as Qt lets it do.
    bool claims(QWidget& control, const QKeyEvent& key) {
        QKeyEvent offer(QEvent::ShortcutOverride, key.key(), key.modifiers(), key.text(), key.isAutoRepeat(),
                        static_cast<quint16>(key.count()));
        offer.ignore();
        offering_ = true;
        QCoreApplication::sendEvent(&control, &offer);
        offering_ = false;
        return offer.isAccepted();
    }

    bool handles(Action action, QWidget* focused) const {
        switch (action) {
        case Action::None:
            return false;
        case Action::Enter:
            return isDefaultButton(focused) || enterMovesFocus_ || firstDefaultButton() != nullptr;
        case Action::Close:
            return escapeCloses_;
        case Action::Next:
        case Action::Previous:
        case Action::Help:
        case Action::Mnemonic:
            return true;
        }
        return false;
    }

    void perform(Action action, int key, QWidget* focused) {
        switch (action) {
        case Action::Next:
            moveFocus(order_.next(focused));
            break;
        case Action::Previous:
            moveFocus(order_.previous(focused));
            break;
        case Action::Enter:
            pressEnter(focused);
            break;
        case Action::Close:
            window_.close();
            break;
        case Action::Help: // the program has no help
        case Action::None:
            break;
        case Action::Mnemonic:
            pressMnemonic(key);
            break;
        }
    }

    static void moveFocus(QWidget* to) {
        if (to != nullptr)
            giveKeyboardFocus(*to);
    }

    bool usable(const QWidget& widget) const { return widget.isVisibleTo(&window_) && widget.isEnabled(); }

    static bool isDefaultButton(QWidget* widget) {
        const auto* button = qobject_cast<QPushButton*>(widget);
        return button != nullptr && button->isDefault();
    }

    QPushButton* firstDefaultButton() const {
        for (const Control& control : controls_) {
            auto* button = qobject_cast<QPushButton*>(control.widget.data());
            if (button != nullptr && button->isDefault() && usable(*button))
                return button;
        }
        return nullptr;
    }

    void pressEnter(QWidget* focused) {
        if (auto* button = qobject_cast<QPushButton*>(focused); button != nullptr && button->isDefault())
            button->click();
        else if (enterMovesFocus_)
            moveFocus(order_.next(focused));
        else if (QPushButton* button = firstDefaultButton())
            button->click();
    }

    void pressMnemonic(int key) {
        const QKeySequence wanted(QKeyCombination(Qt::AltModifier, static_cast<Qt::Key>(key)));
        for (const Control& control : controls_) {
            if (!control.widget || !usable(*control.widget) ||
                QKeySequence::mnemonic(control.caption) != wanted)
                continue;
            // A label or a frame only names the control that follows it.
            if (auto* button = qobject_cast<QAbstractButton*>(control.widget.data()))
                button->click();
            else
                moveFocus(order_.next(control.widget));
            return;
        }
    }

    MainWindow& window_;
    FocusOrder order_;
    bool escapeCloses_;
    bool enterMovesFocus_;
    bool offering_ = false;
    std::vector<Control> controls_; // in definition order, which decides between equal mnemonics
};

} // namespace

void applyKeyPreview(MainWindow& window, const WindowDefinition& definition) {
    QCoreApplication::instance()->installEventFilter(new KeyPreview(window, definition));
}

} // namespace ui
