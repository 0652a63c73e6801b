// What a new user meets in the calculation windows: whole result lines, a
// refused negative tolerance, Enter, slips in the fields marked, the list
// scrolled to what is new, a question before a long printout, a second
// Confirm of Form2, the machine choice kept and Qt's own texts in Chinese.
#include "catalogue/add_machine_window.h"
#include "differential/chadong_window.h"
#include "gears/gear_lines.h"
#include "ordinary/ordinary_calculation.h"
#include "ordinary/putong_window.h"
#include "support/recording_print_backend.h"
#include "support/temporary_catalogue.h"
#include "support/window_driver.h"
#include "widgets/field_marks.h"
#include "widgets/form_builder.h"

#include <QListView>
#include <QMessageBox>
#include <QScrollBar>

namespace kelvaro {

using namespace driver;

class NewUserWindowTest : public QObject {
    Q_OBJECT

    RecordingPrintBackend printers;
    MessageRecorder recorder;

  private slots:
    void initTestCase() { installFontSubstitutes(); }
    void init() { recorder = MessageRecorder(); }

    // The widest lines, three-digit counts and an exponent error, fit beside
    // the scroll bar (also run at 150 % and 144 dpi; ChaDong's list has the
    // same width and font).
    void wholeLinesFitTheList() {
        PuTong window(driver::context(printers, recorder));
        window.show();
        auto* list = child<QListView>(&window, "jsjgp");
        list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        const int margin = list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1;
        const int room = list->viewport()->width() - 2 * (list->spacing() + margin);
        const std::string line = formatListLine({188, 188, 188, 188, -8.888888E-08});
        QVERIFY(QFontMetricsF(list->font()).horizontalAdvance(line.c_str()) <= room);
    }

    // Enter in a field calculates (the pane both windows share wires it);
    // a negative tolerance only shows its message.
    void negativeToleranceAndEnter() {
        PuTong window(driver::context(printers, recorder));
        fillPuTong(&window, "1.5", "0.00001", "20", "30");
        QTest::keyClick(child<QLineEdit>(&window, "jingdu"), Qt::Key_Return);
        const QStringList items = listItems(&window);
        QCOMPARE(items.size(), 16);
        type(&window, "jingdu", "-0.00001");
        QTest::keyClick(child<QLineEdit>(&window, "jingdu"), Qt::Key_Return);
        QCOMPARE(recorder.texts, QStringList{"允差不能为负数"});
        QCOMPARE(listItems(&window), items);
    }

    // Slips are read as before and marked; new results show from the top,
    // an appended 请输入数值 is scrolled to.
    void slipsMarkedAndListScrolled() {
        PuTong window(driver::context(printers, recorder));
        window.show();
        auto* list = child<QListView>(&window, "jsjgp");
        fillPuTong(&window, "1", "0.001", "20", "100");
        click(&window, "Command1");
        list->scrollToBottom();
        fillPuTong(&window, "1,5", "0.00001", "20", "3o0");
        click(&window, "Command1");
        QStringList expected; // "1,5" read as 1 and "3o0" as 3
        for (const std::string& line :
             kelvaro::listItems(calculateOrdinary({"1", "0.00001", "20", "3"})))
            expected << QString::fromStdString(line);
        QCOMPARE(listItems(&window), expected);
        QCOMPARE(list->verticalScrollBar()->value(), 0);
        const QStringList tips = {"按 1 计算", "", "", "按 3 计算"};
        const char* fields[] = {"chuandongbi", "jingdu", "zuishaochishu", "zuidachishu"};
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(child<QLineEdit>(&window, fields[i])->toolTip(), tips[i]);
            QCOMPARE(isMarked(child<QLineEdit>(&window, fields[i])), !tips[i].isEmpty());
        }
        // Editing a marked field takes its mark and its note away.
        QTest::keyClicks(child<QLineEdit>(&window, "chuandongbi"), "0");
        QVERIFY(!isMarked(child<QLineEdit>(&window, "chuandongbi")));
        QCOMPARE(child<QLineEdit>(&window, "chuandongbi")->toolTip(), "");
        type(&window, "zuishaochishu", "");
        click(&window, "Command1");
        QCOMPARE(listItems(&window).last(), QStringLiteral("请输入数值"));
        QCOMPARE(list->verticalScrollBar()->value(), list->verticalScrollBar()->maximum());
        QCOMPARE(child<QLineEdit>(&window, "zuishaochishu")->toolTip(), "请输入数值");
    }

    // Ten pages print at once; more ask first, and No prints nothing.
    void longPrintoutAsksFirst() {
        printers.printers = {"P"};
        printers.linesPerPage = 2;
        PuTong window(driver::context(printers, recorder));
        recorder.answer = false;
        for (const char* largest : {"30", "34"}) { // 19 and 39 lines
            fillPuTong(&window, "1.5", "0.00001", "20", largest);
            click(&window, "Command1");
            click(&window, "Command3");
            QCOMPARE(printers.documents.size(), std::size_t{1});
        }
        QCOMPARE(recorder.texts, QStringList{"将打印 20 页，是否继续？"});
    }

    // Form2 keeps what it saved; confirming a listed model asks, No writes
    // nothing and Yes rewrites only its machine file with the new values.
    // ChaDong keeps its machine meanwhile.
    void secondConfirmAndKeptMachine() {
        TemporaryCatalogue dir(TemporaryCatalogue::Files{{"jixing.dat", "C630\r\nY7150\r\n"}});
        ChaDong chaDong(driver::context(printers, recorder, dir.path()));
        chaDong.show();
        QVERIFY(QTest::qWaitForWindowActive(&chaDong));
        child<QComboBox>(&chaDong, "Combo1")->setCurrentIndex(1);
        chaDong.addmachine_Click();
        Form2* form2 = chaDong.form2();
        for (auto [field, text] :
             {std::pair{"Text1", "M"}, {"Text2", "20"}, {"Text3", "100"}, {"Text5", "37,41"}})
            type(form2, field, text);
        // The answer, the constant typed and the one the file then holds.
        for (auto [answer, typed, saved] :
             {std::tuple{true, "10", "10"}, {false, "12", "10"}, {true, "12", "12"}}) {
            chaDong.addmachine_Click();
            QVERIFY(QTest::qWaitForWindowActive(form2));
            type(form2, "Text4", typed);
            recorder.answer = answer;
            click(form2, "Command2");
            QCOMPARE(text(form2, "Text5"), QStringLiteral("37,41"));
            QCOMPARE(form2->isVisible(), !answer);
            QCOMPARE(dir.read("jixing.dat"), "C630\r\nY7150\r\nM\r\n");
            QCOMPARE(dir.read("M.dat"),
                     "20\r\n100\r\n 2\r\n" + std::string(saved) + "\r\n37\r\n41\r\n");
        }
        QCOMPARE(recorder.texts, QStringList(2, "机床 M 已存在，是否覆盖？"));
        form2->Command1_Click();
        QTRY_VERIFY(chaDong.isActiveWindow());
        QCOMPARE(comboItems(&chaDong, "Combo1"), (QStringList{"C630", "Y7150", "M"}));
        QCOMPARE(child<QComboBox>(&chaDong, "Combo1")->currentText(), QStringLiteral("Y7150"));
    }

    void standardButtonsInChinese() {
        QVERIFY(installQtTranslations());
        QMessageBox box;
        QStringList texts;
        for (auto button :
             {QMessageBox::Ok, QMessageBox::Cancel, QMessageBox::Yes, QMessageBox::No})
            texts << box.addButton(button)->text().remove('&');
        QCOMPARE(texts, (QStringList{"确定", "取消", "是(Y)", "否(N)"}));
    }
};

} // namespace kelvaro

QTEST_MAIN(kelvaro::NewUserWindowTest)
#include "new_user_window_test.moc"
