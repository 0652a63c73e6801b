// Fuzz target: the field reader over arbitrary bytes.
//
// Properties:
// - it agrees with a reference reading built another way: the bytes are cut
//   into pieces at every separator (a comma, CR LF, CR, LF), each piece loses
//   its leading blanks, and a last piece that is empty (the file ends right
//   after a separator, or is empty) is no field;
// - every field is a view into the input, in order, and holds no comma, CR
//   or LF and no leading blank;
// - the fields written one per line with CR LF, as the delete-machine dialog
//   rewrites the list, read back as the same fields.

#include "catalogue/field_reader.h"
#include "fuzz_check.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::vector<std::string_view> referenceFields(std::string_view bytes) {
    std::vector<std::string_view> pieces;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= bytes.size(); ++i) {
        if (i < bytes.size() && bytes[i] != ',' && bytes[i] != '\r' && bytes[i] != '\n') continue;
        pieces.push_back(bytes.substr(start, i - start));
        if (i + 1 < bytes.size() && bytes[i] == '\r' && bytes[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (pieces.back().empty()) pieces.pop_back();
    for (std::string_view& piece : pieces)
        piece.remove_prefix(std::min(piece.find_first_not_of(' '), piece.size()));
    return pieces;
}

std::string joined(const std::vector<std::string_view>& fields) {
    std::string text;
    for (std::string_view field : fields) {
        text += field;
        text += "\r\n";
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string_view> fields = kelvaro::readFields(bytes);

    const std::vector<std::string_view> reference = referenceFields(bytes);
    FUZZ_CHECK(fields.size() == reference.size(), bytes);
    const char* previousEnd = bytes.data();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::string_view field = fields[i];
        FUZZ_CHECK(field.data() == reference[i].data() && field.size() == reference[i].size(),
                   field);
        FUZZ_CHECK(field.data() >= previousEnd &&
                       field.data() + field.size() <= bytes.data() + bytes.size(),
                   field);
        FUZZ_CHECK(field.find_first_of(",\r\n") == std::string_view::npos, field);
        FUZZ_CHECK(!field.starts_with(' '), field);
        previousEnd = field.data() + field.size();
    }

    const std::string rewritten = joined(fields);
    FUZZ_CHECK(kelvaro::readFields(rewritten) == fields, rewritten);
    return 0;
}
