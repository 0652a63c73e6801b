// 挂轮详情 opened from the calculation windows as a user opens it, the setup
// sheet it prints, read back from the PDF, and the result list's copy and
// CSV export.
#include "differential/chadong_window.h"
#include "ordinary/putong_window.h"
#include "printing/qt_print_backend.h"
#include "shell/calc_command.h"
#include "support/pdf_reading.h"
#include "support/temporary_catalogue.h"
#include "support/window_driver.h"
#include "widgets/result_list_actions.h"
#include "widgets/result_list_model.h"
#include "widgets/set_details_window.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QJsonDocument>
#include <QJsonObject>
#include <QListView>
#include <QMenu>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <sstream>

using namespace kelvaro;
using namespace kelvaro::driver;
using namespace std::string_literals;

namespace {

// Whether the details window shows that value.
bool shows(const QWidget* details, const QString& value) {
    return !child<QTableWidget>(details, "facts")->findItems(value, Qt::MatchExactly).isEmpty();
}

// Opens a line by double-click, or by Enter; a negative row counts from the end.
QWidget* open(QWidget* window, int row, bool byEnter = false) {
    auto* list = child<QListView>(window, "jsjgp");
    const int r = row < 0 ? list->model()->rowCount() + row : row;
    const QPoint at = list->visualRect(list->model()->index(r, 0)).center();
    // A view takes a double click only on the line that the press before it chose.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    byEnter ? QTest::keyClick(list, Qt::Key_Return)
            : QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    return window->findChild<ResultListActions*>()->detailsWindow();
}

// Chooses `item` of the result list's context menu, as a user does.
void chooseFromMenu(QWidget* window, const QString& item) {
    auto* list = child<QListView>(window, "jsjgp");
    QTimer::singleShot(0, list, [item] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        for (QAction* action : menu->actions())
            if (action->text() == item) action->trigger();
        menu->close();
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, {5, 5}, list->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(list->viewport(), &event);
}

QJsonObject calcJson(std::vector<std::string> args) {
    std::ostringstream out, err;
    runCalcCommand(args, out, err);
    return QJsonDocument::fromJson(QByteArray::fromStdString(out.str())).object();
}

} // namespace

class DetailsWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void opensBySetLinesOnly() {
        PuTong window(context(printers, recorder));
        window.show();
        // The best set 26 26 21 22 is listed, while 20 30 20 20 is exact.
        fillPuTong(&window, "1.5", "0.1", "20", "30");
        click(&window, "Command1");
        QVERIFY(open(&window, -2, true) == nullptr); // the heading opens nothing
        QWidget* best = open(&window, -1, true);
        QVERIFY(shows(best, "主动 a=26  主动 b=26  被动 c=21  被动 d=22"));
        QVERIFY(shows(best, "主动 a=20  主动 b=30  被动 c=20  被动 d=20")); // nearer, skipped
    }

    // 复制全部结果 copies the lines as shown; 导出CSV… writes the file or
    // says which file it could not write.
    void copiesAndExportsTheList() {
        PuTong window(context(printers, recorder));
        window.show();
        fillPuTong(&window, "1.21", "0.00001", "20", "22");
        click(&window, "Command1");
        chooseFromMenu(&window, "复制全部结果");
        QCOMPARE(QGuiApplication::clipboard()->text(), listItems(&window).join('\n'));
        recorder.fileName = dir.filePath("sets.csv");
        chooseFromMenu(&window, "导出CSV…");
        QFile csv(recorder.fileName);
        QVERIFY(csv.open(QIODevice::ReadOnly));
        QCOMPARE(csv.readAll(), QByteArray("\xEF\xBB\xBF主动a,主动b,被动c,被动d,传动比,误差,"
                                           "相对误差(ppm)\r\n22,22,20,20,1.21,0,0\r\n"));
        recorder.fileName = dir.filePath("none/sets.csv");
        chooseFromMenu(&window, "导出CSV…");
        QVERIFY(recorder.texts.size() == 1 &&
                recorder.texts[0].startsWith("无法写入文件 " + recorder.fileName + "："));
    }

    void printsTheSetupSheetOnOnePage() {
        TemporaryCatalogue catalogue(
            {{"jixing.dat", "M\r\n"}, {"M.dat", "20\r\n60\r\n 1\r\n10\r\n0\r\n"}});
        ChaDong window(context(printers, recorder, catalogue.path()));
        window.show();
        window.Form_Activate();
        type(&window, "moshu", "3");
        type(&window, "luoxuanjiaodu", "15");
        click(&window, "Command1");
        click(open(&window, 0), "printSheet");
        const std::vector<QStringList> pages = pdfPages(pdf);
        QCOMPARE(pages.size(), std::size_t{1});
        const QStringList& lines = pages.at(0);
        QVERIFY(lines.contains("挂轮：主动 a=31 主动 b=59 被动 c=40 被动 d=53"));
        // 角 comes back as its radical ⻆, which has no other form to read it by.
        QCOMPARE(lines.filter(QRegularExpression("^螺旋.误差：\\+0\\.37″$")).size(), 1);
    }

    // The tolerance the details suggest, typed as written, names a best set,
    // in the window and in kelvaro-calc; a tolerance of 0 is named as the cause.
    void suggestedToleranceNamesABestSet() {
        for (const auto& [ratio, largest, suggested] : {std::tuple("1.5", "22", "0.3"),
                                                        {"1.3", "22", "0.091"},
                                                        {"1.25", "22", "0.041"},
                                                        {"1.31", "22", "0.11"},
                                                        {"3.14159265", "60", "3.5E-05"},
                                                        {"0.8627301359629121", "30", "0.00024"}}) {
            PuTong window(context(printers, recorder));
            window.show();
            fillPuTong(&window, ratio, "0", "20", largest);
            click(&window, "Command1");
            QWidget* details = open(&window, -1);
            QVERIFY(shows(details, "允差为 0 时不列出任何挂轮组"));
            // Numbers a person reads: a 0 before the point, a large ppm whole.
            QVERIFY(ratio != "1.5"s ||
                    (shows(details, "-0.29") && shows(details, "-193333 ppm (µ)")));
            QVERIFY2(shows(details, QString("把允差放宽到 %1 即可得到结果").arg(suggested)), ratio);
            type(&window, "jingdu", suggested);
            click(&window, "Command1");
            QVERIFY(hasBestSet(*window.results().results()));
            const double needed = calcJson({"ordinary", "--format", "json", ratio, "0", "20",
                                            largest})["tolerance_needed"]
                                      .toDouble();
            const std::string typed = QString::number(needed, 'g', 17).toStdString();
            QVERIFY(calcJson({"ordinary", "--format", "json", ratio, typed, "20", largest})["best"]
                        .toObject()["a"]
                        .toDouble() != 0);
        }
    }

    // Escape closes it; calculating its list again closes it, so that no
    // facts of a set the list no longer holds stay in view.
    void closesOnEscapeAndOnANewList() {
        PuTong window(context(printers, recorder));
        window.show();
        fillPuTong(&window, "1.5", "0.00001", "20", "30");
        click(&window, "Command1");
        for (const bool byEscape : {true, false}) {
            QWidget* details = open(&window, 0);
            QVERIFY(details->isVisible());
            if (byEscape) {
                QTest::keyClick(details, Qt::Key_Escape);
            } else {
                type(&window, "chuandongbi", "1.6");
                click(&window, "Command1");
            }
            QVERIFY(details->isHidden());
        }
    }

    // The verdict 能否装上 and the drawing's red marks follow one rule: both
    // margins at least s. (a+c)-(b+2) and (b+d)-(c+2) are worked by hand.
    void redWhereTheVerdictSaysCannot() {
        const std::tuple<GearSet, double, bool> rows[] = {
            {{20, 30, 20, 20, 0}, 10, false}, // margin 8 < s 10
            {{20, 30, 20, 20, 0}, 8, true},   // 8 = s
            {{30, 20, 40, 20, 0}, 0, false},  // driven -2
            {{20, 40, 30, 20, 0}, 10, false}, // both short
            {{30, 30, 30, 30, 0}, 10, true}};
        for (const auto& [set, clearance, mounts] : rows) {
            CalculationFacts facts;
            facts.inputs.ratio = set.a * set.b / (set.c * set.d);
            facts.clearance = clearance;
            SetDetailsWindow details(nullptr);
            details.showDetails(listedSetDetails(facts, set, false));
            const auto* table = child<QTableWidget>(&details, "facts");
            const auto caption = table->findItems("能否装上", Qt::MatchExactly).value(0);
            QCOMPARE(table->item(caption->row(), 1)->text().startsWith("能"), mounts);
            const QImage drawn = child<QWidget>(&details, "train")->grab().toImage();
            bool red = false;
            for (int i = 0; i < drawn.width() * drawn.height() && !red; ++i) {
                const QColor c = drawn.pixelColor(i % drawn.width(), i / drawn.width());
                red = c.red() > 150 && c.green() < 60 && c.blue() < 60;
            }
            QCOMPARE(red, !mounts);
        }
    }

  private:
    QTemporaryDir dir;
    const QString pdf = dir.filePath("sheet.pdf");
    QtPrintBackend printers{pdf};
    MessageRecorder recorder;
};

QTEST_MAIN(DetailsWindowTest)
#include "details_window_test.moc"
