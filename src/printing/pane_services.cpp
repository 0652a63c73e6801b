#include "printing/pane_services.h"

#include "printing/printer_choice.h"
#include "printing/setup_sheet.h"

namespace kelvaro {

PaneServices paneServices(PrintBackend& backend, ResultListActions::WriteFile writeFile) {
    PaneServices services;
    services.printers = [&backend] {
        PrinterListContents contents = fillPrinterList(backend);
        return PrinterListItems{std::move(contents.items), contents.selected,
                                contents.disablePrint};
    };
    services.printSheet = [&backend](const std::string& printerList, const SetDetails& details) {
        return printFailureMessage(printSetupSheet(backend, printerList, details));
    };
    services.writeFile = std::move(writeFile);
    return services;
}

} // namespace kelvaro
