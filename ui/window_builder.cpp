#include "ui/window_builder.h"

#include "ui/control_colour.h"
#include "ui/control_factory.h"
#include "ui/initial_focus.h"
#include "ui/key_preview.h"
#include "ui/outer_geometry.h"
#include "ui/setting_conversion.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMoveEvent>
#include <QResizeEvent>
#include <QScreen>

#include <algorithm>
#include <map>
#include <iterator>
#include <ranges>

namespace ui {
namespace {

bool knownKind(ControlKind kind) {
    switch (kind) {
    case ControlKind::TransLabel:
    case ControlKind::EditBox:
    case ControlKind::PictureButton:
    case ControlKind::GroupBox:
    case ControlKind::PicBox:
        return true;
    }
    return false;
}

bool windowRaises(Event event) {
    return event == Event::Created || event == Event::Moved || event == Event::Resized;
}

bool controlRaises(ControlKind kind, Event event) {
    return kind == ControlKind::PictureButton && event == Event::Clicked;
}

QString describe(const ControlDefinition& control, const char* problem) {
    return QStringLiteral("control \"%1\": %2").arg(toQString(control.name), QString::fromLatin1(problem));
}

// Everything that would make building fail, found before anything is made.
QString checkDefinition(const WindowDefinition& definition) {
    for (const EventBinding& binding : definition.window.events)
        if (!windowRaises(binding.event) || binding.handler == nullptr)
            return QStringLiteral("the window has a binding to an event it does not raise");

    std::map<std::string_view, const ControlDefinition*> byName;
    for (const ControlDefinition& control : definition.controls) {
        if (control.name.empty())
            return QStringLiteral("a control has no name");
        if (!byName.emplace(control.name, &control).second)
            return describe(control, "the name is used twice");
        if (!knownKind(control.kind))
            return describe(control, "unknown kind");
        if (!settingsFitKind(control.kind, control.settings))
            return describe(control, "the settings are those of another kind");
        for (const EventBinding& binding : control.events)
            if (!controlRaises(control.kind, binding.event) || binding.handler == nullptr)
                return describe(control, "a binding to an event this kind does not raise");
    }
    for (const ControlDefinition& control : definition.controls) {
        if (control.parent.empty())
            continue;
        const auto parent = byName.find(control.parent);
        if (parent == byName.end())
            return describe(control, "unknown parent");
        // Only one level of group boxes, so that re-parenting can never form a cycle.
        if (parent->second->kind != ControlKind::GroupBox || !parent->second->parent.empty())
            return describe(control, "the parent is not a group box lying in the window");
    }
    return {};
}

QRect startRect(const WindowSettings& settings) {
    const QSize outer(settings.outerWidth, settings.outerHeight);
    if (settings.startPosition == StartPosition::Stored)
        return QRect(QPoint(settings.storedLeft, settings.storedTop), outer);
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect screenRect = screen != nullptr ? screen->geometry() : QRect(QPoint(0, 0), outer);
    return centredOuterRect(outer, screenRect);
}

Qt::FocusPolicy focusPolicy(const ControlDefinition& control) {
    const Qt::FocusPolicy own = ownFocusPolicy(control.kind);
    if (!control.tabStop)
        return own;
    return own == Qt::ClickFocus ? Qt::StrongFocus : Qt::TabFocus;
}

void bindControlEvents(const ControlDefinition& definition, QWidget& control, MainWindow& window) {
    for (const EventBinding& binding : definition.events) {
        if (binding.event == Event::Clicked) {
            const EventHandler handler = binding.handler;
            QObject::connect(static_cast<QAbstractButton*>(&control), &QAbstractButton::clicked, &window,
                             [handler, &window] { handler(window); });
        }
    }
}

// The entries from the last to the first. (std::views::reverse would do, but clang 14 cannot compile it
// with GCC 12's standard library, and the sanitizer build uses clang.)
template <class Range> struct Reversed {
    const Range& range;
    auto begin() const { return std::rbegin(range); }
    auto end() const { return std::rend(range); }
};
template <class Range> Reversed<Range> reversed(const Range& range) { return {range}; }

} // namespace

BuildResult buildMainWindow(const WindowDefinition& definition) {
    if (QString problem = checkDefinition(definition); !problem.isEmpty())
        return {nullptr, problem};

    // Step 1.
    const WindowSettings& settings = definition.window;
    auto window = std::make_unique<MainWindow>(settings);
    const QRect outer = startRect(settings);
    applyOuterGeometry(*window, outer);
    if (!settings.sizeable)
        window->setFixedSize(outer.size());

    // Step 2.
    std::map<std::string_view, QWidget*> made;
    for (const ControlDefinition& control : reversed(definition.controls)) {
        QWidget* widget = createControl(control, window.get());
        if (widget == nullptr)
            return {nullptr, describe(control, "the control could not be made")};
        const QString name = toQString(control.name);
        widget->setObjectName(name);
        widget->setAccessibleName(name);
        widget->hide();
        widget->setGeometry(control.place.left, control.place.top, control.place.width, control.place.height);
        widget->setEnabled(!control.disabled);
        widget->setFocusPolicy(focusPolicy(control));
        if (control.cursor)
            widget->setCursor(*control.cursor);
        bindControlEvents(control, *widget, *window);
        made.emplace(control.name, widget);
    }

    // Step 3. setParent keeps the stored left and top, which now count from the group box.
    for (const ControlDefinition& control : definition.controls) {
        if (control.parent.empty())
            continue;
        QWidget* widget = made.at(control.name);
        widget->setParent(made.at(control.parent));
        widget->hide();
    }
    // Each control's final parent, the window or a group box, answers the control-colour query for it.
    for (const ControlDefinition& control : definition.controls) {
        QWidget* widget = made.at(control.name);
        auto* parent = dynamic_cast<ColourQueryParent*>(widget->parentWidget());
        const std::optional<ControlColours> colours = definedColours(control.settings, widget->palette());
        if (parent != nullptr && colours)
            parent->setChildColours(*widget, *colours);
    }

    // Step 4. Raising from the last entry to the first leaves the first on top within each parent.
    for (const ControlDefinition& control : reversed(definition.controls))
        made.at(control.name)->raise();

    // Step 5.
    for (const ControlDefinition& control : definition.controls)
        if (control.visible)
            made.at(control.name)->show();

    // Step 6.
    window->raiseEvent(Event::Created);

    // Step 7. Sent here rather than at the first show, and marked as done so that show does not repeat
    // them.
    QMoveEvent moved(window->pos(), window->pos());
    QCoreApplication::sendEvent(window.get(), &moved);
    window->setAttribute(Qt::WA_PendingMoveEvent, false);
    QResizeEvent resized(window->size(), window->size());
    QCoreApplication::sendEvent(window.get(), &resized);
    window->setAttribute(Qt::WA_PendingResizeEvent, false);

    // Step 8. Tab and the focus follow the definition (focus_order.h), not Qt's own tab chain.
    applyKeyPreview(*window, definition);
    applyInitialFocus(*window, definition);
    if (settings.visible) {
        window->show();
        window->activateWindow();
    }
    return {std::move(window), {}};
}

} // namespace ui
