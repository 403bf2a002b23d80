// The ui's edge towards the numeric core: the core speaks GB2312 byte strings, Qt speaks UTF-16. The
// conversion uses GBK, the Chinese Windows code page, which contains GB2312 and so gives every GB2312
// character its GB2312 bytes.
#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace ui {

// A character that GBK cannot hold becomes "?", one per character, surrogate pairs and lone surrogates
// included:
//   "1.5" -> "1.5"     "１" (U+FF11) -> "\xA3\xB1"     "开始" -> "\xBF\xAA\xCA\xBC"     "😀" -> "?"
std::string toGb2312(const QString& text);

// A byte sequence that is no GBK character (a bad pair, or a lead byte at the end) becomes "?".
QString fromGb2312(std::string_view text);

} // namespace ui
