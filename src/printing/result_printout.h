#pragma once

#include "printing/print_backend.h"

#include <cstddef>
#include <functional>
#include <string>

// The printouts of the two calculation windows: the printer named by the
// window's list, one or two header lines made from the fields as they read
// at the calculation that made printText, then that printText, as one document. Each
// stops at the first failure of the back-end and returns it. A document of
// more than kPagesWithoutQuestion pages on the chosen printer is printed
// only when `confirm` answers its question ("将打印 N 页，是否继续？") with
// yes; a no prints nothing and is no failure.

namespace kelvaro {

// The texts of PuTong's controls: the printer list now, the ratio as it was
// typed for the calculation that made printText.
struct OrdinaryPrintFields {
    std::string printerList; // Combo1
    std::string ratio;       // chuandongbi
};

// The texts of ChaDong's controls: the printer list now, the others as they
// were at the calculation that made printText.
struct DifferentialPrintFields {
    std::string printerList;    // Combo2
    std::string module;         // moshu
    std::string degrees;        // luoxuanjiaodu
    std::string minutes;        // luoxuanjiaofen
    std::string seconds;        // luoxuanjiaomiao
    std::string partTeeth;      // 齿数
    bool showPartTeeth = false; // the machine's ratio depends on the part's tooth count
};

inline constexpr std::size_t kPagesWithoutQuestion = 10;
using ConfirmPrint = std::function<bool(const std::string& question)>;

PrintStatus printOrdinaryResults(PrintBackend& backend, const OrdinaryPrintFields& fields,
                                 const std::string& printText, const ConfirmPrint& confirm = {});

PrintStatus printDifferentialResults(PrintBackend& backend, const DifferentialPrintFields& fields,
                                     const std::string& printText,
                                     const ConfirmPrint& confirm = {});

// The lines that open each printout: the data line, then the column header.
struct PrintoutHead {
    std::string dataLine;
    std::string header;
};
PrintoutHead ordinaryPrintoutHead(const OrdinaryPrintFields& fields);
PrintoutHead differentialPrintoutHead(const DifferentialPrintFields& fields);

} // namespace kelvaro
