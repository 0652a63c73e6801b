#pragma once

#include "gears/trim_blanks.h"

#include <optional>
#include <string>
#include <string_view>

namespace kelvaro {

// Why the catalogue cannot hold this (trimmed, non-empty) model name, as a
// message for the user; nothing when it can. A name is refused when it
// would split or change its list entry (comma, double quote), leave the
// catalogue folder or not name a file there (/, \, control characters, a
// name whose files' names would be too long), cannot be stored in GBK, or would name the
// list's own files.
std::optional<std::string> modelNameProblem(std::string_view name);

// Whether a name read from the list can name a machine file at all.
bool isFileNameSafe(std::string_view name);

// The machine file's name: the whole model name and ".dat".
std::string machineFileName(std::string_view model);

} // namespace kelvaro
