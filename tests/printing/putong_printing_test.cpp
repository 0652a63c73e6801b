#include "common/message_box.h"
#include "common/result_list_model.h"
#include "ordinary/putong_window.h"
#include "printing/printer_controls.h"
#include "printing/recording_print_backend.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace kelvaro {

// PuTong's printer list and Print button over a recording back-end.
class PuTongPrintingTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        messages_.clear();
        setMessageHook([this](const QString& text) { messages_.append(text); });
    }
    void cleanup() { setMessageHook({}); }

    void listShowsThePrintersWithTheFirstSelected();
    void withoutPrintersPrintStaysDisabledForGood();
    void printsTheChosenPrinterAndTheFieldsAsTheyReadNow();
    void failedPrintoutIsReportedAndChangesNothing_data();
    void failedPrintoutIsReportedAndChangesNothing();
    void refilledListSelectsTheFirstPrinterAgain();

  private:
    QStringList messages_;
};

namespace {

QStringList comboItems(const QComboBox& combo) {
    QStringList items;
    for (int i = 0; i < combo.count(); ++i)
        items.append(combo.itemText(i));
    return items;
}

template <typename T> T* child(const QWidget& window, const char* name) {
    T* widget = window.findChild<T*>(QString::fromUtf8(name));
    Q_ASSERT(widget);
    return widget;
}

void calculate(PuTong& window, const QString& ratio) {
    child<QLineEdit>(window, "chuandongbi")->setText(ratio);
    child<QLineEdit>(window, "zuishaochishu")->setText(QStringLiteral("20"));
    child<QLineEdit>(window, "zuidachishu")->setText(QStringLiteral("30"));
    QTest::mouseClick(child<QPushButton>(window, "Command1"), Qt::LeftButton);
}

} // namespace

void PuTongPrintingTest::listShowsThePrintersWithTheFirstSelected() {
    RecordingPrintBackend backend;
    backend.printers = {"A", "B", "C"};
    PuTong window(backend);
    const auto* combo = child<QComboBox>(window, "Combo1");
    QCOMPARE(comboItems(*combo), (QStringList{"A", "B", "C"}));
    QCOMPARE(combo->currentText(), QStringLiteral("A"));
    QVERIFY(child<QPushButton>(window, "Command3")->isEnabled());
    QVERIFY(backend.calls.empty()); // filling the list chooses no printer
}

void PuTongPrintingTest::withoutPrintersPrintStaysDisabledForGood() {
    RecordingPrintBackend backend;
    PuTong window(backend);
    window.show();
    auto* print = child<QPushButton>(window, "Command3");
    QVERIFY(!print->isEnabled());
    QCOMPARE(child<QComboBox>(window, "Combo1")->count(), 0);

    // A printer installed later: the list is filled once per run only.
    backend.printers = {"A"};
    window.Command2_Click();
    window.show();
    QVERIFY(!print->isEnabled());
    QCOMPARE(child<QComboBox>(window, "Combo1")->count(), 0);
    QTest::mouseClick(print, Qt::LeftButton);
    QVERIFY(backend.calls.empty());
}

void PuTongPrintingTest::printsTheChosenPrinterAndTheFieldsAsTheyReadNow() {
    RecordingPrintBackend backend;
    backend.printers = {"A", "B", "C"};
    backend.current = "A";
    PuTong window(backend);
    calculate(window, QStringLiteral("1.5"));
    const std::string printText = window.printText();
    QVERIFY(printText.starts_with('\r'));

    // The ratio edited after the calculation, an empty field left missing:
    // the list only gains 请输入数值, the printout shows the ratio as it reads.
    child<QLineEdit>(window, "chuandongbi")->setText(QStringLiteral(" 2 "));
    child<QLineEdit>(window, "zuidachishu")->clear();
    QTest::mouseClick(child<QPushButton>(window, "Command1"), Qt::LeftButton);
    child<QComboBox>(window, "Combo1")->setCurrentIndex(1);
    QTest::mouseClick(child<QPushButton>(window, "Command3"), Qt::LeftButton);

    const std::vector<std::string> expectedCalls = {"set B", "line       i= 2 ",
                                                    "line       主动    主动    被动    被动",
                                                    "line " + printText, "end"};
    QCOMPARE(backend.calls, expectedCalls);
    QCOMPARE(backend.current, std::string("B"));
    QCOMPARE(backend.documents.size(), 1u);
    QCOMPARE(backend.documents[0].lines.size(), 3u + 16u); // blank line, 14 sets, heading, best
    QVERIFY(messages_.isEmpty());
    // The choice stays while the window is hidden and shown again.
    window.Command2_Click();
    window.show();
    QCOMPARE(child<QComboBox>(window, "Combo1")->currentText(), QStringLiteral("B"));
}

void PuTongPrintingTest::failedPrintoutIsReportedAndChangesNothing_data() {
    QTest::addColumn<QString>("call");
    QTest::addColumn<int>("occurrence");
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("message");
    QTest::newRow("printer gone") << "set" << 1 << int(PrintError::PrinterGone)
                                  << "打印失败：找不到打印机“B”。";
    QTest::newRow("not started") << "line" << 1 << int(PrintError::NotStarted)
                                 << "打印失败：打印机“B”无法开始打印。";
    QTest::newRow("job refused") << "end" << 1 << int(PrintError::NotCompleted)
                                 << "打印失败：打印机“A”没有接受打印任务。";
}

void PuTongPrintingTest::failedPrintoutIsReportedAndChangesNothing() {
    QFETCH(QString, call);
    QFETCH(int, occurrence);
    QFETCH(int, error);
    QFETCH(QString, message);
    RecordingPrintBackend backend;
    backend.printers = {"A", "B"};
    backend.current = "A";
    PuTong window(backend);
    calculate(window, QStringLiteral("1.5"));
    const std::string printText = window.printText();
    const std::vector<std::string> items = window.results().items();
    auto* combo = child<QComboBox>(window, "Combo1");
    combo->setCurrentIndex(call == QStringLiteral("end") ? 0 : 1);

    backend.failAt = {call.toStdString(), occurrence, PrintError(error)};
    QTest::mouseClick(child<QPushButton>(window, "Command3"), Qt::LeftButton);

    QCOMPARE(messages_, QStringList{message});
    QVERIFY(backend.documents.empty());
    QCOMPARE(window.printText(), printText);
    QCOMPARE(window.results().items(), items);
    QCOMPARE(comboItems(*combo), (QStringList{"A", "B"}));
    QCOMPARE(combo->currentIndex(), call == QStringLiteral("end") ? 0 : 1);
    QCOMPARE(child<QLineEdit>(window, "chuandongbi")->text(), QStringLiteral("1.5"));
    QVERIFY(child<QPushButton>(window, "Command3")->isEnabled());

    // The next press prints the whole document.
    QTest::mouseClick(child<QPushButton>(window, "Command3"), Qt::LeftButton);
    QCOMPARE(backend.documents.size(), 1u);
    QCOMPARE(messages_.size(), 1);
}

void PuTongPrintingTest::refilledListSelectsTheFirstPrinterAgain() {
    // As ChaDong's activation refills its list: the old items go, the first
    // printer is selected again, and a disabled Print button stays disabled.
    QComboBox list;
    QPushButton print;
    RecordingPrintBackend backend;
    backend.printers = {"A", "B"};
    applyPrinterList(fillPrinterList(backend), list, print);
    list.setCurrentIndex(1);
    backend.printers = {"C", "A", "B"};
    applyPrinterList(fillPrinterList(backend), list, print);
    QCOMPARE(comboItems(list), (QStringList{"C", "A", "B"}));
    QCOMPARE(list.currentText(), QStringLiteral("C"));
    QVERIFY(print.isEnabled());

    backend.printers.clear();
    applyPrinterList(fillPrinterList(backend), list, print);
    QCOMPARE(list.count(), 0);
    QCOMPARE(list.currentText(), QString());
    QVERIFY(!print.isEnabled());
    backend.printers = {"A"};
    applyPrinterList(fillPrinterList(backend), list, print);
    QCOMPARE(list.currentText(), QStringLiteral("A"));
    QVERIFY(!print.isEnabled());
}

} // namespace kelvaro

QTEST_MAIN(kelvaro::PuTongPrintingTest)
#include "putong_printing_test.moc"
