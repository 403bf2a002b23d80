#include "ui/initial_focus.h"

#include "ui/focus_order.h"
#include "ui/main_window.h"

#include <QEvent>

namespace ui {
namespace {

class InitialFocus : public QObject {
public:
    InitialFocus(MainWindow& window, const WindowDefinition& definition)
        : QObject(&window), window_(window), order_(definition, window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != &window_)
            return false;
        // Qt sends these before it moves the focus itself; it then keeps the focus placed here.
        if (event->type() == QEvent::WindowDeactivate)
            remembered_ = window_.focusWidget();
        else if (event->type() == QEvent::WindowActivate)
            placeFocus();
        return false;
    }

private:
    bool canTakeFocus(const QWidget* control) const {
        return control != nullptr && control != &window_ && control->isVisibleTo(&window_) &&
               control->isEnabled() && control->focusPolicy() != Qt::NoFocus;
    }

    void placeFocus() {
        QWidget* target = canTakeFocus(remembered_) ? remembered_.data() : order_.first();
        if (target != nullptr)
            target->setFocus(Qt::ActiveWindowFocusReason);
    }

    MainWindow& window_;
    FocusOrder order_;
    QPointer<QWidget> remembered_;
};

} // namespace

void applyInitialFocus(MainWindow& window, const WindowDefinition& definition) {
    window.installEventFilter(new InitialFocus(window, definition));
}

} // namespace ui
