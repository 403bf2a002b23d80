#include "ui/flat_style.h"

#include "ui/theme.h"
#include "ui/theme_painting.h"
#include "ui/theme_scheme.h"

#include <QApplication>
#include <QComboBox>
#include <QPainter>
#include <QPushButton>
#include <QStyleFactory>
#include <QStyleOption>

#include <algorithm>
#include <optional>

namespace ui {
namespace {

struct FlatColours {
    QColor ring;  // frames; darken(face, 32) when disabled
    QColor face;  // buttons
    QColor field; // where the user reads or marks a value; face when disabled
    QColor ink;   // arrows, marks and item text
};

// None while no scheme is on: a control that still has this style then draws as the style beneath.
std::optional<FlatColours> flatColours(const QStyleOption& option) {
    const std::optional<SchemeColours> scheme = schemeColours(themeScheme());
    if (!scheme)
        return std::nullopt;
    const bool enabled = option.state & QStyle::State_Enabled;
    const QColor face = faceColour();
    // initFrom has already put the palette into the control's colour group, disabled included.
    return FlatColours{enabled ? scheme->editRing : darken(face, 32), face, enabled ? windowColour() : face,
                       option.palette.color(QPalette::ButtonText)};
}

QStyle* freshApplicationStyle() {
    const QStyle* current = QApplication::style();
    return current != nullptr ? QStyleFactory::create(current->name()) : nullptr;
}

// A solid triangle 7 pixels wide and 4 high, pointing up or down, in the middle of `area`.
void drawArrow(QPainter& painter, const QRect& area, bool up, const QColor& colour) {
    constexpr int width = 7;
    constexpr int height = 4;
    const int left = area.left() + (area.width() - width) / 2;
    const int top = area.top() + (area.height() - height) / 2;
    for (int row = 0; row < height; ++row) {
        const int inset = up ? height - 1 - row : row;
        painter.fillRect(QRect(left + inset, top + row, width - 2 * inset, 1), colour);
    }
}

// The square of side min(width, height) in the middle of `area`.
QRect centredSquare(const QRect& area) {
    const int side = std::min(area.width(), area.height());
    return QRect(area.left() + (area.width() - side) / 2, area.top() + (area.height() - side) / 2, side,
                 side);
}

void drawCheckBox(QPainter& painter, const QStyleOption& option, const FlatColours& colours) {
    const QRect box = centredSquare(option.rect);
    painter.fillRect(box, colours.field);
    if (option.state & QStyle::State_On) {
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setPen(QPen(colours.ink, 2));
        const qreal s = box.width();
        const QPointF mark[] = {{box.left() + s * 0.25, box.top() + s * 0.5},
                                {box.left() + s * 0.42, box.top() + s * 0.7},
                                {box.left() + s * 0.75, box.top() + s * 0.3}};
        painter.drawPolyline(mark, 3);
        painter.restore();
    } else if (option.state & QStyle::State_NoChange) {
        painter.fillRect(box.adjusted(3, 3, -3, -3), colours.ring);
    }
    drawRing(painter, box, 0, colours.ring);
}

void drawRadioButton(QPainter& painter, const QStyleOption& option, const FlatColours& colours) {
    const QRect circle = centredSquare(option.rect);
    painter.save();
    // Crisp, like the other frames: a 1-pixel outline with nothing blended into its neighbours.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(colours.ring);
    painter.setBrush(colours.field);
    painter.drawEllipse(circle.adjusted(0, 0, -1, -1));
    if (option.state & QStyle::State_On) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(colours.ink);
        painter.drawEllipse(circle.adjusted(4, 4, -4, -4));
    }
    painter.restore();
}

void drawPushButtonBevel(QPainter& painter, const QStyleOptionButton& button, const FlatColours& colours) {
    const QStyle::State state = button.state;
    const bool enabled = state & QStyle::State_Enabled;
    QColor fill = colours.face;
    if (enabled && (state & (QStyle::State_Sunken | QStyle::State_On)))
        fill = darken(colours.face, 16);
    else if (enabled && (state & QStyle::State_MouseOver))
        fill = windowColour();
    const bool flat = button.features & QStyleOptionButton::Flat;
    if (!flat || fill != colours.face)
        painter.fillRect(button.rect, fill);
    drawRing(painter, button.rect, 0, colours.ring);
    if (enabled &&
        ((state & QStyle::State_HasFocus) || (button.features & QStyleOptionButton::DefaultButton)))
        drawRing(painter, button.rect, 1, colours.ring);
    if (button.features & QStyleOptionButton::HasMenu) {
        const QRect arrow(button.rect.right() - 14, button.rect.top(), 10, button.rect.height());
        drawArrow(painter, arrow, false, colours.ink);
    }
}

void drawMenuItem(QPainter& painter, const QStyleOptionMenuItem& item, const FlatColours& colours) {
    if (item.menuItemType == QStyleOptionMenuItem::Separator) {
        painter.fillRect(item.rect, colours.field);
        painter.fillRect(QRect(item.rect.left() + 2, item.rect.center().y(), item.rect.width() - 4, 1),
                         colours.ring);
        return;
    }
    const bool selected = (item.state & QStyle::State_Selected) && (item.state & QStyle::State_Enabled);
    painter.fillRect(item.rect, selected ? colours.ring : colours.field);
    QRect text = item.rect.adjusted(4, 0, -4, 0);
    if (!item.icon.isNull()) {
        const int side = std::min(item.maxIconWidth > 0 ? item.maxIconWidth : 16, item.rect.height());
        const QRect icon(text.left(), item.rect.top() + (item.rect.height() - side) / 2, side, side);
        item.icon.paint(&painter, icon, Qt::AlignCenter,
                        item.state & QStyle::State_Enabled ? QIcon::Normal : QIcon::Disabled);
        text.setLeft(icon.right() + 5);
    }
    painter.save();
    painter.setFont(item.font);
    painter.setPen(colours.ink);
    painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, item.text);
    painter.restore();
}

} // namespace

FlatStyle::FlatStyle() : QProxyStyle(freshApplicationStyle()) {}

void FlatStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                              const QWidget* widget) const {
    const std::optional<FlatColours> colours = option != nullptr ? flatColours(*option) : std::nullopt;
    if (!colours) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    switch (element) {
    case PE_IndicatorCheckBox:
        drawCheckBox(*painter, *option, *colours);
        return;
    case PE_IndicatorRadioButton:
        drawRadioButton(*painter, *option, *colours);
        return;
    case PE_FrameFocusRect:
        // A push button shows its focus in its second ring.
        if (qobject_cast<const QPushButton*>(widget) == nullptr)
            drawRing(*painter, option->rect, 0, colours->ring);
        return;
    case PE_PanelMenu:
        painter->fillRect(option->rect, colours->field);
        drawRing(*painter, option->rect, 0, colours->ring);
        return;
    case PE_FrameMenu:
        drawRing(*painter, option->rect, 0, colours->ring);
        return;
    default:
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
}

void FlatStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                            const QWidget* widget) const {
    const std::optional<FlatColours> colours = option != nullptr ? flatColours(*option) : std::nullopt;
    if (colours) {
        switch (element) {
        case CE_PushButtonBevel:
            if (const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option)) {
                drawPushButtonBevel(*painter, *button, *colours);
                return;
            }
            break;
        case CE_ShapedFrame:
            if (const auto* frame = qstyleoption_cast<const QStyleOptionFrame*>(option)) {
                if (frame->frameShape != QFrame::NoFrame)
                    drawRing(*painter, frame->rect, 0, colours->ring);
                return;
            }
            break;
        case CE_MenuItem:
            // The items of a combo box's drop-down list, which the combo box has its own style draw.
            if (const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
                item != nullptr && qobject_cast<const QComboBox*>(widget) != nullptr) {
                drawMenuItem(*painter, *item, *colours);
                return;
            }
            break;
        default:
            break;
        }
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

void FlatStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                   QPainter* painter, const QWidget* widget) const {
    const std::optional<FlatColours> colours = option != nullptr ? flatColours(*option) : std::nullopt;
    if (colours && control == CC_ComboBox) {
        if (const auto* combo = qstyleoption_cast<const QStyleOptionComboBox*>(option)) {
            const bool enabled = combo->state & State_Enabled;
            painter->fillRect(combo->rect, combo->editable ? colours->field : colours->face);
            if (combo->subControls & SC_ComboBoxArrow) {
                const QRect arrow = proxy()->subControlRect(CC_ComboBox, combo, SC_ComboBoxArrow, widget);
                const bool pressed =
                    enabled && (combo->activeSubControls & SC_ComboBoxArrow) && (combo->state & State_Sunken);
                if (pressed || combo->editable)
                    painter->fillRect(arrow, pressed ? darken(colours->face, 16) : colours->face);
                painter->fillRect(QRect(arrow.left(), combo->rect.top(), 1, combo->rect.height()),
                                  colours->ring);
                drawArrow(*painter, arrow, false, colours->ink);
            }
            if (combo->frame) {
                drawRing(*painter, combo->rect, 0, colours->ring);
                if (enabled && !combo->editable && (combo->state & State_HasFocus))
                    drawRing(*painter, combo->rect, 1, colours->ring);
            }
            return;
        }
    }
    if (colours && control == CC_SpinBox) {
        if (const auto* spin = qstyleoption_cast<const QStyleOptionSpinBox*>(option)) {
            const bool enabled = spin->state & State_Enabled;
            painter->fillRect(spin->rect, colours->field);
            if (spin->buttonSymbols != QAbstractSpinBox::NoButtons) {
                const QColor disabledInk = spin->palette.color(QPalette::Disabled, QPalette::ButtonText);
                for (const bool up : {true, false}) {
                    const SubControl part = up ? SC_SpinBoxUp : SC_SpinBoxDown;
                    const QRect button = proxy()->subControlRect(CC_SpinBox, spin, part, widget);
                    const bool pressed =
                        enabled && (spin->activeSubControls & part) && (spin->state & State_Sunken);
                    const bool steps =
                        enabled && (spin->stepEnabled & (up ? QAbstractSpinBox::StepUpEnabled
                                                            : QAbstractSpinBox::StepDownEnabled));
                    painter->fillRect(button, pressed ? darken(colours->face, 16) : colours->face);
                    painter->fillRect(QRect(button.left(), spin->rect.top(), 1, spin->rect.height()),
                                      colours->ring);
                    if (!up)
                        painter->fillRect(QRect(button.left(), button.top(), button.width(), 1),
                                          colours->ring);
                    const QColor ink = steps ? colours->ink : disabledInk;
                    if (spin->buttonSymbols == QAbstractSpinBox::PlusMinus) {
                        const QPoint centre = button.center();
                        painter->fillRect(QRect(centre.x() - 3, centre.y(), 7, 1), ink);
                        if (up)
                            painter->fillRect(QRect(centre.x(), centre.y() - 3, 1, 7), ink);
                    } else {
                        drawArrow(*painter, button, up, ink);
                    }
                }
            }
            if (spin->frame)
                drawRing(*painter, spin->rect, 0, colours->ring);
            return;
        }
    }
    QProxyStyle::drawComplexControl(control, option, painter, widget);
}

} // namespace ui
