#include "ui/control_colour.h"

#include "ui/setting_conversion.h"

#include <algorithm>

namespace ui {
namespace {

ControlColours solidColours(const Colour& text, const Colour& background, const QPalette& palette) {
    const QColor fill = toQColor(background, palette);
    return {toQColor(text, palette), fill, QBrush(fill)};
}

} // namespace

std::optional<ControlColours> definedColours(const KindSettings& settings, const QPalette& palette) {
    if (const auto* edit = std::get_if<EditBoxSettings>(&settings))
        return solidColours(edit->textColour, edit->background, palette);
    if (const auto* group = std::get_if<GroupBoxSettings>(&settings))
        return solidColours(group->textColour, group->background, palette);
    return std::nullopt;
}

void ColourQueryParent::setChildColours(const QWidget& child, const ControlColours& colours) {
    std::erase_if(children_,
                  [&child](const auto& entry) { return entry.first.isNull() || entry.first == &child; });
    children_.emplace_back(&child, colours);
}

std::optional<ControlColours> ColourQueryParent::answerColourQuery(const QWidget& child) const {
    if (const auto* self = dynamic_cast<const AnswersOwnColours*>(&child))
        return self->ownColours();
    const auto entry = std::ranges::find_if(children_, [&child](const auto& e) { return e.first == &child; });
    if (entry == children_.end())
        return std::nullopt;
    return entry->second;
}

std::optional<ControlColours> queryControlColours(const QWidget& control) {
    const auto* parent = dynamic_cast<const ColourQueryParent*>(control.parentWidget());
    if (parent == nullptr)
        return std::nullopt;
    return parent->answerColourQuery(control);
}

} // namespace ui
