// The control-colour query: a control that paints with the colours its parent chooses for it (a group
// box's title and interior now, the theme's frames later) asks its parent for them. The main window and
// the group boxes answer for their children from the children's definitions; a control that keeps its
// colours itself, as a group box does, is handed the question and answers for itself.
#pragma once

#include "ui/control_settings.h"

#include <QBrush>
#include <QColor>
#include <QPalette>
#include <QPointer>
#include <QWidget>

#include <optional>
#include <utility>
#include <vector>

namespace ui {

struct ControlColours {
    QColor text;
    QColor background;
    QBrush brush; // fills the control's background

    friend bool operator==(const ControlColours&, const ControlColours&) = default;
};

// The colours that a control's kind settings give it, with button face taken from `palette`: an edit
// box's text and background, a group box's title and interior. None for the kinds that paint with their
// own settings alone (labels, picture boxes, the picture button).
std::optional<ControlColours> definedColours(const KindSettings& settings, const QPalette& palette);

// A control that answers the query about itself when its parent is asked.
class AnswersOwnColours {
public:
    virtual ControlColours ownColours() const = 0;

protected:
    AnswersOwnColours() = default;
    ~AnswersOwnColours() = default;
    AnswersOwnColours(const AnswersOwnColours&) = default;
    AnswersOwnColours& operator=(const AnswersOwnColours&) = default;
};

// A window that answers the query for its children. The main window and the group boxes both are one, so
// a control inside a group box gets the same answer it would get in the main window.
class ColourQueryParent {
public:
    // Records the colours that `child`'s definition gives it; a second record for the same child replaces
    // the first.
    void setChildColours(const QWidget& child, const ControlColours& colours);

    // The answer about `child`: a child that answers for itself is asked, any other child gets the colours
    // recorded for it. None for a child without either.
    std::optional<ControlColours> answerColourQuery(const QWidget& child) const;

protected:
    ColourQueryParent() = default;
    ~ColourQueryParent() = default;
    ColourQueryParent(const ColourQueryParent&) = delete;
    ColourQueryParent& operator=(const ColourQueryParent&) = delete;

private:
    // Guarded pointers, so that a destroyed child's record can never answer for a new widget that happens
    // to take its address.
    std::vector<std::pair<QPointer<const QWidget>, ControlColours>> children_;
};

// Asks `control`'s parent for `control`'s colours. None when the control has no parent, its parent does
// not answer the query, or the parent has no answer for it.
std::optional<ControlColours> queryControlColours(const QWidget& control);

} // namespace ui
