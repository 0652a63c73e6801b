// 挂轮详情 opened from the calculation windows as a user opens it, and the
// setup sheet it prints, read back from the PDF.
#include "differential/chadong_window.h"
#include "ordinary/putong_window.h"
#include "printing/pdf_reading.h"
#include "printing/qt_print_backend.h"
#include "support/temporary_catalogue.h"
#include "support/window_driver.h"
#include "widgets/result_list_actions.h"
#include "widgets/result_list_model.h"

#include <QLabel>
#include <QListView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

using namespace kelvaro;
using namespace kelvaro::driver;

namespace {

// The rows of the details window as "caption：value".
QStringList detailRows(const ResultListActions& actions) {
    const auto* table = child<QTableWidget>(actions.detailsWindow(), "facts");
    QStringList rows;
    for (int i = 0; i < table->rowCount(); ++i)
        rows << table->item(i, 0)->text() + "：" + table->item(i, 1)->text();
    return rows;
}

void doubleClick(QListView* list, int row) {
    const QRect rect = list->visualRect(list->model()->index(row, 0));
    // A view takes a double click only on the line that the press before it chose.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

void pressEnter(QListView* list, int row) {
    list->setCurrentIndex(list->model()->index(row, 0));
    QTest::keyClick(list, Qt::Key_Return);
}

} // namespace

class DetailsWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void opensBySetLinesOnly() {
        QtPrintBackend printers(dir.filePath("unused.pdf"));
        PuTong window(context(printers, recorder));
        window.show();
        // The best set 26 26 21 22 is listed, while 20 30 20 20 is exact.
        fillPuTong(&window, "1.5", "0.1", "20", "30");
        click(&window, "Command1");
        auto* list = child<QListView>(&window, "jsjgp");
        const int rows = list->model()->rowCount();
        ResultListActions& actions = window.listActions();

        pressEnter(list, rows - 2); // the heading opens nothing
        QVERIFY(actions.detailsWindow() == nullptr);
        doubleClick(list, 0);
        QVERIFY(actions.detailsWindow()->isVisible());
        QCOMPARE(actions.detailsWindow()->windowTitle(), "挂轮详情");
        QCOMPARE(detailRows(actions).first(), "挂轮：主动 a=20  主动 b=28  被动 c=20  被动 d=20");

        pressEnter(list, rows - 1);
        const QStringList best = detailRows(actions);
        QCOMPARE(best.first(), "挂轮：主动 a=26  主动 b=26  被动 c=21  被动 d=22");
        QVERIFY(best.contains("挂轮：主动 a=20  主动 b=30  被动 c=20  被动 d=20"));

        // Nothing within a zero tolerance: the grey line of zeros opens the nearest set.
        fillPuTong(&window, "1.5", "0", "20", "22");
        click(&window, "Command1");
        const QModelIndex zeros = list->model()->index(list->model()->rowCount() - 1, 0);
        QCOMPARE(zeros.data(Qt::ToolTipRole).toString(), "允差内无解，双击查看最接近的一组");
        doubleClick(list, zeros.row());
        QCOMPARE(child<QLabel>(actions.detailsWindow(), "heading")->text(), "允差内无解");
        QVERIFY(detailRows(actions).contains("建议允差：把允差放宽到 3.0E-01 即可得到结果"));
    }

    void printsTheSetupSheetOnOnePage() {
        TemporaryCatalogue catalogue;
        catalogue.write("jixing.dat", "M\r\n");
        catalogue.write("M.dat", "20\r\n60\r\n 1\r\n10\r\n0\r\n");
        const QString pdf = dir.filePath("sheet.pdf");
        QtPrintBackend printers(pdf);
        ChaDong window(context(printers, recorder, catalogue.path()));
        window.show();
        window.Form_Activate();
        type(&window, "moshu", "3");
        type(&window, "luoxuanjiaodu", "15");
        click(&window, "Command1");
        doubleClick(child<QListView>(&window, "jsjgp"), 0);
        QTest::mouseClick(child<QPushButton>(window.listActions().detailsWindow(), "printSheet"),
                          Qt::LeftButton);
        QCOMPARE(pdfInfo(pdf, "Pages"), "1");
        const QStringList lines = pdfPages(pdf).at(0);
        QVERIFY(lines.contains("挂轮：主动 a=31 主动 b=59 被动 c=40 被动 d=53"));
        // 角 comes back as its radical ⻆, which has no other form to read it by.
        QVERIFY(lines.filter(QRegularExpression("^螺旋.误差：\\+0\\.37″$")).size() == 1);
        QVERIFY(recorder.texts.isEmpty());
    }

  private:
    QTemporaryDir dir;
    MessageRecorder recorder;
};

QTEST_MAIN(DetailsWindowTest)
#include "details_window_test.moc"
