// The edges of waiting for a calculation: Escape, a message box that opens
// meanwhile, and a request to quit the program.
#include "differential/chadong_window.h"
#include "ordinary/putong_window.h"
#include "printing/recording_print_backend.h"
#include "support/temporary_catalogue.h"
#include "support/window_driver.h"
#include "widgets/calculation_runner.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QProgressDialog>
#include <QTimer>
#include <filesystem>
#include <functional>

namespace kelvaro {

using namespace driver;

namespace {

// A long search (the straight loop, as the range is not whole), with a
// percentage that moves.
void fillLongSearch(PuTong& window) {
    fillPuTong(&window, "3.14159265358979", "1E-7", "0.5", "5000");
}

// Calls `step` from the event loop every 20 ms, once the progress dialog
// shows, until it returns true.
void whileWaiting(PuTong& window, std::function<bool(QProgressDialog&)> step) {
    auto* timer = new QTimer(&window);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, &window, step] {
        auto* dialog = window.findChild<QProgressDialog*>();
        if (dialog && dialog->isVisible() && step(*dialog)) timer->deleteLater();
    });
    timer->start(20);
}

} // namespace

class RunnerEdgesTest : public QObject {
    Q_OBJECT

  private slots:
    void escapeCancels();
    void messageDuringAWait();
    void quitEndsTheProgram();

  private:
    RecordingPrintBackend printers;
    MessageRecorder recorder;
};

// Escape after the percentage has moved: nothing changes.
void RunnerEdgesTest::escapeCancels() {
    PuTong window(driver::context(printers, recorder));
    fillPuTong(&window, "1.5", "0.00001", "20", "30");
    click(&window, "Command1");
    const QStringList items = listItems(&window);
    const std::string printText = window.printText();
    fillLongSearch(window);
    QString seen;
    whileWaiting(window, [&seen](QProgressDialog& dialog) {
        seen = dialog.labelText();
        if (!QRegularExpression("^正在计算 [1-9]\\d*%，已找到 \\d+ 组$").match(seen).hasMatch())
            return false;
        QTest::keyClick(&dialog, Qt::Key_Escape);
        return true;
    });
    click(&window, "Command1");
    QVERIFY2(seen.contains('%'), qPrintable(seen));
    QCOMPARE(listItems(&window), items);
    QCOMPARE(window.printText(), printText);
}

// ChaDong activated during PuTong's wait over an unreadable list: its
// message waits for the end; a modal box opened meanwhile takes its keys.
void RunnerEdgesTest::messageDuringAWait() {
    TemporaryCatalogue dir;
    std::filesystem::create_directory(dir.file("jixing.dat"));
    PuTong puTong(driver::context(printers, recorder));
    ChaDong chaDong(driver::context(printers, recorder, dir.path()));
    chaDong.show();
    puTong.show();
    puTong.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&puTong));
    recorder.texts.clear();
    fillLongSearch(puTong);
    int boxResult = -1;
    bool quietDuringWait = false;
    // Before the progress dialog, which then blocks the other windows.
    QTimer::singleShot(50, &chaDong, [&chaDong] { chaDong.activateWindow(); });
    whileWaiting(puTong, [&](QProgressDialog& dialog) {
        QMessageBox box(QMessageBox::NoIcon, "Kelvaro", "x", QMessageBox::Ok, &dialog);
        QTimer::singleShot(50, &box, [&box] { QTest::keyClick(&box, Qt::Key_Return); });
        boxResult = box.exec();
        quietDuringWait = recorder.texts.isEmpty();
        QTest::keyClick(&dialog, Qt::Key_Escape);
        return true;
    });
    click(&puTong, "Command1");
    QCOMPARE(boxResult, int(QMessageBox::Ok));
    QVERIFY(quietDuringWait);
    QTRY_COMPARE(recorder.texts.size(), 1);
    QVERIFY(recorder.texts[0].startsWith("无法读取文件 "));
}

// A quit request cancels the search and ends the event loop promptly.
void RunnerEdgesTest::quitEndsTheProgram() {
    PuTong window(driver::context(printers, recorder));
    fillLongSearch(window);
    whileWaiting(window, [](QProgressDialog&) {
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

} // namespace kelvaro

QTEST_MAIN(kelvaro::RunnerEdgesTest)
#include "runner_edges_test.moc"
