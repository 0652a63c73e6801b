#pragma once

#include <algorithm>
#include <string_view>
#include <vector>

// The pieces of a machine data value: "20-100, 25*2" or "26/52, 32/46".

namespace kelvaro {

// The text without the blanks and tabs around it.
inline std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// The items of a list between its commas, each trimmed; empty ones left out.
inline std::vector<std::string_view> listItems(std::string_view list) {
    std::vector<std::string_view> items;
    for (std::size_t start = 0; start <= list.size();) {
        const auto comma = std::min(list.find(',', start), list.size());
        if (const std::string_view item = trimmed(list.substr(start, comma - start)); !item.empty())
            items.push_back(item);
        start = comma + 1;
    }
    return items;
}

} // namespace kelvaro
