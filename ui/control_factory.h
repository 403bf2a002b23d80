// Making one control of any kind from its definition entry.
#pragma once

#include "ui/window_definition.h"

class QWidget;

namespace ui {

// Makes the control's widget as a child of `parent`, with its kind's own settings applied; names, place,
// flags and events are the builder's business. nullptr when the entry's settings are not those of its
// kind or the kind is unknown.
QWidget* createControl(const ControlDefinition& definition, QWidget* parent);

// How a control of this kind takes the focus apart from the tab-stop flag: edit boxes and push buttons
// when clicked, the decorations never.
Qt::FocusPolicy ownFocusPolicy(ControlKind kind);

} // namespace ui
