#pragma once

#include "printing/print_backend.h"

#include <string>

// The printouts of the two calculation windows: the printer named by the
// window's list, one or two header lines made from the fields as they read
// now, then the printText of the last calculation, as one document. Each
// stops at the first failure of the back-end and returns it.

namespace kelvaro {

// The texts of PuTong's controls at the time of printing.
struct OrdinaryPrintFields {
    std::string printerList; // Combo1
    std::string ratio;       // chuandongbi
};

// The texts of ChaDong's controls at the time of printing.
struct DifferentialPrintFields {
    std::string printerList;    // Combo2
    std::string module;         // moshu
    std::string degrees;        // luoxuanjiaodu
    std::string minutes;        // luoxuanjiaofen
    std::string seconds;        // luoxuanjiaomiao
    std::string partTeeth;      // 齿数
    bool showPartTeeth = false; // the machine's ratio depends on the part's tooth count
};

PrintStatus printOrdinaryResults(PrintBackend& backend, const OrdinaryPrintFields& fields,
                                 const std::string& printText);

PrintStatus printDifferentialResults(PrintBackend& backend, const DifferentialPrintFields& fields,
                                     const std::string& printText);

} // namespace kelvaro
