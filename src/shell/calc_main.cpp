// kelvaro-calc: the calculations of Kelvaro for scripts, without a window.
#include "shell/calc_command.h"

#include <iostream>

int main(int argc, char* argv[]) {
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    return kelvaro::runCalcCommand(args, std::cout, std::cerr);
}
