#include "printing/qt_print_backend.h"

#include "platform/spooler_status.h"
#include "widgets/train_drawing.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStringList>
#include <algorithm>

namespace kelvaro {

namespace {

// Latin letters half and Chinese characters full width, as the columns of
// the result lines assume; the family has β ° ′ ″ as well. A Chinese
// Windows without Noto CJK has NSimSun, which is like it in this.
QFont printFont() {
    QFont font;
    font.setFamilies({QStringLiteral("Noto Sans Mono CJK SC"), QStringLiteral("Noto Sans CJK SC"),
                      QStringLiteral("NSimSun"), QStringLiteral("SimSun")});
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSizeF(11);
    return font;
}

const QMarginsF kMarginsMm{20, 15, 15, 15};

// Whether a line whose top would be `nextTop` goes on a new page: where it
// would cross the bottom margin, but a page takes at least one line,
// however small it is. printLine and pageCount both page by this.
bool startsNewPage(double nextTop, double lineSpacing, double pageHeight) {
    return nextTop > 0 && nextTop + lineSpacing > pageHeight;
}

} // namespace

QtPrintBackend::QtPrintBackend() : current_(QPrinterInfo::defaultPrinterName().toStdString()) {}

QtPrintBackend::QtPrintBackend(QString pdfFile) : QtPrintBackend() {
    pdfFile_ = std::move(pdfFile);
}

QtPrintBackend::~QtPrintBackend() {
    discardDocument();
}

std::vector<std::string> QtPrintBackend::listPrinters() {
    std::vector<std::string> names;
    for (const QString& name : QPrinterInfo::availablePrinterNames())
        names.push_back(name.toStdString());
    return names;
}

PrintStatus QtPrintBackend::setCurrentPrinter(const std::string& printer) {
    if (QPrinterInfo::printerInfo(QString::fromStdString(printer)).isNull()) {
        PrintStatus status;
        status.error = PrintError::PrinterGone;
        status.printer = printer;
        return status;
    }
    current_ = printer;
    return {};
}

PrintStatus QtPrintBackend::failDocument(PrintError error, std::string detail) {
    discardDocument();
    PrintStatus status;
    status.error = error;
    status.printer = pdfFile_.isEmpty() ? current_ : pdfFile_.toStdString();
    status.detail = std::move(detail);
    return status;
}

void QtPrintBackend::discardDocument() {
    // Ending an active painter would release what it drew; Qt's painter only
    // fails to begin or to start a page once it is inactive, and every
    // printout ends its document, so nothing half drawn reaches a printer.
    painter_.reset();
    printer_.reset();
}

std::unique_ptr<QPrinter> QtPrintBackend::makePrinter(PrintError& error) const {
    std::unique_ptr<QPrinter> printer;
    if (pdfFile_.isEmpty()) {
        if (current_.empty()) {
            error = PrintError::NoPrinter;
            return nullptr;
        }
        const QPrinterInfo info = QPrinterInfo::printerInfo(QString::fromStdString(current_));
        if (!info.isNull()) printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
        if (!printer || !printer->isValid()) {
            error = PrintError::PrinterGone;
            return nullptr;
        }
    } else {
        printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(pdfFile_);
        printer->setPageSize(QPageSize(QPageSize::A4));
    }
    printer->setDocName(QStringLiteral("Kelvaro"));
    printer->setPageMargins(kMarginsMm, QPageLayout::Millimeter);
    return printer;
}

std::size_t QtPrintBackend::pageCount(std::size_t lines) {
    PrintError error = PrintError::None;
    const std::unique_ptr<QPrinter> printer = makePrinter(error);
    if (!printer || lines == 0) return 0;
    const QFontMetricsF metrics(printFont(), printer.get());
    const double lineSpacing = metrics.lineSpacing();
    const double pageHeight = printer->pageRect(QPrinter::DevicePixel).height();
    // The steps of printLine, without drawing.
    std::size_t pages = 1;
    double nextTop = 0;
    for (std::size_t i = 0; i < lines; ++i) {
        if (startsNewPage(nextTop, lineSpacing, pageHeight)) {
            ++pages;
            nextTop = 0;
        }
        nextTop += lineSpacing;
    }
    return pages;
}

PrintStatus QtPrintBackend::beginDocument() {
    PrintError error = PrintError::None;
    printer_ = makePrinter(error);
    if (!printer_) return failDocument(error);

    painter_ = std::make_unique<QPainter>();
    if (!painter_->begin(printer_.get())) return failDocument(PrintError::NotStarted);
    painter_->setFont(printFont());
    const QFontMetricsF metrics = painter_->fontMetrics();
    lineSpacing_ = metrics.lineSpacing();
    ascent_ = metrics.ascent();
    pageHeight_ = printer_->pageRect(QPrinter::DevicePixel).height();
    pageWidth_ = printer_->pageRect(QPrinter::DevicePixel).width();
    nextTop_ = 0;
    return {};
}

PrintStatus QtPrintBackend::printLine(const std::string& text) {
    if (!painter_) {
        if (PrintStatus status = beginDocument(); !status.ok()) return status;
    }
    for (const QString& line : QString::fromStdString(text).split(QLatin1Char('\r'))) {
        if (startsNewPage(nextTop_, lineSpacing_, pageHeight_)) {
            if (!printer_->newPage()) return failDocument(PrintError::NotStarted);
            nextTop_ = 0;
        }
        painter_->drawText(QPointF(0, nextTop_ + ascent_), line);
        nextTop_ += lineSpacing_;
    }
    return {};
}

// One train is as wide as the page and at most three quarters as high, a
// new page only where less than a third of one is left; several share the
// width in squares, a new page where less than a quarter is left.
PrintStatus QtPrintBackend::printGearTrain(const GearSet& set) {
    return drawTrains({set}, 0.75, 1.0 / 3);
}

PrintStatus QtPrintBackend::printGearTrainsSideBySide(const std::vector<GearSet>& sets) {
    return drawTrains(sets, 1, 0.25);
}

PrintStatus QtPrintBackend::drawTrains(const std::vector<GearSet>& sets, double heightPerWidth,
                                       double leastShareLeft) {
    if (sets.empty()) return {};
    if (!painter_) {
        if (PrintStatus status = beginDocument(); !status.ok()) return status;
    }
    const double width = pageWidth_ / static_cast<double>(sets.size());
    double height = std::min(width * heightPerWidth, pageHeight_ - nextTop_);
    if (height < pageHeight_ * leastShareLeft) {
        if (!printer_->newPage()) return failDocument(PrintError::NotStarted);
        nextTop_ = 0;
        height = std::min(width * heightPerWidth, pageHeight_);
    }
    for (std::size_t i = 0; i < sets.size(); ++i)
        paintGearTrain(*painter_, QRectF(width * static_cast<double>(i), nextTop_, width, height),
                       sets[i]);
    nextTop_ += height;
    return {};
}

PrintStatus QtPrintBackend::endDocument() {
    if (!painter_) return {}; // no line since the last end: nothing to release
    const bool ended = painter_->end();
    const bool toPrinter = pdfFile_.isEmpty();
    if (!ended || printer_->printerState() == QPrinter::Error)
        return failDocument(PrintError::NotCompleted);
    if (toPrinter) {
        if (SpoolerAnswer answer = spoolerJobStatus(); !answer.accepted)
            return failDocument(PrintError::NotCompleted, answer.words);
    }
    discardDocument();
    return {};
}

} // namespace kelvaro
