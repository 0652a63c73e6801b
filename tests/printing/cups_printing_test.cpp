#include "ordinary/putong_window.h"
#include "printing/qt_print_backend.h"
#include "support/pdf_reading.h"
#include "support/window_driver.h"

#include <QDir>
#include <QScopeGuard>
#include <QtTest>
#include <cups/cups.h>
#include <unistd.h>

namespace kelvaro {

// From PuTong through the Qt back-end and a real CUPS server to the PDF
// that the cups-pdf printer writes. scripts/start-cups.sh sets the server up
// with this printer and this output folder.
class CupsPrintingTest : public QObject {
    Q_OBJECT

  private slots:
    void printsFromPuTongOnThePdfPrinter();
    void refusedJobIsReported();
};

namespace {

constexpr const char* kQueue = "Kelvaro_PDF";
const QString kOutput = QStringLiteral("/var/spool/cups-pdf-kelvaro");

struct Job {
    int id = 0;
    ipp_jstate_t state = IPP_JSTATE_PENDING;
    QString user, title;
};

// The job of the printer with the highest number, or id 0 for none.
Job latestJob() {
    cups_job_t* jobs = nullptr;
    const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, kQueue, 0, CUPS_WHICHJOBS_ALL);
    Job latest;
    for (int i = 0; i < count; ++i) {
        if (jobs[i].id > latest.id)
            latest = {jobs[i].id, jobs[i].state, QString::fromUtf8(jobs[i].user),
                      QString::fromUtf8(jobs[i].title)};
    }
    cupsFreeJobs(count, jobs);
    return latest;
}

bool hasPrinter(QtPrintBackend& backend) {
    const std::vector<std::string> printers = backend.listPrinters();
    return std::find(printers.begin(), printers.end(), kQueue) != printers.end();
}

// Outside CI a machine without the server skips; in CI it must print.
#define REQUIRE_PDF_PRINTER(backend)                                                               \
    do {                                                                                           \
        if (!hasPrinter(backend)) {                                                                \
            const char* why = "no CUPS server with the printer Kelvaro_PDF; "                      \
                              "scripts/start-cups.sh sets one up as root";                         \
            if (qEnvironmentVariable("CI") == QStringLiteral("true")) QFAIL(why);                  \
            QSKIP(why);                                                                            \
        }                                                                                          \
    } while (false)

bool runAdmin(const char* command) {
    return QProcess::execute(QStringLiteral("/usr/sbin/") + QString::fromUtf8(command),
                             {QString::fromUtf8(kQueue)}) == 0;
}

// PuTong over the real back-end with the PDF printer chosen.
std::unique_ptr<PuTong> puTongOnThePdfPrinter(QtPrintBackend& backend,
                                              driver::MessageRecorder& messages) {
    auto window = std::make_unique<PuTong>(driver::context(backend, messages));
    auto* printerList = driver::child<QComboBox>(window.get(), "Combo1");
    printerList->setCurrentIndex(printerList->findText(QString::fromUtf8(kQueue)));
    return window;
}

} // namespace

void CupsPrintingTest::printsFromPuTongOnThePdfPrinter() {
    QtPrintBackend backend;
    REQUIRE_PDF_PRINTER(backend);
    const int before = latestJob().id;

    driver::MessageRecorder messages;
    const auto window = puTongOnThePdfPrinter(backend, messages);
    driver::fillPuTong(window.get(), "1.5", "0.00001", "20", "30");
    driver::click(window.get(), "Command1");
    driver::click(window.get(), "Command3");
    QCOMPARE(messages.texts, QStringList());
    QCOMPARE(backend.currentPrinter(), std::string(kQueue));

    // One new job, finished by the printer.
    Job job;
    QTRY_VERIFY_WITH_TIMEOUT((job = latestJob()).id > before && job.state >= IPP_JSTATE_STOPPED,
                             60000);
    QCOMPARE(job.title, QStringLiteral("Kelvaro"));
    QCOMPARE(job.state, IPP_JSTATE_COMPLETED);

    // cups-pdf names the file after the document's title and the job.
    const QDir folder(kOutput + QLatin1Char('/') + job.user);
    const QString pattern = QStringLiteral("*-job_%1.pdf").arg(job.id);
    QTRY_VERIFY_WITH_TIMEOUT(!folder.entryList({pattern}, QDir::Files).isEmpty(), 10000);
    const QString pdf = folder.filePath(folder.entryList({pattern}, QDir::Files).first());
    // The title comes through the PostScript step as "(Kelvaro)".
    QVERIFY(pdfInfo(pdf, QStringLiteral("Title")).contains(QStringLiteral("Kelvaro")));
    // The printout itself, not only a page: its data line and first set.
    const std::vector<QStringList> pages = pdfPages(pdf);
    QCOMPARE(pages.size(), 1u);
    QVERIFY2(pages[0].size() > 4, qPrintable(pages[0].join('|')));
    QCOMPARE(pages[0][0], QStringLiteral("i=1.5"));
    QCOMPARE(pages[0][3], QStringLiteral("20 30 20 20 0"));
}

void CupsPrintingTest::refusedJobIsReported() {
    QtPrintBackend backend;
    REQUIRE_PDF_PRINTER(backend);
    if (geteuid() != 0) QSKIP("only root may make the printer refuse jobs");
    QVERIFY(runAdmin("cupsreject"));
    const auto accept = qScopeGuard([] { runAdmin("cupsaccept"); });

    driver::MessageRecorder messages;
    driver::click(puTongOnThePdfPrinter(backend, messages).get(), "Command3");
    QCOMPARE(messages.texts.size(), 1);
    QVERIFY2(messages.texts[0].startsWith(
                 QStringLiteral("打印失败：打印机“Kelvaro_PDF”没有接受打印任务。")),
             qPrintable(messages.texts[0]));
}

} // namespace kelvaro

QTEST_MAIN(kelvaro::CupsPrintingTest)
#include "cups_printing_test.moc"
