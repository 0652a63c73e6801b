#include "printing/qt_print_backend.h"
#include "printing/result_printout.h"
#include "support/pdf_reading.h"

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
    void pageBreaks();

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
}

} // namespace kelvaro

QTEST_MAIN(kelvaro::QtPrintBackendTest)
#include "qt_print_backend_test.moc"
