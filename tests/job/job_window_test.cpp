// The job window as a user drives it: Enter runs the job, the card printed
// to PDF is one page with both sets and the setting angle, and 机床资料
// replaces a broken file only when the user confirms.
#include "job/job_window.h"
#include "job/machine_data_window.h"
#include "printing/qt_print_backend.h"
#include "support/pdf_reading.h"
#include "support/temporary_catalogue.h"
#include "support/window_driver.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QtTest>

using namespace kelvaro;
using namespace kelvaro::driver;

class JobWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void enterRunsTheJobAndTheCardTakesOnePage() {
        GunChi window(context(printers, recorder, catalogue.path()));
        window.show();
        window.Form_Activate();
        type(&window, "chishu", "40");
        type(&window, "moshu", "3");
        type(&window, "luoxuanjiaodu", "15");
        type(&window, "shengjiao", "2.5");
        QTest::keyClick(child<QLineEdit>(&window, "shengjiao"), Qt::Key_Return);
        QVERIFY(window.job() && window.job()->indexSet && window.job()->differential);
        // The nearest differential set takes 28, so the index set leaves it.
        QVERIFY(listItems(&window).contains("  a=20  b=24  c=25  d=32"));
        click(&window, "Command3");
        QCOMPARE(recorder.texts, QStringList());
        const std::vector<QStringList> pages = pdfPages(pdf);
        QCOMPARE(pages.size(), std::size_t{1});
        const QString page = pages[0].join('\n');
        QVERIFY2(page.contains("a=20 b=24 c=25 d=32"), qPrintable(page));
        QVERIFY(page.contains("a=49 b=28 c=31 d=57"));
        // 齿 and 角 come back as radicals: the lines are matched without them.
        QVERIFY(page.contains("i = C × K / Z = 24 × 1 / 40 = 3/5（e/f = 36/36）"));
        QVERIFY(page.contains("δ = β − λ = 12.5°"));
    }

    void aBrokenFileIsReplacedOnlyOnConfirm() {
        catalogue.write("M.dat.txt", "index = 24 for Z/K\n");
        GunChi window(context(printers, recorder, catalogue.path()));
        window.Form_Activate();
        click(&window, "Command4");
        JiChuangZiLiao* dialog = window.machineData();
        QVERIFY(
            child<QLabel>(dialog, "note")
                ->text()
                .contains(QString::fromStdString(catalogue.file("M.dat.txt") + " 有错，第 1 行")));
        type(dialog, "guaxiang", "20-60, 25");
        for (const bool answer : {false, true}) {
            recorder.answer = answer;
            click(dialog, "Command1");
        }
        QCOMPARE(recorder.texts.size(), 2); // asked twice
        QCOMPARE(catalogue.read("M.dat.txt"),
                 std::string("# 机床 M 的滚齿调整资料\nbox = 20-60, 25\n"));
    }

  private:
    TemporaryCatalogue catalogue{TemporaryCatalogue::Files{
        {"jixing.dat", "M\r\n"},
        {"M.dat", "20\r\n100\r\n 1\r\n9\r\n0\r\n"},
        {"M.dat.txt", "index = 24 for Z/K from 1 to 161, e/f = 36/36\n"}}};
    QTemporaryDir dir;
    const QString pdf = dir.filePath("card.pdf");
    QtPrintBackend printers{pdf};
    MessageRecorder recorder;
};

QTEST_MAIN(JobWindowTest)
#include "job_window_test.moc"
