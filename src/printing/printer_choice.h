#pragma once

#include "printing/print_backend.h"

#include <string>
#include <vector>

// The printer list of a calculation window and the choice of the printer a
// printout goes to. The list is filled from the back-end and applied by the
// window; at print time the list's text picks the printer again.

namespace kelvaro {

// What a window's printer list and Print button become when the list is
// filled: the items replace the old ones.
struct PrinterListContents {
    std::vector<std::string> items;
    int selected = -1;         // index of the selected item, -1 for none
    bool disablePrint = false; // the button stays disabled for good
};

PrinterListContents fillPrinterList(PrintBackend& backend);

// Makes the printer named exactly `listText` current; a text that names no
// printer keeps the current printer, silently.
PrintStatus choosePrinter(PrintBackend& backend, const std::string& listText);

} // namespace kelvaro
