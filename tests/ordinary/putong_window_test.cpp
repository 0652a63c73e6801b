// PuTong used as a user does: Calculate replaces the list with the
// calculation's items or appends "请输入数值", Exit keeps everything, and a
// long search keeps the window painting, offers 取消 and changes nothing
// when cancelled or stopped at its bound. The printer list is filled once,
// Print prints the fields as they read now with the last calculation's
// printText, and a failure is told and changes nothing. The texts
// themselves are the calculation's and the printout's, tested with them.
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
    void calculateReplacesMissingInputAppendsExitKeeps();
    void cancelKeepsTheEarlierResults();
    void boundShowsItsMessageAndKeepsTheList_data();
    void boundShowsItsMessageAndKeepsTheList();
    void printerListIsFilledOnce();
    void printsTheChosenPrinterAndTheFieldsAsTheyReadNow();
    void failedPrintoutIsToldAndChangesNothing();

  private:
    RecordingPrintBackend printers_;
};

void PuTongWindowTest::calculateReplacesMissingInputAppendsExitKeeps() {
    PuTong w(printers_);
    w.show();
    QCOMPARE(text(&w, "jingdu"), QStringLiteral("0.00001"));
    QVERIFY(listItems(&w).isEmpty());
    click(&w, "Command1");
    QCOMPARE(listItems(&w), QStringList{kMissing});

    fillPuTong(&w, "1.5", "0.00001", "20", "30");
    click(&w, "Command1");
    const CalculationOutcome expected = calculateOrdinary({"1.5", "0.00001", "20", "30"});
    QCOMPARE(listItems(&w).size(), 16);
    QCOMPARE(listItems(&w), qt(expected.items));
    QCOMPARE(w.printText(), expected.printText);
    click(&w, "Command1");
    QCOMPARE(listItems(&w), qt(expected.items));

    // An emptied field: one item more, printText and the fields kept.
    child<QLineEdit>(&w, "chuandongbi")->clear();
    click(&w, "Command1");
    QCOMPARE(listItems(&w), qt(expected.items) << kMissing);
    QCOMPARE(w.printText(), expected.printText);

    // Exit, or the frame's close, hides the window; shown again it has it all.
    type(&w, "chuandongbi", "1.5");
    click(&w, "Command2");
    QVERIFY(!w.isVisible());
    w.show();
    QVERIFY(!w.close());
    QVERIFY(!w.isVisible());
    w.show();
    QCOMPARE(text(&w, "chuandongbi"), QStringLiteral("1.5"));
    QCOMPARE(text(&w, "zuidachishu"), QStringLiteral("30"));
    QCOMPARE(listItems(&w), qt(expected.items) << kMissing);
    QCOMPARE(w.printText(), expected.printText);
}

// Whole counts up to a million with a ratio that few sets meet: days of
// pairs, and the bound is not reached either.
void PuTongWindowTest::cancelKeepsTheEarlierResults() {
    MessageRecorder messages;
    PuTong window(printers_);
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
        QVERIFY(dialog.labelText().startsWith(QStringLiteral("正在计算，已找到 ")));
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

    // The window works on as before.
    fillPuTong(&window, "1", "0.00001", "20", "22");
    click(&window, "Command1");
    QCOMPARE(listItems(&window).size(), 8);
}

void PuTongWindowTest::boundShowsItsMessageAndKeepsTheList_data() {
    QTest::addColumn<int>("limit");
    QTest::addColumn<QString>("message");
    // 1.5 over 20 to 30 lists 14 sets: at the bound they are listed.
    QTest::newRow("at the bound") << 14 << QString();
    QTest::newRow("one beyond") << 13 << QStringLiteral("结果超过13组，请缩小齿数范围或减小允差");
}

void PuTongWindowTest::boundShowsItsMessageAndKeepsTheList() {
    QFETCH(int, limit);
    QFETCH(QString, message);
    MessageRecorder messages;
    PuTong window(printers_);
    window.setSetLimit(static_cast<std::size_t>(limit));
    fillPuTong(&window, "1", "0.00001", "20", "21");
    click(&window, "Command1");
    const QStringList earlier = listItems(&window);
    const std::string earlierPrintText = window.printText();

    fillPuTong(&window, "1.5", "0.00001", "20", "30");
    click(&window, "Command1");
    if (message.isEmpty()) {
        QVERIFY(messages.texts.isEmpty());
        QCOMPARE(listItems(&window).size(), 16);
    } else {
        QCOMPARE(messages.texts, QStringList{message});
        QCOMPARE(listItems(&window), earlier);
        QCOMPARE(window.printText(), earlierPrintText);
    }
}

void PuTongWindowTest::printerListIsFilledOnce() {
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

void PuTongWindowTest::printsTheChosenPrinterAndTheFieldsAsTheyReadNow() {
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

void PuTongWindowTest::failedPrintoutIsToldAndChangesNothing() {
    MessageRecorder messages;
    RecordingPrintBackend backend;
    backend.printers = {"A", "B"};
    PuTong window(backend);
    fillPuTong(&window, "1.5", "0.00001", "20", "30");
    click(&window, "Command1");
    const std::string printText = window.printText();
    const QStringList items = listItems(&window);
    child<QComboBox>(&window, "Combo1")->setCurrentIndex(1);

    backend.failAt = {"set", PrintError::PrinterGone};
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

QTEST_MAIN(kelvaro::PuTongWindowTest)
#include "putong_window_test.moc"
