// PuTong used as a user does: Calculate replaces the list or appends
// "请输入数值", Print prints the fields as they read now with the last
// calculation's printText, Exit keeps everything; a long search keeps the
// window painting, offers 取消 and changes nothing when cancelled or
// stopped at its bound. The texts themselves are tested with the logic.
#include "gears/gear_lines.h"
#include "ordinary/ordinary_calculation.h"
#include "ordinary/putong_window.h"
#include "support/recording_print_backend.h"
#include "support/window_driver.h"

#include <QApplication>
#include <QProgressDialog>
#include <QTimer>

namespace kelvaro {

using namespace driver;

class PuTongWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void calculatePrintExit();
    void longSearchCancelledOrBounded();
};

void PuTongWindowTest::calculatePrintExit() {
    MessageRecorder messages;
    RecordingPrintBackend printers;
    printers.printers = {"A", "B"};
    PuTong w(context(printers, messages));
    w.show();
    fillPuTong(&w, "1.5", "0.00001", "20", "30");
    click(&w, "Command1");
    const CalculationOutcome expected = calculateOrdinary({"1.5", "0.00001", "20", "30"});
    const QStringList lines = qt(listItems(expected)) << QStringLiteral("请输入数值");
    QCOMPARE(listItems(&w), qt(listItems(expected)));

    // An emptied field: one line more, printText kept. Print prints it with
    // the ratio as it reads now, on the printer the list names.
    type(&w, "chuandongbi", " 2 ");
    child<QLineEdit>(&w, "zuidachishu")->clear();
    click(&w, "Command1");
    QCOMPARE(listItems(&w), lines);
    child<QComboBox>(&w, "Combo1")->setCurrentIndex(1);
    click(&w, "Command3");
    const std::vector<std::string> calls = {"set B", "line       i= 2 ",
                                            "line       主动    主动    被动    被动",
                                            "line " + printText(expected), "end"};
    QCOMPARE(printers.calls, calls);
    printers.failAt = {"set", PrintError::PrinterGone};
    click(&w, "Command3");
    QCOMPARE(messages.texts, QStringList{QStringLiteral("打印失败：找不到打印机“B”。")});

    // Exit, or the frame's close, hides the window; shown again it has it all.
    click(&w, "Command2");
    QVERIFY(!w.isVisible());
    w.show();
    QVERIFY(!w.close());
    w.show();
    QCOMPARE(text(&w, "chuandongbi"), QStringLiteral(" 2 "));
    QCOMPARE(listItems(&w), lines);
    QCOMPARE(w.printText(), printText(expected));
}

// Whole counts up to a million with a ratio that few sets meet: days of
// pairs, and no bound is reached either.
void PuTongWindowTest::longSearchCancelledOrBounded() {
    MessageRecorder messages;
    RecordingPrintBackend printers;
    PuTong window(context(printers, messages));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    fillPuTong(&window, "1", "0.00001", "20", "22");
    click(&window, "Command1");
    const QStringList before = listItems(&window);
    const std::string printText = window.printText();

    // Looked at from the event loop that runs while the search does: the
    // dialog, a window that swallows keys; then 取消.
    fillPuTong(&window, "3.14159265358979", "1E-13", "1", "1000000");
    bool seen = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = window.findChild<QProgressDialog*>();
        if (dialog == nullptr || !dialog->isVisible() || seen) return;
        QVERIFY(dialog->labelText().startsWith(QStringLiteral("正在计算 ")));
        QVERIFY(QApplication::overrideCursor());
        QTest::keyClicks(child<QLineEdit>(&window, "chuandongbi"), "9");
        QTest::qWait(100);
        seen = true;
        for (auto* button : dialog->findChildren<QPushButton*>())
            if (button->text() == QStringLiteral("取消")) QTest::mouseClick(button, Qt::LeftButton);
    });
    poll.start(20);
    click(&window, "Command1");
    poll.stop();
    QVERIFY(seen);
    QCOMPARE(text(&window, "chuandongbi"), QStringLiteral("3.14159265358979"));
    QCOMPARE(listItems(&window), before);
    QCOMPARE(window.printText(), printText);
    QVERIFY(messages.texts.isEmpty());
    QVERIFY(!QApplication::overrideCursor());

    // Beyond the bound (here 13 for 1.5 over 20 to 30, which lists 14 sets)
    // only a message, and the window works on.
    window.setSetLimit(13);
    fillPuTong(&window, "1.5", "0.00001", "20", "30");
    click(&window, "Command1");
    QCOMPARE(messages.texts, QStringList{"结果超过13组，请缩小齿数范围或减小允差"});
    QCOMPARE(listItems(&window), before);
    window.setSetLimit(14);
    click(&window, "Command1");
    QCOMPARE(listItems(&window).size(), 16);
}

} // namespace kelvaro

QTEST_MAIN(kelvaro::PuTongWindowTest)
#include "putong_window_test.moc"
