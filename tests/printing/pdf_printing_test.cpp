// From PuTong through the Qt back-end and a real CUPS server to the PDF that the cups-pdf printer
// writes, each read back with poppler. scripts/start-cups.sh sets the server up with this printer
// and this output folder.
#include "ordinary/putong_window.h"
#include "printing/qt_print_backend.h"
#include "support/pdf_reading.h"
#include "support/window_driver.h"

#include <QDir>
#include <QtTest>
#include <cups/cups.h>

namespace kelvaro {

class PdfPrintingTest : public QObject {
    Q_OBJECT

  private slots:
    void printsTheWorkedExampleOnThePdfPrinter();
};

namespace {

// The newest job of the printer, with its owner; id 0 for none.
std::pair<int, QString> latestJob(bool completed) {
    cups_job_t* jobs = nullptr;
    const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, "Kelvaro_PDF", 0,
                                   completed ? CUPS_WHICHJOBS_COMPLETED : CUPS_WHICHJOBS_ALL);
    std::pair<int, QString> latest{0, {}};
    for (int i = 0; i < count; ++i)
        if (jobs[i].id > latest.first) latest = {jobs[i].id, QString::fromUtf8(jobs[i].user)};
    cupsFreeJobs(count, jobs);
    return latest;
}

// cups-pdf's fonts (Type 3, custom encoding) name their glyphs in order of
// use, so the text reads back one symbol per glyph: texts that are the same
// under a one-to-one renaming of the characters have the same shape.
QList<qsizetype> shape(const QString& text) {
    QList<qsizetype> firstUse;
    for (const QChar c : text)
        firstUse << text.indexOf(c);
    return firstUse;
}

} // namespace

void PdfPrintingTest::printsTheWorkedExampleOnThePdfPrinter() {
    QtPrintBackend backend;
    const std::vector<std::string> printers = backend.listPrinters();
    if (std::find(printers.begin(), printers.end(), "Kelvaro_PDF") == printers.end()) {
        const char* why = "no CUPS server with the printer Kelvaro_PDF (scripts/start-cups.sh)";
        if (qEnvironmentVariable("CI") == QStringLiteral("true")) QFAIL(why);
        QSKIP(why);
    }
    const int before = latestJob(false).first;
    driver::MessageRecorder messages;
    PuTong window(driver::context(backend, messages));
    auto* printerList = driver::child<QComboBox>(&window, "Combo1");
    printerList->setCurrentIndex(printerList->findText(QStringLiteral("Kelvaro_PDF")));
    driver::fillPuTong(&window, "1.5", "0.00001", "20", "30");
    driver::click(&window, "Command1");
    driver::click(&window, "Command3");
    QCOMPARE(messages.texts, QStringList());

    // One new job, completed; cups-pdf names its file after the job.
    std::pair<int, QString> job;
    QTRY_VERIFY_WITH_TIMEOUT((job = latestJob(true)).first > before, 60000);
    const QDir folder(QStringLiteral("/var/spool/cups-pdf-kelvaro/") + job.second);
    const QStringList pattern{QStringLiteral("*-job_%1.pdf").arg(job.first)};
    QTRY_VERIFY_WITH_TIMEOUT(!folder.entryList(pattern, QDir::Files).isEmpty(), 10000);
    const std::vector<QStringList> pages =
        pdfPages(folder.filePath(folder.entryList(pattern, QDir::Files).first()));
    // The printout from its header on: the sets, the heading, the best set.
    QStringList expected = QString::fromStdString(window.printText()).split(QLatin1Char('\r'));
    for (QString& line : expected)
        line = line.simplified();
    expected.prepend(QStringLiteral("主动 主动 被动 被动"));
    QCOMPARE(expected[2], QStringLiteral("20 30 20 20 0"));
    QCOMPARE(pages.size(), 1u);
    QVERIFY2(shape(pages[0].mid(1, expected.size()).join('\n')) == shape(expected.join('\n')),
             qPrintable(pages[0].join('|')));
}

} // namespace kelvaro

QTEST_MAIN(kelvaro::PdfPrintingTest)
#include "pdf_printing_test.moc"
