#include "ui/theme.h"

#include "ui/control_colour.h"
#include "ui/flat_style.h"
#include "ui/group_box.h"
#include "ui/picture_button.h"
#include "ui/theme_painting.h"
#include "ui/theme_scheme.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCommandLinkButton>
#include <QGroupBox>
#include <QImage>
#include <QLineEdit>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QThread>
#include <QtDebug>

#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

namespace ui {
namespace {

int storedScheme = 0;

std::optional<ThemedKind> themedKind(const QWidget& widget) {
    if (qobject_cast<const QLineEdit*>(&widget) != nullptr)
        return ThemedKind::EditBox;
    if (const auto* group = qobject_cast<const QGroupBox*>(&widget))
        return group->isCheckable() ? std::nullopt : std::optional(ThemedKind::GroupBox);
    if (const auto* pictureButton = qobject_cast<const PictureButton*>(&widget))
        return pictureButton->picture().isNull() ? std::optional(ThemedKind::PushButton) : std::nullopt;
    if (qobject_cast<const QCommandLinkButton*>(&widget) != nullptr)
        return std::nullopt;
    if (const auto* button = qobject_cast<const QPushButton*>(&widget)) {
        const bool showsPicture = !button->icon().isNull() && button->text().isEmpty();
        return showsPicture ? std::nullopt : std::optional(ThemedKind::PushButton);
    }
    if (qobject_cast<const QCheckBox*>(&widget) != nullptr)
        return ThemedKind::CheckBox;
    if (qobject_cast<const QRadioButton*>(&widget) != nullptr)
        return ThemedKind::RadioButton;
    if (qobject_cast<const QComboBox*>(&widget) != nullptr)
        return ThemedKind::ComboBox;
    // The popup that holds a combo box's list is a window of its own, parented to the combo box. Asking
    // the combo box for its view instead could create the very popup being asked about.
    if (widget.isWindow() && qobject_cast<const QComboBox*>(widget.parentWidget()) != nullptr &&
        widget.inherits("QComboBoxPrivateContainer"))
        return ThemedKind::ComboList;
    if (qobject_cast<const QAbstractSpinBox*>(&widget) != nullptr)
        return ThemedKind::SpinBox;
    return std::nullopt;
}

bool isFlatStyled(ThemedKind kind) {
    return kind != ThemedKind::EditBox && kind != ThemedKind::GroupBox;
}

ControlColours parentColours(const QWidget& control) {
    if (std::optional<ControlColours> answer = queryControlColours(control))
        return *answer;
    const QPalette& palette = control.palette();
    return {palette.color(QPalette::WindowText), palette.color(QPalette::Window),
            palette.brush(QPalette::Window)};
}

TitleAlignment titleAlignment(const QGroupBox& box) {
    const Qt::Alignment alignment = box.alignment();
    if (alignment & Qt::AlignHCenter)
        return TitleAlignment::Centre;
    if ((alignment & Qt::AlignRight) && !(alignment & Qt::AlignLeft))
        return TitleAlignment::Right;
    return TitleAlignment::Left;
}

QFont titleFont(const QGroupBox& box) {
    // The program's group boxes keep their title font apart from the font their children inherit.
    if (const auto* own = qobject_cast<const GroupBox*>(&box))
        return own->titleFont();
    return box.font();
}

enum class Redraw { Now, Soon };

void redraw(QWidget& control, Redraw when) {
    // repaint() paints a visible control into the window's backing store and shows it before returning;
    // a hidden one is painted when it is shown. A control in the middle of its own paint is painted
    // again right after it.
    if (when == Redraw::Now && !control.testAttribute(Qt::WA_WState_InPaintEvent))
        control.repaint();
    else
        control.update();
}

// The theme's one event filter, on the application: it watches the creation of controls and intercepts
// the events of the themed ones. It owns the registry and the flat style.
class Theme : public QObject {
public:
    explicit Theme(QApplication& application) : QObject(&application), flatStyle_(new FlatStyle) {
        flatStyle_->setParent(this);
    }

    ~Theme() override {
        // Normally empty by now. Still on when the application itself goes, the theme leaves the controls
        // alone: the application's style may be gone already, and so are they soon.
        if (!QCoreApplication::closingDown())
            unregisterAll();
    }

    Theme(const Theme&) = delete;
    Theme& operator=(const Theme&) = delete;

    void registerExisting() {
        std::vector<QPointer<QWidget>> all;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            all.emplace_back(window);
            for (QWidget* child : window->findChildren<QWidget*>())
                all.emplace_back(child);
        }
        for (const QPointer<QWidget>& widget : all)
            if (widget)
                registerControl(*widget, Redraw::Now);
    }

    void unregisterAll() {
        while (!records_.empty())
            unregisterControl(records_.begin()->first, Redraw::Now);
    }

    const ThemedControl* find(const QObject* control) const {
        const auto found = records_.find(control);
        return found == records_.end() ? nullptr : found->second.get();
    }

    std::size_t count() const { return records_.size(); }

    // Whether the filter is handling an event at this moment: a control's own handling of a paint that
    // the theme passed on may switch the theme off, and the filter must outlive its own call.
    bool busy() const { return busy_ > 0; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        ++busy_;
        const bool consumed = filter(watched, event);
        --busy_;
        return consumed;
    }

private:
    bool filter(QObject* watched, QEvent* event) {
        if (!delivering_.empty() && delivering_.back() == std::pair<QObject*, QEvent*>(watched, event))
            return false;
        switch (event->type()) {
        case QEvent::Polish:
        case QEvent::Show:
            if (watched->isWidgetType())
                controlAppears(*static_cast<QWidget*>(watched));
            return false;
        case QEvent::Paint:
        case QEvent::FocusIn:
        case QEvent::FocusOut:
        case QEvent::EnabledChange:
            break;
        default:
            return false;
        }
        const auto found = records_.find(watched);
        if (found == records_.end())
            return false;
        ThemedControl& record = *found->second;
        switch (event->type()) {
        case QEvent::Paint:
            return paint(record, static_cast<QPaintEvent*>(event));
        case QEvent::FocusIn:
        case QEvent::FocusOut:
            record.focused = event->type() == QEvent::FocusIn;
            record.control->update();
            return false;
        case QEvent::EnabledChange:
            record.disabled = !record.control->isEnabled();
            record.control->update();
            return false;
        default:
            return false;
        }
    }

    // A control about to be shown or polished, most often one created since the theme went on. It is
    // registered unless it is already; one registered while still half-made, as the base class it was
    // then, is registered again as what it turned out to be.
    void controlAppears(QWidget& widget) {
        if (const ThemedControl* record = find(&widget)) {
            if (themedKind(widget) == record->kind)
                return;
            unregisterControl(&widget, Redraw::Soon);
        }
        registerControl(widget, Redraw::Soon);
    }

    void registerControl(QWidget& widget, Redraw when) {
        if (records_.contains(&widget))
            return;
        const std::optional<ThemedKind> kind = themedKind(widget);
        if (!kind)
            return;
        auto record = std::make_unique<ThemedControl>();
        record->control = &widget;
        record->kind = *kind;
        record->disabled = !widget.isEnabled();
        record->focused = widget.hasFocus();
        if (const auto* edit = qobject_cast<const QLineEdit*>(&widget))
            record->readOnly = edit->isReadOnly();
        record->originalHandler = [this, control = QPointer<QWidget>(&widget)](QEvent* event) {
            return deliverToControl(control, event);
        };
        const QObject* key = &widget;
        record->destroyedConnection =
            connect(&widget, &QObject::destroyed, this, [this, key] { records_.erase(key); });
        if (isFlatStyled(*kind)) {
            if (widget.testAttribute(Qt::WA_SetStyle))
                record->styleBefore = widget.style();
            widget.setStyle(flatStyle_);
        }
        records_.emplace(key, std::move(record));
        redraw(widget, when);
    }

    void unregisterControl(const QObject* key, Redraw when) {
        auto node = records_.extract(key);
        if (node.empty())
            return;
        ThemedControl& record = *node.mapped();
        disconnect(record.destroyedConnection);
        QWidget* control = record.control;
        if (control == nullptr)
            return;
        if (isFlatStyled(record.kind))
            control->setStyle(record.styleBefore);
        redraw(*control, when);
    }

    // The control's own handling of `event`, the Qt way: its event filters and then its event().
    bool deliverToControl(QWidget* control, QEvent* event) {
        if (control == nullptr)
            return false;
        delivering_.emplace_back(control, event);
        const bool handled = QCoreApplication::sendEvent(control, event);
        delivering_.pop_back();
        return handled;
    }

    // Each paint begins with the erase: the parent is asked for the control's brush and colours.
    bool paint(ThemedControl& record, QPaintEvent* event) {
        QWidget* control = record.control;
        const ControlColours colours = parentColours(*control);
        record.brush = colours.brush;
        record.background = colours.brush.color();
        record.textColour = colours.text;

        const std::optional<SchemeColours> scheme = schemeColours(storedScheme);
        switch (record.kind) {
        case ThemedKind::EditBox: {
            const QPointer<QWidget> guarded = control;
            record.originalHandler(event);
            // The control's own paint may have ended its record, or the control.
            const ThemedControl* after = find(guarded.data());
            const auto* edit = qobject_cast<const QLineEdit*>(guarded.data());
            if (after != nullptr && edit != nullptr && edit->hasFrame() && scheme) {
                // The backing store the box has just painted into is the off-screen picture; the rings go
                // over its border there and reach the screen with the rest of the paint.
                QPainter painter(guarded.data());
                paintEditBoxRings(painter, guarded->rect(),
                                  editBoxRings(*scheme, after->disabled, after->readOnly));
            }
            return true;
        }
        case ThemedKind::GroupBox:
            if (auto* box = qobject_cast<QGroupBox*>(control); box != nullptr && scheme)
                paintGroupBox(record, *box, *scheme);
            return true;
        default:
            // A flat-styled control draws itself, with the flat style.
            return false;
        }
    }

    // The group box's own painting is replaced. Its picture is made off-screen, starting from the erase
    // (the whole box in the brush, as the group box erases itself), so that painting can read a pixel
    // back, and then copied onto the box in one step.
    static void paintGroupBox(ThemedControl& record, QGroupBox& box, const SchemeColours& scheme) {
        QImage image(box.size(), QImage::Format_ARGB32_Premultiplied);
        if (image.isNull())
            return;
        image.fill(Qt::transparent);
        if (record.brush) {
            QPainter erase(&image);
            erase.fillRect(image.rect(), *record.brush);
        }
        const GroupBoxLook look{titleWithin255Bytes(box.title()),
                                titleFont(box),
                                titleAlignment(box),
                                record.brush,
                                record.textColour,
                                scheme.groupFrame};
        record.background = paintGroupBoxFrame(image, look);
        QPainter painter(&box);
        painter.drawImage(0, 0, image);
    }

    std::unordered_map<const QObject*, std::unique_ptr<ThemedControl>> records_;
    FlatStyle* flatStyle_;
    // The events being handed to their controls' own handling, which the filter lets pass.
    std::vector<std::pair<QObject*, QEvent*>> delivering_;
    int busy_ = 0;
};

QPointer<Theme> activeTheme;

bool onGuiThread() {
    auto* application = qobject_cast<QApplication*>(QCoreApplication::instance());
    return application != nullptr && QThread::currentThread() == application->thread();
}

// Step 1 of every call: true when a theme was on.
bool switchOff() {
    if (activeTheme == nullptr)
        return false;
    Theme* theme = activeTheme;
    activeTheme = nullptr;
    QCoreApplication::instance()->removeEventFilter(theme);
    theme->unregisterAll();
    if (theme->busy())
        theme->deleteLater();
    else
        delete theme;
    return true;
}

void switchOn() {
    auto* application = qobject_cast<QApplication*>(QCoreApplication::instance());
    activeTheme = new Theme(*application);
    // Watching first, so that the controls registered next are already painted through the theme.
    application->installEventFilter(activeTheme);
    activeTheme->registerExisting();
}

} // namespace

int applyTheme(int scheme) {
    if (!onGuiThread()) {
        qWarning("applyTheme: only the GUI thread of a QApplication can switch the theme");
        return 0;
    }
    storedScheme = scheme;
    const bool wasOn = switchOff();
    if (!schemeColours(scheme))
        return wasOn ? 1 : 0;
    switchOn();
    return 1;
}

int themeScheme() {
    return storedScheme;
}

const ThemedControl* findThemedControl(const QObject* control) {
    return activeTheme != nullptr ? activeTheme->find(control) : nullptr;
}

std::size_t themedControlCount() {
    return activeTheme != nullptr ? activeTheme->count() : 0;
}

} // namespace ui
