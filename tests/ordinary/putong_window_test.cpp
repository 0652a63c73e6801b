// PuTong used as a user does: Calculate replaces the list with the
// calculation's items or appends "请输入数值", Exit keeps everything, and a
// long search keeps the window painting, offers 取消 and changes nothing
// when cancelled or stopped at its bound. The texts themselves are the
// calculation's, tested with it.
#include "ordinary/ordinary_calculation.h"
#include "ordinary/putong_window.h"
#include "printing/recording_print_backend.h"
#include "support/window_driver.h"

#include <QApplication>
#include <QListView>
#include <QProgressDialog>
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
    auto* list = window.findChild<QListView*>("jsjgp");
    PaintCounter counter;
    list->viewport()->installEventFilter(&counter);
    // What the user sees while the search runs, looked at from the event
    // loop that waits for it; 取消 is clicked whatever is seen.
    struct Seen {
        QString title, label, cancelText, field;
        bool waitCursor = false;
        int paints = 0;
    } seen;
    whenProgressShows(window, [&](QProgressDialog& dialog) {
        seen.title = dialog.windowTitle();
        seen.label = dialog.labelText();
        seen.waitCursor = QApplication::overrideCursor() != nullptr;
        counter.paints = 0;
        list->viewport()->update();
        QTest::keyClicks(child<QLineEdit>(&window, "chuandongbi"), "9");
        QTest::qWait(100);
        seen.paints = counter.paints;
        seen.field = text(&window, "chuandongbi");
        for (auto* button : dialog.findChildren<QPushButton*>()) {
            if (button->text() != QStringLiteral("取消")) continue;
            seen.cancelText = button->text();
            QTest::mouseClick(button, Qt::LeftButton);
        }
        if (seen.cancelText.isEmpty()) dialog.cancel();
    });
    click(&window, "Command1");

    QCOMPARE(seen.title, QStringLiteral("Kelvaro"));
    QVERIFY(seen.label.startsWith(QStringLiteral("正在计算，已找到 ")));
    QCOMPARE(seen.cancelText, QStringLiteral("取消"));
    QVERIFY(seen.waitCursor);
    QVERIFY(seen.paints > 0);
    QCOMPARE(seen.field, QStringLiteral("3.14159265358979")); // the key was swallowed
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

} // namespace kelvaro

QTEST_MAIN(kelvaro::PuTongWindowTest)
#include "putong_window_test.moc"
