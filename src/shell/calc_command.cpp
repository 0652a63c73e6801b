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
    "Exit status: 0 when the calculation ran (a missing input gives the item\n"
    "请输入数值, as in the window), 2 for wrong arguments.\n";

void writeOutcome(const CalculationOutcome& outcome, bool printout, std::ostream& out) {
    if (printout) {
        std::string text = outcome.printText;
        std::replace(text.begin(), text.end(), '\r', '\n');
        out << text << '\n';
        return;
    }
    for (const std::string& item : outcome.items)
        out << item << '\n';
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
        writeOutcome(calculateOrdinary({rest[1], rest[2], rest[3], rest[4]}), printout, out);
        return 0;
    }
    err << kUsage;
    return 2;
}

} // namespace kelvaro
