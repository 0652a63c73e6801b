// PuTong's printer list and Print button over a recording back-end: the
// list is filled once, Print prints the fields as they read now with the
// last calculation's printText, and a failure is told and changes nothing.
#include "ordinary/putong_window.h"
#include "printing/recording_print_backend.h"
#include "support/window_driver.h"

#include <QtTest>

namespace kelvaro {

using namespace driver;

class PuTongPrintingTest : public QObject {
    Q_OBJECT

  private slots:
    void printerListIsFilledOnce();
    void printsTheChosenPrinterAndTheFieldsAsTheyReadNow();
    void failedPrintoutIsToldAndChangesNothing();
};

void PuTongPrintingTest::printerListIsFilledOnce() {
    RecordingPrintBackend backend;
    backend.printers = {"A", "B", "C"};
    PuTong window(backend);
    QCOMPARE(child<QComboBox>(&window, "Combo1")->currentText(), QStringLiteral("A"));
    QVERIFY(child<QPushButton>(&window, "Command3")->isEnabled());
    backend.printers = {"D"};
    window.Command2_Click();
    window.show();
    QCOMPARE(comboItems(&window, "Combo1"), (QStringList{"A", "B", "C"}));
    QVERIFY(backend.calls.empty()); // filling the list chooses no printer

    // Without printers Print is disabled, also when a printer is installed later.
    RecordingPrintBackend none;
    PuTong bare(none);
    bare.show();
    none.printers = {"A"};
    bare.Command2_Click();
    bare.show();
    QCOMPARE(comboItems(&bare, "Combo1"), QStringList());
    QVERIFY(!child<QPushButton>(&bare, "Command3")->isEnabled());
    click(&bare, "Command3");
    QVERIFY(none.calls.empty());
}

void PuTongPrintingTest::printsTheChosenPrinterAndTheFieldsAsTheyReadNow() {
    MessageRecorder messages;
    RecordingPrintBackend backend;
    backend.printers = {"A", "B", "C"};
    PuTong window(backend);
    fillPuTong(&window, "1.5", "0.00001", "20", "30");
    click(&window, "Command1");
    const std::string printText = window.printText();

    // The ratio edited after the calculation, a field emptied: the list
    // only gains 请输入数值, the printout shows the ratio as it reads.
    type(&window, "chuandongbi", " 2 ");
    child<QLineEdit>(&window, "zuidachishu")->clear();
    click(&window, "Command1");
    child<QComboBox>(&window, "Combo1")->setCurrentIndex(1);
    click(&window, "Command3");

    const std::vector<std::string> expectedCalls = {"set B", "line       i= 2 ",
                                                    "line       主动    主动    被动    被动",
                                                    "line " + printText, "end"};
    QCOMPARE(backend.calls, expectedCalls);
    QCOMPARE(backend.documents.size(), 1u);
    QVERIFY(messages.texts.isEmpty());
    // The choice stays while the window is hidden and shown again.
    window.Command2_Click();
    window.show();
    QCOMPARE(child<QComboBox>(&window, "Combo1")->currentText(), QStringLiteral("B"));
}

void PuTongPrintingTest::failedPrintoutIsToldAndChangesNothing() {
    MessageRecorder messages;
    RecordingPrintBackend backend;
    backend.printers = {"A", "B"};
    PuTong window(backend);
    fillPuTong(&window, "1.5", "0.00001", "20", "30");
    click(&window, "Command1");
    const std::string printText = window.printText();
    const QStringList items = listItems(&window);
    child<QComboBox>(&window, "Combo1")->setCurrentIndex(1);

    backend.failAt = {"set", 1, PrintError::PrinterGone};
    click(&window, "Command3");
    QCOMPARE(messages.texts, QStringList{QStringLiteral("打印失败：找不到打印机“B”。")});
    QVERIFY(backend.documents.empty());
    QCOMPARE(window.printText(), printText);
    QCOMPARE(listItems(&window), items);
    QCOMPARE(child<QComboBox>(&window, "Combo1")->currentText(), QStringLiteral("B"));
    QVERIFY(child<QPushButton>(&window, "Command3")->isEnabled());

    // The next press prints the whole document.
    click(&window, "Command3");
    QCOMPARE(backend.documents.size(), 1u);
    QCOMPARE(messages.texts.size(), 1);
}

} // namespace kelvaro

QTEST_MAIN(kelvaro::PuTongPrintingTest)
#include "putong_printing_test.moc"
