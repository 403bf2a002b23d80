// The theme's flat look for push buttons without a picture, check boxes, radio buttons, combo boxes with
// their drop-down lists, and spin boxes: faces in the button colour, fields in the window colour and
// 1-pixel frames in the scheme's edit ring colour (darken(face, 32) when disabled). Sizes and layout stay
// those of the style it is made over; only the drawing of these controls differs.
//
//   push button   face fill (window colour under the mouse, darken(face, 16) pressed) inside the ring;
//                 focused or default: a second ring inside the first
//   check box     a field-coloured box in the ring; a check mark when on, a filled square when partly on
//   radio button  a field-coloured circle in the ring; a dot when on
//   combo box     a face (a field when editable) in the ring, the arrow part set off by a ring-coloured line
//   spin box      a field in the ring, the step buttons as faces set off by ring-coloured lines
//   drop-down list  a field in the ring; the current item on the ring colour
//
// The theme sets it on each such control while the control is themed (theme.h); it reads the scheme at
// each paint and draws as the style beneath it while no scheme is on.
#pragma once

#include <QProxyStyle>

namespace ui {

class FlatStyle : public QProxyStyle {
    Q_OBJECT

public:
    // Made over a fresh instance of the application's current style.
    FlatStyle();

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget = nullptr) const override;
};

} // namespace ui
