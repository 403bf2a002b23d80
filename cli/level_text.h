// The text of a level, written so that it reads back as the very same number.
#pragma once

#include <string>

namespace cli {

// The text of level h as the window writes numbers (calc::numberToText, at most 13 significant digits)
// when textToNumber reads that text back as exactly h; otherwise the 17 significant digits that identify
// h. Any text from here, typed into the window's level box or given as --h, gives the volume at h itself.
//   0.6 -> "0.6"     2.4691357802469 -> "2.4691357802469"     2 * 1.23456789012345 -> "2.4691357802469001"
std::string levelText(double h);

} // namespace cli
