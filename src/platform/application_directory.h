#pragma once

#include <string>

namespace kelvaro {

// The folder that holds the running program's executable, without a
// trailing "/": the catalogue's folder. "." if the system cannot tell.
std::string applicationDirectory();

} // namespace kelvaro
