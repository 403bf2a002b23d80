// Decoding of the start button's picture with libjpeg, independent of Qt's image plugins.
#pragma once

#include <QImage>

#include <cstddef>
#include <span>

namespace ui {

// Decodes a JPEG to an RGB image (QImage::Format_RGB888). Anything libjpeg cannot decode in full gives a
// null image: data that is no JPEG, a truncated or corrupt stream (libjpeg's warnings count as failure, so
// a picture is never shown half grey), or a colour space that has no RGB form. Never aborts the process.
QImage decodeJpeg(std::span<const std::byte> data);

} // namespace ui
