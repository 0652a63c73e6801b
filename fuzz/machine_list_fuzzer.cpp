// Fuzz target: the machine list jixing.dat over arbitrary bytes (GBK and
// invalid sequences included), read, appended to and rewritten as the
// windows do, in a folder of its own. The input's first byte picks one of
// the listed entries, or none (the empty text); the rest is jixing.dat.
// Properties:
// - the reader agrees with a second reading made another way: the bytes cut
//   at every comma, CR LF, CR and LF, each piece without its leading blanks,
//   and no last field after a final separator;
// - appending the picked entry lists it last, trimmed of blanks, after the
//   others; where GBK cannot hold it, it is refused with a message that
//   names jixing.dat, and the list keeps its bytes;
// - removing the picked entry leaves the other pieces byte for byte, one a
//   line, and removing it again changes no byte; no other file stays.
#include "../tests/support/temporary_catalogue.h"
#include "catalogue/field_reader.h"
#include "catalogue/machine_list.h"
#include "catalogue/model_name.h"
#include "fuzz_check.h"
#include "gears/trim_blanks.h"
#include "platform/gbk_text.h"

#include <algorithm>
#include <cstdint>

namespace {

std::vector<std::string_view> secondReading(std::string_view bytes) {
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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::vector<std::string_view> pieces = secondReading(bytes);
    FUZZ_CHECK(kelvaro::readFields(bytes) == pieces, bytes);

    const TemporaryCatalogue dir({{"jixing.dat", bytes}});
    const std::vector<std::string> names = kelvaro::readMachineList(dir.path()).names;
    FUZZ_CHECK(names.size() == pieces.size(), bytes);
    const std::size_t pick = data[0] % (names.size() + 1);
    const std::string entry = pick < names.size() ? names[pick] : std::string();

    const kelvaro::CatalogueResult appended = kelvaro::appendMachineName(dir.path(), entry);
    if (!kelvaro::toGbk(entry)) {
        FUZZ_CHECK(appended.message.find(dir.file("jixing.dat")) != std::string::npos, entry);
        FUZZ_CHECK(dir.contents() == TemporaryCatalogue::Files({{"jixing.dat", bytes}}), entry);
    } else {
        std::vector<std::string> expected = names;
        expected.emplace_back(kelvaro::trimBlanks(entry));
        FUZZ_CHECK(!appended.failed() && dir.contents().size() == 1, appended.message);
        FUZZ_CHECK(kelvaro::readMachineList(dir.path()).names == expected, bytes + "\n+ " + entry);
    }

    std::string kept;
    for (std::size_t i = 0; i < pieces.size(); ++i)
        if (names[i] != entry) kept.append(pieces[i]).append("\r\n");
    dir.write("jixing.dat", bytes);
    for (int pass = 0; pass < 2; ++pass) {
        const kelvaro::CatalogueResult removed = kelvaro::removeMachineName(dir.path(), entry);
        FUZZ_CHECK(!removed.failed(), removed.message);
        FUZZ_CHECK(dir.contents() == TemporaryCatalogue::Files({{"jixing.dat", kept}}),
                   bytes + "\n- " + entry);
    }
    return 0;
}
