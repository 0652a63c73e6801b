// The differential window with its two catalogue dialogs, used as a user
// does on the offscreen platform. The platform gives the focus to a window
// when it is activated, but does not hand it back when a window closes;
// where a window manager would, the test activates the window itself.
#include "catalogue/add_machine_window.h"
#include "catalogue/delete_machine_window.h"
#include "differential/chadong_window.h"
#include "differential/differential_calculation.h"
#include "gears/gear_lines.h"
#include "printing/printer_choice.h"
#include "printing/recording_print_backend.h"
#include "support/temporary_catalogue.h"
#include "support/window_driver.h"
#include "widgets/activation_watcher.h"
#include "widgets/printer_controls.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>
#include <cstring>

using namespace kelvaro;
using namespace kelvaro::driver;

namespace {

bool activate(QWidget* window) {
    window->show();
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

const std::string kMachine = "20\r\n60\r\n 1\r\n10\r\n0\r\n";

} // namespace

class ChaDongWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        messages.clear();
        recorder.showBoxes = false;
        catalogue = std::make_unique<TemporaryCatalogue>();
        other = std::make_unique<QWidget>(nullptr, Qt::Window);
    }
    void cleanup() {
        chaDong.reset();
        other.reset();
        catalogue.reset();
    }

    void activationFilter();
    void activationListsTheCatalogue();
    void missingOrEmptyList();
    void addMachineThroughForm2();
    void deleteMachineThroughForm3();
    void calculationAndPrinting();

  private:
    void open(const std::string& list) {
        catalogue->write("jixing.dat", list);
        chaDong = std::make_unique<ChaDong>(context(printers, recorder, catalogue->path()));
        if (!activate(chaDong.get())) qFatal("ChaDong not activated");
    }
    QComboBox* machines() const { return child<QComboBox>(chaDong.get(), "Combo1"); }
    bool toothFieldShown() const {
        const bool field = child<QLineEdit>(chaDong.get(), "齿数")->isVisible();
        if (field != child<QLabel>(chaDong.get(), "Label12")->isVisible())
            qFatal("齿数 and Label12 disagree");
        return field;
    }
    void returnFromAnotherWindow() {
        QVERIFY(activate(other.get()));
        QVERIFY(activate(chaDong.get()));
    }

    MessageRecorder recorder;
    QStringList& messages = recorder.texts;
    RecordingPrintBackend printers;
    std::unique_ptr<TemporaryCatalogue> catalogue;
    std::unique_ptr<QWidget> other;
    std::unique_ptr<ChaDong> chaDong;
};

void ChaDongWindowTest::activationFilter() {
    // Steps: C the watched window, F and 2 other windows of the program, m a
    // message box, - another program, h the watched window hidden. `runs`
    // holds 1 where Form_Activate runs.
    const char* rows[][2] = {
        {"FC", "01"},       {"C", "1"},         {"FCmC", "0100"},
        {"FC-C", "0100"},   {"FC-FC", "01001"}, {"FC2C", "0101"},
        {"C2m2C", "10001"}, {"FChC", "0101"},   {"FCFhC", "01001"},
    };
    using Kind = ActivationFilter::Kind;
    const char windows[] = "CF2m";
    for (const auto& [steps, runs] : rows) {
        ActivationFilter filter(&windows[0]);
        QString ran;
        for (const char* step = steps; *step; ++step) {
            if (*step == 'h') filter.watchedHidden();
            const bool activated =
                *step == 'h' ? false
                : *step == '-'
                    ? filter.focusMovedTo(nullptr, Kind::NoWindow)
                    : filter.focusMovedTo(std::strchr(windows, *step),
                                          *step == 'm' ? Kind::OtherWindow : Kind::ProgramWindow);
            ran += activated ? '1' : '0';
        }
        QVERIFY2(ran == QLatin1String(runs), steps);
    }
}

void ChaDongWindowTest::activationListsTheCatalogue() {
    // The list drops the blank before " ZSTZ", not the one after "Y7150 ";
    // only the exact names show the tooth-count field.
    open("ZSTZ\r\nC630\r\nY7150\r\nzstz\r\nY7150 \r\n ZSTZ\r\n");
    catalogue->write("ZSTZ.dat", kMachine);
    QCOMPARE(machines()->currentIndex(), 0);
    QVERIFY(toothFieldShown());
    // Chosen through the drop-down, whose popup takes the focus for a while.
    machines()->showPopup();
    QTest::keyClick(machines()->view(), Qt::Key_Down);
    QTest::keyClick(machines()->view(), Qt::Key_Return);
    QTRY_VERIFY(QGuiApplication::focusWindow() == chaDong->windowHandle());
    QCOMPARE(machines()->currentIndex(), 1);
    const bool shown[] = {true, false, true, false, false, true};
    for (int i = 1; i < 6; ++i) {
        machines()->setCurrentIndex(i);
        QCOMPARE(toothFieldShown(), shown[i]);
    }
    type(chaDong.get(), "moshu", "3");

    // A real message box, closed as soon as it is up; the focus coming back
    // from it is no activation.
    recorder.showBoxes = true;
    QString shownText;
    QTimer closer;
    connect(&closer, &QTimer::timeout, [&shownText] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shownText = box->text();
            box->accept();
        }
    });
    closer.start(10);
    click(chaDong.get(), "Command1");
    closer.stop();
    QCOMPARE(shownText, QString("零件齿数错误"));
    QVERIFY(activate(chaDong.get()));
    QCOMPARE(machines()->currentIndex(), 5);

    // Back from another window: the list as the file holds it now, the
    // first entry chosen as the chosen one is gone, the inputs untouched.
    catalogue->write("jixing.dat", "C630\r\nY7150\r\n");
    returnFromAnotherWindow();
    QCOMPARE(comboItems(chaDong.get(), "Combo1"), (QStringList{"C630", "Y7150"}));
    QCOMPARE(machines()->currentIndex(), 0);
    QVERIFY(!toothFieldShown());
    QCOMPARE(text(chaDong.get(), "moshu"), QString("3"));
}

void ChaDongWindowTest::missingOrEmptyList() {
    chaDong = std::make_unique<ChaDong>(
        context(printers, recorder, catalogue->path())); // no jixing.dat yet
    for (int pass = 0; pass < 2; ++pass) {
        returnFromAnotherWindow();
        QCOMPARE(machines()->count(), 0);
        QCOMPARE(machines()->currentIndex(), -1);
        QVERIFY(!toothFieldShown());
        catalogue->write("jixing.dat", ""); // then a list of zero bytes
    }
    type(chaDong.get(), "moshu", "3");
    click(chaDong.get(), "Command1");
    QCOMPARE(messages, QStringList{"选择机床型号"});
}

void ChaDongWindowTest::addMachineThroughForm2() {
    open("C630\r\n");
    child<QAction>(chaDong.get(), "addmachine")->trigger();
    Form2* form2 = chaDong->form2();
    QVERIFY(QTest::qWaitForWindowActive(form2));
    auto* text5 = child<QLineEdit>(form2, "Text5");

    // Keystrokes are checked as they come.
    type(form2, "Text5", "37,4");
    QTest::keyClick(text5, Qt::Key_Backspace);
    QVERIFY(messages.isEmpty());
    QTest::keyClicks(text5, "x");
    QCOMPARE(messages, QStringList{"输入数据有错误,数据间用逗号隔开!!!"});
    QCOMPARE(text5->text(), QString("37,x"));
    messages.clear();
    type(form2, "Text1", "Y3.15");
    QTest::keyClick(child<QLineEdit>(form2, "Text1"), Qt::Key_Tab);
    QCOMPARE(messages, QStringList{"机床型号中请不要包函小数点"});
    QCOMPARE(text(form2, "Text1"), QString("Y3"));
    QTRY_VERIFY(child<QLineEdit>(form2, "Text1")->hasFocus());

    // Confirm checks the numbers first, then the items; nothing is written.
    messages.clear();
    click(form2, "Command2");
    type(form2, "Text2", "20");
    type(form2, "Text3", "60");
    type(form2, "Text4", "10");
    click(form2, "Command2");
    QCOMPARE(messages, (QStringList{"输入数据有错", "输入数据有错误,数据间用逗号隔开!!!"}));
    QVERIFY(form2->isVisible());
    QCOMPARE(catalogue->read("jixing.dat"), std::string("C630\r\n"));
    QVERIFY(!catalogue->exists("Y3.dat"));

    messages.clear();
    type(form2, "Text1", " ZSTZ ");
    type(form2, "Text5", "37,41");
    click(form2, "Command2");
    QVERIFY(messages.isEmpty());
    QVERIFY(!form2->isVisible());
    QCOMPARE(catalogue->read("jixing.dat"), std::string("C630\r\nZSTZ\r\n"));
    QCOMPARE(catalogue->read("ZSTZ.dat"), std::string("20\r\n60\r\n 2\r\n10\r\n37\r\n41\r\n"));

    // Opened again it shows what was saved; Exit goes back to ChaDong,
    // which lists the new machine last and chooses the first.
    chaDong->addmachine_Click();
    QVERIFY(form2->isVisible());
    QCOMPARE(text(form2, "Text1"), QString(" ZSTZ "));
    QCOMPARE(text5->text(), QString("37,41"));
    click(form2, "Command1");
    QVERIFY(!form2->isVisible());
    QTRY_VERIFY(chaDong->isActiveWindow());
    QCOMPARE(comboItems(chaDong.get(), "Combo1"), (QStringList{"C630", "ZSTZ"}));
    QCOMPARE(machines()->currentIndex(), 0);
}

void ChaDongWindowTest::deleteMachineThroughForm3() {
    open("Y7150\r\nC630\r\nY7150\r\n");
    child<QAction>(chaDong.get(), "deletemachine")->trigger();
    Form3* form3 = chaDong->form3();
    QVERIFY(QTest::qWaitForWindowActive(form3));
    QComboBox* models = child<QComboBox>(form3, "Combo1");
    QCOMPARE(comboItems(form3, "Combo1"), (QStringList{"Y7150", "C630", "Y7150"}));
    QCOMPARE(models->currentIndex(), -1);

    // A return from another window of the program copies the list anew.
    models->setCurrentIndex(1);
    QVERIFY(activate(chaDong.get()));
    QVERIFY(activate(form3));
    QCOMPARE(models->currentIndex(), -1);

    form3->close(); // through the frame, as Back
    QVERIFY(!form3->isVisible());
    QVERIFY(activate(form3));
    models->setCurrentIndex(2);
    click(form3, "Command2");
    QVERIFY(!form3->isVisible());
    QVERIFY(messages.isEmpty());
    QCOMPARE(catalogue->read("jixing.dat"), std::string("C630\r\n"));
    QVERIFY(activate(chaDong.get()));
    QCOMPARE(comboItems(chaDong.get(), "Combo1"), QStringList{"C630"});
}

void ChaDongWindowTest::calculationAndPrinting() {
    printers.printers = {"A", "B", "C"};
    open("ZSTZ\r\n");
    catalogue->write("ZSTZ.dat", kMachine);
    QComboBox* printerList = child<QComboBox>(chaDong.get(), "Combo2");
    QCOMPARE(printerList->currentText(), QString("A"));
    type(chaDong.get(), "moshu", " 2.5");
    type(chaDong.get(), "luoxuanjiaodu", " 15 ");
    type(chaDong.get(), "luoxuanjiaofen", "30");
    type(chaDong.get(), "齿数", "10");
    click(chaDong.get(), "Command1");
    const CalculationOutcome expected = calculateDifferential(
        {" 2.5", " 15 ", "30", "0", "0.00001", "10"}, "ZSTZ", catalogue->path());
    QVERIFY(kelvaro::listItems(expected).size() > 2);
    QCOMPARE(listItems(chaDong.get()), qt(kelvaro::listItems(expected)));
    QCOMPARE(chaDong->printText(), kelvaro::printText(expected));

    // An emptied field: one item more. Print prints the last calculation
    // with the texts as they read now, on the printer the list names.
    child<QLineEdit>(chaDong.get(), "luoxuanjiaomiao")->clear();
    click(chaDong.get(), "Command1");
    QCOMPARE(listItems(chaDong.get()), qt(kelvaro::listItems(expected)) << "请输入数值");
    printerList->setCurrentIndex(1);
    click(chaDong.get(), "Command3");
    QCOMPARE(printers.documents.size(), std::size_t{1});
    QCOMPARE(printers.documents[0].printer, std::string("B"));
    QCOMPARE(printers.documents[0].lines.at(0), std::string("      m= 2.5  β=15°30′″  Z=10"));
    QCOMPARE(printers.documents[0].lines.size(), kelvaro::listItems(expected).size() + 3);

    chaDong->close(); // through the frame, as Exit: hidden, results kept
    QVERIFY(!chaDong->isVisible());
    QCOMPARE(listItems(chaDong.get()).size(), int(kelvaro::listItems(expected).size()) + 1);
    QCOMPARE(chaDong->printText(), kelvaro::printText(expected));

    // Back from another window the first printer is chosen again, and the
    // next printout goes there.
    returnFromAnotherWindow();
    QCOMPARE(printerList->currentText(), QString("A"));
    click(chaDong.get(), "Command3");
    QCOMPARE(printers.documents.back().printer, std::string("A"));

    // Without printers Print is disabled, and stays so when printers return.
    auto* print = child<QPushButton>(chaDong.get(), "Command3");
    printers.printers.clear();
    returnFromAnotherWindow();
    QVERIFY(!print->isEnabled());
    printers.printers = {"A"};
    returnFromAnotherWindow();
    QCOMPARE(comboItems(chaDong.get(), "Combo2"), QStringList({"A"}));
    QVERIFY(!print->isEnabled());
    // The items are replaced, also in a list that no window has emptied.
    const PrinterListContents contents = fillPrinterList(printers);
    applyPrinterList(contents.items, contents.selected, contents.disablePrint, *printerList,
                     *print);
    QCOMPARE(comboItems(chaDong.get(), "Combo2"), QStringList({"A"}));
}

QTEST_MAIN(ChaDongWindowTest)
#include "chadong_window_test.moc"
