// Waiting for a long calculation in PuTong: the progress dialog, Escape, a message that comes
// meanwhile, and a request to quit the program.
#include "differential/chadong_window.h"
#include "ordinary/putong_window.h"
#include "support/recording_print_backend.h"
#include "support/temporary_catalogue.h"
#include "support/window_driver.h"
#include "widgets/calculation_runner.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProgressBar>
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
    // Memory that runs out in a search ends it with the message that the
    // window shows, as a search stopped at its bound does.
    void outOfMemoryIsTheOutcomesMessage() {
        QWidget window;
        const auto outcome = runCalculation(
            &window, [](SearchControl&) -> CalculationOutcome { throw std::bad_alloc(); });
        QVERIFY(outcome && !outcome->results);
        QCOMPARE(outcome->message, std::string("内存不足，请缩小齿数范围或减小允差"));
    }

    // ChaDong activated during PuTong's wait over an unreadable list: its
    // message waits for the end. Escape, once the percentage moves, cancels
    // and changes neither the list nor what Print would print.
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
        const QStringList items = listItems(&puTong); // what Print would print is made from them
        recorder.texts.clear();
        // Before the progress dialog, which then blocks the other windows.
        QTimer::singleShot(50, &chaDong, [&chaDong] { chaDong.activateWindow(); });
        bool quiet = false;
        waitWith(puTong, [&](QProgressDialog& dialog) {
            const QRegularExpressionMatch shown =
                QRegularExpression("^正在计算 ([1-9]\\d*)%，已找到 \\d+ 组$")
                    .match(dialog.labelText());
            if (!shown.hasMatch()) return false;
            // No message yet, the bar at the percentage, a busy cursor, 取消
            // offered, keys kept from the fields.
            quiet = recorder.texts.isEmpty() &&
                    dialog.findChild<QProgressBar*>()->value() == shown.captured(1).toInt() &&
                    QApplication::overrideCursor() &&
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
    }
};

} // namespace kelvaro

QTEST_MAIN(kelvaro::RunnerEdgesTest)
#include "runner_edges_test.moc"
