#include "ui/theme_scheme.h"

#include <QGuiApplication>
#include <QPalette>

#include <array>
#include <cstdint>

namespace ui {
namespace {

constexpr std::array<std::array<QRgb, 2>, 3> schemes = {{
    // edit box ring          group-box frame
    {qRgb(123, 158, 189), qRgb(191, 184, 191)},
    {qRgb(164, 185, 127), qRgb(191, 184, 191)},
    {qRgb(198, 197, 215), qRgb(191, 184, 191)},
}};

} // namespace

std::optional<SchemeColours> schemeColours(int scheme) {
    if (scheme < 1 || scheme > static_cast<int>(schemes.size()))
        return std::nullopt;
    const auto& entry = schemes[static_cast<std::size_t>(scheme - 1)];
    return SchemeColours{QColor(entry[0]), QColor(entry[1])};
}

QColor faceColour() {
    return QGuiApplication::palette().color(QPalette::Active, QPalette::Button);
}

QColor windowColour() {
    return QGuiApplication::palette().color(QPalette::Active, QPalette::Base);
}

QColor darken(const QColor& colour, int amount) {
    const std::uint32_t packed = static_cast<std::uint32_t>(colour.red()) |
                                 static_cast<std::uint32_t>(colour.green()) << 8 |
                                 static_cast<std::uint32_t>(colour.blue()) << 16;
    // Unsigned, so that the borrow out of blue wraps instead of overflowing.
    const std::uint32_t darker = packed - static_cast<std::uint32_t>(amount) * 0x010101u;
    return QColor(static_cast<int>(darker & 0xFF), static_cast<int>(darker >> 8 & 0xFF),
                  static_cast<int>(darker >> 16 & 0xFF));
}

} // namespace ui
