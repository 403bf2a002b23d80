// The program's only window: a plain top-level widget whose controls sit at fixed places, with the events
// its definition binds. It answers the control-colour query for its controls from their definitions.
#pragma once

#include "ui/control_colour.h"
#include "ui/window_definition.h"

#include <QWidget>

#include <string_view>
#include <vector>

namespace ui {

class MainWindow : public QWidget, public ColourQueryParent {
    Q_OBJECT

public:
    // Makes the window hidden, with the title, title-bar buttons, background, icon, font and pointer of
    // `settings`. Size and place are the builder's business.
    explicit MainWindow(const WindowSettings& settings);

    // The control of that name, or nullptr.
    QWidget* control(std::string_view name) const;

    // Runs the handlers bound to `event`, in the order of their bindings.
    void raiseEvent(Event event);

protected:
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    std::vector<EventBinding> events_;
};

} // namespace ui
