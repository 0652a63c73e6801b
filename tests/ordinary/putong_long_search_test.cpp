// Calculate in the ordinary window while a search runs long: the window
// keeps repainting, shows its progress with a Cancel button, takes no
// input, and changes its list and printText only for a search that ends;
// one that would list more sets than the bound shows a message instead.
#include "common/message_box.h"
#include "common/result_list_model.h"
#include "ordinary/putong_window.h"
#include "printing/recording_print_backend.h"

#include <QLineEdit>
#include <QListView>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

namespace kelvaro {

namespace {

void typeInto(PuTong& window, const char* name, const QString& text) {
    auto* field = window.findChild<QLineEdit*>(name);
    QVERIFY(field);
    field->clear();
    QTest::keyClicks(field, text);
}

void fill(PuTong& window, const QString& ratio, const QString& tolerance, const QString& smallest,
          const QString& largest) {
    typeInto(window, "chuandongbi", ratio);
    typeInto(window, "jingdu", tolerance);
    typeInto(window, "zuishaochishu", smallest);
    typeInto(window, "zuidachishu", largest);
}

void clickCalculate(PuTong& window) {
    QTest::mouseClick(window.findChild<QPushButton*>("Command1"), Qt::LeftButton);
}

// Runs `check` once, from the event loop that waits for the calculation,
// as soon as the progress dialog shows.
void whenProgressShows(PuTong& window, std::function<void(QProgressDialog&)> check) {
    auto* poll = new QTimer(&window);
    poll->setInterval(20);
    QObject::connect(poll, &QTimer::timeout, poll, [&window, poll, check] {
        auto* dialog = window.findChild<QProgressDialog*>();
        if (dialog == nullptr || !dialog->isVisible()) return;
        poll->stop();
        poll->deleteLater();
        check(*dialog);
    });
    poll->start();
}

QPushButton* cancelButton(QProgressDialog& dialog) {
    for (auto* button : dialog.findChildren<QPushButton*>())
        if (button->text() == QStringLiteral("取消")) return button;
    return nullptr;
}

// Counts the paint events of one widget.
class PaintCounter : public QObject {
  public:
    int paints = 0;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

} // namespace

class PuTongLongSearchTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        setMessageHook([this](const QString& text) { messages_ << text; });
        messages_.clear();
    }
    void cleanup() { setMessageHook({}); }

    void cancelKeepsTheEarlierResults_data();
    void cancelKeepsTheEarlierResults();
    void boundShowsItsMessageAndKeepsTheList_data();
    void boundShowsItsMessageAndKeepsTheList();

  private:
    QStringList messages_;
};

void PuTongLongSearchTest::cancelKeepsTheEarlierResults_data() {
    QTest::addColumn<QString>("ratio");
    QTest::addColumn<QString>("tolerance");
    QTest::addColumn<QString>("largest");
    // Whole counts up to a million: the skipping search, days of pairs, and
    // a ratio that few sets meet, so that the bound is not reached either.
    QTest::newRow("skipping search") << "3.14159265358979"
                                     << "1E-13"
                                     << "1000000";
    // Up to 1E9: the straight loop, a billion first driven gears per pair.
    QTest::newRow("straight loop") << "1.5"
                                   << "0.00001"
                                   << "1E9";
}

void PuTongLongSearchTest::cancelKeepsTheEarlierResults() {
    QFETCH(QString, ratio);
    QFETCH(QString, tolerance);
    QFETCH(QString, largest);
    RecordingPrintBackend printers;
    PuTong window(printers);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    fill(window, "1.5", "0.00001", "20", "30");
    clickCalculate(window);
    const std::vector<std::string> items = window.results().items();
    const std::string printText = window.printText();
    QCOMPARE(items.size(), std::size_t{16});

    fill(window, ratio, tolerance, "1", largest);
    auto* list = window.findChild<QListView*>("jsjgp");
    PaintCounter counter;
    list->viewport()->installEventFilter(&counter);
    // What the user sees while the search runs, looked at from the event
    // loop that waits for it; Cancel is clicked whatever is seen.
    struct Seen {
        bool progress = false;
        QString title, label, cancelText, field;
        bool waitCursor = false;
        int paints = 0;
    } seen;
    whenProgressShows(window, [&](QProgressDialog& dialog) {
        seen.progress = true;
        seen.title = dialog.windowTitle();
        seen.label = dialog.labelText();
        seen.waitCursor = QApplication::overrideCursor() != nullptr;
        counter.paints = 0;
        list->viewport()->update();
        auto* field = window.findChild<QLineEdit*>("chuandongbi");
        QTest::keyClicks(field, "9");
        QTest::qWait(100);
        seen.paints = counter.paints;
        seen.field = field->text();
        if (QPushButton* cancel = cancelButton(dialog)) {
            seen.cancelText = cancel->text();
            QTest::mouseClick(cancel, Qt::LeftButton);
        } else {
            dialog.cancel();
        }
    });
    clickCalculate(window);

    QVERIFY(seen.progress);
    QCOMPARE(seen.title, QStringLiteral("Kelvaro"));
    QVERIFY(seen.label.startsWith(QStringLiteral("正在计算，已找到 ")));
    QCOMPARE(seen.cancelText, QStringLiteral("取消"));
    QVERIFY(seen.waitCursor);
    QVERIFY(seen.paints > 0);
    QCOMPARE(seen.field, ratio);
    QCOMPARE(window.results().items(), items);
    QCOMPARE(window.printText(), printText);
    QVERIFY(messages_.isEmpty());
    QVERIFY(!QApplication::overrideCursor());
    QVERIFY(!window.findChild<QProgressDialog*>());

    // The window works on as before.
    fill(window, "1", "0.00001", "20", "22");
    clickCalculate(window);
    QCOMPARE(window.results().items().size(), std::size_t{8});
}

void PuTongLongSearchTest::boundShowsItsMessageAndKeepsTheList_data() {
    QTest::addColumn<int>("limit");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("items");
    // 1.5 over 20 to 30 lists 14 sets: at the bound they are listed.
    QTest::newRow("at the bound") << 14 << QString() << 16;
    QTest::newRow("one beyond") << 13 << QStringLiteral("结果超过13组，请缩小齿数范围或减小允差")
                                << 5;
}

void PuTongLongSearchTest::boundShowsItsMessageAndKeepsTheList() {
    QFETCH(int, limit);
    QFETCH(QString, message);
    QFETCH(int, items);
    RecordingPrintBackend printers;
    PuTong window(printers);
    window.setSetLimit(static_cast<std::size_t>(limit));
    fill(window, "1", "0.00001", "20", "21");
    clickCalculate(window);
    QCOMPARE(window.results().items().size(), std::size_t{5});
    const std::vector<std::string> earlier = window.results().items();
    const std::string earlierPrintText = window.printText();

    fill(window, "1.5", "0.00001", "20", "30");
    clickCalculate(window);
    QCOMPARE(window.results().items().size(), static_cast<std::size_t>(items));
    if (message.isEmpty()) {
        QVERIFY(messages_.isEmpty());
    } else {
        QCOMPARE(messages_, QStringList{message});
        QCOMPARE(window.results().items(), earlier);
        QCOMPARE(window.printText(), earlierPrintText);
    }
}

} // namespace kelvaro

QTEST_MAIN(kelvaro::PuTongLongSearchTest)
#include "putong_long_search_test.moc"
