#include "pdf_reading.h"
#include "printing/qt_print_backend.h"
#include "printing/result_printout.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace kelvaro {

// The Qt back-end drawing into a PDF file, read back with poppler.
class QtPrintBackendTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        QVERIFY(dir_.isValid());
        QFile::remove(pdf());
    }

    void printoutText();
    void lineLayout();
    void pageBreaks();
    void failures();

  private:
    QString pdf() const { return dir_.filePath(QStringLiteral("printout.pdf")); }

    QTemporaryDir dir_;
};

// The differential printout, with every kind of character the printouts use.
void QtPrintBackendTest::printoutText() {
    QtPrintBackend backend(pdf());
    const std::string body = "\r     20     30     40     50   1.234568E-05"
                             "\r     误差最小的挂轮组及误差为";
    const PrintStatus status =
        printDifferentialResults(backend, {"", "2.5", " 15 ", "30", "5", "40", true}, body);
    QVERIFY2(status.ok(), printFailureMessage(status).c_str());

    const std::vector<QStringList> pages = pdfPages(pdf());
    QCOMPARE(pages.size(), 1u);
    QCOMPARE(pages[0], (QStringList{"m=2.5 β=15°30′5″ Z=40", "主动 主动 被动 被动", "",
                                    "20 30 40 50 1.234568E-05", "误差最小的挂轮组及误差为"}));
    QCOMPARE(pdfInfo(pdf(), QStringLiteral("Title")), QStringLiteral("Kelvaro"));
}

void QtPrintBackendTest::lineLayout() {
    // Leading blanks indent, a carriage return ends a line, an empty text is
    // an empty line.
    QtPrintBackend backend(pdf());
    QVERIFY(backend.printLine("A").ok());
    QVERIFY(backend.printLine("     A\r\rB").ok());
    QVERIFY(backend.printLine("").ok());
    QVERIFY(backend.printLine("C").ok());
    QVERIFY(backend.endDocument().ok());

    const std::vector<PdfWord> words = pdfWords(pdf());
    QCOMPARE(words.size(), 4u);
    const double advance = words[0].right - words[0].left;
    const double spacing = words[1].top - words[0].top;
    QVERIFY(spacing > 0);
    QCOMPARE(words[1].text, QStringLiteral("A"));
    QVERIFY(qAbs(words[1].left - words[0].left - 5 * advance) < 0.5);
    QCOMPARE(words[2].text, QStringLiteral("B"));
    QVERIFY(qAbs(words[2].left - words[0].left) < 0.5);
    QVERIFY(qAbs(words[2].top - words[1].top - 2 * spacing) < 0.5);
    QCOMPARE(words[3].text, QStringLiteral("C"));
    QVERIFY(qAbs(words[3].top - words[2].top - 2 * spacing) < 0.5);
}

void QtPrintBackendTest::pageBreaks() {
    std::string body;
    QStringList expected = {"i=7", "主动 主动 被动 被动", ""};
    for (int i = 1; i <= 150; ++i) {
        const std::string line = "第" + std::to_string(i) + "行";
        body += "\r     " + line;
        expected.append(QString::fromStdString(line));
    }
    QtPrintBackend backend(pdf());
    QVERIFY(printOrdinaryResults(backend, {"", "7"}, body).ok());

    // Every line once, in order, over several pages.
    const std::vector<QStringList> pages = pdfPages(pdf());
    QVERIFY2(pages.size() >= 3, qPrintable(QString::number(pages.size())));
    QStringList all;
    for (const QStringList& page : pages) {
        QVERIFY(!page.isEmpty());
        all += page;
    }
    all.removeAll(QString()); // pdftotext drops an empty line at a page's top
    expected.removeAll(QString());
    QCOMPARE(all, expected);

    // A page ends with the last line that fits above the bottom margin of
    // 15 mm on A4; the next page starts at the top margin again.
    const double bottomLimit = 842 - 15 / 25.4 * 72;
    std::vector<std::pair<double, double>> topRange(pages.size(), {1e9, -1e9});
    for (const PdfWord& word : pdfWords(pdf())) {
        auto& [first, last] = topRange[static_cast<std::size_t>(word.page)];
        first = qMin(first, word.top);
        last = qMax(last, word.top);
    }
    const double spacing = (topRange[1].second - topRange[1].first) / (pages[1].size() - 1);
    for (std::size_t page = 0; page + 1 < topRange.size(); ++page) {
        QVERIFY(qAbs(topRange[page].first - topRange[0].first) < 0.5);
        QVERIFY(topRange[page].second + spacing <= bottomLimit + 0.5);
        QVERIFY(topRange[page].second + 2 * spacing > bottomLimit - 0.5);
    }
}

void QtPrintBackendTest::failures() {
    // A file that cannot be written: the document cannot begin.
    QtPrintBackend unwritable(dir_.filePath(QStringLiteral("missing/printout.pdf")));
    const PrintStatus status = unwritable.printLine("x");
    QCOMPARE(status.error, PrintError::NotStarted);
    QVERIFY(printFailureMessage(status).starts_with("打印失败："));
    QCOMPARE(unwritable.endDocument().error, PrintError::None); // nothing is open

    // A printer that is not installed is not made current.
    QtPrintBackend backend(pdf());
    const std::string before = backend.currentPrinter();
    const PrintStatus gone = backend.setCurrentPrinter("Kelvaro test: no such printer");
    QCOMPARE(gone.error, PrintError::PrinterGone);
    QCOMPARE(gone.printer, std::string("Kelvaro test: no such printer"));
    QCOMPARE(backend.currentPrinter(), before);

    // Ending without a line releases no document.
    QVERIFY(backend.endDocument().ok());
    QVERIFY(!QFile::exists(pdf()));
}

} // namespace kelvaro

QTEST_MAIN(kelvaro::QtPrintBackendTest)
#include "qt_print_backend_test.moc"
