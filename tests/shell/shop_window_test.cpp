// What a shop engineer meets beyond the calculation itself: a delete that
// asks first, the missing-teeth field under a Chinese keyboard, the details
// window on any screen, printouts and lists that say which inputs made
// them. CMakeLists.txt runs it at 100 %, at 150 % and at 144 dpi.
#include "catalogue/add_machine_window.h"
#include "catalogue/delete_machine_window.h"
#include "differential/chadong_window.h"
#include "ordinary/putong_window.h"
#include "support/recording_print_backend.h"
#include "support/temporary_catalogue.h"
#include "support/window_driver.h"
#include "widgets/set_details_window.h"
#include "widgets/train_drawing.h"

#include <QClipboard>
#include <QColor>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QProgressDialog>
#include <QScreen>
#include <QTimer>

using namespace kelvaro;
using namespace kelvaro::driver;

namespace {

const std::string kMachine = "20\r\n60\r\n 1\r\n10\r\n\r\n";

// The tooltip of a greyed list; empty while the list is current.
QString staleNote(const QWidget* window) {
    const QModelIndex first = child<QAbstractItemView>(window, "jsjgp")->model()->index(0, 0);
    const bool grey = first.data(Qt::ForegroundRole) == QVariant(QColor(Qt::gray));
    return grey ? first.data(Qt::ToolTipRole).toString() : QString();
}

void fillChaDong(ChaDong& window, const char* model, const char* module, const char* degrees) {
    window.show();
    window.Form_Activate();
    choose(&window, "Combo1", model);
    for (const auto& [field, text] : {std::pair("moshu", module),
                                      {"luoxuanjiaodu", degrees},
                                      {"luoxuanjiaofen", "30"},
                                      {"luoxuanjiaomiao", "0"},
                                      {"齿数", "40"}})
        type(&window, field, text);
}

} // namespace

class ShopWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void deleteAsksFirst() {
        Form3 form(context(printers, recorder, dir.path()), [] { return QStringList{"A", "B"}; });
        form.show();
        form.Form_Activate();
        child<QComboBox>(&form, "Combo1")->setCurrentIndex(0);
        for (bool yes : {false, true}) {
            recorder.answer = yes;
            click(&form, "Command2");
            QCOMPARE(form.isVisible(), !yes);
            QCOMPARE(dir.read("jixing.dat").value(),
                     yes ? "B\r\nY7150\r\n" : "A\r\nB\r\nY7150\r\n");
        }
        QCOMPARE(recorder.texts, (QStringList{"确定删除机床 A 吗？", "确定删除机床 A 吗？",
                                              "机床 A 已从机床列表中删除；它的机床文件 A.dat "
                                              "仍留在磁盘上。"}));
        QVERIFY(dir.read("A.dat"));
    }

    // Typed ("，" as an input method commits it), then keys pressed: what
    // the field holds, and whether the message came.
    void missingTeethField() {
        const QKeySequence paste(QKeySequence::Paste);
        const struct {
            const char *clipboard, *typed;
            QList<QKeySequence> keys;
            const char* field;
            bool warned;
        } rows[] = {
            {"", "37，41", {}, "37,41", false},
            {"", "37", {QKeySequence::SelectAll, QKeySequence::Copy, QKeySequence::Cut}, "", false},
            {"23，29", "1,", {paste}, "1,23,29", false},
            {"23x", "1,", {paste}, "1,", true}, // pasted: refused
        };
        for (const auto& row : rows) {
            Form2 form(context(printers, recorder, dir.path()), [] {});
            form.show();
            QGuiApplication::clipboard()->setText(QString::fromUtf8(row.clipboard));
            recorder.texts.clear();
            auto* field = child<QLineEdit>(&form, "Text5");
            field->setFocus();
            for (const QChar c : QString::fromUtf8(row.typed)) {
                QInputMethodEvent commit;
                commit.setCommitString(c);
                c.unicode() < 0x80 ? QTest::keyClicks(field, QString(c))
                                   : void(QCoreApplication::sendEvent(field, &commit));
            }
            for (const QKeySequence& key : row.keys)
                QTest::keySequence(field, key);
            QCOMPARE(field->text(), QString::fromUtf8(row.field));
            QCOMPARE(!recorder.texts.isEmpty(), row.warned);
        }
    }

    // Within the screen, and the drawing's labels clear of each other and
    // of the marks, for gears of very different sizes.
    void detailsFitTheScreen() {
        SetDetailsWindow window(nullptr);
        for (const GearSet& set : {GearSet{20, 199, 26, 124, 0},
                                   {20, 20, 20, 20, 0},
                                   {120, 20, 20, 120, 0},
                                   {300, 20, 20, 300, 0},
                                   {20, 300, 300, 20, 0},
                                   {23, 97, 89, 24, 0}}) {
            window.showDetails({"",
                                {{"挂轮", "主动 a=20  主动 b=199  被动 c=26  被动 d=124"}},
                                set,
                                kDefaultClearance,
                                {}});
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            QVERIFY(window.screen()->availableGeometry().contains(window.frameGeometry()));
            const auto* drawing = child<TrainDrawing>(&window, "train");
            const TrainLayout layout =
                layoutGearTrain(drawing->rect(), set, QFontMetricsF(drawing->font()));
            QCOMPARE(layout.labels.size(), std::size_t{7});
            for (auto label = layout.labels.begin(); label != layout.labels.end(); ++label) {
                const QByteArray name = (QString::number(set.b) + " " + label->text).toUtf8();
                QVERIFY2(QRectF(drawing->rect()).contains(label->rect), name);
                for (auto other = layout.labels.begin(); other != label; ++other)
                    QVERIFY2(!label->rect.intersects(other->rect), name);
                for (const QRectF& mark : layout.marks)
                    QVERIFY2(!label->rect.intersects(mark), name);
            }
        }
    }

    // Module and model changed after the calculation: the data line still
    // describes the sets printed, until the next calculation.
    void printoutDescribesItsSets() {
        printers.printers = {"P"};
        ChaDong chaDong(context(printers, recorder, dir.path()));
        fillChaDong(chaDong, "Y7150", " 2", "20 ");
        click(&chaDong, "Command1");
        type(&chaDong, "moshu", "3");
        choose(&chaDong, "Combo1", "B");
        click(&chaDong, "Command3");
        click(&chaDong, "Command1");
        click(&chaDong, "Command3");
        QCOMPARE(printers.documents.at(0).lines.at(0), "      m= 2  β=20°30′0″  Z=40");
        QCOMPARE(printers.documents.at(1).lines.at(0), "      m=3  β=20°30′0″");
    }

    // Each way a list comes to stand beside inputs that did not make it.
    void staleListLooksStale() {
        const QString made = "结果对应：传动比 i=1.5  允差 0.00001  齿数 20 ～ 30";
        PuTong window(context(printers, recorder));
        window.show();
        QTimer cancel; // a long calculation is cancelled as soon as it can be
        connect(&cancel, &QTimer::timeout, &window, [&window] {
            auto* dialog = window.findChild<QProgressDialog*>();
            if (dialog && dialog->isVisible())
                QTest::mouseClick(dialog->findChild<QPushButton*>(), Qt::LeftButton);
        });
        cancel.start(20);
        const struct {
            const char* field;
            QString text;
            bool calculate;
        } ways[] = {{"jingdu", "0.001", false}, // a field changed
                    {"zuidachishu", "", true},  // an empty field: 请输入数值 below
                    {"chuandongbi", "3.14159265358979", true}}; // cancelled
        for (const auto& way : ways) {
            fillPuTong(&window, "1.5", "0.00001", "20", "30");
            click(&window, "Command1");
            QCOMPARE(staleNote(&window), QString());
            if (way.text.startsWith('3')) fillPuTong(&window, way.text, "1E-7", "0.5", "5000");
            type(&window, way.field, way.text);
            if (way.calculate) click(&window, "Command1");
            QCOMPARE(staleNote(&window), made);
        }
        QCOMPARE(listItems(&window).size(), 16); // nothing appended to a cancelled one
        // The chosen machine deleted.
        ChaDong chaDong(context(printers, recorder, dir.path()));
        fillChaDong(chaDong, "B", "2", "20");
        click(&chaDong, "Command1");
        Form3 form(context(printers, recorder, dir.path()), [] { return QStringList{"A", "B"}; });
        form.Form_Activate();
        child<QComboBox>(&form, "Combo1")->setCurrentIndex(1);
        click(&form, "Command2");
        chaDong.Form_Activate();
        QVERIFY(staleNote(&chaDong).startsWith("结果对应：机床型号 B"));
    }

  private:
    RecordingPrintBackend printers;
    MessageRecorder recorder;
    TemporaryCatalogue dir{{{"jixing.dat", "A\r\nB\r\nY7150\r\n"},
                            {"A.dat", kMachine},
                            {"B.dat", kMachine},
                            {"Y7150.dat", kMachine}}};
};

QTEST_MAIN(ShopWindowTest)
#include "shop_window_test.moc"
