#include "ui/focus_order.h"

#include "ui/main_window.h"

#include <algorithm>
#include <numeric>

namespace ui {

FocusOrder::FocusOrder(const WindowDefinition& definition, const MainWindow& window) : window_(&window) {
    const std::span<const ControlDefinition> controls = definition.controls;
    std::vector<std::size_t> order(controls.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::ranges::sort(order, [controls](std::size_t a, std::size_t b) {
        if (controls[a].tabOrder != controls[b].tabOrder)
            return controls[a].tabOrder < controls[b].tabOrder;
        return a > b;
    });
    places_.reserve(order.size());
    for (const std::size_t index : order)
        places_.push_back({window.control(controls[index].name), controls[index].tabStop});
}

bool FocusOrder::isCandidate(const Place& place) const {
    return place.tabStop && place.control && window_ && place.control->isVisibleTo(window_) &&
           place.control->isEnabled();
}

int FocusOrder::placeOf(const QWidget* widget) const {
    for (; widget != nullptr && widget != window_; widget = widget->parentWidget()) {
        const auto found =
            std::ranges::find_if(places_, [widget](const Place& place) { return place.control == widget; });
        if (found != places_.end())
            return static_cast<int>(found - places_.begin());
    }
    return -1;
}

QWidget* FocusOrder::step(const QWidget* focused, int direction) const {
    const int count = static_cast<int>(places_.size());
    const int from = placeOf(focused);
    // Without a place of its own the search starts just outside the order, at the end it leaves from.
    const int start = from >= 0 ? from : (direction > 0 ? -1 : count);
    for (int distance = 1; distance <= count; ++distance) {
        const int index = ((start + direction * distance) % count + count) % count;
        if (isCandidate(places_[index]))
            return places_[index].control;
    }
    return nullptr;
}

QWidget* FocusOrder::first() const {
    return step(nullptr, +1);
}

QWidget* FocusOrder::next(const QWidget* focused) const {
    return step(focused, +1);
}

QWidget* FocusOrder::previous(const QWidget* focused) const {
    return step(focused, -1);
}

void giveKeyboardFocus(QWidget& control) {
    // Qt's own Tab reasons would make a line edit select all of its text.
    control.setFocus(Qt::OtherFocusReason);
}

} // namespace ui
