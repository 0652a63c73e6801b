#include "shell/calc_command.h"

#include "ordinary/ordinary_calculation.h"

#include <algorithm>
#include <ostream>

namespace kelvaro {

namespace {

constexpr const char* kUsage =
    "Usage: kelvaro-calc ordinary [--printout] RATIO TOLERANCE SMALLEST LARGEST\n"
    "       kelvaro-calc --help\n";

constexpr const char* kHelp =
    "kelvaro-calc runs Kelvaro's change-gear calculations without a window.\n"
    "\n"
    "  kelvaro-calc ordinary [--printout] RATIO TOLERANCE SMALLEST LARGEST\n"
    "\n"
    "Each argument is the text of one field of the ordinary calculation window\n"
    "(ratio, tolerance, smallest and largest tooth count), read exactly as the\n"
    "window reads it; an empty argument (\"\") is an empty field.\n"
    "\n"
    "Prints the items that the result list would hold, one per line (UTF-8).\n"
    "With --printout it prints the printout text of the calculation instead,\n"
    "one line per printout line.\n"
    "\n"
    "A calculation lists at most 1000000 sets; beyond that it prints the\n"
    "window's message to standard error instead. Tooth counts of 2^53 or more,\n"
    "where a count plus 1 is the same count, are refused like a missing input.\n"
    "A search over a very wide range can run long: interrupt it with Ctrl-C.\n"
    "\n"
    "Exit status: 0 when the calculation ran (a missing input gives the item\n"
    "请输入数值, as in the window), 1 when it ended with a message, 2 for wrong\n"
    "arguments.\n";

// Returns the exit status: a message (the window's message box) goes to
// standard error and nothing else is written.
int writeOutcome(const CalculationOutcome& outcome, bool printout, std::ostream& out,
                 std::ostream& err) {
    if (!outcome.message.empty()) {
        err << outcome.message << '\n';
        return 1;
    }
    if (printout) {
        std::string text = outcome.printText;
        std::replace(text.begin(), text.end(), '\r', '\n');
        out << text << '\n';
        return 0;
    }
    for (const std::string& item : outcome.items)
        out << item << '\n';
    return 0;
}

} // namespace

int runCalcCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (std::find(args.begin(), args.end(), "--help") != args.end()) {
        out << kHelp;
        return 0;
    }

    std::vector<std::string> rest = args;
    bool printout = false;
    // --printout is taken anywhere before the field texts: before or after
    // the calculation's name.
    for (std::size_t i = 0; i < rest.size() && i < 2; ++i) {
        if (rest[i] == "--printout") {
            printout = true;
            rest.erase(rest.begin() + static_cast<std::ptrdiff_t>(i));
            break;
        }
    }

    if (rest.size() == 5 && rest[0] == "ordinary") {
        return writeOutcome(calculateOrdinary({rest[1], rest[2], rest[3], rest[4]}), printout, out,
                            err);
    }
    err << kUsage;
    return 2;
}

} // namespace kelvaro
