#include "printing/qt_print_backend.h"

#include "platform/spooler_status.h"
#include "widgets/train_drawing.h"

#include <QAbstractTextDocumentLayout>
#include <QFont>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStringList>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextObjectInterface>
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

QtPrintBackend::QtPrintBackend(QString pdfFile, bool letter) : QtPrintBackend() {
    pdfFile_ = std::move(pdfFile);
    letter_ = letter;
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
        printer->setPageSize(QPageSize(letter_ ? QPageSize::Letter : QPageSize::A4));
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

// A train is as wide as the page and at most three quarters as high, on a
// new page only where less than a third of one is left.
PrintStatus QtPrintBackend::printGearTrain(const GearSet& set, double clearance) {
    if (!painter_) {
        if (PrintStatus status = beginDocument(); !status.ok()) return status;
    }
    double height = std::min(pageWidth_ * 0.75, pageHeight_ - nextTop_);
    if (height < pageHeight_ / 3) {
        if (!printer_->newPage()) return failDocument(PrintError::NotStarted);
        nextTop_ = 0;
        height = std::min(pageWidth_ * 0.75, pageHeight_);
    }
    paintGearTrain(*painter_, QRectF(0, nextTop_, pageWidth_, height), set, clearance);
    nextTop_ += height;
    return {};
}

namespace {

QString escaped(const std::string& text) {
    return QString::fromStdString(text).toHtmlEscaped();
}

QString blockHtml(const SheetBlock& block, int drawing, QSizeF drawingSize, int gap) {
    QString html = QStringLiteral("<p style=\"margin-top:%2px; margin-bottom:%3px\"><b>%1</b></p>")
                       .arg(escaped(block.title))
                       .arg(gap)
                       .arg(gap / 4);
    if (!block.headline.empty())
        html += QStringLiteral(
                    "<p style=\"margin:0px; margin-left:%2px; font-size:14pt\"><b>%1</b></p>")
                    .arg(escaped(block.headline))
                    .arg(gap);
    for (const std::string& line : block.lines)
        html += QStringLiteral("<p style=\"margin:0px; margin-left:%2px\">%1</p>")
                    .arg(escaped(line))
                    .arg(gap);
    if (drawing >= 0)
        html += QStringLiteral("<p style=\"margin:0px\"><img src=\"kelvaro-train:%1\" width=\"%2\" "
                               "height=\"%3\"></p>")
                    .arg(drawing)
                    .arg(drawingSize.width(), 0, 'f', 0)
                    .arg(drawingSize.height(), 0, 'f', 0);
    return html;
}

// Paints the drawing of a train where the document lays out its image
// "kelvaro-train:N", at the size the HTML gives in device pixels.
class TrainObject : public QObject, public QTextObjectInterface {
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)
  public:
    TrainObject(std::vector<const SheetBlock*> blocks, QFont font)
        : blocks_(std::move(blocks)), font_(std::move(font)) {}

    QSizeF intrinsicSize(QTextDocument*, int, const QTextFormat& format) override {
        const QTextImageFormat image = format.toImageFormat();
        return {image.width(), image.height()};
    }

    void drawObject(QPainter* painter, const QRectF& rect, QTextDocument*, int,
                    const QTextFormat& format) override {
        const QString name = format.toImageFormat().name();
        const auto number = static_cast<std::size_t>(name.section(QLatin1Char(':'), 1).toInt());
        if (number >= blocks_.size()) return;
        painter->save();
        painter->setFont(font_);
        paintGearTrain(*painter, rect, *blocks_[number]->drawing, blocks_[number]->clearance);
        painter->restore();
    }

  private:
    std::vector<const SheetBlock*> blocks_;
    QFont font_;
};

} // namespace

namespace {

// The sheet as rich text: the title, wide blocks across the page, the
// others two to a row; drawing N is the image "kelvaro-train:N".
QString sheetHtml(const PrintedSheet& sheet, QSizeF drawingSize) {
    const int gap = 10; // screen pixels: Qt scales them to the printer's
    QString html = QStringLiteral("<p align=\"center\" style=\"font-size:16pt\"><b>%1</b></p>")
                       .arg(escaped(sheet.title));
    QString row;
    int cells = 0, drawings = 0;
    auto endRow = [&] {
        if (cells == 0) return;
        html += QStringLiteral("<table width=\"100%\" cellpadding=\"0\" cellspacing=\"0\"><tr>") +
                row + QStringLiteral("</tr></table>");
        row.clear();
        cells = 0;
    };
    for (const SheetBlock& block : sheet.blocks) {
        const QString content = blockHtml(block, block.drawing ? drawings++ : -1, drawingSize, gap);
        if (block.wide) {
            endRow();
            html += content;
        } else {
            row += QStringLiteral("<td width=\"50%\" valign=\"top\" style=\"padding-right:%1px\">")
                       .arg(gap) +
                   content + QStringLiteral("</td>");
            if (++cells == 2) endRow();
        }
    }
    endRow();
    return html;
}

} // namespace

PrintStatus QtPrintBackend::printSheet(const PrintedSheet& sheet) {
    if (!painter_) {
        if (PrintStatus status = beginDocument(); !status.ok()) return status;
    }
    QTextDocument document;
    document.documentLayout()->setPaintDevice(printer_.get());
    // The windows' face, through the same substitutes.
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSizeF(10);
    document.setDefaultFont(font);
    document.setDocumentMargin(0);
    document.setPageSize(QSizeF(pageWidth_, pageHeight_));

    std::vector<const SheetBlock*> drawings;
    for (const SheetBlock& block : sheet.blocks)
        if (block.drawing) drawings.push_back(&block);
    TrainObject trains(drawings, font);
    document.documentLayout()->registerHandler(QTextFormat::ImageObject, &trains);
    // The drawings side by side, a share of the width each, at most four
    // tenths of the page high; smaller where the text needs the room to stay
    // on one page.
    const double column =
        pageWidth_ / static_cast<double>(std::max<std::size_t>(2, drawings.size()));
    for (const double share : {0.4, 0.32, 0.25, 0.18}) {
        const double side = std::min(column * 0.92, pageHeight_ * share);
        document.setHtml(sheetHtml(sheet, QSizeF(side, side * 0.9)));
        if (document.pageCount() <= 1) break;
    }

    const int pages = std::max(1, document.pageCount());
    for (int page = 0; page < pages; ++page) {
        if (page > 0 && !printer_->newPage()) return failDocument(PrintError::NotStarted);
        const QRectF shown(0, page * pageHeight_, pageWidth_, pageHeight_);
        painter_->save();
        painter_->translate(0, -shown.top());
        document.drawContents(painter_.get(), shown);
        painter_->restore();
    }
    return endDocument();
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

#include "qt_print_backend.moc"
