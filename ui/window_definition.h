// The form of a window definition: the window's own settings and one entry per control, from which the
// builder (window_builder.h) makes the live window. The program has exactly one definition,
// mainWindowDefinition(); it is fixed data, never read from a file and never changed while the program runs.
#pragma once

#include "ui/control_settings.h"

#include <Qt>

#include <optional>
#include <span>
#include <string_view>

namespace ui {

class MainWindow;

// The events a definition can bind. Every other event exists but has no handler.
enum class Event {
    Created, // the window: all controls exist, the window is still hidden
    Moved,   // the window
    Resized, // the window
    Clicked, // a push button
};

using EventHandler = void (*)(MainWindow& window);

struct EventBinding {
    Event event;
    EventHandler handler;
};

struct Place {
    int left = 0; // relative to the parent's client area
    int top = 0;
    int width = 0;
    int height = 0;
};

enum class StartPosition { Stored, Centred };

struct WindowSettings {
    std::string_view title = {};
    int outerWidth = 0; // frame and title bar included
    int outerHeight = 0;
    int storedLeft = 0; // used only with StartPosition::Stored
    int storedTop = 0;
    StartPosition startPosition = StartPosition::Centred;
    bool sizeable = true;
    bool windowMenu = true;
    bool closeButton = true;
    bool minimiseButton = false;
    bool maximiseButton = false;
    Colour background = rgb(255, 255, 255);
    std::span<const std::string_view> icon = {}; // Qt resource paths: one picture per size of the same icon
    bool inTaskbar = true;
    bool alwaysOnTop = false;
    bool escapeCloses = true;
    bool enterMovesFocus = false;
    bool f1OpensHelp = false;
    bool visible = true;
    FontSetting font = defaultGuiFont;
    Qt::CursorShape cursor = Qt::ArrowCursor;
    std::span<const EventBinding> events = {};
};

struct ControlDefinition {
    std::string_view name = {}; // unique within the window; also the object name and the accessible name
    ControlKind kind;
    std::string_view parent = {}; // empty for the window, otherwise the name of a group box
    Place place = {};
    bool visible = true;
    bool disabled = false;
    bool tabStop = false;
    int tabOrder = 0;
    std::optional<Qt::CursorShape> cursor = std::nullopt; // none: the kind's own pointer
    KindSettings settings = {};
    std::span<const EventBinding> events = {};
};

// The definition order of the controls is also their stacking order: the first lies on top.
struct WindowDefinition {
    WindowSettings window = {};
    std::span<const ControlDefinition> controls = {};
};

const WindowDefinition& mainWindowDefinition();

} // namespace ui
