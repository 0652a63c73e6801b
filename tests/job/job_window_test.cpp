// The job window as a user drives it, at 100 %, 150 % and 144 dpi: nothing
// clipped, the result greyed on every way it goes stale and then not
// printed, the hands giving same or opposite, and 机床资料 as a form that
// replaces a broken file only on confirm and changes the machine file's
// constant only through the catalogue's question.
#include "job/job_window.h"
#include "job/machine_data_window.h"
#include "printing/qt_print_backend.h"
#include "support/pdf_reading.h"
#include "support/temporary_catalogue.h"
#include "support/window_driver.h"
#include "widgets/form_builder.h"

#include <QGroupBox>
#include <QLabel>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

using namespace kelvaro;
using namespace kelvaro::driver;

namespace {

// What of a control's text does not fit its rectangle, or of the control
// its window; empty where all is shown.
QString clipped(const QWidget* w) {
    if (!w->window()->rect().contains(QRect(w->mapTo(w->window(), QPoint()), w->size())))
        return QStringLiteral("outside the window");
    if (auto* label = qobject_cast<const QLabel*>(w); label && label->wordWrap())
        return label->heightForWidth(label->contentsRect().width()) > label->height() + 1
                   ? label->text()
                   : QString();
    QString text; // a label's, button's or field's text, a list's item, a group's title
    for (const char* property : {"text", "currentText", "title"})
        if (w->property(property).isValid()) text = w->property(property).toString();
    const int room = w->width() - (qobject_cast<const QLabel*>(w)      ? 0
                                   : qobject_cast<const QComboBox*>(w) ? 24
                                                                       : 8);
    for (const QString& line : text.split(QLatin1Char('\n')))
        if (QFontMetrics(w->font()).horizontalAdvance(line) > room) return line;
    return {};
}

} // namespace

class JobWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { installFontSubstitutes(); }
    void init() {
        recorder.texts.clear();
        recorder.answer = true;
        catalogue.write("M.dat", kMachineFile);
        catalogue.write("M.dat.txt", kMachineData);
    }

    // The longest texts the window shows: the reason of Z = 127, and the
    // corrected set with its words.
    void nothingClipped() {
        // Z = 323 with K = 2 falls between the rows "1 to 161" and "162 to 1000".
        for (const auto& [teeth, starts, measured] : {std::tuple("127", "1", "不修正"),
                                                      {"40", "1", "实测螺旋角偏小"},
                                                      {"323", "2", "不修正"}}) {
            GunChi window(context(printers, recorder, catalogue.path()));
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            fill(window, teeth);
            type(&window, "toushu", starts);
            choose(&window, "Combo4", measured);
            click(&window, "Command1");
            QVERIFY(window.job() && window.job()->message.empty());
            QTest::qWait(100); // the wrapped labels' heights settle over a few layout passes
            QStringList problems;
            for (const QWidget* w : window.findChildren<QWidget*>())
                if (const QString what = clipped(w); w->isVisible() && !what.isEmpty())
                    problems << w->objectName() + ": " + what;
            QVERIFY2(problems.isEmpty(), qPrintable(problems.join(" | ")));
            QVERIFY(teeth != QString("323") ||
                    child<QLabel>(child<QWidget>(&window, "train0"), "facts")
                        ->text()
                        .contains("之间的空档（161 到 162）"));
        }
    }

    // Each way the result goes stale greys it, names the cause, and keeps
    // the card from printing; calculating again clears it.
    void staleEachWay() {
        GunChi window(context(printers, recorder, catalogue.path()));
        window.show();
        fill(window, "40");
        const std::pair<const char*, std::function<void()>> ways[] = {
            {"零件齿数 Z", [&] { type(&window, "chishu", "41"); }},
            {"工件旋向", [&] { choose(&window, "gongjianxuanxiang", "左旋"); }},
            {"滚刀旋向", [&] { choose(&window, "gundaoxuanxiang", "左旋"); }},
            {"机床型号", [&] { choose(&window, "Combo1", "N"); }},
            {"机床资料已保存", [&] {
                 click(&window, "Command4");
                 click(window.machineData(), "Command1");
             }}};
        for (const auto& [cause, change] : ways) {
            fill(window, "40");
            click(&window, "Command1");
            QCOMPARE(window.staleNote(), QString());
            change();
            QVERIFY2(window.staleNote().contains(cause), qPrintable(window.staleNote()));
            QVERIFY(window.staleNote().contains("Z = 40"));
            QCOMPARE(child<QWidget>(&window, "jieguo")->toolTip(), window.staleNote());
            QCOMPARE(child<QLabel>(&window, "anzhuangjiao")->palette().color(QPalette::WindowText),
                     QColor(Qt::gray));
            QFile::remove(pdf);
            recorder.texts.clear();
            click(&window, "Command3");
            QVERIFY(!QFile::exists(pdf));
            QVERIFY(recorder.texts.size() == 1 && recorder.texts[0].contains("请先按“计算”"));
        }
    }

    // Same or opposite from the two hands; without λ the window says why
    // there is no angle; the card printed from the window.
    void handsAndTheSettingAngle() {
        const std::tuple<const char*, const char*, const char*, const char*> rows[] = {
            {"右旋", "右旋", "2.5", "旋向相同：安装角 δ = β − λ = 12.5°"},
            {"左旋", "右旋", "2.5", "旋向相反：安装角 δ = β + λ = 17.5°"},
            {"右旋", "右旋", "", "没有填滚刀螺旋升角 λ，算不出安装角"}};
        GunChi window(context(printers, recorder, catalogue.path()));
        window.show();
        fill(window, "40");
        for (const auto& [part, hob, lead, words] : rows) {
            type(&window, "shengjiao", lead);
            choose(&window, "gongjianxuanxiang", part);
            choose(&window, "gundaoxuanxiang", hob);
            click(&window, "Command1");
            const QString setting = child<QLabel>(&window, "anzhuangjiao")->text();
            QVERIFY2(setting.contains(words), qPrintable(setting));
            QVERIFY(setting.contains(QString("工件%1，滚刀%2").arg(part, hob)));
        }
        // The card from the window names and draws the corrected set.
        choose(&window, "Combo4", "实测螺旋角偏小");
        QTest::keyClick(child<QLineEdit>(&window, "changdu"), Qt::Key_Return);
        QCOMPARE(child<QGroupBox>(&window, "train1")->title(), QString("差动挂轮（修正后）"));
        QCOMPARE(child<QLabel>(child<QWidget>(&window, "train1"), "gears")->text(),
                 QString("69/83 × 74/89"));
        click(&window, "Command3");
        QCOMPARE(recorder.texts, QStringList());
        const std::vector<QStringList> pages = pdfPages(pdf);
        QCOMPARE(pages.size(), std::size_t{1});
        const QString page = pages[0].join('\n');
        QVERIFY2(page.contains("差动挂轮（修正后）") && page.contains("69/83 × 74/89"),
                 qPrintable(page));
        QVERIFY(page.contains("修正前的差动挂轮 43/57 × 86/94，不再装"));
    }

    // A broken file, and one that another dialog saved since the form was
    // filled, are replaced only after 是.
    void replacedOnlyOnConfirm() {
        for (const bool broken : {true, false}) {
            init();
            if (broken) catalogue.write("M.dat.txt", "index = 24 for Z/K\n");
            GunChi window(context(printers, recorder, catalogue.path()));
            window.Form_Activate();
            click(&window, "Command4");
            JiChuangZiLiao* dialog = window.machineData();
            const QString path = QString::fromStdString(catalogue.file("M.dat.txt"));
            if (broken)
                QVERIFY(child<QLabel>(dialog, "note")->text().contains(path + " 有错，第 1 行"));
            else
                catalogue.write("M.dat.txt", "clearance = 5\n");
            type(dialog, "jianxi", "8");
            for (const bool answer : {false, true}) {
                recorder.answer = answer;
                click(dialog, "Command1");
                QCOMPARE(catalogue.read("M.dat.txt")->find("clearance = 8") != std::string::npos,
                         answer);
            }
            QCOMPARE(recorder.texts.size(), 2);
            QVERIFY(recorder.texts[0].contains(broken ? "有错" : "在打开以后被另一个程序改过"));
            QVERIFY(dialog->isHidden());
        }
    }

    // The form's rows as the file's lines; a bad cell named by its row; the
    // box beside the machine file's range.
    void theFormWritesTheFile() {
        GunChi window(context(printers, recorder, catalogue.path()));
        window.Form_Activate();
        click(&window, "Command4");
        JiChuangZiLiao* dialog = window.machineData();
        auto* index =
            static_cast<QStandardItemModel*>(child<QTableView>(dialog, "fenchichangshu")->model());
        QCOMPARE(index->rowCount(), 2);
        QCOMPARE(index->item(1, 3)->text(), QString("e/f = 24/48"));
        QCOMPARE(child<QLabel>(dialog, "boxNote")->text(), QString("机床文件的齿数范围 20–100"));
        index->item(1, 1)->setText("abc");
        click(dialog, "Command1");
        QCOMPARE(recorder.texts.size(), 1);
        QVERIFY(recorder.texts[0].startsWith("分齿常数第 2 行："));
        index->item(1, 1)->setText("162");
        auto* box =
            static_cast<QStandardItemModel*>(child<QTableView>(dialog, "guaxiang")->model());
        box->item(0, 1)->setText("3"); // three gears of 20
        box->removeRows(2, box->rowCount() - 2);
        click(dialog, "Command1");
        QCOMPARE(catalogue.read("M.dat.txt"),
                 std::string("# 机床 M 的滚齿调整资料\n"
                             "index = 24 for Z/K from 1 to 161, e/f = 36/36\n"
                             "index = 48 for Z/K from 162 to 1000, e/f = 24/48\n"
                             "box = 20*3,21\n"));
        // A box past the machine file's range, and one short of it.
        catalogue.write("N.dat.txt", "box = 30-90\n");
        choose(&window, "Combo1", "N");
        click(&window, "Command4");
        const QString note = child<QLabel>(dialog, "boxNote")->text();
        QVERIFY2(note.contains("挂轮箱里没有 20-29") && note.contains("范围外的 81-90"),
                 qPrintable(note));
        // The differential constant lives in the machine file: changed only
        // after the catalogue's own question.
        choose(&window, "Combo1", "M");
        click(&window, "Command4");
        recorder.texts.clear();
        QCOMPARE(text(dialog, "chadongchangshu"), QString("8"));
        type(dialog, "chadongchangshu", "9");
        for (const bool answer : {false, true}) {
            recorder.answer = answer;
            click(dialog, "Command1");
            QCOMPARE(
                catalogue.read("M.dat"),
                std::string(answer ? "20\r\n100\r\n 3\r\n9\r\n23\r\n47\r\n53\r\n" : kMachineFile));
        }
        QCOMPARE(recorder.texts, QStringList(2, "机床 M 已存在，是否覆盖？"));
        QVERIFY(dialog->isHidden());
    }

  private:
    static void fill(GunChi& window, const QString& teeth) {
        window.Form_Activate();
        choose(&window, "Combo1", "M");
        type(&window, "chishu", teeth);
        type(&window, "moshu", "3");
        type(&window, "luoxuanjiaodu", "15");
        type(&window, "shengjiao", "2.5");
        type(&window, "piancha", "20");
        type(&window, "changdu", "50");
    }

    static constexpr const char* kMachineFile = "20\r\n100\r\n 3\r\n8\r\n23\r\n47\r\n53\r\n";
    static constexpr const char* kMachineData = "index = 24 for Z/K from 1 to 161, e/f = 36/36\n"
                                                "index = 48 for Z/K from 162 to 1000, e/f = 24/48\n"
                                                "box = 20-100, 25, 40, -23, -47, -53\n";
    TemporaryCatalogue catalogue{
        TemporaryCatalogue::Files{{"jixing.dat", "M\r\nN\r\n"},
                                  {"M.dat", kMachineFile},
                                  {"N.dat", "20\r\n80\r\n 1\r\n8\r\n0\r\n"},
                                  {"M.dat.txt", kMachineData}}};
    QTemporaryDir dir;
    const QString pdf = dir.filePath("card.pdf");
    QtPrintBackend printers{pdf};
    MessageRecorder recorder;
};

QTEST_MAIN(JobWindowTest)
#include "job_window_test.moc"
