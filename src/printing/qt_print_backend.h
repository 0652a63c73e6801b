#pragma once

#include "printing/print_backend.h"

#include <QString>
#include <memory>

class QPainter;
class QPrinter;

namespace kelvaro {

// The system's printers through Qt (CUPS on Linux). A document is begun at
// its first line and drawn with QPainter, line under line, a new page when
// the next line would cross the bottom margin; endDocument hands it to the
// printing system as one job.
class QtPrintBackend final : public PrintBackend {
  public:
    // The current printer starts as the system's default one.
    QtPrintBackend();
    // Documents go into the PDF file `pdfFile` (each one replaces the last)
    // instead of to the current printer; printers are listed and chosen as
    // above.
    explicit QtPrintBackend(QString pdfFile, bool letter = false);
    ~QtPrintBackend() override;

    std::vector<std::string> listPrinters() override;
    PrintStatus setCurrentPrinter(const std::string& printer) override;
    PrintStatus printLine(const std::string& text) override;
    PrintStatus endDocument() override;
    PrintStatus printGearTrain(const GearSet& set, double clearance) override;
    std::size_t pageCount(std::size_t lines) override;
    // Laid out by a QTextDocument in the windows' font, the drawings painted
    // where the document leaves room for them.
    PrintStatus printSheet(const PrintedSheet& sheet) override;

    const std::string& currentPrinter() const { return current_; }

  private:
    // The printer a document goes to, set up for it; null with the error.
    std::unique_ptr<QPrinter> makePrinter(PrintError& error) const;
    PrintStatus beginDocument();
    // Discards the open document and returns the failure.
    PrintStatus failDocument(PrintError error, std::string detail = {});
    void discardDocument();

    std::string current_;
    QString pdfFile_;
    bool letter_ = false;
    std::unique_ptr<QPrinter> printer_; // with painter_, set while a document is open
    std::unique_ptr<QPainter> painter_;
    double nextTop_ = 0; // device pixels below the top margin
    double lineSpacing_ = 0;
    double ascent_ = 0;
    double pageHeight_ = 0;
    double pageWidth_ = 0;
};

} // namespace kelvaro
