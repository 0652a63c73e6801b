// What a new user meets in the calculation windows: whole result lines, a
// refused negative tolerance, a question before a long printout, slips in
// the fields marked, the list scrolled to what is new, Enter, the machine
// choice kept, a second Confirm of Form2, Qt's own texts in Chinese and the
// progress in percent.
#include "catalogue/add_machine_window.h"
#include "differential/chadong_window.h"
#include "gears/gear_lines.h"
#include "ordinary/ordinary_calculation.h"
#include "ordinary/putong_window.h"
#include "printing/recording_print_backend.h"
#include "support/temporary_catalogue.h"
#include "support/window_driver.h"
#include "widgets/field_marks.h"
#include "widgets/form_builder.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QListView>
#include <QMessageBox>
#include <QProgressDialog>
#include <QScrollBar>
#include <QTimer>

namespace kelvaro {

using namespace driver;

class NewUserWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { installFontSubstitutes(); }
    void init() { recorder = MessageRecorder(); }
    void wholeLinesFitTheList();
    void negativeToleranceAndEnter();
    void slipsMarkedAndListScrolled();
    void longPrintoutAsksFirst();
    void secondConfirmAndKeptMachine();
    void standardButtonsInChinese();

  private:
    RecordingPrintBackend printers;
    MessageRecorder recorder;
};

// The widest lines, three-digit counts and an exponent error, fit beside
// the scroll bar in both windows.
void NewUserWindowTest::wholeLinesFitTheList() {
    const WindowContext context = driver::context(printers, recorder);
    PuTong puTong(context);
    ChaDong chaDong(context);
    for (QWidget* window : {static_cast<QWidget*>(&puTong), static_cast<QWidget*>(&chaDong)}) {
        window->show();
        auto* list = child<QListView>(window, "jsjgp");
        list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        const QFontMetricsF metrics(list->font());
        for (double teeth : {88.0, 188.0}) {
            const QString line =
                QString::fromStdString(formatListLine({teeth, teeth, teeth, teeth, -8.888888E-08}));
            // The view leaves a margin each side of an item's text.
            const int margin = list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1;
            const int room = list->viewport()->width() - 2 * (list->spacing() + margin);
            QVERIFY2(metrics.horizontalAdvance(line) <= room, qPrintable(line));
        }
    }
}

// Enter in a field calculates; a negative tolerance only shows its message.
void NewUserWindowTest::negativeToleranceAndEnter() {
    TemporaryCatalogue dir;
    dir.write("jixing.dat", "M\r\n");
    dir.write("M.dat", "20\r\n60\r\n 1\r\n10\r\n\r\n");
    PuTong puTong(driver::context(printers, recorder));
    ChaDong chaDong(driver::context(printers, recorder, dir.path()));
    chaDong.Form_Activate();
    type(&chaDong, "moshu", "3");
    type(&chaDong, "luoxuanjiaodu", "15");
    type(&chaDong, "jingdu", "0.001");
    for (auto [window, field] :
         {std::pair<QWidget*, const char*>{&puTong, "zuidachishu"}, {&chaDong, "jingdu"}}) {
        if (window == &puTong) fillPuTong(window, "1.5", "0.00001", "20", "30");
        QTest::keyClick(child<QLineEdit>(window, field), Qt::Key_Return);
        const QStringList items = listItems(window);
        QVERIFY(items.size() > 2);
        type(window, "jingdu", "-0.00001");
        QTest::keyClick(child<QLineEdit>(window, field), Qt::Key_Return);
        QCOMPARE(recorder.texts, QStringList{"允差不能为负数"});
        QCOMPARE(listItems(window), items);
        recorder.texts.clear();
    }
}

// Slips are read as before and marked; new results show from the top, an
// appended 请输入数值 is scrolled to.
void NewUserWindowTest::slipsMarkedAndListScrolled() {
    PuTong window(driver::context(printers, recorder));
    window.show();
    auto* list = child<QListView>(&window, "jsjgp");
    fillPuTong(&window, "1", "0.001", "20", "100");
    click(&window, "Command1");
    list->scrollToBottom();
    fillPuTong(&window, "1,5", "0.00001", "20", "3o0");
    click(&window, "Command1");
    QCOMPARE(listItems(&window), qt(listItems(calculateOrdinary({"1", "0.00001", "20", "3"}))));
    QCOMPARE(list->verticalScrollBar()->value(), 0);
    const QStringList tips = {"按 1 计算", "", "", "按 3 计算"};
    const char* fields[] = {"chuandongbi", "jingdu", "zuishaochishu", "zuidachishu"};
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(child<QLineEdit>(&window, fields[i])->toolTip(), tips[i]);
        QCOMPARE(isMarked(child<QLineEdit>(&window, fields[i])), !tips[i].isEmpty());
    }
    QTest::keyClicks(child<QLineEdit>(&window, "chuandongbi"), "x");
    QVERIFY(!isMarked(child<QLineEdit>(&window, "chuandongbi")));

    type(&window, "zuishaochishu", "");
    click(&window, "Command1");
    QCOMPARE(listItems(&window).last(), QStringLiteral("请输入数值"));
    QCOMPARE(list->verticalScrollBar()->value(), list->verticalScrollBar()->maximum());
    QVERIFY(list->verticalScrollBar()->maximum() > 0);
    QCOMPARE(child<QLineEdit>(&window, "zuishaochishu")->toolTip(), QStringLiteral("请输入数值"));
    QVERIFY(recorder.texts.isEmpty());
}

// Ten pages print at once; more ask first, and No prints nothing.
void NewUserWindowTest::longPrintoutAsksFirst() {
    printers.printers = {"P"};
    printers.linesPerPage = 2;
    PuTong window(driver::context(printers, recorder));
    fillPuTong(&window, "1.5", "0.00001", "20", "30"); // 14 sets: 19 lines
    click(&window, "Command1");
    recorder.answer = false;
    click(&window, "Command3");
    QCOMPARE(printers.documents.size(), std::size_t{1});
    fillPuTong(&window, "1.5", "0.00001", "20", "34"); // 34 sets: 39 lines
    click(&window, "Command1");
    click(&window, "Command3");
    QCOMPARE(recorder.texts, QStringList{"将打印 20 页，是否继续？"});
    QCOMPARE(printers.documents.size(), std::size_t{1});
}

// Form2 keeps what it saved; confirming a listed model asks, and Yes
// rewrites only its machine file. ChaDong keeps its machine meanwhile.
void NewUserWindowTest::secondConfirmAndKeptMachine() {
    TemporaryCatalogue dir;
    dir.write("jixing.dat", "C630\r\nY7150\r\n");
    ChaDong chaDong(driver::context(printers, recorder, dir.path()));
    chaDong.show();
    chaDong.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&chaDong));
    child<QComboBox>(&chaDong, "Combo1")->setCurrentIndex(1);
    chaDong.addmachine_Click();
    Form2* form2 = chaDong.form2();
    for (auto [field, text] : {std::pair{"Text1", "M"},
                               {"Text2", "20"},
                               {"Text3", "100"},
                               {"Text4", "10"},
                               {"Text5", "37,41"}})
        type(form2, field, text);
    const std::string list = "C630\r\nY7150\r\nM\r\n";
    const std::string machine = "20\r\n100\r\n 2\r\n10\r\n37\r\n41\r\n";
    for (bool answer : {true, false, true}) {
        chaDong.addmachine_Click();
        QVERIFY(QTest::qWaitForWindowActive(form2));
        recorder.answer = answer;
        click(form2, "Command2");
        QCOMPARE(text(form2, "Text5"), QStringLiteral("37,41"));
        QCOMPARE(form2->isVisible(), !answer);
        QCOMPARE(dir.read("jixing.dat"), list);
        QCOMPARE(dir.read("M.dat"), machine);
    }
    QCOMPARE(recorder.texts, QStringList(2, "机床 M 已存在，是否覆盖？"));
    form2->Command1_Click();
    QTRY_VERIFY(chaDong.isActiveWindow());
    QCOMPARE(comboItems(&chaDong, "Combo1"), (QStringList{"C630", "Y7150", "M"}));
    QCOMPARE(child<QComboBox>(&chaDong, "Combo1")->currentText(), QStringLiteral("Y7150"));
}

void NewUserWindowTest::standardButtonsInChinese() {
    QVERIFY(installQtTranslations());
    QMessageBox box(QMessageBox::NoIcon, "Kelvaro", "x",
                    QMessageBox::Ok | QMessageBox::Cancel | QMessageBox::Yes | QMessageBox::No);
    QStringList texts;
    for (auto button : {QMessageBox::Ok, QMessageBox::Cancel, QMessageBox::Yes, QMessageBox::No})
        texts << box.button(button)->text().remove('&');
    QCOMPARE(texts, (QStringList{"确定", "取消", "是(Y)", "否(N)"}));
}

} // namespace kelvaro

QTEST_MAIN(kelvaro::NewUserWindowTest)
#include "new_user_window_test.moc"
