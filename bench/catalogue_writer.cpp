// Adds and deletes machines of a catalogue folder, for the trials of
// bench/catalogue-trials.sh: two of these at once on one folder, or one
// killed in the middle. Prints one line per operation as it is reported,
// "done add M" or "failed add M: message", so that a trial can check the
// catalogue against what was reported done.
//
//   kelvaro-catalogue-writer DIR add M | delete M ...
//   kelvaro-catalogue-writer DIR loop PREFIX COUNT
//
// The loop adds PREFIX0 .. PREFIX<COUNT-1> and deletes each one after the
// next has been added.
#include "catalogue/add_machine.h"
#include "catalogue/machine_list.h"

#include <cstdio>
#include <string>

namespace {

bool run(const std::string& folder, const std::string& operation, const std::string& model) {
    std::string message;
    if (operation == "add") {
        message = kelvaro::addMachine(folder, {model, "20", "100", "10", "37,41"}).message;
    } else {
        message = kelvaro::removeMachineName(folder, model).message;
    }
    if (message.empty())
        std::printf("done %s %s\n", operation.c_str(), model.c_str());
    else
        std::printf("failed %s %s: %s\n", operation.c_str(), model.c_str(), message.c_str());
    std::fflush(stdout);
    return message.empty();
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 4) {
        std::fprintf(stderr, "Usage: kelvaro-catalogue-writer DIR add M | delete M ...\n"
                             "       kelvaro-catalogue-writer DIR loop PREFIX COUNT\n");
        return 2;
    }
    const std::string folder = argv[1];
    if (std::string(argv[2]) == "loop") {
        const std::string prefix = argv[3];
        const int count = argc > 4 ? std::stoi(argv[4]) : 1;
        for (int i = 0; i < count; ++i) {
            run(folder, "add", prefix + std::to_string(i));
            if (i > 0) run(folder, "delete", prefix + std::to_string(i - 1));
        }
        return 0;
    }
    bool allDone = true;
    for (int i = 2; i + 1 < argc; i += 2)
        allDone = run(folder, argv[i], argv[i + 1]) && allDone;
    return allDone ? 0 : 1;
}
