// Readable GoogleTest names from the labels of table rows.
#pragma once

#include <cctype>
#include <string>

namespace cli::testing {

inline std::string testName(std::string label) {
    for (char& c : label) {
        if (!std::isalnum(static_cast<unsigned char>(c))) {
            c = '_';
        }
    }
    return label;
}

} // namespace cli::testing
