// PuTong used as a user does: Calculate replaces the list with the
// calculation's items or appends "请输入数值", Exit keeps everything, and a
// long search keeps the window painting, offers 取消 and changes nothing
// when cancelled or stopped at its bound. The printer list is filled once,
// Print prints the fields as they read now with the last calculation's
// printText, and a failure is told and changes nothing. The texts
// themselves are the calculation's and the printout's, tested with them.
#include "gears/gear_lines.h"
#include "ordinary/ordinary_calculation.h"
#include "ordinary/putong_window.h"
#include "printing/recording_print_backend.h"
#include "support/window_driver.h"

#include <QApplication>
#include <QListView>
#include <QProgressDialog>
#include <QScopeGuard>
#include <QTimer>
#include <functional>

namespace kelvaro {

using namespace driver;

namespace {

// Runs `check` once, from the event loop that waits for the calculation,
// as soon as the progress dialog shows.
void whenProgressShows(PuTong& window, std::function<void(QProgressDialog&)> check) {
    auto* poll = new QTimer(&window);
    QObject::connect(poll, &QTimer::timeout, poll, [&window, poll, check] {
        auto* dialog = window.findChild<QProgressDialog*>();
        if (dialog == nullptr || !dialog->isVisible()) return;
        poll->stop();
        poll->deleteLater();
        check(*dialog);
    });
    poll->start(20);
}

class PaintCounter : public QObject {
  public:
    int paints = 0;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

const QString kMissing = QStringLiteral("请输入数值");

} // namespace

class PuTongWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void calculatePrintExit();
    void withoutPrintersPrintIsDisabledForGood();
    void longSearchCancelledOrBounded();
};

void PuTongWindowTest::calculatePrintExit() {
    MessageRecorder messages;
    RecordingPrintBackend printers;
    printers.printers = {"A", "B"};
    PuTong w(context(printers, messages));
    w.show();
    QCOMPARE(text(&w, "jingdu"), QStringLiteral("0.00001"));
    QCOMPARE(child<QComboBox>(&w, "Combo1")->currentText(), QStringLiteral("A"));
    click(&w, "Command1");
    QCOMPARE(listItems(&w), QStringList{kMissing});

    fillPuTong(&w, "1.5", "0.00001", "20", "30");
    click(&w, "Command1");
    const CalculationOutcome expected = calculateOrdinary({"1.5", "0.00001", "20", "30"});
    QCOMPARE(listItems(&w).size(), 16);
    QCOMPARE(listItems(&w), qt(kelvaro::listItems(expected)));
    QCOMPARE(w.printText(), kelvaro::printText(expected));
    click(&w, "Command1");
    QCOMPARE(listItems(&w), qt(kelvaro::listItems(expected)));

    // An emptied field: one item more, printText kept. Print prints it with
    // the ratio as it reads now, on the printer the list names.
    type(&w, "chuandongbi", " 2 ");
    child<QLineEdit>(&w, "zuidachishu")->clear();
    click(&w, "Command1");
    QCOMPARE(listItems(&w), qt(kelvaro::listItems(expected)) << kMissing);
    QCOMPARE(w.printText(), kelvaro::printText(expected));
    QVERIFY(printers.calls.empty()); // filling the list chose no printer
    child<QComboBox>(&w, "Combo1")->setCurrentIndex(1);
    click(&w, "Command3");
    const std::vector<std::string> calls = {"set B", "line       i= 2 ",
                                            "line       主动    主动    被动    被动",
                                            "line " + kelvaro::printText(expected), "end"};
    QCOMPARE(printers.calls, calls);

    // A failed printout is told and changes nothing; the next one prints.
    printers.failAt = {"set", PrintError::PrinterGone};
    click(&w, "Command3");
    QCOMPARE(messages.texts, QStringList{QStringLiteral("打印失败：找不到打印机“B”。")});
    click(&w, "Command3");
    QCOMPARE(printers.documents.size(), std::size_t{2});

    // Exit, or the frame's close, hides the window; shown again it has it
    // all, the printer list as it was filled at first.
    printers.printers = {"C"};
    click(&w, "Command2");
    QVERIFY(!w.isVisible());
    w.show();
    QVERIFY(!w.close());
    QVERIFY(!w.isVisible());
    w.show();
    QCOMPARE(text(&w, "chuandongbi"), QStringLiteral(" 2 "));
    QCOMPARE(text(&w, "zuishaochishu"), QStringLiteral("20"));
    QCOMPARE(listItems(&w), qt(kelvaro::listItems(expected)) << kMissing);
    QCOMPARE(w.printText(), kelvaro::printText(expected));
    QCOMPARE(comboItems(&w, "Combo1"), (QStringList{"A", "B"}));
    QCOMPARE(child<QComboBox>(&w, "Combo1")->currentText(), QStringLiteral("B"));
    QVERIFY(child<QPushButton>(&w, "Command3")->isEnabled());
    QCOMPARE(messages.texts.size(), 1);
}

void PuTongWindowTest::withoutPrintersPrintIsDisabledForGood() {
    RecordingPrintBackend none;
    MessageRecorder messages;
    PuTong w(context(none, messages));
    w.show();
    none.printers = {"A"};
    w.Command2_Click();
    w.show();
    QCOMPARE(comboItems(&w, "Combo1"), QStringList());
    QVERIFY(!child<QPushButton>(&w, "Command3")->isEnabled());
    click(&w, "Command3");
    QVERIFY(none.calls.empty());
}

// Whole counts up to a million with a ratio that few sets meet: days of
// pairs, and no bound is reached either.
void PuTongWindowTest::longSearchCancelledOrBounded() {
    MessageRecorder messages;
    RecordingPrintBackend printers;
    PuTong window(context(printers, messages));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    fillPuTong(&window, "1.5", "0.00001", "20", "30");
    click(&window, "Command1");
    const QStringList items = listItems(&window);
    const std::string printText = window.printText();

    fillPuTong(&window, "3.14159265358979", "1E-13", "1", "1000000");
    auto* list = child<QListView>(&window, "jsjgp");
    PaintCounter counter;
    list->viewport()->installEventFilter(&counter);
    // What the user sees while the search runs, looked at from the event
    // loop that waits for it; whatever is seen, the search is cancelled.
    bool cancelClicked = false;
    whenProgressShows(window, [&](QProgressDialog& dialog) {
        const auto cancelAnyway = qScopeGuard([&dialog] { dialog.cancel(); });
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Kelvaro"));
        QVERIFY(dialog.labelText().startsWith(QStringLiteral("正在计算 ")));
        QVERIFY(QApplication::overrideCursor());
        counter.paints = 0;
        list->viewport()->update();
        QTest::keyClicks(child<QLineEdit>(&window, "chuandongbi"), "9");
        QTest::qWait(100);
        QVERIFY(counter.paints > 0);
        QCOMPARE(text(&window, "chuandongbi"), QStringLiteral("3.14159265358979")); // swallowed
        for (auto* button : dialog.findChildren<QPushButton*>()) {
            if (button->text() != QStringLiteral("取消")) continue;
            QTest::mouseClick(button, Qt::LeftButton);
            cancelClicked = true;
        }
    });
    click(&window, "Command1");

    QVERIFY(cancelClicked);
    QCOMPARE(listItems(&window), items);
    QCOMPARE(window.printText(), printText);
    QVERIFY(messages.texts.isEmpty());
    QVERIFY(!QApplication::overrideCursor());
    QVERIFY(!window.findChild<QProgressDialog*>());

    // The window works on as before. A search that would list more sets
    // than the bound (here 14 for 1.5 over 20 to 30) shows a message instead.
    fillPuTong(&window, "1", "0.00001", "20", "22");
    click(&window, "Command1");
    const QStringList earlier = listItems(&window);
    QCOMPARE(earlier.size(), 8);
    window.setSetLimit(13);
    fillPuTong(&window, "1.5", "0.00001", "20", "30");
    click(&window, "Command1");
    QCOMPARE(messages.texts, QStringList{"结果超过13组，请缩小齿数范围或减小允差"});
    QCOMPARE(listItems(&window), earlier);
    QCOMPARE(window.printText(),
             kelvaro::printText(calculateOrdinary({"1", "0.00001", "20", "22"})));
    window.setSetLimit(14);
    click(&window, "Command1");
    QCOMPARE(listItems(&window).size(), 16);
    QCOMPARE(messages.texts.size(), 1);
}

} // namespace kelvaro

QTEST_MAIN(kelvaro::PuTongWindowTest)
#include "putong_window_test.moc"
