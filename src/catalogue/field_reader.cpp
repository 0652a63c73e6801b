#include "catalogue/field_reader.h"

namespace kelvaro {

std::vector<std::string_view> readFields(std::string_view bytes) {
    std::vector<std::string_view> fields;
    std::size_t pos = 0;
    const std::size_t size = bytes.size();
    while (pos < size) {
        while (pos < size && bytes[pos] == ' ')
            ++pos;
        const std::size_t start = pos;
        while (pos < size && bytes[pos] != ',' && bytes[pos] != '\r' && bytes[pos] != '\n')
            ++pos;
        fields.push_back(bytes.substr(start, pos - start));
        if (pos >= size) break;
        if (bytes[pos] == '\r' && pos + 1 < size && bytes[pos + 1] == '\n') ++pos;
        ++pos;
    }
    return fields;
}

} // namespace kelvaro
