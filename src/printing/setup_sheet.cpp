#include "printing/setup_sheet.h"

#include "printing/printer_choice.h"

namespace kelvaro {

std::vector<std::string> setupSheetLines(const SetDetails& details) {
    std::vector<std::string> lines = {"      挂轮卡", ""};
    for (const std::string& line : details.inputLines)
        lines.push_back("  " + line);
    lines.emplace_back();
    if (!details.heading.empty()) lines.push_back("  " + details.heading);
    for (const DetailRow& row : details.rows)
        lines.push_back("  " + row.caption + "：" + row.value);
    lines.emplace_back();
    return lines;
}

PrintStatus printSetupSheet(PrintBackend& backend, const std::string& printerList,
                            const SetDetails& details) {
    if (PrintStatus status = choosePrinter(backend, printerList); !status.ok()) return status;
    for (const std::string& line : setupSheetLines(details))
        if (PrintStatus status = backend.printLine(line); !status.ok()) return status;
    if (details.train)
        if (PrintStatus status = backend.printGearTrain(*details.train, details.clearance);
            !status.ok())
            return status;
    return backend.endDocument();
}

} // namespace kelvaro
