#include "printing/result_printout.h"

#include "gears/trim_blanks.h"
#include "printing/printer_choice.h"

#include <initializer_list>

namespace kelvaro {

namespace {

// The printer choice, the three lines, the end of the document. printText
// goes out as one line: its carriage returns break it.
PrintStatus printDocument(PrintBackend& backend, const std::string& printerList,
                          const std::string& dataLine, const std::string& header,
                          const std::string& printText) {
    if (PrintStatus status = choosePrinter(backend, printerList); !status.ok()) return status;
    for (const std::string* line : {&dataLine, &header, &printText}) {
        if (PrintStatus status = backend.printLine(*line); !status.ok()) return status;
    }
    return backend.endDocument();
}

} // namespace

PrintStatus printOrdinaryResults(PrintBackend& backend, const OrdinaryPrintFields& fields,
                                 const std::string& printText) {
    return printDocument(backend, fields.printerList, "      i=" + fields.ratio,
                         "      主动    主动    被动    被动", printText);
}

PrintStatus printDifferentialResults(PrintBackend& backend, const DifferentialPrintFields& fields,
                                     const std::string& printText) {
    std::string dataLine = "      m=" + fields.module + "  β=";
    dataLine.append(trimBlanks(fields.degrees)).append("°");
    dataLine.append(trimBlanks(fields.minutes)).append("′");
    dataLine.append(trimBlanks(fields.seconds)).append("″");
    if (fields.showPartTeeth) dataLine.append("  Z=").append(trimBlanks(fields.partTeeth));
    return printDocument(backend, fields.printerList, dataLine, "      主动   主动   被动   被动",
                         printText);
}

} // namespace kelvaro
