#include "printing/printer_choice.h"

namespace kelvaro {

PrinterListContents fillPrinterList(PrintBackend& backend) {
    PrinterListContents contents;
    contents.items = backend.listPrinters();
    if (contents.items.empty())
        contents.disablePrint = true;
    else
        contents.selected = 0;
    return contents;
}

PrintStatus choosePrinter(PrintBackend& backend, const std::string& listText) {
    for (const std::string& printer : backend.listPrinters()) {
        if (printer == listText) return backend.setCurrentPrinter(printer);
    }
    return {};
}

} // namespace kelvaro
