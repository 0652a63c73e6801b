#pragma once

#include "gears/gear_set.h"
#include "printing/card_sheet.h"

#include <cstddef>
#include <string>
#include <vector>

// What the printouts need of a printing system, and how an operation of it
// ends. The windows hand one back-end to the printing logic; the real one
// draws on the system's printers, the tests' one records the calls.

namespace kelvaro {

enum class PrintError {
    None,
    NoPrinter,    // no current printer to print on
    PrinterGone,  // the named printer is not installed (any more)
    NotStarted,   // the document or a new page could not be begun
    NotCompleted, // the finished document was not accepted as a job
};

struct PrintStatus {
    PrintError error = PrintError::None;
    std::string printer; // the printer concerned, where there is one
    std::string detail;  // the printing system's own words, possibly empty

    bool ok() const { return error == PrintError::None; }
};

// The message box text for a failed operation, in the program's language.
std::string printFailureMessage(const PrintStatus& status);

// One per program: the current printer it keeps is the program's current
// printer, the system's default one at start.
//
// A failed setCurrentPrinter leaves the current printer as it was; a failed
// printLine or endDocument discards the open document, so the next line
// starts a new one.
class PrintBackend {
  public:
    virtual ~PrintBackend() = default;

    // Device names of the installed printers, in the system's order.
    virtual std::vector<std::string> listPrinters() = 0;
    virtual PrintStatus setCurrentPrinter(const std::string& printer) = 0;
    // Prints `text` and ends the line; every carriage return inside it ends
    // a line too. The first line after start or after endDocument opens a
    // new document on the current printer.
    virtual PrintStatus printLine(const std::string& text) = 0;
    // Closes the open document and releases it to the printer as one job.
    virtual PrintStatus endDocument() = 0;
    // Draws the change-gear train of `set` below the lines so far, on the
    // same page where it fits, a margin below `clearance` in red. A
    // back-end without drawings prints nothing.
    virtual PrintStatus printGearTrain(const GearSet& set, double clearance) {
        static_cast<void>(set);
        static_cast<void>(clearance);
        return {};
    }
    // The whole sheet as one document, ended. Without its own way the
    // back-end prints the titles and lines, each drawing after its block's.
    virtual PrintStatus printSheet(const PrintedSheet& sheet);
    // The pages that a document of `lines` lines takes on the current
    // printer; 0 when there is no printer to ask.
    virtual std::size_t pageCount(std::size_t lines) = 0;
};

} // namespace kelvaro
