// Fuzz target: the machine list jixing.dat over arbitrary bytes (GBK and
// invalid sequences included), read, appended to and rewritten as the
// differential window and the two catalogue dialogs do, in memory.
//
// The input's first byte picks one of the listed entries, or none (the
// empty text); the rest is jixing.dat. Properties:
// - readMachineList reads any bytes: one entry per field, each valid UTF-8
//   with no comma, CR or LF in it;
// - appending the picked entry lists it last, without its leading and
//   trailing blanks, after the entries listed before; where GBK cannot hold
//   it (an entry that was not GBK), it is refused with a message that names
//   jixing.dat and the list keeps its bytes;
// - removing the picked entry lists exactly the other entries, in order,
//   each field copied byte for byte, one per line; jixingb.dat is gone, and
//   removing it again changes no byte;
// - every file that is opened is closed.

#include "catalogue/field_reader.h"
#include "catalogue/gbk_text.h"
#include "catalogue/machine_list.h"
#include "catalogue/model_name.h"
#include "fuzz_check.h"
#include "memory_file_system.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

using kelvaro::CatalogueStatus;

const std::string kDirectory = "/catalogue";
const std::string kList = kDirectory + "/jixing.dat";
const std::string kTemporary = kDirectory + "/jixingb.dat";

bool isUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80           ? 1
                                   : (lead >> 5) == 0x06 ? 2
                                   : (lead >> 4) == 0x0E ? 3
                                   : (lead >> 3) == 0x1E ? 4
                                                         : 0;
        if (length == 0 || i + length > text.size()) return false;
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) >> 6) != 0x02) return false;
        i += length;
    }
    return true;
}

kelvaro::MachineList readList(kelvaro::fuzz::MemoryFileSystem& fs, std::string_view detail) {
    kelvaro::MachineList list = kelvaro::readMachineList(kDirectory, fs);
    FUZZ_CHECK(list.status == CatalogueStatus::Ok && list.message.empty(), detail);
    FUZZ_CHECK(fs.allClosed(), detail);
    return list;
}

void checkAppend(const std::string& bytes, const std::vector<std::string>& names,
                 const std::string& entry) {
    kelvaro::fuzz::MemoryFileSystem fs;
    fs.files[kList] = bytes;
    const kelvaro::CatalogueResult result = kelvaro::appendMachineName(kDirectory, entry, fs);
    FUZZ_CHECK(fs.allClosed(), bytes);
    FUZZ_CHECK(fs.files.count(kTemporary) == 0, bytes);
    if (!kelvaro::toGbk(entry)) {
        FUZZ_CHECK(result.failed() && result.message.find(kList) != std::string::npos, entry);
        FUZZ_CHECK(fs.files[kList] == bytes, entry);
        return;
    }
    FUZZ_CHECK(!result.failed(), result.message);
    std::vector<std::string> expected = names;
    expected.emplace_back(kelvaro::trimBlanks(entry));
    FUZZ_CHECK(readList(fs, bytes).names == expected, bytes + "\n+ " + entry);
}

void checkRemove(const std::string& bytes, const std::vector<std::string>& names,
                 const std::string& entry) {
    std::vector<std::string> expectedNames;
    std::string expectedBytes;
    const std::vector<std::string_view> fields = kelvaro::readFields(bytes);
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (names[i] == entry) continue;
        expectedNames.push_back(names[i]);
        expectedBytes += fields[i];
        expectedBytes += "\r\n";
    }

    kelvaro::fuzz::MemoryFileSystem fs;
    fs.files[kList] = bytes;
    for (int pass = 0; pass < 2; ++pass) {
        const kelvaro::CatalogueResult result = kelvaro::removeMachineName(kDirectory, entry, fs);
        FUZZ_CHECK(result.status == CatalogueStatus::Ok, result.message);
        FUZZ_CHECK(fs.files.size() == 1 && fs.files[kList] == expectedBytes,
                   bytes + "\n- " + entry);
        FUZZ_CHECK(readList(fs, bytes).names == expectedNames, bytes + "\n- " + entry);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return -1;
    const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);

    kelvaro::fuzz::MemoryFileSystem fs;
    fs.files[kList] = bytes;
    const std::vector<std::string> names = readList(fs, bytes).names;
    FUZZ_CHECK(names.size() == kelvaro::readFields(bytes).size(), bytes);
    for (const std::string& name : names) {
        FUZZ_CHECK(isUtf8(name), name);
        FUZZ_CHECK(name.find_first_of(",\r\n") == std::string::npos, name);
    }

    const std::size_t pick = data[0] % (names.size() + 1);
    const std::string entry = pick < names.size() ? names[pick] : std::string();
    checkAppend(bytes, names, entry);
    checkRemove(bytes, names, entry);
    return 0;
}
