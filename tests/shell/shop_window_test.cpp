// What a shop engineer meets in the windows beyond the calculation itself:
// a delete that asks first, the missing-teeth field under a Chinese
// keyboard, and the details window on screens of any scale. CMakeLists.txt
// runs it at 100 %, at 150 % and at 144 dpi.
#include "catalogue/add_machine_window.h"
#include "catalogue/delete_machine_window.h"
#include "differential/chadong_window.h"
#include "ordinary/putong_window.h"
#include "support/recording_print_backend.h"
#include "support/temporary_catalogue.h"
#include "support/window_driver.h"
#include "widgets/set_details_window.h"
#include "widgets/train_drawing.h"

#include <QApplication>
#include <QClipboard>
#include <QColor>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QProgressDialog>
#include <QScreen>
#include <QTimer>

using namespace kelvaro;
using namespace kelvaro::driver;

class ShopWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void deleteAsksFirst() {
        TemporaryCatalogue dir(
            {{"jixing.dat", "A\r\nB\r\n"}, {"A.dat", "20\r\n60\r\n 1\r\n10\r\n\r\n"}});
        Form3 form(context(printers, recorder, dir.path()), [] { return QStringList{"A", "B"}; });
        form.show();
        form.Form_Activate();
        child<QComboBox>(&form, "Combo1")->setCurrentIndex(0);
        recorder.answer = false;
        click(&form, "Command2");
        QCOMPARE(recorder.texts, QStringList{"确定删除机床 A 吗？"});
        QCOMPARE(dir.read("jixing.dat").value(), "A\r\nB\r\n");
        QVERIFY(form.isVisible());
        recorder.answer = true;
        click(&form, "Command2");
        QCOMPARE(recorder.texts.last(),
                 "机床 A 已从机床列表中删除；它的机床文件 A.dat 仍留在磁盘上。");
        QCOMPARE(dir.read("jixing.dat").value(), "B\r\n");
        QVERIFY(dir.read("A.dat") && !form.isVisible());
    }

    // Typed, then the keys pressed: what the field holds, and whether the
    // message came.
    void missingTeethField_data() {
        using Keys = QList<QKeySequence>;
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<Keys>("keys");
        QTest::addColumn<QString>("field");
        QTest::addColumn<bool>("warned");
        const QKeySequence paste(QKeySequence::Paste);
        QTest::newRow("full-width comma typed") << ""
                                                << "37，41" << Keys{} << "37,41" << false;
        QTest::newRow("letter typed: warned, kept") << ""
                                                    << "3a" << Keys{} << "3a" << true;
        QTest::newRow("select all, copy, cut")
            << ""
            << "37" << Keys{QKeySequence::SelectAll, QKeySequence::Copy, QKeySequence::Cut} << ""
            << false;
        QTest::newRow("paste of full-width commas") << "23，29"
                                                    << "1," << Keys{paste} << "1,23,29" << false;
        QTest::newRow("paste of a letter: refused") << "23x"
                                                    << "1," << Keys{paste} << "1," << true;
    }
    void missingTeethField() {
        QFETCH(QString, clipboard);
        QFETCH(QList<QKeySequence>, keys);
        TemporaryCatalogue dir;
        Form2 form(context(printers, recorder, dir.path()), [] {});
        form.show();
        QGuiApplication::clipboard()->setText(clipboard);
        recorder.texts.clear();
        QFETCH(QString, typed);
        auto* field = child<QLineEdit>(&form, "Text5");
        field->setFocus();
        // "，" as a Chinese input method commits it, the rest as keys.
        for (const QChar c : typed) {
            if (c.unicode() < 0x80) {
                QTest::keyClicks(field, QString(c));
                continue;
            }
            QInputMethodEvent commit;
            commit.setCommitString(c);
            QCoreApplication::sendEvent(field, &commit);
        }
        for (const QKeySequence& key : keys)
            QTest::keySequence(field, key);
        QTEST(field->text(), "field");
        QTEST(!recorder.texts.isEmpty(), "warned");
    }

    // The window within the screen, and the drawing's labels clear of each
    // other and of the shafts, for gears of very different sizes.
    void detailsFitTheScreen() {
        SetDetailsWindow window(nullptr);
        const GearSet sets[] = {{20, 199, 26, 124, 0}, {20, 20, 20, 20, 0},   {120, 20, 20, 120, 0},
                                {300, 20, 20, 300, 0}, {20, 300, 300, 20, 0}, {23, 97, 89, 24, 0}};
        for (const GearSet& set : sets) {
            SetDetails details;
            details.train = set;
            details.rows = {{"挂轮", "主动 a=20  主动 b=199  被动 c=26  被动 d=124"}};
            window.showDetails(details);
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            QVERIFY(window.screen()->availableGeometry().contains(window.frameGeometry()));
            const auto* drawing = child<TrainDrawing>(&window, "train");
            const TrainLayout layout =
                layoutGearTrain(drawing->rect(), set, QFontMetricsF(drawing->font()));
            QCOMPARE(layout.labels.size(), std::size_t{7});
            for (std::size_t i = 0; i < layout.labels.size(); ++i) {
                const QRectF& box = layout.labels[i].rect;
                const QString name = QString::number(set.b) + " " + layout.labels[i].text;
                QVERIFY2(QRectF(drawing->rect()).contains(box), qPrintable(name));
                for (std::size_t j = 0; j < i; ++j)
                    QVERIFY2(!box.intersects(layout.labels[j].rect), qPrintable(name));
                for (const QRectF& mark : layout.marks)
                    QVERIFY2(!box.intersects(mark), qPrintable(name));
            }
        }
    }

    // The data line describes the sets printed: typed over after the
    // calculation, the fields do not reach it until the next one.
    void printoutDescribesItsSets() {
        printers.printers = {"P"};
        PuTong puTong(context(printers, recorder));
        fillPuTong(&puTong, "1.5", "0.00001", "20", "30");
        click(&puTong, "Command1");
        type(&puTong, "chuandongbi", "2");
        click(&puTong, "Command3");
        click(&puTong, "Command1");
        click(&puTong, "Command3");
        TemporaryCatalogue dir({{"jixing.dat", "Y7150\r\nM\r\n"},
                                {"Y7150.dat", "20\r\n60\r\n 1\r\n10\r\n\r\n"},
                                {"M.dat", "20\r\n60\r\n 1\r\n10\r\n\r\n"}});
        ChaDong chaDong(context(printers, recorder, dir.path()));
        chaDong.show();
        chaDong.Form_Activate();
        for (const auto& [field, text] : {std::pair("moshu", " 2"),
                                          {"luoxuanjiaodu", "20 "},
                                          {"luoxuanjiaofen", "30"},
                                          {"luoxuanjiaomiao", "0"},
                                          {"齿数", "40"}})
            type(&chaDong, field, text);
        click(&chaDong, "Command1");
        type(&chaDong, "moshu", "3");
        child<QComboBox>(&chaDong, "Combo1")->setCurrentIndex(1);
        click(&chaDong, "Command3");
        std::vector<std::string> dataLines;
        for (const auto& document : printers.documents)
            dataLines.push_back(document.lines.at(0));
        QCOMPARE(dataLines, (std::vector<std::string>{"      i=1.5", "      i=2",
                                                      "      m= 2  β=20°30′0″  Z=40"}));
    }

    // Each way a list comes to stand beside inputs that did not make it.
    void staleListLooksStale() {
        TemporaryCatalogue dir({{"jixing.dat", "A\r\nB\r\n"},
                                {"A.dat", "20\r\n60\r\n 1\r\n10\r\n\r\n"},
                                {"B.dat", "20\r\n60\r\n 1\r\n10\r\n\r\n"}});
        const QString made = "结果对应：传动比 i=1.5  允差 0.00001  齿数 20 ～ 30";
        PuTong window(context(printers, recorder));
        window.show();
        fillPuTong(&window, "1.5", "0.00001", "20", "30");
        click(&window, "Command1");
        QCOMPARE(staleNote(&window), QString());
        type(&window, "jingdu", "0.001"); // a field changed
        QCOMPARE(staleNote(&window), made);
        click(&window, "Command1");
        QCOMPARE(staleNote(&window), QString());
        fillPuTong(&window, "1.5", "0.00001", "20", "30");
        click(&window, "Command1");
        type(&window, "zuidachishu", ""); // an empty field: 请输入数值 below
        click(&window, "Command1");
        QCOMPARE(staleNote(&window), made);
        QCOMPARE(listItems(&window).last(), "请输入数值");
        QCOMPARE(lastRowColour(&window), QVariant());
        // A long calculation cancelled.
        fillPuTong(&window, "1.5", "0.00001", "20", "30");
        click(&window, "Command1");
        fillPuTong(&window, "3.14159265358979", "1E-7", "0.5", "5000");
        QTimer cancel;
        connect(&cancel, &QTimer::timeout, &window, [&window] {
            auto* dialog = window.findChild<QProgressDialog*>();
            if (dialog && dialog->isVisible())
                QTest::mouseClick(dialog->findChild<QPushButton*>(), Qt::LeftButton);
        });
        cancel.start(20);
        click(&window, "Command1");
        QCOMPARE(staleNote(&window), made);

        // The chosen machine deleted.
        ChaDong chaDong(context(printers, recorder, dir.path()));
        chaDong.show();
        chaDong.Form_Activate();
        child<QComboBox>(&chaDong, "Combo1")->setCurrentIndex(1);
        for (const auto& [field, text] : {std::pair("moshu", "2"),
                                          {"luoxuanjiaodu", "20"},
                                          {"luoxuanjiaofen", "0"},
                                          {"luoxuanjiaomiao", "0"}})
            type(&chaDong, field, text);
        click(&chaDong, "Command1");
        QCOMPARE(staleNote(&chaDong), QString());
        Form3 form(context(printers, recorder, dir.path()), [] { return QStringList{"A", "B"}; });
        form.Form_Activate();
        child<QComboBox>(&form, "Combo1")->setCurrentIndex(1);
        click(&form, "Command2");
        chaDong.Form_Activate();
        QVERIFY(staleNote(&chaDong).startsWith("结果对应：机床型号 B"));
    }

  private:
    static QString staleNote(const QWidget* window) {
        const auto* model = child<QAbstractItemView>(window, "jsjgp")->model();
        const QModelIndex first = model->index(0, 0);
        const bool grey = first.data(Qt::ForegroundRole) == QVariant(QColor(Qt::gray));
        return grey ? first.data(Qt::ToolTipRole).toString() : QString();
    }
    static QVariant lastRowColour(const QWidget* window) {
        const auto* model = child<QAbstractItemView>(window, "jsjgp")->model();
        return model->index(model->rowCount() - 1, 0).data(Qt::ForegroundRole);
    }

    RecordingPrintBackend printers;
    MessageRecorder recorder;
};

QTEST_MAIN(ShopWindowTest)
#include "shop_window_test.moc"
