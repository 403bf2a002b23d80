// A group box (分组框): the standard titled frame, on a background of its own, that holds other controls.
#pragma once

#include "ui/control_colour.h"
#include "ui/control_settings.h"

#include <QFont>
#include <QGroupBox>

#include <memory>

namespace ui {

// Its title and interior take the colours that the control-colour query gives, and the group box itself
// answers that query: its title colour and its background colour and brush. As a parent it answers for
// its children the way the main window does, so a control placed in it keeps its own colours.
//
// The frame and title are drawn by Qt's common style, the standard etched frame whose top line runs
// through the middle of the title, whatever the application's style: Fusion tints the inside of its
// group-box frame, and the inside must show exactly the box's own background.
//
// The title font is used for the title alone. It is deliberately not the widget's font: Qt would hand a
// widget font on to the children, which keep their own fonts as they keep their own colours.
class GroupBox : public QGroupBox, public ColourQueryParent, public AnswersOwnColours {
    Q_OBJECT

public:
    GroupBox(const GroupBoxSettings& settings, QWidget* parent);
    ~GroupBox() override;

    ControlColours ownColours() const override { return colours_; }
    QFont titleFont() const { return titleFont_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ControlColours colours_;
    QFont titleFont_;
    std::unique_ptr<QStyle> look_;
};

} // namespace ui
