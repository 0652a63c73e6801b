#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace kelvaro {

// kelvaro-calc: the calculations without a window. Takes the arguments after
// the program name; writes what the result list would hold (or the printout
// text) to `out` and returns the exit status.
int runCalcCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace kelvaro
