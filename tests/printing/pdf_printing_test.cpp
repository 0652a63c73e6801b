// The Qt back-end drawing into a PDF file, and from PuTong through it and a
// real CUPS server to the PDF that the cups-pdf printer writes, each read
// back with poppler. scripts/start-cups.sh sets the server up with this
// printer and this output folder.
#include "ordinary/putong_window.h"
#include "printing/qt_print_backend.h"
#include "printing/result_printout.h"
#include "support/pdf_reading.h"
#include "support/window_driver.h"

#include <QDir>
#include <QHash>
#include <QTemporaryDir>
#include <QtTest>
#include <cups/cups.h>

namespace kelvaro {

class PdfPrintingTest : public QObject {
    Q_OBJECT

  private slots:
    void qtBackendWritesEveryLineOverSeveralPages();
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
// use, so the text reads back one symbol per glyph: true when `page` is
// `expected` under one consistent one-to-one renaming of the characters.
bool sameUnderRenaming(const QStringList& page, const QStringList& expected) {
    QHash<QChar, QChar> forward, backward;
    for (qsizetype line = 0; line < expected.size(); ++line) {
        if (line >= page.size() || page[line].size() != expected[line].size()) return false;
        for (qsizetype i = 0; i < expected[line].size(); ++i) {
            const QChar want = expected[line][i], got = page[line][i];
            if (forward.value(want, got) != got || backward.value(got, want) != want) return false;
            forward[want] = got;
            backward[got] = want;
        }
    }
    return true;
}

} // namespace

// The differential printout, with every kind of character the printouts
// use, and enough lines for several pages: every line once, in order.
void PdfPrintingTest::qtBackendWritesEveryLineOverSeveralPages() {
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("printout.pdf"));
    QtPrintBackend backend(pdf);
    std::string body =
        "\r     20     30     40     50   1.234568E-05\r     误差最小的挂轮组及误差为";
    QStringList expected = {"m=2.5 β=15°30′5″ Z=40", "主动 主动 被动 被动",
                            "20 30 40 50 1.234568E-05", "误差最小的挂轮组及误差为"};
    for (int i = 1; i <= 150; ++i) {
        const std::string line = "第" + std::to_string(i) + "行";
        body += "\r     " + line;
        expected.append(QString::fromStdString(line));
    }
    const PrintStatus status =
        printDifferentialResults(backend, {"", "2.5", " 15 ", "30", "5", "40", true}, body);
    QVERIFY2(status.ok(), printFailureMessage(status).c_str());
    const std::vector<QStringList> pages = pdfPages(pdf);
    QVERIFY2(pages.size() >= 3, qPrintable(QString::number(pages.size())));
    QCOMPARE(pages[0].mid(0, 3), (QStringList{expected[0], expected[1], ""}));
    QStringList all;
    for (const QStringList& page : pages)
        all += page;
    all.removeAll(QString()); // pdftotext drops an empty line at a page's top
    QCOMPARE(all, expected);
}

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
    QVERIFY2(sameUnderRenaming(pages[0].mid(1), expected), qPrintable(pages[0].join('|')));
}

} // namespace kelvaro

QTEST_MAIN(kelvaro::PdfPrintingTest)
#include "pdf_printing_test.moc"
