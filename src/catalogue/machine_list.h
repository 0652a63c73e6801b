#pragma once

#include "catalogue/catalogue_result.h"
#include "platform/file_system.h"

#include <string>
#include <string_view>
#include <vector>

// The machine list jixing.dat: one model name per line, in the order the
// machines were added, in GBK with CR LF line ends. Read by the differential
// window at each activation, appended to by the add-machine dialog and
// rewritten without a model by the delete-machine dialog.

namespace kelvaro {

inline constexpr std::string_view kMachineListFile = "jixing.dat";

struct MachineList {
    CatalogueStatus status = CatalogueStatus::Ok;
    std::vector<std::string> names; // UTF-8, in file order
    std::string message;
};

// Every field of jixing.dat, in file order; a missing file is an empty list.
MachineList readMachineList(const std::string& directory, FileSystem& fs = realFileSystem());

// Adds the name, without its leading and trailing blanks, as a last line.
// A list written elsewhere whose last line lacks its line end gets one
// first, so the new name never runs into the last entry (after a last comma
// it is a field of its own already). The list is replaced in one step.
// Takes the catalogue's lock for the reading and the writing together, so
// that no other writer's change falls between them.
CatalogueResult appendMachineName(const std::string& directory, std::string_view name,
                                  FileSystem& fs = realFileSystem());
// The same under a lock that the caller holds.
CatalogueResult appendMachineName(const CatalogueLock& held, std::string_view name);

// Rewrites jixing.dat one field per line without every field equal to
// `name` (exact text), under the catalogue's lock. Kept fields are copied
// byte for byte. The new list replaces jixing.dat in one step, so the
// catalogue always has its list. A missing jixing.dat changes nothing.
CatalogueResult removeMachineName(const std::string& directory, std::string_view name,
                                  FileSystem& fs = realFileSystem());

// What the delete dialog asks before it removes `model` from the list, and
// what it says afterwards: the machine file stays where it is.
std::string deleteMachineQuestion(std::string_view model);
std::string machineDeletedMessage(std::string_view model);

} // namespace kelvaro
