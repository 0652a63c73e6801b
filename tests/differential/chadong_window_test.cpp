// The differential window and its add-machine dialog, used as a user
// does: activation reads the catalogue anew, Form2 checks keystrokes and
// the model field's loss of focus, Confirm writes the catalogue or
// tells why not. The offscreen platform does not hand the focus back
// when a window closes; where a window manager would, the test activates.
#include "catalogue/add_machine_window.h"
#include "differential/chadong_window.h"
#include "support/failing_file_system.h"
#include "support/recording_print_backend.h"
#include "support/temporary_catalogue.h"
#include "support/window_driver.h"

#include <QAction>
#include <QtTest>

using namespace kelvaro;
using namespace kelvaro::driver;

namespace {

bool activate(QWidget* window) {
    window->show();
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

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
    // The tooth-count field shows for the machines that need it.
    open("ZSTZ\r\nC630\r\n");
    auto* teeth = child<QLineEdit>(chaDong.get(), "齿数");
    QVERIFY(teeth->isVisible());
    machines()->setCurrentIndex(1);
    QVERIFY(!teeth->isVisible());
    type(chaDong.get(), "moshu", "3");

    // Back from another window: the list as the file holds it now, the first
    // entry chosen as the chosen one is gone, the inputs untouched; a missing
    // list is empty.
    catalogue->write("jixing.dat", "Y7150\r\nC6140\r\n");
    returnFromAnotherWindow();
    QCOMPARE(comboItems(chaDong.get(), "Combo1"), (QStringList{"Y7150", "C6140"}));
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
    QTest::keyClicks(text5, "x");
    QCOMPARE(messages, QStringList{"输入数据有错误,数据间用逗号隔开!!!"});
    QCOMPARE(text5->text(), QString("37,4x"));
    messages.clear();
    type(form2, "Text1", "Y3.15");
    QTest::keyClick(child<QLineEdit>(form2, "Text1"), Qt::Key_Tab);
    QCOMPARE(messages, QStringList{"机床型号中请不要包函小数点"});
    QCOMPARE(text(form2, "Text1"), QString("Y3"));
    QTRY_VERIFY(child<QLineEdit>(form2, "Text1")->hasFocus());

    // A folder that cannot be written: told, nothing lost, the dialog open.
    messages.clear();
    type(form2, "Text1", " ZSTZ ");
    type(form2, "Text2", "20");
    type(form2, "Text3", "60");
    type(form2, "Text4", "10");
    type(form2, "Text5", "37,41");
    files.rule = FailingFileSystem::readOnly(EROFS);
    click(form2, "Command2");
    QCOMPARE(messages, QStringList{QString::fromStdString(
                           "机床目录所在的文件夹 " + catalogue->path() +
                           " 不能写入（磁盘是只读的），机床目录不能修改。请用安装程序安装 Kelvaro，"
                           "或把 Kelvaro 解压到可以写入的文件夹。")});
    QVERIFY(form2->isVisible());
    files.rule = nullptr;
    click(form2, "Command2");
    QVERIFY(!form2->isVisible());
    QCOMPARE(catalogue->read("jixing.dat"), std::string("C630\r\nZSTZ\r\n"));
}

QTEST_MAIN(ChaDongWindowTest)
#include "chadong_window_test.moc"
