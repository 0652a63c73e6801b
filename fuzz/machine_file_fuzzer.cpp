// Fuzz target: machine files over arbitrary bytes (GBK and invalid
// sequences included), and the add-machine dialog's Confirm, which writes
// them, on arbitrary field texts; in memory.
//
// The whole input is read as a machine file: readMachineFile either gives a
// record the search can use (N of at least 1 missing tooth counts, a tooth
// range that the loops can count through and that holds no 0) or fails
// with a message that names the file.
//
// The input is also cut at "|" into the dialog's texts (model, smallest and
// largest tooth count, machine constant, missing tooth counts) for Confirm
// over a list that holds "C630":
// - a refusal has a message and writes nothing;
// - an added machine is listed last, and its file holds 4 + N lines ended by
//   CR LF, N the number of comma-separated items; it reads back to the
//   record made of the texts (numbers as the windows read them, an empty
//   item as 0), unless its tooth range is one that no search can use, which
//   fails with a message that names the file;
// - every file that is opened is closed, and no temporary file stays.

#include "catalogue/add_machine.h"
#include "catalogue/gbk_text.h"
#include "catalogue/machine_file.h"
#include "catalogue/model_name.h"
#include "fuzz_check.h"
#include "gears/gear_set.h"
#include "gears/numeric_value.h"
#include "memory_file_system.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

using kelvaro::MachineFile;
using kelvaro::MachineRecord;
using kelvaro::fuzz::MemoryFileSystem;

const std::string kDirectory = "/catalogue";
const std::string kList = kDirectory + "/jixing.dat";
const std::string kListBefore = "C630\r\n";

bool rangeUsable(double minTeeth, double maxTeeth) {
    return kelvaro::toothCountUsable(minTeeth) && kelvaro::toothCountUsable(maxTeeth) &&
           !(minTeeth <= 0 && maxTeeth >= 0);
}

void checkRead(std::string_view bytes) {
    MemoryFileSystem fs;
    const std::string path = kDirectory + "/M.dat";
    fs.files[path] = bytes;
    const MachineFile machine = kelvaro::readMachineFile(kDirectory, "M", fs);
    FUZZ_CHECK(fs.allClosed(), bytes);
    if (machine.result.failed()) {
        FUZZ_CHECK(machine.result.message.find(path) != std::string::npos, machine.result.message);
        return;
    }
    const MachineRecord& record = machine.record;
    FUZZ_CHECK(record.missingCount >= 1, bytes);
    FUZZ_CHECK(record.missingTeeth.size() == static_cast<std::size_t>(record.missingCount), bytes);
    FUZZ_CHECK(rangeUsable(record.minTeeth, record.maxTeeth), bytes);
}

std::vector<std::string> split(std::string_view text, char separator) {
    std::vector<std::string> parts;
    for (;;) {
        const std::size_t end = text.find(separator);
        parts.emplace_back(text.substr(0, end));
        if (end == std::string_view::npos) return parts;
        text.remove_prefix(end + 1);
    }
}

void checkAdd(std::string_view bytes) {
    std::vector<std::string> texts = split(bytes, '|');
    texts.resize(5);
    const std::string& model = texts[0];
    const double numbers[] = {kelvaro::numericValue(texts[1]), kelvaro::numericValue(texts[2]),
                              kelvaro::numericValue(texts[3])};
    const std::vector<std::string> items = split(texts[4], ',');

    MemoryFileSystem fs;
    fs.files[kList] = kListBefore;
    const kelvaro::AddMachineOutcome outcome =
        kelvaro::addMachine(kDirectory, {model, texts[1], texts[2], texts[3], texts[4]}, fs);
    FUZZ_CHECK(fs.allClosed(), bytes);

    const std::string_view trimmed = kelvaro::trimBlanks(model);
    if (!outcome.added) {
        FUZZ_CHECK(!outcome.message.empty(), bytes);
        FUZZ_CHECK(fs.files.size() == 1 && fs.files[kList] == kListBefore, bytes);
        return;
    }

    FUZZ_CHECK(outcome.lastMissing == items.back(), bytes);
    const std::string path = kDirectory + "/" + kelvaro::machineFileName(trimmed);
    FUZZ_CHECK(fs.files.size() == 2 && fs.files.count(path) == 1, bytes);
    FUZZ_CHECK(fs.files[kList] == kListBefore + *kelvaro::toGbk(trimmed) + "\r\n", bytes);
    const std::string& file = fs.files[path];
    const auto lines = std::count(file.begin(), file.end(), '\n');
    FUZZ_CHECK(lines == std::count(file.begin(), file.end(), '\r') && file.ends_with("\r\n"), file);
    FUZZ_CHECK(static_cast<std::size_t>(lines) == 4 + items.size(), file);

    MachineRecord expected{numbers[0], numbers[1], static_cast<int>(items.size()), numbers[2], {}};
    for (const std::string& item : items) {
        FUZZ_CHECK(item.find_first_not_of("0123456789") == std::string::npos, item);
        expected.missingTeeth.push_back(static_cast<std::int16_t>(kelvaro::numericValue(item)));
    }
    const MachineFile machine = kelvaro::readMachineFile(kDirectory, trimmed, fs);
    FUZZ_CHECK(fs.allClosed(), bytes);
    if (!rangeUsable(numbers[0], numbers[1])) {
        FUZZ_CHECK(machine.result.failed(), bytes);
        FUZZ_CHECK(machine.result.message.find(path) != std::string::npos, machine.result.message);
        return;
    }
    FUZZ_CHECK(!machine.result.failed(), machine.result.message);
    FUZZ_CHECK(machine.record == expected, bytes);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    checkRead(bytes);
    checkAdd(bytes);
    return 0;
}
