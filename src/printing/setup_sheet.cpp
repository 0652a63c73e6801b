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

PrintStatus printCard(PrintBackend& backend, const std::string& printerList,
                      const std::vector<std::string>& lines, const std::vector<GearSet>& trains) {
    if (PrintStatus status = choosePrinter(backend, printerList); !status.ok()) return status;
    for (const std::string& line : lines)
        if (PrintStatus status = backend.printLine(line); !status.ok()) return status;
    const PrintStatus drawn = trains.size() == 1 ? backend.printGearTrain(trains.front())
                                                 : backend.printGearTrainsSideBySide(trains);
    if (!drawn.ok()) return drawn;
    return backend.endDocument();
}

PrintStatus printSetupSheet(PrintBackend& backend, const std::string& printerList,
                            const SetDetails& details) {
    std::vector<GearSet> trains;
    if (details.train) trains.push_back(*details.train);
    return printCard(backend, printerList, setupSheetLines(details), trains);
}

} // namespace kelvaro
