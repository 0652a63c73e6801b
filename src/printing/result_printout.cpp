#include "printing/result_printout.h"

#include "gears/trim_blanks.h"
#include "printing/printer_choice.h"

#include <algorithm>
#include <initializer_list>

namespace kelvaro {

namespace {

// The printer choice, the three lines, the end of the document. printText
// goes out as one line: its carriage returns break it.
PrintStatus printDocument(PrintBackend& backend, const std::string& printerList,
                          const PrintoutHead& head, const std::string& printText,
                          const ConfirmPrint& confirm) {
    if (PrintStatus status = choosePrinter(backend, printerList); !status.ok()) return status;
    if (confirm) {
        std::size_t lines = 0;
        for (const std::string* text : {&head.dataLine, &head.header, &printText})
            lines += 1 + static_cast<std::size_t>(std::count(text->begin(), text->end(), '\r'));
        const std::size_t pages = backend.pageCount(lines);
        if (pages > kPagesWithoutQuestion &&
            !confirm("将打印 " + std::to_string(pages) + " 页，是否继续？"))
            return {};
    }
    for (const std::string* line : {&head.dataLine, &head.header, &printText}) {
        if (PrintStatus status = backend.printLine(*line); !status.ok()) return status;
    }
    return backend.endDocument();
}

} // namespace

PrintoutHead ordinaryPrintoutHead(const OrdinaryPrintFields& fields) {
    return {"      i=" + fields.ratio, "      主动    主动    被动    被动"};
}

PrintoutHead differentialPrintoutHead(const DifferentialPrintFields& fields) {
    std::string dataLine = "      m=" + fields.module + "  β=";
    dataLine.append(trimBlanks(fields.degrees)).append("°");
    dataLine.append(trimBlanks(fields.minutes)).append("′");
    dataLine.append(trimBlanks(fields.seconds)).append("″");
    if (fields.showPartTeeth) dataLine.append("  Z=").append(trimBlanks(fields.partTeeth));
    return {std::move(dataLine), "      主动   主动   被动   被动"};
}

PrintStatus printOrdinaryResults(PrintBackend& backend, const OrdinaryPrintFields& fields,
                                 const std::string& printText, const ConfirmPrint& confirm) {
    return printDocument(backend, fields.printerList, ordinaryPrintoutHead(fields), printText,
                         confirm);
}

PrintStatus printDifferentialResults(PrintBackend& backend, const DifferentialPrintFields& fields,
                                     const std::string& printText, const ConfirmPrint& confirm) {
    return printDocument(backend, fields.printerList, differentialPrintoutHead(fields), printText,
                         confirm);
}

} // namespace kelvaro
