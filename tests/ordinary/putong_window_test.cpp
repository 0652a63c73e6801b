// PuTong used as a user does: Calculate replaces the list or appends
// "请输入数值", Print prints the fields as they read now with the last
// calculation's printText, Exit keeps everything, a search past its bound
// changes nothing. The texts themselves are tested with the logic; the
// wait for a long search in runner_edges_test.
#include "gears/gear_lines.h"
#include "ordinary/ordinary_calculation.h"
#include "ordinary/putong_window.h"
#include "support/recording_print_backend.h"
#include "support/window_driver.h"

namespace kelvaro {

using namespace driver;

class PuTongWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void calculatePrintExit();
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

    // Beyond the bound (13 here; 1.5 over 20 to 30 lists 14 sets) only a
    // message, the list kept.
    messages.texts.clear();
    w.setSetLimit(13);
    fillPuTong(&w, "1.5", "0.00001", "20", "30");
    click(&w, "Command1");
    QCOMPARE(messages.texts, QStringList{"结果超过13组，请缩小齿数范围或减小允差"});
    QCOMPARE(listItems(&w), lines);
    w.setSetLimit(14);
    click(&w, "Command1");
    QCOMPARE(listItems(&w).size(), 16);
}

} // namespace kelvaro

QTEST_MAIN(kelvaro::PuTongWindowTest)
#include "putong_window_test.moc"
