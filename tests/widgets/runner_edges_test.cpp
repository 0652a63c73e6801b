// PuTong calculating and printing, and waiting for a long calculation: the
// progress dialog, Escape, a message that comes meanwhile, and a request to
// quit the program.
#include "differential/chadong_window.h"
#include "gears/gear_lines.h"
#include "ordinary/ordinary_calculation.h"
#include "ordinary/putong_window.h"
#include "support/recording_print_backend.h"
#include "support/temporary_catalogue.h"
#include "support/window_driver.h"
#include "widgets/calculation_runner.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProgressDialog>
#include <QTimer>
#include <filesystem>

namespace kelvaro {

using namespace driver;

// Starts a long search (the straight loop, as the range is not whole) and
// calls `step` from the event loop every 20 ms once the progress dialog
// shows, until it returns true.
static void waitWith(PuTong& window, std::function<bool(QProgressDialog&)> step) {
    fillPuTong(&window, "3.14159265358979", "1E-7", "0.5", "5000");
    auto* timer = new QTimer(&window);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, &window, step] {
        auto* dialog = window.findChild<QProgressDialog*>();
        if (dialog && dialog->isVisible() && step(*dialog)) timer->deleteLater();
    });
    timer->start(20);
}

class RunnerEdgesTest : public QObject {
    Q_OBJECT

    RecordingPrintBackend printers;
    MessageRecorder recorder;

  private slots:
    // Calculate replaces the list or appends "请输入数值"; Print prints the
    // fields as they read now with the last calculation's printText.
    void calculateAndPrint() {
        printers.printers = {"A", "B"};
        PuTong w(context(printers, recorder));
        w.show();
        fillPuTong(&w, "1.5", "0.00001", "20", "30");
        click(&w, "Command1");
        const CalculationOutcome expected = calculateOrdinary({"1.5", "0.00001", "20", "30"});
        QCOMPARE(listItems(&w), qt(listItems(expected)));

        // An emptied field: one line more, printText kept. Print prints it with
        // the ratio as it reads now, on the printer the list names.
        type(&w, "chuandongbi", " 2 ");
        child<QLineEdit>(&w, "zuidachishu")->clear();
        click(&w, "Command1");
        QCOMPARE(listItems(&w), qt(listItems(expected)) << QStringLiteral("请输入数值"));
        child<QComboBox>(&w, "Combo1")->setCurrentIndex(1);
        click(&w, "Command3");
        const std::vector<std::string> calls = {"set B", "line       i= 2 ",
                                                "line       主动    主动    被动    被动",
                                                "line " + printText(expected), "end"};
        QCOMPARE(printers.calls, calls);
    }

    // ChaDong activated during PuTong's wait over an unreadable list: its
    // message waits for the end. Escape, once the percentage moves, cancels
    // and changes nothing.
    void messageAndEscapeDuringAWait() {
        TemporaryCatalogue dir;
        std::filesystem::create_directory(dir.file("jixing.dat"));
        PuTong puTong(driver::context(printers, recorder));
        ChaDong chaDong(driver::context(printers, recorder, dir.path()));
        chaDong.show();
        puTong.show();
        puTong.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&puTong));
        fillPuTong(&puTong, "1.5", "0.00001", "20", "30");
        click(&puTong, "Command1");
        const QStringList items = listItems(&puTong);
        recorder.texts.clear();
        // Before the progress dialog, which then blocks the other windows.
        QTimer::singleShot(50, &chaDong, [&chaDong] { chaDong.activateWindow(); });
        bool quiet = false;
        waitWith(puTong, [&](QProgressDialog& dialog) {
            if (!QRegularExpression("^正在计算 [1-9]\\d*%，已找到 \\d+ 组$")
                     .match(dialog.labelText())
                     .hasMatch())
                return false;
            // No message yet, a busy cursor, 取消 offered, keys kept from the fields.
            quiet = recorder.texts.isEmpty() && QApplication::overrideCursor() &&
                    dialog.findChild<QPushButton*>()->text() == QStringLiteral("取消");
            QTest::keyClicks(child<QLineEdit>(&puTong, "chuandongbi"), "9");
            QTest::keyClick(&dialog, Qt::Key_Escape);
            return true;
        });
        click(&puTong, "Command1");
        QVERIFY(quiet);
        QCOMPARE(listItems(&puTong), items);
        QCOMPARE(text(&puTong, "chuandongbi"), QStringLiteral("3.14159265358979"));
        QVERIFY(!QApplication::overrideCursor());
        QTRY_COMPARE(recorder.texts.size(), 1);
        QVERIFY(recorder.texts[0].startsWith("无法读取文件 "));
    }

    // A quit request cancels the search and ends the event loop promptly.
    void quitEndsTheProgram() {
        PuTong window(driver::context(printers, recorder));
        waitWith(window, [](QProgressDialog&) {
            QCoreApplication::quit();
            return true;
        });
        QTimer::singleShot(0, &window, [&window] { click(&window, "Command1"); });
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(QCoreApplication::exec(), 0);
        QVERIFY(clock.elapsed() < 3000);
        QVERIFY(listItems(&window).isEmpty());
        QVERIFY(!calculationRunning());
    }
};

} // namespace kelvaro

QTEST_MAIN(kelvaro::RunnerEdgesTest)
#include "runner_edges_test.moc"
