#pragma once

#include <string>

// How the printing system took the job that Qt has just handed to it, on
// the thread that printed: CUPS on Linux (spooler_status_cups.cpp), the
// Windows spooler on Windows (spooler_status_win32.cpp). CMake picks one.

namespace kelvaro {

struct SpoolerAnswer {
    bool accepted = true;
    std::string words; // the printing system's own, possibly empty
};

SpoolerAnswer spoolerJobStatus();

} // namespace kelvaro
