// The differential window with its two catalogue dialogs, used as a user
// does: activation reads the catalogue anew, Form2 checks keystrokes and
// the model field's loss of focus, Confirm and Delete write the catalogue
// or tell why not. The offscreen platform does not hand the focus back
// when a window closes; where a window manager would, the test activates.
#include "catalogue/add_machine_window.h"
#include "catalogue/delete_machine_window.h"
#include "differential/chadong_window.h"
#include "differential/differential_calculation.h"
#include "gears/gear_lines.h"
#include "support/failing_file_system.h"
#include "support/recording_print_backend.h"
#include "support/temporary_catalogue.h"
#include "support/window_driver.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

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
        recorder.texts.clear();
        files.rule = nullptr;
        catalogue = std::make_unique<TemporaryCatalogue>();
    }
    void cleanup() { chaDong.reset(); }
    void activationReadsTheCatalogueAnew();
    void addMachineThroughForm2();
    void deleteMachineThroughForm3();
    void calculationAndPrinting();

  private:
    void open(const std::string& list) {
        catalogue->write("jixing.dat", list);
        chaDong =
            std::make_unique<ChaDong>(WindowContext{printers, files, recorder, catalogue->path()});
        QVERIFY(activate(chaDong.get()));
    }
    QComboBox* machines() const { return child<QComboBox>(chaDong.get(), "Combo1"); }
    void returnFromAnotherWindow() {
        QWidget other(nullptr, Qt::Window);
        QVERIFY(activate(&other));
        QVERIFY(activate(chaDong.get()));
    }

    MessageRecorder recorder;
    QStringList& messages = recorder.texts;
    RecordingPrintBackend printers;
    FailingFileSystem files;
    std::unique_ptr<TemporaryCatalogue> catalogue;
    std::unique_ptr<ChaDong> chaDong;
};

void ChaDongWindowTest::activationReadsTheCatalogueAnew() {
    // Only the exact names show the tooth-count field.
    open("ZSTZ\r\nC630\r\nY7150\r\nzstz\r\nY7150 \r\n");
    catalogue->write("ZSTZ.dat", kMachine);
    const bool shown[] = {true, false, true, false, false};
    for (int i = 0; i < 5; ++i) {
        machines()->setCurrentIndex(i);
        QCOMPARE(child<QLineEdit>(chaDong.get(), "齿数")->isVisible(), shown[i]);
    }
    machines()->setCurrentIndex(0);
    type(chaDong.get(), "moshu", "3");

    // A real message box: the focus coming back from it is no activation.
    recorder.showBoxes = true;
    QTimer closer;
    connect(&closer, &QTimer::timeout, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            box->accept();
    });
    closer.start(10);
    click(chaDong.get(), "Command1");
    recorder.showBoxes = false;
    QCOMPARE(messages, QStringList{"零件齿数错误"});
    QVERIFY(activate(chaDong.get()));
    QCOMPARE(comboItems(chaDong.get(), "Combo1").size(), 5);

    // Back from another window: the list as the file holds it now, the
    // first entry chosen as the chosen one is gone, the inputs untouched; a missing list is empty.
    catalogue->write("jixing.dat", "C630\r\nY7150\r\n");
    returnFromAnotherWindow();
    QCOMPARE(comboItems(chaDong.get(), "Combo1"), (QStringList{"C630", "Y7150"}));
    QCOMPARE(machines()->currentIndex(), 0);
    QCOMPARE(text(chaDong.get(), "moshu"), QString("3"));
    std::filesystem::remove(catalogue->file("jixing.dat"));
    returnFromAnotherWindow();
    QCOMPARE(machines()->count(), 0);
}

void ChaDongWindowTest::addMachineThroughForm2() {
    open("C630\r\n");
    child<QAction>(chaDong.get(), "addmachine")->trigger();
    Form2* form2 = chaDong->form2();
    QVERIFY(QTest::qWaitForWindowActive(form2));
    auto* text5 = child<QLineEdit>(form2, "Text5");

    // Keystrokes are checked as they come; the model loses its point.
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
    type(form2, "Text2", "20");
    type(form2, "Text3", "60");
    click(form2, "Command2");
    type(form2, "Text4", "10");
    click(form2, "Command2");
    QCOMPARE(messages, (QStringList{"输入数据有错", "输入数据有错误,数据间用逗号隔开!!!"}));
    QCOMPARE(catalogue->contents(), (TemporaryCatalogue::Files{{"jixing.dat", "C630\r\n"}}));

    // A folder that cannot be written: told, nothing lost, the dialog open.
    messages.clear();
    type(form2, "Text1", " ZSTZ ");
    type(form2, "Text5", "37,41");
    files.rule = FailingFileSystem::readOnly(EROFS);
    click(form2, "Command2");
    QCOMPARE(messages, QStringList{QString::fromStdString(
                           "无法写入文件 " + catalogue->file("ZSTZ.dat.tmp") + "：磁盘是只读的")});
    QVERIFY(form2->isVisible());
    QCOMPARE(catalogue->contents(), (TemporaryCatalogue::Files{{"jixing.dat", "C630\r\n"}}));
    files.rule = nullptr;
    click(form2, "Command2");
    QVERIFY(!form2->isVisible());
    QCOMPARE(catalogue->read("jixing.dat"), std::string("C630\r\nZSTZ\r\n"));
    QCOMPARE(catalogue->read("ZSTZ.dat"), std::string("20\r\n60\r\n 2\r\n10\r\n37\r\n41\r\n"));
}

void ChaDongWindowTest::deleteMachineThroughForm3() {
    open("Y7150\r\nC630\r\nY7150\r\n");
    child<QAction>(chaDong.get(), "deletemachine")->trigger();
    Form3* form3 = chaDong->form3();
    QVERIFY(QTest::qWaitForWindowActive(form3));
    QComboBox* models = child<QComboBox>(form3, "Combo1");
    QCOMPARE(comboItems(form3, "Combo1"), (QStringList{"Y7150", "C630", "Y7150"}));
    QCOMPARE(models->currentIndex(), -1);
    models->setCurrentIndex(2);
    click(form3, "Command2");
    QVERIFY(!form3->isVisible());
    QVERIFY(messages.isEmpty());
    QCOMPARE(catalogue->read("jixing.dat"), std::string("C630\r\n"));
    QVERIFY(activate(chaDong.get()));
    QCOMPARE(comboItems(chaDong.get(), "Combo1"), QStringList{"C630"});
}

void ChaDongWindowTest::calculationAndPrinting() {
    printers.printers = {"A"};
    open("ZSTZ\r\n");
    catalogue->write("ZSTZ.dat", kMachine);
    type(chaDong.get(), "moshu", " 2.5");
    type(chaDong.get(), "luoxuanjiaodu", " 15 ");
    type(chaDong.get(), "luoxuanjiaofen", "30");
    type(chaDong.get(), "齿数", "10");
    click(chaDong.get(), "Command1");
    const CalculationOutcome expected = calculateDifferential(
        {" 2.5", " 15 ", "30", "0", "0.00001", "10"}, "ZSTZ", catalogue->path());
    QCOMPARE(listItems(chaDong.get()), qt(listItems(expected)));

    // Print prints the last calculation with the texts as they read now.
    child<QLineEdit>(chaDong.get(), "luoxuanjiaomiao")->clear();
    click(chaDong.get(), "Command3");
    QCOMPARE(printers.documents[0].lines.at(0), std::string("      m= 2.5  β=15°30′″  Z=10"));
    QCOMPARE(printers.documents[0].lines.size(), listItems(expected).size() + 3);
}

QTEST_MAIN(ChaDongWindowTest)
#include "chadong_window_test.moc"
