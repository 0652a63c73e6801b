#pragma once

#include <string_view>

namespace kelvaro {

// The text without its leading and trailing blanks: U+0020 only, since tabs
// and other blanks are part of what was typed.
inline std::string_view trimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

} // namespace kelvaro
