#pragma once

#include "catalogue/catalogue_result.h"
#include "platform/file_system.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// One machine file per model, named by the model and ".dat": the smallest
// and largest tooth count of the machine's change gears, the number N of
// tooth counts that its gear set lacks, its machine constant, then those N
// tooth counts, one per line, in GBK with CR LF line ends. The add-machine
// dialog writes it, each differential calculation reads it.

namespace kelvaro {

struct MachineRecord {
    double minTeeth = 0;
    double maxTeeth = 0;
    double machineConstant = 0;
    std::vector<std::int16_t> missingTeeth; // N entries (at least 1), in file order

    friend bool operator==(const MachineRecord&, const MachineRecord&) = default;
};

// Creates or replaces the machine file in one step, under the catalogue's
// lock. The three texts are written as typed; N (at least 1) is the number
// of `missingTeeth` items.
CatalogueResult writeMachineFile(const CatalogueLock& held, std::string_view model,
                                 std::string_view minTeeth, std::string_view maxTeeth,
                                 std::string_view machineConstant,
                                 const std::vector<std::string>& missingTeeth);

struct MachineFile {
    CatalogueResult result;
    MachineRecord record; // valid when the result is Ok
};

// Reads the machine file of `model` (the whole name, as listed). Numbers
// are read as a field's leading number, as the windows read them, so a text
// stored as typed (20 followed by letters) reads as 20; an empty missing
// tooth count is 0. A file that is missing or unreadable, or whose content
// the search cannot use, fails with a message that names the file and what
// is wrong.
MachineFile readMachineFile(const std::string& directory, std::string_view model,
                            FileSystem& fs = realFileSystem());

} // namespace kelvaro
