// Fuzz target: machine files over arbitrary bytes (GBK and invalid
// sequences included), and the add-machine dialog's Confirm, which writes
// them, on arbitrary field texts, in a folder of its own.
//
// The whole input is read as a machine file: readMachineFile either gives a
// record with as many missing tooth counts as it says, at least 1, or fails
// with a message that names the file.
//
// The input is also cut at "|" into the dialog's texts (model, smallest and
// largest tooth count, machine constant, missing tooth counts) for Confirm
// over a list that holds "C630":
// - a refusal has a message and writes nothing;
// - an added machine is listed last, and its file reads back to the record
//   made of the texts (numbers as the windows read them, an empty
//   item as 0), or, where its tooth range is one no search can use, fails
//   with a message that names the file; no temporary file stays.

#include "../tests/support/temporary_catalogue.h"
#include "catalogue/add_machine.h"
#include "catalogue/machine_file.h"
#include "catalogue/model_name.h"
#include "fuzz_check.h"
#include "gears/numeric_value.h"
#include "gears/trim_blanks.h"
#include "platform/gbk_text.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

using kelvaro::MachineFile;

void checkRead(const std::string& bytes) {
    const TemporaryCatalogue dir({{"M.dat", bytes}});
    const MachineFile machine = kelvaro::readMachineFile(dir.path(), "M");
    if (machine.result.failed()) {
        FUZZ_CHECK(machine.result.message.find(dir.file("M.dat")) != std::string::npos, bytes);
        return;
    }
    FUZZ_CHECK(!machine.record.missingTeeth.empty(), bytes);
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

void checkAdd(const std::string& bytes) {
    std::vector<std::string> texts = split(bytes, '|');
    texts.resize(5);
    const std::vector<std::string> items = split(texts[4], ',');
    const TemporaryCatalogue dir(TemporaryCatalogue::Files{{"jixing.dat", "C630\r\n"}});
    const kelvaro::AddMachineOutcome outcome =
        kelvaro::addMachine(dir.path(), {texts[0], texts[1], texts[2], texts[3], texts[4]});
    if (!outcome.added) {
        FUZZ_CHECK(!outcome.message.empty(), bytes);
        FUZZ_CHECK(dir.contents() == TemporaryCatalogue::Files({{"jixing.dat", "C630\r\n"}}),
                   bytes);
        return;
    }

    const std::string_view model = kelvaro::trimBlanks(texts[0]);
    const std::string name = kelvaro::machineFileName(model);
    const TemporaryCatalogue::Files files = dir.contents();
    FUZZ_CHECK(files.size() == 2 && files.count(name) == 1, bytes);
    FUZZ_CHECK(files.at("jixing.dat") == "C630\r\n" + *kelvaro::toGbk(model) + "\r\n", bytes);

    using kelvaro::numericValue;
    std::vector<std::int16_t> teeth;
    for (const std::string& item : items)
        teeth.push_back(std::int16_t(numericValue(item)));
    const kelvaro::MachineRecord expected{numericValue(texts[1]), numericValue(texts[2]),
                                          numericValue(texts[3]), teeth};
    const MachineFile machine = kelvaro::readMachineFile(dir.path(), model);
    if (machine.result.failed())
        FUZZ_CHECK(machine.result.message.find(dir.file(name)) != std::string::npos, bytes);
    else
        FUZZ_CHECK(machine.record == expected, bytes);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    checkRead(bytes);
    checkAdd(bytes);
    return 0;
}
